// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/BoxFlow.h"
#include "print/PageLayout.h"

#include <QFont>
#include <QRectF>
#include <QStringList>

#include <vector>

class TRecordPage;
struct TPrintedElement;

// The record page on paper: every label, text box and memo box at its form position in its font,
// the boxes framed in the page file's grey. A box shows its whole text: its lines wrap at the box's
// width and the box grows down, going on at the top of the next page where it reaches the bottom
// of one. A form larger than the printable area goes on over further pages, first down, then
// across, rather than being cut.
class TRecordPageLayout final : public TPageLayout {
public:
    explicit TRecordPageLayout(const TRecordPage& page) : FPage(page) {}

    int PageCount() const override { return FAcross * FDown; }
    void PaintPage(QPainter& painter, int page) const override;

protected:
    void Layout(QPaintDevice& device, const TPageFrame& frame, TPrintProgress& progress) override;

private:
    struct TPlaced {
        const TPrintedElement* Element;
        QFont Font;
        QRectF Box; // in device pixels from the form's top-left corner (a box's as the form has it)
        // A text or memo box: its lines and the pieces they print in.
        QStringList Lines;
        qreal LineHeight = 0;
        qreal Ascent = 0;
        std::vector<TBoxPart> Parts;
    };

    void PlaceBox(QPaintDevice& device, const TPrintedElement& element, TPlaced& placed) const;
    void PaintLabel(QPainter& painter, const TPlaced& placed) const;
    void PaintBoxPart(QPainter& painter, const TPlaced& placed, const TBoxPart& part) const;

    const TRecordPage& FPage;
    std::vector<TPlaced> FPlaced;
    QSizeF FBody;
    qreal FScale = 1;
    int FAcross = 1;
    int FDown = 1;
};
