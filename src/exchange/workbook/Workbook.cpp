// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/Workbook.h"

#include "exchange/workbook/CellReference.h"
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

int MaxWorkbookRows(TWorkbookFormat format) {
    return format == TWorkbookFormat::Xls ? 65536 : CellReference::kMaxRows;
}

int MaxWorkbookColumns(TWorkbookFormat format) {
    return format == TWorkbookFormat::Xls ? 256 : CellReference::kMaxColumns;
}
