// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/HugePages.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TRecord;

// The one list sort of the window and of quillery-cli. Each row's key is built once (the first
// line of its value, folded as the list comparison folds it), so comparisons never go back to the
// records. Rows already in list order, or in its reverse, take one pass instead.

// The list order of count rows: positions into rows, ordered by the list comparison of the cell
// text of each row's value at valueIndex (an index outside a record reads as empty), reversed
// when not ascending; rows that compare equal keep their order in either direction. When ties is
// given, it tells for each place in that order whether its cell equals the one before: all that
// turning the order round needs, without the records.
std::vector<uint32_t> ListSortOrder(const TRecord* const* rows, size_t count, int32_t valueIndex,
                                    bool ascending, std::vector<unsigned char>* ties = nullptr);
// The order that turns a list in list order round, as ListSortOrder in the other direction would
// give it from ties, the list's ties: positions into the list. ties become the turned list's.
std::vector<uint32_t> TurnedRound(std::vector<unsigned char>& ties);
// items taken in order: positions into items, as ListSortOrder gives them.
template <class T> std::vector<T> InOrder(const std::vector<T>& items, const std::vector<uint32_t>& order) {
    std::vector<T> ordered;
    ReserveInHugePages(ordered, order.size());
    for (const uint32_t position : order)
        ordered.push_back(items[position]);
    return ordered;
}
// Puts rows into that order.
void SortRecordsByListText(std::vector<const TRecord*>& rows, int32_t valueIndex, bool ascending);
// Puts records, as stored, into order, when order is still their list order: an order that
// ListSortOrder gave for them earlier, checked in one pass instead of sorting again. False, and
// rows untouched, when a record added, removed or changed since would take another place (or order
// is none of theirs).
bool RowsInKeptListOrder(const std::vector<std::unique_ptr<TRecord>>& records,
                         const std::vector<uint32_t>& order, int32_t valueIndex, bool ascending,
                         std::vector<TRecord*>& rows);

// What an order found for records rests on: which records stand in which places, and how many
// changes all records had seen. While it stays the same, the order still holds, and records can
// be put into it without reading them.
struct TRecordsState {
    size_t Count = 0;
    uint64_t Places = 0; // the records' addresses, each mixed with its place
    uint64_t Changes = 0;
    bool operator==(const TRecordsState& other) const {
        return Count == other.Count && Places == other.Places && Changes == other.Changes;
    }
};
TRecordsState RecordsStateOf(const std::vector<std::unique_ptr<TRecord>>& records);
// The records in order: positions into records.
std::vector<TRecord*> RecordsInOrder(const std::vector<std::unique_ptr<TRecord>>& records,
                                     const std::vector<uint32_t>& order);
// Puts part, some of records in their stored order (as a filter gives them), into the list order
// that order is for all of records: the order a stable list sort of part gives, found without
// reading the records. False, and part untouched, when part is not some of records in their order.
bool PartInListOrder(const std::vector<std::unique_ptr<TRecord>>& records, const std::vector<uint32_t>& order,
                     std::vector<TRecord*>& part);
