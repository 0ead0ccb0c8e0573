// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ListSort.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

class TCategory;
class TRecord;

// The list order of each category's records as last sorted, kept while its data stays open:
// showing a large category again checks that order in one pass instead of sorting all over. The
// check reads the records as they are now, so a kept order that no longer holds is only a miss.
// An order sorted or checked here is taken as it is while no record has changed since, and the
// category holds the same records in the same places.
class TKeptListOrders {
public:
    // All of category's records: in list order by its sort column, or as stored when it has none.
    std::vector<TRecord*> AllRecordsInListOrder(const TCategory& category);
    // The list of all of category's records, as the last call gave them, was sorted again by its
    // sort column: order holds the place each row came from. With no record changed since the
    // kept order was known to hold, the new one is known to hold too.
    void Resorted(const TCategory& category, const std::vector<uint32_t>& order);
    // Puts rows, some of category's records in their stored order, into list order when the kept
    // order holds as it is; false when they need sorting.
    bool PutInListOrder(const TCategory& category, std::vector<TRecord*>& rows) const;
    void Clear() { FOrders.clear(); }

private:
    struct TKept {
        int Column;
        bool Ascending;
        int32_t ValueIndex;
        std::vector<uint32_t> Order;
        // The records' state when the order was last known to hold; none when it needs a check.
        std::optional<TRecordsState> Holds;
        // Whether it is an order by category's sort column and direction as they are now.
        bool SortsAs(const TCategory& category) const;
    };
    std::unordered_map<const TCategory*, TKept> FOrders;
};
