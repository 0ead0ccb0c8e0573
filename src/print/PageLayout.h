// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <QString>

class QPainter;
class QPaintDevice;
class QPrinter;
class TPrintProgress;

// Where the page numbers go, as the print options offer it; the numbers are the options' order.
enum class TPageNumbers { Header = 0, Footer = 1, None = 2 };

// The area of a page that the content fills, in the printer's device pixels.
struct TPageFrame {
    QSizeF Body;     // the printable area less the page number's line
    qreal Scale = 1; // device pixels per form pixel (1/96 inch)

    bool operator==(const TPageFrame& o) const { return Body == o.Body && Scale == o.Scale; }
};

// Content cut into pages. It is laid out for a frame before the print dialog shows (so that the
// dialog offers the page range), and again only when the dialog changed the paper.
class TPageLayout {
public:
    virtual ~TPageLayout() = default;

    // Lays the content out for printer's pages unless it already is.
    void Prepare(QPrinter& printer, TPageNumbers numbers, TPrintProgress& progress);
    virtual int PageCount() const = 0;
    // Paints page (from 0) with the top-left corner of the body at the painter's origin.
    virtual void PaintPage(QPainter& painter, int page) const = 0;

protected:
    virtual void Layout(QPaintDevice& device, const TPageFrame& frame, TPrintProgress& progress) = 0;

private:
    TPageFrame FFrame;
    bool FLaidOut = false;
};

// "Page p/P" for page p of P.
QString PageNumberText(int page, int pageCount);

// Paints the pages of layout onto printer (those of the printer's page range when one was chosen)
// with the page number in the header or footer as numbers says. Throws EPrintCancelled when the
// user cancelled (a file being printed to is then removed), and an error whose text is to be shown
// when the printer cannot be started.
void PrintPages(QPrinter& printer, TPageLayout& layout, TPageNumbers numbers, TPrintProgress& progress);
