// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Category.h"

#include <string>
#include <vector>

// A category's records as plain values, to compare a category before and after a change.
using TValues = std::vector<std::vector<std::string>>;

inline TValues ValuesOf(const TCategory& category) {
    TValues values;
    for (const auto& record : category.Records) {
        values.emplace_back();
        for (int32_t i = 0; i < record->Count(); ++i)
            values.back().emplace_back(record->Value(i));
    }
    return values;
}
