// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FormLayout.h"

#include <cstddef>
#include <utility>

namespace {
constexpr int32_t kFar = 100000;
constexpr int32_t kBand = 12;

// The smallest top that is at least floor, or kFar when there is none.
int32_t NextTop(const std::vector<TBoxPosition>& boxes, int32_t floor) {
    int32_t best = kFar;
    for (const auto& box : boxes)
        if (box.Top >= floor && box.Top < best)
            best = box.Top;
    return best;
}
} // namespace

std::vector<int> ReadingOrder(const std::vector<TBoxPosition>& boxes) {
    std::vector<int> order;
    for (int32_t top = NextTop(boxes, -kFar); top < kFar; top = NextTop(boxes, top + kBand)) {
        std::vector<int> row;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].Top >= top && boxes[i].Top <= top + kBand - 1)
                row.push_back(static_cast<int>(i));
        // An exchange ordering by left, as the form has always ordered a row.
        for (size_t i = 0; i < row.size(); ++i)
            for (size_t j = i + 1; j < row.size(); ++j)
                if (boxes[static_cast<size_t>(row[j])].Left < boxes[static_cast<size_t>(row[i])].Left)
                    std::swap(row[i], row[j]);
        order.insert(order.end(), row.begin(), row.end());
    }
    return order;
}

TFormScrollLayout LayoutFormArea(int32_t formRight, int32_t formBottom, int32_t holderWidth,
                                 int32_t holderHeight, int32_t verticalBarWidth,
                                 int32_t horizontalBarHeight) {
    TFormScrollLayout layout;
    const int32_t dx = formRight + verticalBarWidth - holderWidth;
    if (dx < 1) {
        layout.ViewportHeight = holderHeight;
    } else {
        layout.HorizontalShown = true;
        layout.HorizontalMax = dx + 20;
        layout.HorizontalPage = layout.HorizontalMax / 4;
        layout.ViewportHeight = holderHeight - horizontalBarHeight;
    }
    const int32_t barHeight = layout.HorizontalShown ? horizontalBarHeight : 0;
    const int32_t dy = formBottom + barHeight - holderHeight;
    if (dy >= 1) {
        layout.VerticalEnabled = true;
        layout.VerticalMax = formBottom + barHeight - layout.ViewportHeight + 20;
    }
    layout.VerticalPage = layout.VerticalMax / 4;
    layout.ViewportWidth = holderWidth - verticalBarWidth;
    return layout;
}
