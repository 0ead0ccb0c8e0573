// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Category.h"
#include "exchange/ExchangeText.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataFile;
class TWorkbook;
class TWorksheet;

// The title row with its columns, and the rows that become records (none when DataToRow is
// smaller than DataFromRow).
struct TImportRanges {
    int TitleRow = 1;
    int TitleFromColumn = 1;
    int TitleToColumn = 1;
    int DataFromRow = 2;
    int DataToRow = 1;
};

// The largest values the range boxes take for an open workbook: those of the legacy format for
// .xls, the format's own limits otherwise.
struct TImportBounds {
    int MaxTitleRow = 65534;
    int MaxColumn = 250;
    int MaxDataRow = 65535;
};
TImportBounds ImportBoundsOf(const TWorkbook& workbook);

// A cell's text trimmed of spaces; a cell is empty when nothing is left.
QString TrimmedCell(const TWorksheet& sheet, int row, int column);

// The title range starts at the first non-empty cell of rows and columns 1 to 20 and runs right
// while cells are non-empty; the data range runs from the row below it to the row before the
// first row, from two below the title on, that is empty across the title columns.
TImportRanges DetectImportRanges(const TWorksheet& sheet);

// Hands take the stored texts of columns, trimmed as cells are, for each row from fromRow to
// toRow that holds a non-empty one among them; progress hears of every row read.
using TTakeStoredRow = std::function<void(const std::vector<std::string_view>& values)>;
void ReadStoredRows(const TWorksheet& sheet, const std::vector<int>& columns, int fromRow, int toRow,
                    const TExchangeProgress& progress, const TTakeStoredRow& take);

// A worksheet range as a new category: a label and a text box for each chosen title column, in
// two columns on the form, each box listed as a column; one record per data row that holds a
// non-empty value in a chosen column.
class TCategoryImport {
public:
    // chosenColumns: the worksheet columns to import, in the order of the form.
    TCategoryImport(const TWorksheet& sheet, int titleRow, std::vector<int> chosenColumns);

    const QStringList& Headings() const { return FHeadings; }
    // Reads the data rows into records, which wait here until AddTo. Rows whose chosen cells are
    // all empty give none.
    void ReadRecords(int fromRow, int toRow, const TExchangeProgress& progress);
    size_t RecordCount() const { return FRecords.size(); }

    // Builds the category in a working copy of data, merges it in as data's last category named
    // name, with generated elements in font, moves the records read into it and returns its id.
    int32_t AddTo(TDataFile& data, const std::string& name, const TFont& font);

private:
    const TWorksheet& FSheet;
    std::vector<int> FColumns;
    QStringList FHeadings;
    std::vector<std::unique_ptr<TRecord>> FRecords;
};
