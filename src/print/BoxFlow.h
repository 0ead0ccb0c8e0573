// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <vector>

// One page's piece of a printed box: its own frame with the lines it holds.
struct TBoxPart {
    int Page = 0;  // the page down the form, from 0
    qreal Top = 0; // the frame's top, from the form's top
    qreal Height = 0;
    int FirstLine = 0;
    int LineCount = 0;
};

// A text or memo box as it prints: the frame's top on the form, the height the form gave it, and
// the lines of its text, each lineHeight tall, with inset between frame and lines above and below.
struct TBoxFlowInput {
    qreal Top = 0;
    qreal MinHeight = 0;
    int LineCount = 0;
    qreal LineHeight = 0;
    qreal Inset = 0;
};

// Cuts a box into the pieces that go on pages pageHeight tall, stacked down from the form's top.
// The box grows down until all its lines show; where it reaches the bottom of a page it goes on at
// the top of the next, so no line is ever cut. A box whose first line does not fit on its page
// starts on the next one. Nothing but the box moves. A page too short for even one line still takes
// one, so that every line prints.
std::vector<TBoxPart> FlowBox(const TBoxFlowInput& box, qreal pageHeight);
