// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/CategoryImport.h"

#include "core/DataFile.h"
#include "core/Error.h"
#include "exchange/DisplayText.h"
#include "exchange/workbook/Workbook.h"

#include <algorithm>

namespace {

// The corner searched for the first title cell.
constexpr int kTitleSearchRows = 20;
constexpr int kTitleSearchColumns = 20;

// The generated form: two columns of label and box pairs, 300 pixels apart, a line every 25.
constexpr int32_t kFormColumnWidth = 300;
constexpr int32_t kFormLineHeight = 25;
constexpr int32_t kElementColor = 0xFFFFFF;
constexpr int32_t kListColumnWidth = 100;

bool RowEmpty(const TWorksheet& sheet, int row, const std::vector<int>& columns, TRowTexts& texts) {
    sheet.ReadTexts(row, columns, texts);
    return std::all_of(texts.Texts.begin(), texts.Texts.end(),
                       [](std::string_view text) { return TrimmedCellBytes(text).empty(); });
}

} // namespace

TImportBounds ImportBoundsOf(const TWorkbook& workbook) {
    const TWorkbookFormat format = workbook.Format();
    if (format == TWorkbookFormat::Xls)
        return TImportBounds();
    const int rows = MaxWorkbookRows(format);
    return TImportBounds{rows - 1, MaxWorkbookColumns(format), rows};
}

QString TrimmedCell(const TWorksheet& sheet, int row, int column) {
    return TrimmedCellText(sheet.CellText(row, column));
}

TImportRanges DetectImportRanges(const TWorksheet& sheet) {
    TImportRanges ranges;
    ranges.TitleToColumn = 2;
    bool found = false;
    for (int row = 1; row <= kTitleSearchRows && !found; ++row) {
        for (int column = 1; column <= kTitleSearchColumns && !found; ++column) {
            if (!TrimmedCell(sheet, row, column).isEmpty()) {
                ranges.TitleRow = row;
                ranges.TitleFromColumn = ranges.TitleToColumn = column;
                found = true;
            }
        }
    }
    // Cells past the used ones read as empty, so both runs end.
    while (!TrimmedCell(sheet, ranges.TitleRow, ranges.TitleToColumn).isEmpty())
        ++ranges.TitleToColumn;
    --ranges.TitleToColumn;

    ranges.DataFromRow = ranges.TitleRow + 1;
    ranges.DataToRow = ranges.TitleRow + 2;
    std::vector<int> titleColumns;
    for (int column = ranges.TitleFromColumn; column <= ranges.TitleToColumn; ++column)
        titleColumns.push_back(column);
    TRowTexts texts;
    while (!RowEmpty(sheet, ranges.DataToRow, titleColumns, texts))
        ++ranges.DataToRow;
    --ranges.DataToRow;
    return ranges;
}

TCategoryImport::TCategoryImport(const TWorksheet& sheet, int titleRow, std::vector<int> chosenColumns)
    : FSheet(sheet), FColumns(std::move(chosenColumns)) {
    for (const int column : FColumns)
        FHeadings.append(TrimmedCell(FSheet, titleRow, column));
}

void ReadStoredRows(const TWorksheet& sheet, const std::vector<int>& columns, int fromRow, int toRow,
                    const TExchangeProgress& progress, const TTakeStoredRow& take) {
    const int64_t total = std::max<int64_t>(0, int64_t{toRow} - fromRow + 1);
    TRowTexts texts;
    std::vector<std::string_view> values(columns.size());
    for (int64_t done = 0; done < total; ++done) {
        const int row = fromRow + static_cast<int>(done);
        sheet.ReadTexts(row, columns, texts);
        bool empty = true;
        for (size_t i = 0; i < columns.size(); ++i) {
            values[i] = TrimmedCellBytes(texts.Texts[i]);
            empty = empty && values[i].empty();
        }
        if (!empty)
            take(values);
        if (progress && (done + 1) % kExchangeProgressRows == 0)
            progress(done + 1, total);
    }
    if (progress)
        progress(total, total);
}

void TCategoryImport::ReadRecords(int fromRow, int toRow, const TExchangeProgress& progress) {
    FRecords.clear();
    ReadStoredRows(FSheet, FColumns, fromRow, toRow, progress,
                   [this](const std::vector<std::string_view>& values) {
                       FRecords.push_back(std::make_unique<TRecord>(values));
                   });
}

int32_t TCategoryImport::AddTo(TDataFile& data, const std::string& name, const TFont& font) {
    TDataFile workingCopy;
    workingCopy.BuildWorkingCopy(data);
    TCategory& created = *workingCopy.AddCategory();
    created.Name = name;
    for (int k = 0; k < FHeadings.size(); ++k) {
        const int32_t column = k % 2;
        const int32_t line = k / 2;
        const std::string heading = StoredText(FHeadings[k]);
        created.AddElement(kKindLabel, 50 + kFormColumnWidth * column, 28 + kFormLineHeight * line, 100, 20,
                           kElementColor, font, heading);
        const int32_t box = created.AddElement(kKindEdit, 150 + kFormColumnWidth * column,
                                               25 + kFormLineHeight * line, 150, 20, kElementColor, font, "");
        auto listColumn = std::make_unique<TListColumn>();
        listColumn->ElementID = box;
        listColumn->Width = kListColumnWidth;
        listColumn->Caption = heading;
        created.Columns.push_back(std::move(listColumn));
    }
    created.RenumberValueIndexes();
    const int32_t id = created.ID;

    data.ApplyWorkingCopy(workingCopy);
    TCategory* category = data.CategoryByID(id);
    if (category == nullptr)
        ThrowAssertion(kAssertionFailure, "UnitImportFromExcel", __LINE__);
    category->Records = std::move(FRecords);
    FRecords.clear();
    return id;
}
