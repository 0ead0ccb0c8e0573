// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/RecordPageLayout.h"

#include "print/RecordPage.h"
#include "print/TextMeasure.h"

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
    int down = 1;
    for (const TPrintedElement& element : FPage.Elements()) {
        QFont font(element.FontName);
        if (element.FontSize > 0) {
            font.setPointSize(element.FontSize);
        }
        // Letters as typed: a ligature would print "fi" as one sign that readers cannot search.
        font.setStyleStrategy(QFont::PreferNoShaping);
        TPlaced placed{&element, font, QRectF(), {}, 0, 0, {}};
        const QPointF at = QPointF(TRecordPage::PlacedAt(element)) * FScale;
        if (element.Kind == TPrintedKind::Label) {
            const QFontMetricsF metrics(font, &device);
            placed.Box = QRectF(
                at, metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, PaintedLines(element.Text))
                        .size());
            bottom = std::max(bottom, placed.Box.bottom());
        } else {
            placed.Box = QRectF(at, QSizeF(element.Width, element.Height) * FScale);
            PlaceBox(device, element, placed);
            down = std::max(down, placed.Parts.back().Page + 1);
        }
        right = std::max(right, placed.Box.right());
        FPlaced.push_back(std::move(placed));
    }
    FAcross = PagesFor(right, FBody.width());
    FDown = std::max(down, PagesFor(bottom, FBody.height()));
}

void TRecordPageLayout::PlaceBox(QPaintDevice& device, const TPrintedElement& element,
                                 TPlaced& placed) const {
    const TTextMeasure measure(placed.Font, &device);
    placed.Font = measure.Font(); // painted as measured
    placed.LineHeight = measure.LineHeight();
    placed.Ascent = measure.Ascent();
    const qreal inset = (kBorder + kPadding) * FScale;
    const qreal width = placed.Box.width() - 2 * inset;
    // A text box's value is one paragraph; a memo's lines are each one.
    const QString text = element.Kind == TPrintedKind::Memo ? PaintedLines(element.Text) : element.Text;
    std::vector<QStringView> lines;
    for (const QStringView paragraph : QStringView(text).split(QLatin1Char('\n'))) {
        measure.WrapLines(paragraph, width, lines);
        for (const QStringView line : lines) {
            placed.Lines.append(line.toString());
        }
    }
    // A text box is as tall as its font makes one line; a memo box as tall as the form drew it.
    const qreal formHeight =
        element.Kind == TPrintedKind::Memo ? placed.Box.height() : placed.LineHeight + 2 * inset;
    placed.Parts = FlowBox(
        {placed.Box.top(), formHeight, static_cast<int>(placed.Lines.size()), placed.LineHeight, inset},
        FBody.height());
}

void TRecordPageLayout::PaintLabel(QPainter& painter, const TPlaced& placed) const {
    painter.setFont(placed.Font);
    painter.setPen(Qt::black);
    painter.drawText(placed.Box, Qt::AlignLeft | Qt::AlignTop, PaintedLines(placed.Element->Text));
}

void TRecordPageLayout::PaintBoxPart(QPainter& painter, const TPlaced& placed, const TBoxPart& part) const {
    const QRectF frame(placed.Box.left(), part.Top, placed.Box.width(), part.Height);
    const qreal border = kBorder * FScale;
    painter.setPen(QPen(kBorderColor, border));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(border / 2, border / 2, -border / 2, -border / 2));
    const qreal inset = (kBorder + kPadding) * FScale;
    painter.save();
    // The lines are cut to fit the width already; the clip only keeps a single character wider
    // than the box inside it.
    painter.setClipRect(frame.adjusted(border, border, -border, -border), Qt::IntersectClip);
    painter.setFont(placed.Font);
    painter.setPen(Qt::black);
    qreal baseline = part.Top + inset + placed.Ascent;
    for (int line = part.FirstLine; line < part.FirstLine + part.LineCount; ++line) {
        painter.drawText(QPointF(frame.left() + inset, baseline), placed.Lines.at(line));
        baseline += placed.LineHeight;
    }
    painter.restore();
}

void TRecordPageLayout::PaintPage(QPainter& painter, int page) const {
    // Pages go down the form first, then across.
    const int down = page % FDown;
    const QPointF origin((page / FDown) * FBody.width(), down * FBody.height());
    const QRectF shown(origin, FBody);
    painter.save();
    painter.translate(-origin);
    for (const TPlaced& placed : FPlaced) {
        if (placed.Element->Kind == TPrintedKind::Label) {
            if (placed.Box.intersects(shown)) {
                PaintLabel(painter, placed);
            }
            continue;
        }
        for (const TBoxPart& part : placed.Parts) {
            if (part.Page == down && placed.Box.left() < shown.right() && placed.Box.right() > shown.left()) {
                PaintBoxPart(painter, placed, part);
            }
        }
    }
    painter.restore();
}
