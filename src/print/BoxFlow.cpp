// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/BoxFlow.h"

#include <algorithm>
#include <cmath>

namespace {

// Against rounding: a line that fits to a billionth still fits.
constexpr qreal kSlack = 1e-9;

// How many lines fit into room; lines without height all do.
int WholeLines(qreal room, qreal lineHeight, int lineCount) {
    if (lineHeight <= 0) {
        return lineCount;
    }
    return static_cast<int>(std::floor(room / lineHeight + kSlack));
}

} // namespace

std::vector<TBoxPart> FlowBox(const TBoxFlowInput& box, qreal pageHeight) {
    const qreal linesHeight = box.LineCount * box.LineHeight;
    const qreal formBottom = box.Top + box.MinHeight;
    if (pageHeight <= 0) {
        return {{0, box.Top, std::max(box.MinHeight, linesHeight + 2 * box.Inset), 0, box.LineCount}};
    }
    std::vector<TBoxPart> parts;
    int page = std::max(0, static_cast<int>(std::floor(box.Top / pageHeight + kSlack)));
    qreal top = box.Top;
    int line = 0;
    for (;;) {
        const qreal pageBottom = (page + 1) * pageHeight;
        const int left = box.LineCount - line;
        const int room = WholeLines(pageBottom - top - 2 * box.Inset, box.LineHeight, left);
        if (left <= room) {
            // The rest fits: the frame ends below the last line, or where the form ends it,
            // but never past the page.
            const qreal height = std::max(left * box.LineHeight + 2 * box.Inset, formBottom - top);
            parts.push_back({page, top, std::min(height, pageBottom - top), line, left});
            return parts;
        }
        const bool pageTop = top <= page * pageHeight + kSlack * pageHeight;
        if (room > 0 || pageTop) {
            const int taken = std::max(room, 1);
            parts.push_back({page, top, taken * box.LineHeight + 2 * box.Inset, line, taken});
            line += taken;
            if (line == box.LineCount) {
                return parts; // only where one line filled a page of its own
            }
        }
        ++page;
        top = page * pageHeight;
    }
}
