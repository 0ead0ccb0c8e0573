// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// The cells of one row as a writer reads them, in column order: each with its text and whether it
// has the heading format. One buffer holds the texts, so reading row after row reuses it.
class TRowCells {
public:
    struct TCell {
        int Column;
        bool Heading;
        qsizetype Offset;
        qsizetype Length;
    };

    void Clear() {
        FCells.clear();
        FTexts.clear();
    }
    void Add(int column, QStringView text, bool heading) {
        FCells.push_back({column, heading, FTexts.size(), text.size()});
        FTexts.append(text);
    }
    const std::vector<TCell>& Cells() const { return FCells; }
    QStringView TextOf(const TCell& cell) const { return QStringView(FTexts).mid(cell.Offset, cell.Length); }

private:
    std::vector<TCell> FCells;
    QString FTexts;
};

// A worksheet's cells read a row at a time while they are written, so that a sheet of any size
// is never held whole in another form.
class TSheetRows {
public:
    virtual ~TSheetRows() = default;
    // The last row (column) holding a cell, 0 when there is none.
    virtual int UsedRows() const = 0;
    virtual int UsedColumns() const = 0;
    // The cells of row (1 to UsedRows) that hold a text or have the heading format.
    virtual void ReadRow(int row, TRowCells& cells) const = 0;
    // The writer has written row; a pass that only measures the output tells nothing.
    virtual void Written(int row) const { static_cast<void>(row); }
};
