// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/CellGrid.h"

#include <QByteArray>
#include <vector>

// Every worksheet of a legacy .xls workbook from the file's bytes: read through libfreexl and, for
// the formula results libfreexl leaves out, by a reader of our own. Throws EDamagedPackage,
// EPasswordProtected, or std::system_error when the bytes cannot be handed to libfreexl.
std::vector<TNamedGrid> ReadXlsWorkbook(const QByteArray& bytes);
