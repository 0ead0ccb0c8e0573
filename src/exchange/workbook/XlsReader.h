#pragma once

#include "exchange/workbook/CellGrid.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A legacy .xls workbook protected by a password.
struct EPasswordProtected {};

// Every worksheet of a legacy .xls workbook, read through libfreexl from the file and, for the
// formula results libfreexl leaves out, from the file's bytes. Throws EDamagedPackage or
// EPasswordProtected.
std::vector<TNamedGrid> ReadXlsWorkbook(const QString& path, const QByteArray& bytes);
