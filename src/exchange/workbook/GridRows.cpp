// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/GridRows.h"

#include "exchange/workbook/CellGrid.h"

int TGridRows::UsedRows() const {
    return FGrid.UsedRows();
}

int TGridRows::UsedColumns() const {
    return FGrid.UsedColumns();
}

void TGridRows::ReadRow(int row, TRowCells& cells) const {
    cells.Clear();
    FGrid.ReadRow(row, FRow);
    for (const TCellGrid::TCell& cell : FRow)
        if (!cell.Text.empty() || cell.Heading)
            cells.Add(cell.Column, TCellGrid::Decoded(cell.Text), cell.Heading);
}
