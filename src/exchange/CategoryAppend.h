// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/CategoryExport.h"
#include "exchange/ExchangeText.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

class TCategory;
class TRecord;
class TWorksheet;
struct TImportRanges;

// A worksheet column and the text box whose value it gives.
struct TAppendColumn {
    int Column = 1;
    int32_t ValueIndex = 0;
};

// Worksheet rows as new records of an existing category: each chosen column fills one text box,
// the other boxes stay empty. The records wait here until the caller adds them in one step
// (TCategory::AppendRecords), so a failure while reading leaves the category as it was.
class TCategoryAppend {
public:
    // The text boxes a column can fill, in the export's order and with the captions the export
    // heads them with, so that an exported worksheet comes back column for column.
    static std::vector<TExportColumn> TextBoxes(const TCategory& category);
    // For each heading, the index in boxes of the box whose caption it equals, ignoring case and
    // the spaces around both, or -1. A box goes to the first heading that names it.
    static std::vector<int> MatchByCaption(const std::vector<TExportColumn>& boxes,
                                           const QStringList& headings);
    // Every title column of ranges whose heading names a text box of category, matched by
    // caption; unmatched, when given, receives the others.
    static std::vector<TAppendColumn> MatchTitleColumns(const TWorksheet& sheet, const TImportRanges& ranges,
                                                        const TCategory& category,
                                                        std::vector<int>* unmatched = nullptr);

    // columns: each fills a different text box of category. Fails with an assertion otherwise.
    TCategoryAppend(const TWorksheet& sheet, const TCategory& category, std::vector<TAppendColumn> columns);

    // Reads the rows from fromRow to toRow into records; rows whose chosen cells are all empty give
    // none, and with skipDuplicates neither do rows whose values equal, box for box, those of a
    // record the category holds.
    void ReadRecords(int fromRow, int toRow, bool skipDuplicates, const TExchangeProgress& progress);
    size_t RecordCount() const { return FRecords.size(); }
    // The rows the last read left out as duplicates.
    size_t DuplicateCount() const { return FDuplicates; }
    // The records read, for the caller to add.
    std::vector<std::unique_ptr<TRecord>> TakeRecords();

private:
    // The records the category holds with the hash of their chosen boxes' values, sorted by it,
    // so that a row finds the records it may equal without a copy of their values.
    using THashedRecord = std::pair<uint64_t, const TRecord*>;
    std::vector<THashedRecord> HashedRecords() const;
    // Whether record holds the row's values in the chosen boxes.
    bool HoldsRow(const TRecord& record, const std::vector<std::string_view>& row) const;

    const TWorksheet& FSheet;
    const TCategory& FCategory;
    std::vector<int> FColumns;
    std::vector<int32_t> FValueIndexes;
    int32_t FValueCount = 0;
    std::vector<std::unique_ptr<TRecord>> FRecords;
    size_t FDuplicates = 0;
};
