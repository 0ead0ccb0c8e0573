#pragma once

#include "exchange/workbook/CellGrid.h"

#include <QString>

#include <vector>

// A legacy .xls workbook protected by a password.
struct EPasswordProtected {};

// Every worksheet of a legacy .xls workbook, read through libfreexl. Throws EDamagedPackage or
// EPasswordProtected.
std::vector<TNamedGrid> ReadXlsWorkbook(const QString& path);
