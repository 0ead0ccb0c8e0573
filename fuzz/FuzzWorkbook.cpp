// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes read as an .xlsx package, or as the worksheet of an otherwise sound package, either fail
// with the engine's own error or give cells that lie inside a worksheet and whose count and texts
// stay within what the input could hold.

#include "exchange/MinimalPackage.h"
#include "exchange/workbook/CellBudget.h"
#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/XlsxPackage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "FuzzWorkbook: %s\n", what);
    std::abort();
}

void ReadEverySheet(const QByteArray& bytes) {
    const TXlsxPackage package(bytes);
    for (const TXlsxSheetEntry& entry : package.Sheets()) {
        if (!entry.IsWorksheet)
            continue;
        TCellGrid grid;
        package.ReadWorksheet(entry.PartName, grid);
        if (grid.UsedRows() > CellReference::kMaxRows || grid.UsedColumns() > CellReference::kMaxColumns)
            Fail("a cell lies outside the worksheet");
        for (const TCellGrid::TCell& cell : grid.Cells())
            if (cell.Row < 1 || cell.Column < 1 || cell.Text.empty())
                Fail("a cell without a place or a text");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Inputs that are no zip are the worksheet part itself, so the fuzzer reaches the cell reader
    // without first having to make a valid zip.
    if (!bytes.startsWith("PK"))
        bytes = Package({{"xl/worksheets/sheet1.xml", bytes}});
    try {
        ReadEverySheet(bytes);
    } catch (const EDamagedPackage&) {
    } catch (const ECellBudgetExceeded&) {
    }
    return 0;
}
