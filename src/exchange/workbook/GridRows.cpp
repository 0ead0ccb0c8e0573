// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/GridRows.h"

#include "exchange/workbook/CellGrid.h"

#include <algorithm>

int TGridRows::UsedRows() const {
    return FGrid.UsedRows();
}

int TGridRows::UsedColumns() const {
    return FGrid.UsedColumns();
}

void TGridRows::ReadRow(int row, TRowCells& cells) const {
    cells.Clear();
    const std::vector<TCellGrid::TCell>& all = FGrid.Cells();
    auto cell = std::lower_bound(all.begin(), all.end(), uint32_t(row),
                                 [](const TCellGrid::TCell& c, uint32_t r) { return c.Row < r; });
    for (; cell != all.end() && cell->Row == uint32_t(row); ++cell) {
        const QStringView text = FGrid.TextOf(*cell);
        const bool heading = cell->Flags & TCellGrid::HeadingStyle;
        if (!text.isEmpty() || heading)
            cells.Add(cell->Column, text, heading);
    }
}
