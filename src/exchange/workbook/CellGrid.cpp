// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CellGrid.h"

#include <algorithm>

namespace {
uint64_t Key(uint32_t row, uint32_t column) {
    return (uint64_t(row) << 16) | column;
}
uint64_t Key(const TCellGrid::TCell& cell) {
    return Key(cell.Row, cell.Column);
}

// A later write of the same cell wins for the text; styles add up.
void Merge(TCellGrid::TCell& into, const TCellGrid::TCell& later) {
    if (later.Flags & TCellGrid::HasText) {
        into.Offset = later.Offset;
        into.Length = later.Length;
    }
    into.Flags |= later.Flags;
}
} // namespace

void TCellGrid::Add(TCell cell) {
    FUsedRows = std::max(FUsedRows, int(cell.Row));
    FUsedColumns = std::max(FUsedColumns, int(cell.Column));
    if (!FCells.empty() && FSorted) {
        const uint64_t last = Key(FCells.back());
        if (Key(cell) == last) {
            Merge(FCells.back(), cell);
            return;
        }
        // Out of order: sorted once when next read, so writers in any order stay linear.
        if (Key(cell) < last)
            FSorted = false;
    }
    FCells.push_back(cell);
}

TCellGrid::TTextSpan TCellGrid::SetText(int row, int column, QStringView text) {
    const TTextSpan placed{uint32_t(FTexts.size()), uint32_t(text.size())};
    FTexts.append(text);
    SetPlacedText(row, column, placed);
    return placed;
}

void TCellGrid::SetPlacedText(int row, int column, TTextSpan text) {
    Add({uint32_t(row), uint16_t(column), HasText, text.Offset, text.Length});
}

void TCellGrid::SetHeadingStyle(int row, int column) {
    Add({uint32_t(row), uint16_t(column), HeadingStyle, 0, 0});
}

void TCellGrid::Settle() const {
    if (FSorted)
        return;
    std::stable_sort(FCells.begin(), FCells.end(),
                     [](const TCell& a, const TCell& b) { return Key(a) < Key(b); });
    size_t kept = 0;
    for (size_t i = 0; i < FCells.size(); ++i) {
        if (kept > 0 && Key(FCells[kept - 1]) == Key(FCells[i]))
            Merge(FCells[kept - 1], FCells[i]);
        else
            FCells[kept++] = FCells[i];
    }
    FCells.resize(kept);
    FSorted = true;
}

const std::vector<TCellGrid::TCell>& TCellGrid::Cells() const {
    Settle();
    return FCells;
}

QString TCellGrid::Text(int row, int column) const {
    Settle();
    const uint64_t key = Key(uint32_t(row), uint32_t(column));
    const auto it = std::lower_bound(FCells.begin(), FCells.end(), key,
                                     [](const TCell& cell, uint64_t k) { return Key(cell) < k; });
    if (it == FCells.end() || Key(*it) != key)
        return QString();
    return TextOf(*it).toString();
}
