// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ListPageLayout.h"

#include "print/ListPage.h"
#include "print/PrintProgress.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// In form pixels (1/96 inch), as a browser draws a bordered table.
const qreal kPadX = 4;
const qreal kPadY = 1;
const qreal kGrid = 1;
const qreal kFrame = 2;

QString View(QStringView text) {
    return QString::fromRawData(text.data(), text.size());
}

} // namespace

TListPageLayout::TListPageLayout(const TListPage& page) : FPage(page) {}

TListPageLayout::~TListPageLayout() = default;

int TListPageLayout::FirstRowOf(int page) const {
    return page < PageCount() ? FPageStarts[static_cast<size_t>(page)] : FRowCount;
}

void TListPageLayout::Layout(QPaintDevice& device, const TPageFrame& frame, TPrintProgress& progress) {
    QFont font(FPage.FontName());
    if (FPage.FontSize() > 0) {
        font.setPointSize(FPage.FontSize());
    }
    FCellMeasure = std::make_unique<TTextMeasure>(font, &device);
    font.setBold(true);
    FHeadingMeasure = std::make_unique<TTextMeasure>(font, &device);
    FPadX = kPadX * frame.Scale;
    FPadY = kPadY * frame.Scale;
    FGrid = kGrid * frame.Scale;
    FFrame = kFrame * frame.Scale;
    FBodyWidth = frame.Body.width();
    FRowCount = FPage.RowCount();

    std::vector<QString> headings;
    for (int column = 0; column < FPage.ColumnCount(); ++column) {
        headings.push_back(FPage.HeadingText(column));
    }
    MeasureColumns(headings, progress);
    FitColumns(frame.Body.width() - 2 * FFrame);

    std::vector<QStringView> lines;
    int headingLines = 1;
    for (int column = 0; column < FPage.ColumnCount(); ++column) {
        CellLines(*FHeadingMeasure, column, headings[static_cast<size_t>(column)], lines);
        headingLines = std::max(headingLines, static_cast<int>(lines.size()));
    }
    FHeadingHeight = BlockHeight(*FHeadingMeasure, headingLines);
    CutPages(frame.Body.height() - 2 * FFrame - FHeadingHeight, progress);
}

void TListPageLayout::MeasureColumns(const std::vector<QString>& headings, TPrintProgress& progress) {
    const int columns = FPage.ColumnCount();
    FNatural.assign(static_cast<size_t>(columns), 0);
    for (int column = 0; column < columns; ++column) {
        FNatural[static_cast<size_t>(column)] = FHeadingMeasure->Width(headings[static_cast<size_t>(column)]);
    }
    progress.Begin(tr("Measuring the list..."), FRowCount);
    for (int row = 0; row < FRowCount; ++row) {
        for (int column = 0; column < columns; ++column) {
            qreal& natural = FNatural[static_cast<size_t>(column)];
            natural = std::max(natural, FCellMeasure->Width(FPage.CellText(row, column)));
        }
        progress.Step(row);
    }
}

void TListPageLayout::FitColumns(qreal tableRoom) {
    const size_t columns = FNatural.size();
    FWidths.resize(columns);
    FWraps.assign(columns, false);
    for (size_t column = 0; column < columns; ++column) {
        // A little slack against rounding, so that the widest text stays on one line.
        FWidths[column] = std::ceil(FNatural[column] + 2 * FPadX + 1);
    }
    const qreal total = std::accumulate(FWidths.begin(), FWidths.end(), qreal(0));
    if (total > tableRoom) {
        // Too wide for the page: every column gives up width in proportion, down to a few
        // characters; a table that is still too wide is cut at the right edge.
        const qreal narrowest = 2 * FPadX + FCellMeasure->Width(u"MMM");
        for (size_t column = 0; column < columns; ++column) {
            FWidths[column] = std::max(narrowest, std::floor(tableRoom * FWidths[column] / total));
            FWraps[column] = FWidths[column] - 2 * FPadX < FNatural[column];
        }
    }
    FTableWidth = std::accumulate(FWidths.begin(), FWidths.end(), qreal(0)) + 2 * FFrame;
    FTableLeft = std::max<qreal>(0, (FBodyWidth - FTableWidth) / 2);
}

void TListPageLayout::CellLines(const TTextMeasure& measure, int column, const QString& text,
                                std::vector<QStringView>& lines) const {
    if (FWraps[static_cast<size_t>(column)]) {
        measure.WrapLines(text, FWidths[static_cast<size_t>(column)] - 2 * FPadX, lines);
    } else {
        lines.assign(1, QStringView(text));
    }
}

qreal TListPageLayout::BlockHeight(const TTextMeasure& measure, int lineCount) const {
    return lineCount * measure.LineHeight() + 2 * FPadY + FGrid;
}

qreal TListPageLayout::RowHeight(int row) const {
    int lineCount = 1;
    std::vector<QStringView> lines;
    for (int column = 0; column < FPage.ColumnCount(); ++column) {
        if (FWraps[static_cast<size_t>(column)]) {
            const QString text = FPage.CellText(row, column);
            CellLines(*FCellMeasure, column, text, lines);
            lineCount = std::max(lineCount, static_cast<int>(lines.size()));
        }
    }
    return BlockHeight(*FCellMeasure, lineCount);
}

void TListPageLayout::CutPages(qreal rowRoom, TPrintProgress& progress) {
    FPageStarts.assign(1, 0);
    const bool anyWraps = std::find(FWraps.begin(), FWraps.end(), true) != FWraps.end();
    if (!anyWraps) {
        // Every row is one line high: the pages follow from the count.
        const int perPage = std::max(1, static_cast<int>(rowRoom / BlockHeight(*FCellMeasure, 1)));
        for (int start = perPage; start < FRowCount; start += perPage) {
            FPageStarts.push_back(start);
        }
        return;
    }
    progress.Begin(tr("Preparing the pages..."), FRowCount);
    qreal used = 0;
    for (int row = 0; row < FRowCount; ++row) {
        const qreal height = RowHeight(row);
        // A row taller than a whole page gets a page of its own and is cut there.
        if (used > 0 && used + height > rowRoom) {
            FPageStarts.push_back(row);
            used = 0;
        }
        used += height;
        progress.Step(row);
    }
}

qreal TListPageLayout::PaintRow(QPainter& painter, const TTextMeasure& measure,
                                const std::vector<QString>& texts, qreal top) const {
    std::vector<std::vector<QStringView>>& lines = FRowLines;
    lines.resize(texts.size());
    size_t lineCount = 1;
    for (size_t column = 0; column < texts.size(); ++column) {
        CellLines(measure, static_cast<int>(column), texts[column], lines[column]);
        lineCount = std::max(lineCount, lines[column].size());
    }
    const qreal height = BlockHeight(measure, static_cast<int>(lineCount));
    const qreal lineHeight = measure.LineHeight();
    qreal left = FTableLeft + FFrame;
    for (size_t column = 0; column < texts.size(); ++column) {
        const qreal width = FWidths[column];
        // Centred both ways, as a table cell is.
        qreal baseline = top + (height - FGrid - lines[column].size() * lineHeight) / 2 + measure.Ascent();
        for (const QStringView line : lines[column]) {
            const QPointF at(left + (width - measure.Width(line)) / 2, baseline);
            if (!measure.AppendGlyphs(line, at, FRunGlyphs, FRunPositions)) {
                painter.drawText(at, View(line));
            }
            baseline += lineHeight;
        }
        left += width;
    }
    // The row's plain texts go out as one run of glyphs: far fewer pieces for the printer than a
    // text for every line of every cell.
    if (!FRunGlyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(measure.RawFont());
        run.setGlyphIndexes(FRunGlyphs);
        run.setPositions(FRunPositions);
        painter.drawGlyphRun(QPointF(0, 0), run);
        FRunGlyphs.clear();
        FRunPositions.clear();
    }
    return height;
}

void TListPageLayout::PaintPage(QPainter& painter, int page) const {
    const int columns = FPage.ColumnCount();
    std::vector<QString> texts(static_cast<size_t>(columns));
    painter.setPen(Qt::black);

    painter.setFont(FHeadingMeasure->Font());
    for (int column = 0; column < columns; ++column) {
        texts[static_cast<size_t>(column)] = FPage.HeadingText(column);
    }
    qreal top = FFrame + PaintRow(painter, *FHeadingMeasure, texts, FFrame);
    std::vector<qreal> rowBottoms{top};

    painter.setFont(FCellMeasure->Font());
    const int end = FirstRowOf(page + 1);
    for (int row = FirstRowOf(page); row < end; ++row) {
        for (int column = 0; column < columns; ++column) {
            texts[static_cast<size_t>(column)] = FPage.CellText(row, column);
        }
        top += PaintRow(painter, *FCellMeasure, texts, top);
        rowBottoms.push_back(top);
    }

    // The grid: a line under every row but the last, between the columns, and the table's frame.
    const qreal left = FTableLeft + FFrame;
    const qreal right = FTableLeft + FTableWidth - FFrame;
    painter.setPen(QPen(Qt::black, FGrid, Qt::SolidLine, Qt::FlatCap));
    rowBottoms.pop_back();
    for (const qreal y : rowBottoms) {
        painter.drawLine(QPointF(left, y - FGrid / 2), QPointF(right, y - FGrid / 2));
    }
    qreal x = left;
    for (int column = 0; column + 1 < columns; ++column) {
        x += FWidths[static_cast<size_t>(column)];
        painter.drawLine(QPointF(x - FGrid / 2, FFrame), QPointF(x - FGrid / 2, top));
    }
    painter.setPen(QPen(Qt::black, FFrame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(FTableLeft + FFrame / 2, FFrame / 2, FTableWidth - FFrame, top));
}
