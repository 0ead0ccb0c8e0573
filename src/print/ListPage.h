// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <vector>

class TListSource;
class TPageLines;

// The list page: a table of the print list's columns over the rows the record list shows now. The
// page file is written from it and the printed pages are drawn from it, so both always agree.
class TListPage {
public:
    // columns: the print list, as column positions of source in the order they print.
    TListPage(const TListSource& source, std::vector<int> columns, const QString& fontName, int fontSize);

    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    int RowCount() const;
    // The list's caption of a printed column, blanks included.
    QString Caption(int column) const;
    // What a heading cell and a cell show: the text without blanks at either end.
    QString HeadingText(int column) const;
    QString CellText(int row, int column) const;
    const QString& FontName() const { return FFontName; }
    int FontSize() const { return FFontSize; }

    // rowWritten is told after each row and may throw to stop the writing.
    void WriteLines(TPageLines& lines, const std::function<void(int)>& rowWritten) const;

private:
    const TListSource& FSource;
    std::vector<int> FColumns;
    QString FFontName;
    int FFontSize;
};
