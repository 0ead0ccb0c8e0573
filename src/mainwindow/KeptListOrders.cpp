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

} // namespace

std::vector<TRecord*> TKeptListOrders::AllRecordsInListOrder(const TCategory& category) {
    const int column = category.SortColumn;
    const bool ascending = category.SortAscending;
    if (column < 0 || column >= static_cast<int>(category.Columns.size())) {
        FOrders.erase(&category);
        return RowsAsStored(category);
    }
    const int32_t valueIndex =
        category.ValueIndexOf(category.Columns[static_cast<size_t>(column)]->ElementID);
    const auto kept = FOrders.find(&category);
    if (kept != FOrders.end()) {
        std::vector<TRecord*> rows;
        if (kept->second.Column == column && kept->second.Ascending == ascending &&
            RowsInKeptListOrder(category.Records, kept->second.Order, valueIndex, ascending, rows))
            return rows;
        // Its room is given back before the sort takes its own.
        FOrders.erase(kept);
    }
    const std::vector<TRecord*> stored = RowsAsStored(category);
    std::vector<uint32_t> order = ListSortOrder(stored.data(), stored.size(), valueIndex, ascending);
    std::vector<TRecord*> rows;
    ReserveInHugePages(rows, stored.size());
    for (const uint32_t position : order)
        rows.push_back(stored[position]);
    FOrders[&category] = {column, ascending, std::move(order)};
    return rows;
}

void TKeptListOrders::Resorted(const TCategory& category, const std::vector<uint32_t>& order) {
    const auto kept = FOrders.find(&category);
    if (kept == FOrders.end())
        return;
    const std::vector<uint32_t>& before = kept->second.Order;
    if (order.size() != before.size()) {
        FOrders.erase(kept);
        return;
    }
    std::vector<uint32_t> composed;
    ReserveInHugePages(composed, order.size());
    for (const uint32_t position : order)
        composed.push_back(before[position]);
    kept->second = {category.SortColumn, category.SortAscending, std::move(composed)};
}
