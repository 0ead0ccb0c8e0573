// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/PageLayout.h"
#include "print/TextMeasure.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

class TListPage;

// The list page on paper: a table of bold centred headings and centred cells in the print font,
// with a black grid, centred on the page; the heading row starts every page. Columns take the
// width of their widest text; when the table would be wider than the page, each column gives up
// width in proportion and its texts wrap. Pages are cut row by row and only the first row of each
// page is kept, so a long list costs no more memory than a short one.
class TListPageLayout final : public TPageLayout {
    Q_DECLARE_TR_FUNCTIONS(TListPageLayout)

public:
    explicit TListPageLayout(const TListPage& page);
    ~TListPageLayout() override;

    int PageCount() const override { return static_cast<int>(FPageStarts.size()); }
    void PaintPage(QPainter& painter, int page) const override;

    // The first row of page (from 0); the last page's end is the row count.
    int FirstRowOf(int page) const;

protected:
    void Layout(QPaintDevice& device, const TPageFrame& frame, TPrintProgress& progress) override;

private:
    void MeasureColumns(const std::vector<QString>& headings, TPrintProgress& progress);
    void FitColumns(qreal tableRoom);
    void CutPages(qreal rowRoom, TPrintProgress& progress);
    // The lines of a cell's text in column: wrapped only in a column narrower than its texts.
    void CellLines(const TTextMeasure& measure, int column, const QString& text,
                   std::vector<QStringView>& lines) const;
    qreal RowHeight(int row) const;
    qreal BlockHeight(const TTextMeasure& measure, int lineCount) const;
    // Paints one row of texts with its top at top; returns its height.
    qreal PaintRow(QPainter& painter, const TTextMeasure& measure, const std::vector<QString>& texts,
                   qreal top) const;

    const TListPage& FPage;
    std::unique_ptr<TTextMeasure> FCellMeasure;
    std::unique_ptr<TTextMeasure> FHeadingMeasure;
    qreal FPadX = 0;
    qreal FPadY = 0;
    qreal FGrid = 0;
    qreal FFrame = 0;
    qreal FBodyWidth = 0;
    std::vector<qreal> FNatural; // each column's widest text
    std::vector<qreal> FWidths;  // each column's width, padding included
    std::vector<bool> FWraps;    // the column is narrower than its widest text
    qreal FTableLeft = 0;
    qreal FTableWidth = 0;
    qreal FHeadingHeight = 0;
    std::vector<int> FPageStarts;
    int FRowCount = 0;
    // Kept to spare allocations.
    mutable std::vector<std::vector<QStringView>> FRowLines;
    mutable QList<quint32> FRunGlyphs;
    mutable QList<QPointF> FRunPositions;
};
