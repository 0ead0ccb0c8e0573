// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ListPage.h"

#include "print/ListSource.h"
#include "print/PageFile.h"

namespace {

// A cell line: the text for the page, or a non-breaking space that keeps an empty cell's frame.
void WriteCell(TPageLines& lines, const char16_t* open, const char16_t* close, const QString& shown,
               const QString& written) {
    lines << QStringView(open) << (shown.isEmpty() ? QStringLiteral("&nbsp;") : PageText(written))
          << QStringView(close);
    lines.EndLine();
}

} // namespace

TListPage::TListPage(const TListSource& source, std::vector<int> columns, const QString& fontName,
                     int fontSize)
    : FSource(source), FColumns(std::move(columns)), FFontName(fontName), FFontSize(fontSize) {}

int TListPage::RowCount() const {
    return FSource.RowCount();
}

QString TListPage::Caption(int column) const {
    return FSource.Caption(FColumns[static_cast<size_t>(column)]);
}

QString TListPage::HeadingText(int column) const {
    return TrimBlanks(Caption(column));
}

QString TListPage::CellText(int row, int column) const {
    return TrimBlanks(FSource.Cell(row, FColumns[static_cast<size_t>(column)]));
}

void TListPage::WriteLines(TPageLines& lines, const std::function<void(int)>& rowWritten) const {
    const QString font = PageText(FFontName);
    lines << u"<html><head><title>Quillery</title></head><body>";
    lines.EndLine();
    lines << u"<style>";
    lines.EndLine();
    lines << u"TABLE {border-collapse:collapse;border-color:black;border-width:2px}";
    lines.EndLine();
    lines << u"TH {border-color:black;border-width:1px;font-family:" << font << u";font-size:" << FFontSize
          << u"pt;font-weight:bold}";
    lines.EndLine();
    lines << u"TD {border-color:black;border-width:1px;text-align:center;font-family:" << font
          << u";font-size:" << FFontSize << u"pt}";
    lines.EndLine();
    lines << u"</style>";
    lines.EndLine();
    lines << u"<center><table border=\"1\"><tr>";
    lines.EndLine();
    for (int column = 0; column < ColumnCount(); ++column) {
        // The heading keeps its blanks; only a blank one turns into a space.
        WriteCell(lines, u"<th>", u"</th>", HeadingText(column), Caption(column));
    }
    lines << u"</tr>";
    lines.EndLine();
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) {
        lines << u"<tr>";
        lines.EndLine();
        for (int column = 0; column < ColumnCount(); ++column) {
            const QString text = CellText(row, column);
            WriteCell(lines, u"<td>", u"</td>", text, text);
        }
        lines << u"</tr>";
        lines.EndLine();
        rowWritten(row);
    }
    lines << u"</table></center></body></html>";
    lines.EndLine();
}
