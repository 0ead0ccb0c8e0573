// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PageLayout.h"

#include "print/PrintProgress.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <stdexcept>

namespace {

QFont PageNumberFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    return font;
}

// The height of the page number's line with the gap that parts it from the content.
qreal NumberBand(QPaintDevice& device, TPageNumbers numbers) {
    if (numbers == TPageNumbers::None) {
        return 0;
    }
    return QFontMetricsF(PageNumberFont(), &device).height() * 1.5;
}

// The printable area: the painter's origin is its top-left corner.
QSizeF PrintableSize(QPrinter& printer) {
    return QSizeF(printer.width(), printer.height());
}

void PaintPageNumber(QPainter& painter, QPrinter& printer, TPageNumbers numbers, const QString& text) {
    if (numbers == TPageNumbers::None) {
        return;
    }
    painter.setFont(PageNumberFont());
    painter.setPen(Qt::black);
    const QSizeF page = PrintableSize(printer);
    const qreal height = QFontMetricsF(PageNumberFont(), &printer).height();
    const qreal top = numbers == TPageNumbers::Header ? 0 : page.height() - height;
    painter.drawText(QRectF(0, top, page.width(), height), Qt::AlignHCenter | Qt::AlignTop, text);
}

} // namespace

void TPageLayout::Prepare(QPrinter& printer, TPageNumbers numbers, TPrintProgress& progress) {
    QSizeF body = PrintableSize(printer);
    body.rheight() -= NumberBand(printer, numbers);
    const TPageFrame frame{body, printer.resolution() / 96.0};
    if (FLaidOut && frame == FFrame) {
        return;
    }
    FLaidOut = false;
    Layout(printer, frame, progress);
    FFrame = frame;
    FLaidOut = true;
}

QString PageNumberText(int page, int pageCount) {
    return QCoreApplication::translate("PrintPages", "Page %1/%2").arg(page).arg(pageCount);
}

void PrintPages(QPrinter& printer, TPageLayout& layout, TPageNumbers numbers, TPrintProgress& progress) {
    layout.Prepare(printer, numbers, progress);
    const int count = layout.PageCount();
    int first = 1;
    int last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::min(count, std::max(first, printer.toPage()));
    }
    if (first > last) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString target =
            printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
        throw std::runtime_error(
            QCoreApplication::translate("PrintPages", "Cannot print to %1").arg(target).toStdString());
    }
    const QSizeF page = PrintableSize(printer);
    const qreal band = NumberBand(printer, numbers);
    const QRectF body(0, numbers == TPageNumbers::Header ? band : 0, page.width(), page.height() - band);
    try {
        progress.Begin(QCoreApplication::translate("PrintPages", "Printing the pages..."), last - first + 1);
        for (int number = first; number <= last; ++number) {
            if (number > first) {
                printer.newPage();
            }
            PaintPageNumber(painter, printer, numbers, PageNumberText(number, count));
            painter.save();
            painter.translate(body.topLeft());
            painter.setClipRect(QRectF(QPointF(0, 0), body.size()));
            layout.PaintPage(painter, number - 1);
            painter.restore();
            progress.Step(number - first + 1);
        }
    } catch (...) {
        printer.abort();
        throw;
    }
    painter.end();
}
