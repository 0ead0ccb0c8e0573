// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// The record form's layout rules as plain arithmetic, shared by the record form and the design
// surface and testable without windows.

// Reading order of the text boxes: boxes whose tops lie within 12 pixels of a band's top form one
// row, visited left to right; rows are visited top to bottom. Takes each box's (left, top) and
// returns the box indexes in tab order. Boxes above -100000 or from 100000 down take no part.
struct TBoxPosition {
    int32_t Left = 0;
    int32_t Top = 0;
};
std::vector<int> ReadingOrder(const std::vector<TBoxPosition>& boxes);

// The form area's scroll bars for a form whose controls reach formRight and formBottom, in a form
// area of holderWidth x holderHeight with scroll bars of the given thickness.
struct TFormScrollLayout {
    bool HorizontalShown = false;
    int32_t HorizontalMax = 0;
    int32_t HorizontalPage = 0;
    bool VerticalEnabled = false;
    int32_t VerticalMax = 0;
    int32_t VerticalPage = 0;
    int32_t ViewportWidth = 0;
    int32_t ViewportHeight = 0;
};
TFormScrollLayout LayoutFormArea(int32_t formRight, int32_t formBottom, int32_t holderWidth,
                                 int32_t holderHeight, int32_t verticalBarWidth, int32_t horizontalBarHeight);
