// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small data file that the tool's tests share.

#include "core/DataFile.h"

#include <string>

// A category "Books" with a column and records enough to make a file of some size.
inline TDataFile MakeBooks(int records, const std::string& title = "title") {
    TDataFile data;
    TCategory& books = *data.AddCategory();
    books.Name = "Books";
    const int32_t id =
        books.AddElement(kKindEdit, 96, 12, 294, 24, 0xFFFFFF, TFont{"MS Sans Serif", 0, 8, 0}, "");
    books.RenumberValueIndexes();
    auto column = std::make_unique<TListColumn>();
    column->ElementID = id;
    column->Caption = "Title";
    books.Columns.push_back(std::move(column));
    for (int r = 0; r < records; ++r)
        books.NewRecord()->SetValue(0, title + " " + std::to_string(r));
    return data;
}
