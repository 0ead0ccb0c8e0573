// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/CellGrid.h"

#include <QByteArray>

#include <vector>

struct TOdsWorkbook {
    std::vector<TNamedGrid> Sheets;
    int ActiveIndex = 0;
};

// The sheets of an OpenDocument spreadsheet from its content.xml, each cell as the import sees it
// as text. Throws EDamagedPackage, or ECellBudgetExceeded when repeats make more cells or text than
// content.xml accounts for.
TOdsWorkbook ReadOdsWorkbook(const QByteArray& bytes);
