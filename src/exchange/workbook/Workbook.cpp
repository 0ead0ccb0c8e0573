// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/Workbook.h"

#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/SheetRows.h"
#include "exchange/workbook/WorkbookFile.h"

std::unique_ptr<TWorkbook> TWorkbook::Open(const QString& path) {
    auto workbook = std::make_unique<TWorkbookFile>();
    workbook->Load(path);
    return workbook;
}

std::unique_ptr<TWorkbook> TWorkbook::Add() {
    auto workbook = std::make_unique<TWorkbookFile>();
    workbook->AddSheet();
    return workbook;
}

void TWorksheet::ReadTexts(int row, const std::vector<int>& columns, TRowTexts& texts) const {
    texts.Held.resize(columns.size());
    texts.Texts.resize(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        texts.Held[i] = CellText(row, columns[i]).toStdString();
        texts.Texts[i] = texts.Held[i];
    }
}

void TWorksheet::SetRows(std::shared_ptr<const TSheetRows> rows) {
    TRowCells cells;
    for (int row = 1; row <= rows->UsedRows(); ++row) {
        rows->ReadRow(row, cells);
        for (const TRowCells::TCell& cell : cells.Cells()) {
            if (cell.Heading)
                SetHeadingStyle(row, cell.Column);
            // A heading is set even when it is empty: its cell is there.
            if (cell.Heading || cell.Length > 0)
                SetCellText(row, cell.Column, cells.TextOf(cell).toString());
        }
        rows->Written(row);
    }
}

int MaxWorkbookRows(TWorkbookFormat format) {
    return format == TWorkbookFormat::Xls ? 65536 : CellReference::kMaxRows;
}

int MaxWorkbookColumns(TWorkbookFormat format) {
    return format == TWorkbookFormat::Xls ? 256 : CellReference::kMaxColumns;
}
