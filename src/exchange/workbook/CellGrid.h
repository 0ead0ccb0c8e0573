// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// The cells of one worksheet, sparse and compact: one small entry per cell in row-major order and
// every text in one shared buffer, so a sheet of a million cells costs a handful of allocations.
class TCellGrid {
public:
    struct TCell {
        uint32_t Row;
        uint16_t Column;
        uint16_t Flags;
        uint32_t Offset; // into the text buffer
        uint32_t Length;
    };
    enum : uint16_t { HasText = 1, HeadingStyle = 2 };
    // Where a text stands in the buffer.
    struct TTextSpan {
        uint32_t Offset;
        uint32_t Length;
    };

    QString Text(int row, int column) const;
    // Adds the text to the buffer; other cells may show it through the span returned.
    TTextSpan SetText(int row, int column, QStringView text);
    // The cell shows a text already in the buffer: a string repeated in many cells is kept once.
    void SetPlacedText(int row, int column, TTextSpan text);
    void SetHeadingStyle(int row, int column);
    int UsedRows() const { return FUsedRows; }
    int UsedColumns() const { return FUsedColumns; }
    size_t CellCount() const { return FCells.size(); }
    size_t TextSize() const { return size_t(FTexts.size()); }
    // Every cell once, in row-major order.
    const std::vector<TCell>& Cells() const;
    QStringView TextOf(const TCell& cell) const { return QStringView(FTexts).mid(cell.Offset, cell.Length); }

private:
    void Add(TCell cell);
    void Settle() const;

    mutable std::vector<TCell> FCells;
    mutable bool FSorted = true;
    QString FTexts;
    int FUsedRows = 0;
    int FUsedColumns = 0;
};

// A worksheet read whole from a file.
struct TNamedGrid {
    QString Name;
    TCellGrid Grid;
};
