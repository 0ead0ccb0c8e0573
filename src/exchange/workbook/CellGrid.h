// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The cells of one worksheet, sparse and compact: every text once in one UTF-8 buffer, and the
// cells of each row packed into a few bytes apiece, so that a sheet of a million cells costs little
// more than its text and a handful of allocations. A text keeps every QChar it was given: a lone
// surrogate, which UTF-8 has no place for, is held as the three bytes its code would take.
class TCellGrid {
public:
    // The text of bytes the grid holds.
    static QString Decoded(std::string_view bytes);
    // Whether bytes hold a lone surrogate, so that they are no UTF-8 as they stand.
    static bool HoldsLoneSurrogate(std::string_view bytes);

    // A cell as read back: its place, whether it has the heading format, and its text's bytes.
    struct TCell {
        int Row;
        int Column;
        bool Heading;
        std::string_view Text;
    };
    // Where a text stands in the buffer.
    struct TTextSpan {
        uint32_t Offset;
        uint32_t Length;
    };

    // Room for texts of that many bytes and cells of that many, taken as it is used.
    void Reserve(size_t textBytes, size_t cells);
    // Gives back what no text took of the room reserved.
    void ReleaseRoom();
    QString Text(int row, int column) const;
    // Adds the text to the buffer; other cells may show it through the span returned.
    TTextSpan SetText(int row, int column, QStringView text);
    // The same with UTF-8 text, which takes utf16Length characters as a QString.
    TTextSpan SetText(int row, int column, std::string_view utf8, size_t utf16Length);
    // The cell shows a text already in the buffer: a string repeated in many cells is kept once.
    void SetPlacedText(int row, int column, TTextSpan text);
    void SetHeadingStyle(int row, int column);
    int UsedRows() const { return FUsedRows; }
    int UsedColumns() const { return FUsedColumns; }
    size_t CellCount() const;
    // The characters of the texts added, as QString counts them.
    size_t TextSize() const { return FTextCharacters; }
    // Whether a text was given a lone surrogate, so that not every text is UTF-8.
    bool HoldsLoneSurrogates() const { return FLoneSurrogates; }
    // The cells of row in column order, with or without text.
    void ReadRow(int row, std::vector<TCell>& cells) const;
    // The cells of every row in row-major order.
    std::vector<TCell> Cells() const;

private:
    static constexpr uint32_t HasText = 1;
    static constexpr uint32_t HeadingStyle = 2;
    // Marks in a packed cell's first varint: its column and its text's place follow.
    static constexpr uint32_t kOwnOffset = 4;
    static constexpr uint32_t kOwnColumn = 8;
    // A cell before it is packed.
    struct TEntry {
        uint32_t Row;
        uint32_t Column;
        uint32_t Flags;
        uint32_t Offset;
        uint32_t Length;
    };
    // Where the packed cells of a row begin.
    struct TRowStart {
        uint32_t Row;
        uint32_t At;
    };

    void Add(const TEntry& entry);
    void Pack(const TEntry& entry) const;
    // Packs entry after previous, the row's cell before it (all zero for its first).
    void Put(const TEntry& entry, const TEntry& previous) const;
    // A later write of the same cell wins for the text; styles add up.
    static void Merge(TEntry& into, const TEntry& later);
    void Settle() const;
    // The packed cell at, read into entry, which holds the row's cell before it (all zero but the
    // row for its first); returns where the next one starts.
    size_t Unpack(size_t at, TEntry& entry) const;
    // The packed cells of the row at index in FRows: [begin, end).
    std::pair<size_t, size_t> RowBytes(size_t index) const;
    TCell CellOf(const TEntry& entry) const;

    std::string FTexts;
    size_t FTextCharacters = 0;
    bool FLoneSurrogates = false;
    // Cells in row-major order, each as varints: its text's length with its flags, then its column
    // unless it is right of the previous cell, and the distance of its text from the end of the
    // previous cell's unless it follows it.
    mutable std::string FPacked;
    mutable std::vector<TRowStart> FRows;
    mutable size_t FCellCount = 0;
    mutable TEntry FLast{}; // the last cell packed, where it starts and the cell it was packed after
    mutable size_t FLastAt = 0;
    mutable TEntry FLastPrevious{};
    // Where the last lookup stopped, so that reading a row's cells left to right stays linear.
    mutable size_t FCursorRow = SIZE_MAX;
    mutable size_t FCursorAt = 0;
    mutable TEntry FCursor{};
    // Cells that came out of row-major order, packed in when the grid is next read.
    mutable std::vector<TEntry> FPending;
    int FUsedRows = 0;
    int FUsedColumns = 0;
};

// A worksheet read whole from a file.
struct TNamedGrid {
    QString Name;
    TCellGrid Grid;
};
