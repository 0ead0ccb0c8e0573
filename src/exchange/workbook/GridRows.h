// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/SheetRows.h"

#include <vector>

// The cells a grid holds, read as rows.
class TGridRows : public TSheetRows {
public:
    explicit TGridRows(const TCellGrid& grid) : FGrid(grid) {}
    int UsedRows() const override;
    int UsedColumns() const override;
    void ReadRow(int row, TRowCells& cells) const override;

private:
    const TCellGrid& FGrid;
    mutable std::vector<TCellGrid::TCell> FRow; // reused for every row
};
