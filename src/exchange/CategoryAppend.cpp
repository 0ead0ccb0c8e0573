// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/CategoryAppend.h"

#include "core/Category.h"
#include "core/Error.h"
#include "exchange/CategoryImport.h"

#include <algorithm>
#include <functional>

namespace {

// Folds one more value into the hash of a row's values.
uint64_t AddToHash(uint64_t hash, std::string_view value) {
    return (hash ^ std::hash<std::string_view>()(value)) * 0x100000001b3ULL + 0x9e3779b97f4a7c15ULL;
}

} // namespace

std::vector<TExportColumn> TCategoryAppend::TextBoxes(const TCategory& category) {
    return TCategoryExport(category).Columns();
}

std::vector<int> TCategoryAppend::MatchByCaption(const std::vector<TExportColumn>& boxes,
                                                 const QStringList& headings) {
    std::vector<int> matches;
    std::vector<bool> taken(boxes.size(), false);
    for (const QString& heading : headings) {
        const QString wanted = TrimmedCellText(heading);
        int match = -1;
        for (size_t b = 0; b < boxes.size() && match < 0 && !wanted.isEmpty(); ++b)
            if (!taken[b] && TrimmedCellText(boxes[b].Heading).compare(wanted, Qt::CaseInsensitive) == 0)
                match = static_cast<int>(b);
        if (match >= 0)
            taken[static_cast<size_t>(match)] = true;
        matches.push_back(match);
    }
    return matches;
}

std::vector<TAppendColumn> TCategoryAppend::MatchTitleColumns(const TWorksheet& sheet,
                                                              const TImportRanges& ranges,
                                                              const TCategory& category,
                                                              std::vector<int>* unmatched) {
    QStringList headings;
    for (int column = ranges.TitleFromColumn; column <= ranges.TitleToColumn; ++column)
        headings.append(TrimmedCell(sheet, ranges.TitleRow, column));
    const std::vector<TExportColumn> boxes = TextBoxes(category);
    const std::vector<int> matches = MatchByCaption(boxes, headings);
    std::vector<TAppendColumn> columns;
    for (size_t i = 0; i < matches.size(); ++i) {
        const int column = ranges.TitleFromColumn + static_cast<int>(i);
        if (matches[i] >= 0)
            columns.push_back({column, boxes[static_cast<size_t>(matches[i])].ValueIndex});
        else if (unmatched != nullptr)
            unmatched->push_back(column);
    }
    return columns;
}

TCategoryAppend::TCategoryAppend(const TWorksheet& sheet, const TCategory& category,
                                 std::vector<TAppendColumn> columns)
    : FSheet(sheet), FCategory(category), FValueCount(category.TextBoxCount()) {
    for (const TAppendColumn& column : columns) {
        if (column.ValueIndex < 0 ||
            std::find(FValueIndexes.begin(), FValueIndexes.end(), column.ValueIndex) != FValueIndexes.end())
            ThrowAssertion(kAssertionFailure, "CategoryAppend", __LINE__);
        FColumns.push_back(column.Column);
        FValueIndexes.push_back(column.ValueIndex);
        // A file whose value indexes outrun its boxes still gets records that hold every value.
        FValueCount = std::max(FValueCount, column.ValueIndex + 1);
    }
}

std::vector<TCategoryAppend::THashedRecord> TCategoryAppend::HashedRecords() const {
    std::vector<THashedRecord> hashed;
    hashed.reserve(FCategory.Records.size());
    for (const auto& record : FCategory.Records) {
        uint64_t hash = 0;
        for (const int32_t index : FValueIndexes)
            hash = AddToHash(hash, record->Value(index));
        hashed.emplace_back(hash, record.get());
    }
    std::sort(hashed.begin(), hashed.end(),
              [](const THashedRecord& a, const THashedRecord& b) { return a.first < b.first; });
    return hashed;
}

bool TCategoryAppend::HoldsRow(const TRecord& record, const std::vector<std::string_view>& row) const {
    for (size_t i = 0; i < row.size(); ++i)
        if (record.Value(FValueIndexes[i]) != row[i])
            return false;
    return true;
}

void TCategoryAppend::ReadRecords(int fromRow, int toRow, bool skipDuplicates,
                                  const TExchangeProgress& progress) {
    FRecords.clear();
    FDuplicates = 0;
    const std::vector<THashedRecord> existing =
        skipDuplicates ? HashedRecords() : std::vector<THashedRecord>();
    std::vector<std::string_view> values(static_cast<size_t>(FValueCount));
    ReadStoredRows(FSheet, FColumns, fromRow, toRow, progress, [&](const std::vector<std::string_view>& row) {
        if (skipDuplicates) {
            uint64_t hash = 0;
            for (const std::string_view value : row)
                hash = AddToHash(hash, value);
            auto candidate = std::lower_bound(existing.begin(), existing.end(), hash,
                                              [](const THashedRecord& a, uint64_t h) { return a.first < h; });
            for (; candidate != existing.end() && candidate->first == hash; ++candidate) {
                if (HoldsRow(*candidate->second, row)) {
                    ++FDuplicates;
                    return;
                }
            }
        }
        for (size_t i = 0; i < row.size(); ++i)
            values[static_cast<size_t>(FValueIndexes[i])] = row[i];
        FRecords.push_back(std::make_unique<TRecord>(values));
    });
}

std::vector<std::unique_ptr<TRecord>> TCategoryAppend::TakeRecords() {
    std::vector<std::unique_ptr<TRecord>> records = std::move(FRecords);
    FRecords.clear();
    return records;
}
