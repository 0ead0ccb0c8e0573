// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/KeptListOrders.h"

#include "core/Category.h"
#include "core/HugePages.h"
#include "core/ListSort.h"

#include <utility>

namespace {

std::vector<TRecord*> RowsAsStored(const TCategory& category) {
    std::vector<TRecord*> rows;
    ReserveInHugePages(rows, category.Records.size());
    for (const auto& record : category.Records)
        rows.push_back(record.get());
    return rows;
}

// The value that category's list is sorted by; -1 when it is not sorted.
int32_t SortValueIndex(const TCategory& category) {
    const int column = category.SortColumn;
    if (column < 0 || column >= static_cast<int>(category.Columns.size()))
        return -1;
    return category.ValueIndexOf(category.Columns[static_cast<size_t>(column)]->ElementID);
}

} // namespace

bool TKeptListOrders::TKept::SortsAs(const TCategory& category) const {
    return Column == category.SortColumn && Ascending == category.SortAscending &&
           ValueIndex == SortValueIndex(category);
}

std::vector<TRecord*> TKeptListOrders::AllRecordsInListOrder(const TCategory& category) {
    const int column = category.SortColumn;
    const bool ascending = category.SortAscending;
    const int32_t valueIndex = SortValueIndex(category);
    if (valueIndex < 0) {
        FOrders.erase(&category);
        return RowsAsStored(category);
    }
    const TRecordsState now = RecordsStateOf(category.Records);
    const auto kept = FOrders.find(&category);
    if (kept != FOrders.end()) {
        TKept& order = kept->second;
        if (order.SortsAs(category)) {
            if (order.Holds == now)
                return RecordsInOrder(category.Records, order.Order);
            std::vector<TRecord*> rows;
            if (RowsInKeptListOrder(category.Records, order.Order, valueIndex, ascending, rows)) {
                order.Holds = now;
                return rows;
            }
        }
        // Its room is given back before the sort takes its own.
        FOrders.erase(kept);
    }
    const std::vector<TRecord*> stored = RowsAsStored(category);
    std::vector<uint32_t> order = ListSortOrder(stored.data(), stored.size(), valueIndex, ascending);
    std::vector<TRecord*> rows = InOrder(stored, order);
    FOrders[&category] = {column, ascending, valueIndex, std::move(order), now};
    return rows;
}

void TKeptListOrders::Resorted(const TCategory& category, const std::vector<uint32_t>& order) {
    const auto kept = FOrders.find(&category);
    if (kept == FOrders.end())
        return;
    if (order.size() != kept->second.Order.size()) {
        FOrders.erase(kept);
        return;
    }
    // The list was the kept order's rows: while no record has changed since that order held, the
    // new order, sorted from them as they are, holds too.
    std::optional<TRecordsState> holds = kept->second.Holds;
    if (holds && !(*holds == RecordsStateOf(category.Records)))
        holds.reset();
    std::vector<uint32_t> composed = InOrder(kept->second.Order, order);
    kept->second = {category.SortColumn, category.SortAscending, SortValueIndex(category),
                    std::move(composed), holds};
}

bool TKeptListOrders::PutInListOrder(const TCategory& category, std::vector<TRecord*>& rows) const {
    const auto kept = FOrders.find(&category);
    return kept != FOrders.end() && kept->second.SortsAs(category) &&
           kept->second.Holds == RecordsStateOf(category.Records) &&
           PartInListOrder(category.Records, kept->second.Order, rows);
}
