// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CellGrid.h"

#include "core/HugePages.h"
#include "exchange/workbook/Utf8Text.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

namespace {
constexpr size_t kPageBytes = 4096;

uint64_t Key(uint32_t row, uint32_t column) {
    return (uint64_t(row) << 16) | column;
}

void PutVarint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(char(value | 0x80));
        value >>= 7;
    }
    out.push_back(char(value));
}

uint64_t GetVarint(const std::string& in, size_t& at) {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = uint8_t(in[at++]);
        value |= uint64_t(byte & 0x7F) << shift;
        if (byte < 0x80)
            return value;
    }
}
// Whether a byte at i starts the code of a surrogate: ED A0 to ED BF.
bool SurrogateAt(std::string_view bytes, size_t i) {
    return uint8_t(bytes[i]) == 0xED && i + 1 < bytes.size() && uint8_t(bytes[i + 1]) >= 0xA0;
}

// Returns whether text held a lone surrogate.
bool AppendBytes(std::string& out, QStringView text) {
    bool lone = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80)
            out.push_back(char(u));
        else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode()))
            Utf8Text::AppendCodePoint(out, QChar::surrogateToUcs4(u, text[++i].unicode()));
        else { // lone surrogates too
            lone = lone || QChar::isSurrogate(u);
            Utf8Text::AppendCodePoint(out, u);
        }
    }
    return lone;
}
} // namespace

bool TCellGrid::HoldsLoneSurrogate(std::string_view bytes) {
    for (size_t i = bytes.find('\xED'); i != std::string_view::npos; i = bytes.find('\xED', i + 1))
        if (SurrogateAt(bytes, i))
            return true;
    return false;
}

QString TCellGrid::Decoded(std::string_view bytes) {
    if (!HoldsLoneSurrogate(bytes))
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    QString text;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!SurrogateAt(bytes, i))
            continue;
        text.append(QString::fromUtf8(bytes.data() + start, qsizetype(i - start)));
        text.append(QChar(char16_t(((uint8_t(bytes[i]) & 0x0F) << 12) |
                                   ((uint8_t(bytes[i + 1]) & 0x3F) << 6) | (uint8_t(bytes[i + 2]) & 0x3F))));
        i += 2;
        start = i + 1;
    }
    text.append(QString::fromUtf8(bytes.data() + start, qsizetype(bytes.size() - start)));
    return text;
}

void TCellGrid::Add(const TEntry& entry) {
    FUsedRows = std::max(FUsedRows, int(entry.Row));
    FUsedColumns = std::max(FUsedColumns, int(entry.Column));
    FCursorRow = SIZE_MAX;
    if (FCellCount > 0 && FPending.empty()) {
        const uint64_t last = Key(FLast.Row, FLast.Column);
        const uint64_t key = Key(entry.Row, entry.Column);
        if (key == last) {
            TEntry merged = FLast;
            Merge(merged, entry);
            FPacked.resize(FLastAt);
            --FCellCount;
            Put(merged, FLastPrevious);
            return;
        }
        // Out of order: sorted in once when next read, so writers in any order stay linear.
        if (key < last) {
            FPending.push_back(entry);
            return;
        }
    } else if (!FPending.empty()) {
        FPending.push_back(entry);
        return;
    }
    Pack(entry);
}

void TCellGrid::Pack(const TEntry& entry) const {
    const bool newRow = FCellCount == 0 || FRows.back().Row != entry.Row;
    if (newRow)
        FRows.push_back({entry.Row, uint32_t(FPacked.size())});
    Put(entry, newRow ? TEntry{entry.Row, 0, 0, 0, 0} : FLast);
}

void TCellGrid::Put(const TEntry& entry, const TEntry& previous) const {
    if (FPacked.size() > UINT32_MAX - 32)
        throw std::bad_alloc();
    FLastAt = FPacked.size();
    FLastPrevious = previous;
    // Usually the cell is the one right of the previous and its text follows the previous text:
    // then the length and flags are all there is.
    const bool nextColumn = entry.Column == previous.Column + 1;
    const int64_t distance = int64_t(entry.Offset) - int64_t(previous.Offset + previous.Length);
    PutVarint(FPacked, (uint64_t(entry.Length) << 4) | (nextColumn ? 0 : kOwnColumn) |
                           (distance == 0 ? 0 : kOwnOffset) | entry.Flags);
    if (!nextColumn)
        PutVarint(FPacked, entry.Column);
    // Zigzag, so that a text before the previous one takes few bytes too.
    if (distance != 0)
        PutVarint(FPacked, (uint64_t(distance) << 1) ^ uint64_t(distance >> 63));
    FLast = entry;
    ++FCellCount;
}

void TCellGrid::Merge(TEntry& into, const TEntry& later) {
    if (later.Flags & HasText) {
        into.Offset = later.Offset;
        into.Length = later.Length;
    }
    into.Flags |= later.Flags;
}

size_t TCellGrid::Unpack(size_t at, TEntry& entry) const {
    const uint64_t tag = GetVarint(FPacked, at);
    const uint32_t previousEnd = entry.Offset + entry.Length;
    entry.Length = uint32_t(tag >> 4);
    entry.Flags = uint32_t(tag & 3);
    entry.Column = tag & kOwnColumn ? uint32_t(GetVarint(FPacked, at)) : entry.Column + 1;
    int64_t distance = 0;
    if (tag & kOwnOffset) {
        const uint64_t zigzag = GetVarint(FPacked, at);
        distance = int64_t(zigzag >> 1) ^ -int64_t(zigzag & 1);
    }
    entry.Offset = uint32_t(int64_t(previousEnd) + distance);
    return at;
}

std::pair<size_t, size_t> TCellGrid::RowBytes(size_t index) const {
    return {FRows[index].At, index + 1 < FRows.size() ? FRows[index + 1].At : FPacked.size()};
}

TCellGrid::TCell TCellGrid::CellOf(const TEntry& entry) const {
    return {int(entry.Row), int(entry.Column), (entry.Flags & HeadingStyle) != 0,
            std::string_view(FTexts.data() + entry.Offset, entry.Length)};
}

TCellGrid::TTextSpan TCellGrid::SetText(int row, int column, QStringView text) {
    const size_t before = FTexts.size();
    FLoneSurrogates = AppendBytes(FTexts, text) || FLoneSurrogates;
    if (FTexts.size() > UINT32_MAX) {
        FTexts.resize(before);
        throw std::bad_alloc();
    }
    const TTextSpan placed{uint32_t(before), uint32_t(FTexts.size() - before)};
    FTextCharacters += size_t(text.size());
    SetPlacedText(row, column, placed);
    return placed;
}

TCellGrid::TTextSpan TCellGrid::SetText(int row, int column, std::string_view utf8, size_t utf16Length) {
    if (FTexts.size() + utf8.size() > UINT32_MAX)
        throw std::bad_alloc();
    const TTextSpan placed{uint32_t(FTexts.size()), uint32_t(utf8.size())};
    FTexts.append(utf8);
    FTextCharacters += utf16Length;
    SetPlacedText(row, column, placed);
    return placed;
}

void TCellGrid::SetPlacedText(int row, int column, TTextSpan text) {
    Add({uint32_t(row), uint32_t(column), HasText, text.Offset, text.Length});
}

void TCellGrid::SetHeadingStyle(int row, int column) {
    // No text: placed where the previous cell's ends, so it packs small.
    const bool sameRow = FCellCount > 0 && FPending.empty() && FLast.Row == uint32_t(row);
    Add({uint32_t(row), uint32_t(column), HeadingStyle, sameRow ? FLast.Offset + FLast.Length : 0, 0});
}

void TCellGrid::Settle() const {
    if (FPending.empty())
        return;
    std::vector<TEntry> all;
    all.reserve(FCellCount + FPending.size());
    for (size_t index = 0; index < FRows.size(); ++index) {
        auto [at, end] = RowBytes(index);
        TEntry entry{FRows[index].Row, 0, 0, 0, 0};
        while (at < end) {
            at = Unpack(at, entry);
            all.push_back(entry);
        }
    }
    all.insert(all.end(), FPending.begin(), FPending.end());
    std::stable_sort(all.begin(), all.end(), [](const TEntry& a, const TEntry& b) {
        return Key(a.Row, a.Column) < Key(b.Row, b.Column);
    });
    FPending.clear();
    FPacked.clear();
    FRows.clear();
    FCellCount = 0;
    FCursorRow = SIZE_MAX;
    for (size_t i = 0; i < all.size(); ++i) {
        TEntry entry = all[i];
        // A later write of the same cell wins for the text; styles add up.
        for (; i + 1 < all.size() && Key(all[i + 1].Row, all[i + 1].Column) == Key(entry.Row, entry.Column);
             ++i)
            Merge(entry, all[i + 1]);
        Pack(entry);
    }
}

void TCellGrid::Reserve(size_t textBytes, size_t cells) {
    FTexts.reserve(textBytes);
    // A cell packs into two to four bytes.
    FPacked.reserve(4 * cells);
    // Filled in huge pages, the texts cost a page fault per two MiB instead of one per four KiB.
    AdviseHugePages(FTexts.data(), FTexts.capacity());
}

void TCellGrid::ReleaseRoom() {
    // The pages past the texts go back to the system; they read as zeros if ever touched again.
    const auto begin = reinterpret_cast<uintptr_t>(FTexts.data());
    const uintptr_t used = (begin + FTexts.size() + 1 + kPageBytes - 1) & ~uintptr_t(kPageBytes - 1);
    const uintptr_t end = begin + FTexts.capacity();
    if (used < end)
        ::madvise(reinterpret_cast<void*>(used), (end - used) & ~uintptr_t(kPageBytes - 1), MADV_DONTNEED);
}

size_t TCellGrid::CellCount() const {
    Settle();
    return FCellCount;
}

void TCellGrid::ReadRow(int row, std::vector<TCell>& cells) const {
    cells.clear();
    Settle();
    const auto found = std::lower_bound(FRows.begin(), FRows.end(), uint32_t(row),
                                        [](const TRowStart& start, uint32_t r) { return start.Row < r; });
    if (found == FRows.end() || found->Row != uint32_t(row))
        return;
    auto [at, end] = RowBytes(size_t(found - FRows.begin()));
    TEntry entry{uint32_t(row), 0, 0, 0, 0};
    while (at < end) {
        at = Unpack(at, entry);
        cells.push_back(CellOf(entry));
    }
}

std::vector<TCellGrid::TCell> TCellGrid::Cells() const {
    Settle();
    std::vector<TCell> cells;
    cells.reserve(FCellCount);
    for (size_t index = 0; index < FRows.size(); ++index) {
        auto [at, end] = RowBytes(index);
        TEntry entry{FRows[index].Row, 0, 0, 0, 0};
        while (at < end) {
            at = Unpack(at, entry);
            cells.push_back(CellOf(entry));
        }
    }
    return cells;
}

QString TCellGrid::Text(int row, int column) const {
    Settle();
    const auto found = std::lower_bound(FRows.begin(), FRows.end(), uint32_t(row),
                                        [](const TRowStart& start, uint32_t r) { return start.Row < r; });
    if (found == FRows.end() || found->Row != uint32_t(row))
        return QString();
    const size_t index = size_t(found - FRows.begin());
    auto [at, end] = RowBytes(index);
    TEntry entry{uint32_t(row), 0, 0, 0, 0};
    // Left to right along a row, each lookup goes on from the last.
    if (FCursorRow == index && FCursor.Column < uint32_t(column)) {
        at = FCursorAt;
        entry = FCursor;
    }
    while (at < end && entry.Column < uint32_t(column)) {
        FCursorAt = at;
        FCursor = entry;
        at = Unpack(at, entry);
    }
    FCursorRow = index;
    if (entry.Column != uint32_t(column) || !(entry.Flags & HasText))
        return QString();
    return Decoded(std::string_view(FTexts.data() + entry.Offset, entry.Length));
}
