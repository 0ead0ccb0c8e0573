// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/RecordPageLayout.h"

#include "print/RecordPage.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The boxes' frame and the room between frame and text, in form pixels.
const qreal kBorder = 1;
const qreal kPadding = 2;
const QColor kBorderColor(0xCF, 0xCF, 0xCF);

// Line breaks as the painter takes them: CR LF, lone CR and lone LF each break once.
QString PaintedLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int PagesFor(qreal extent, qreal page) {
    return page > 0 ? std::max(1, static_cast<int>(std::ceil(extent / page - 1e-9))) : 1;
}

} // namespace

void TRecordPageLayout::Layout(QPaintDevice& device, const TPageFrame& frame, TPrintProgress&) {
    FBody = frame.Body;
    FScale = frame.Scale;
    FPlaced.clear();
    qreal right = 0;
    qreal bottom = 0;
    for (const TPrintedElement& element : FPage.Elements()) {
        QFont font(element.FontName);
        if (element.FontSize > 0) {
            font.setPointSize(element.FontSize);
        }
        // Letters as typed: a ligature would print "fi" as one sign that readers cannot search.
        font.setStyleStrategy(QFont::PreferNoShaping);
        const QFontMetricsF metrics(font, &device);
        const QPointF at = QPointF(TRecordPage::PlacedAt(element)) * FScale;
        QSizeF size;
        switch (element.Kind) {
        case TPrintedKind::Label:
            size = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, PaintedLines(element.Text))
                       .size();
            break;
        case TPrintedKind::TextBox:
            size = QSizeF(element.Width * FScale, metrics.height() + 2 * (kBorder + kPadding) * FScale);
            break;
        case TPrintedKind::Memo:
            size = QSizeF(element.Width * FScale, element.Height * FScale);
            break;
        }
        FPlaced.push_back({&element, font, QRectF(at, size)});
        right = std::max(right, at.x() + size.width());
        bottom = std::max(bottom, at.y() + size.height());
    }
    FAcross = PagesFor(right, FBody.width());
    FDown = PagesFor(bottom, FBody.height());
}

void TRecordPageLayout::PaintElement(QPainter& painter, const TPlaced& placed) const {
    const TPrintedElement& element = *placed.Element;
    painter.setFont(placed.Font);
    painter.setPen(Qt::black);
    if (element.Kind == TPrintedKind::Label) {
        painter.drawText(placed.Box, Qt::AlignLeft | Qt::AlignTop, PaintedLines(element.Text));
        return;
    }
    const qreal border = kBorder * FScale;
    painter.setPen(QPen(kBorderColor, border));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(placed.Box.adjusted(border / 2, border / 2, -border / 2, -border / 2));
    const qreal inset = (kBorder + kPadding) * FScale;
    const QRectF inside = placed.Box.adjusted(inset, inset, -inset, -inset);
    painter.save();
    painter.setClipRect(inside, Qt::IntersectClip);
    painter.setPen(Qt::black);
    if (element.Kind == TPrintedKind::TextBox) {
        painter.drawText(inside, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, element.Text);
    } else {
        painter.drawText(inside, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, PaintedLines(element.Text));
    }
    painter.restore();
}

void TRecordPageLayout::PaintPage(QPainter& painter, int page) const {
    // Pages go down the form first, then across.
    const QPointF origin((page / FDown) * FBody.width(), (page % FDown) * FBody.height());
    const QRectF shown(origin, FBody);
    painter.save();
    painter.translate(-origin);
    for (const TPlaced& placed : FPlaced) {
        if (placed.Box.intersects(shown)) {
            PaintElement(painter, placed);
        }
    }
    painter.restore();
}
