// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextRules.h"

#include "core/Category.h"

#include <algorithm>

#include <cstring>

std::string_view CellText(std::string_view value) {
    const size_t end = value.find_first_of("\r\n");
    return end == std::string_view::npos ? value : value.substr(0, end);
}

int CompareListText(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x == y)
            continue;
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 32);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void FoldAsciiLower(std::string& text) {
    FoldAsciiLower(text.data(), text.size());
}

void FoldAsciiLower(char* text, size_t size) {
    // Eight bytes at a time: a byte gains 0x20 exactly when it lies in A-Z. No sum carries into
    // the next byte, since each byte's low seven bits plus the offsets stay below 0x100.
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, text + i, 8);
        const uint64_t low = word & ~kHigh;
        const uint64_t atLeastA = low + (0x80 - 'A') * kOnes;
        const uint64_t aboveZ = low + (0x80 - 'Z' - 1) * kOnes;
        const uint64_t capitals = atLeastA & ~aboveZ & ~word & kHigh;
        word |= capitals >> 2;
        std::memcpy(text + i, &word, 8);
    }
    for (; i < size; ++i)
        text[i] = FoldAsciiLower(text[i]);
}

namespace {

inline unsigned char FoldAsciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// One row's sort key: the cell's first sixteen bytes, folded to capitals, as two numbers, and
// the row. Folded cells compare as plain bytes exactly as the list comparison compares the cells,
// so most comparisons end at the numbers; the rest read the folded bytes after the sixteenth from
// one shared buffer, never the records. The row breaks ties, which keeps equal rows in order.
struct TListKey {
    uint64_t High;
    uint64_t Low;
    uint32_t Row;
};

constexpr size_t kKeyBytes = 16;

} // namespace

std::vector<uint32_t> ListSortOrder(const std::vector<const TRecord*>& rows, int32_t valueIndex,
                                    bool ascending) {
    const size_t n = rows.size();
    std::vector<TListKey> keys(n);
    std::vector<uint32_t> lengths(n);
    std::vector<uint32_t> tails(n + 1); // row r's bytes after the sixteenth: [tails[r], tails[r + 1])
    std::string folded;
    // Each record is two hops away (the record, then its values); fetching ahead hides the waits.
    constexpr size_t kAhead = 8;
    for (size_t r = 0; r < n; ++r) {
        if (r + 2 * kAhead < n)
            __builtin_prefetch(rows[r + 2 * kAhead]);
        if (r + kAhead < n)
            rows[r + kAhead]->Prefetch();
        const std::string_view cell = CellText(rows[r]->Value(valueIndex));
        uint64_t words[2] = {0, 0};
        for (size_t i = 0; i < cell.size() && i < kKeyBytes; ++i)
            words[i / 8] |= uint64_t{FoldAsciiUpper(static_cast<unsigned char>(cell[i]))}
                            << (8 * (7 - i % 8));
        for (size_t i = kKeyBytes; i < cell.size(); ++i)
            folded.push_back(static_cast<char>(FoldAsciiUpper(static_cast<unsigned char>(cell[i]))));
        keys[r] = {words[0], words[1], static_cast<uint32_t>(r)};
        lengths[r] = static_cast<uint32_t>(cell.size());
        tails[r + 1] = static_cast<uint32_t>(folded.size());
    }
    const char* text = folded.data();
    // Negative when row a's cell sorts first, as the list comparison would say.
    auto compare = [&](const TListKey& a, const TListKey& b) -> int {
        if (a.High != b.High)
            return a.High < b.High ? -1 : 1;
        if (a.Low != b.Low)
            return a.Low < b.Low ? -1 : 1;
        // The first sixteen bytes agree (short cells padded with zero bytes).
        const uint32_t tailA = tails[a.Row + 1] - tails[a.Row];
        const uint32_t tailB = tails[b.Row + 1] - tails[b.Row];
        const uint32_t shorter = std::min(tailA, tailB);
        if (shorter > 0) {
            const int order = std::memcmp(text + tails[a.Row], text + tails[b.Row], shorter);
            if (order != 0)
                return order;
        }
        return lengths[a.Row] == lengths[b.Row] ? 0 : (lengths[a.Row] < lengths[b.Row] ? -1 : 1);
    };
    const int direction = ascending ? 1 : -1;
    std::sort(keys.begin(), keys.end(), [&](const TListKey& a, const TListKey& b) {
        const int order = compare(a, b) * direction;
        return order != 0 ? order < 0 : a.Row < b.Row;
    });
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = keys[i].Row;
    return order;
}

void SortRecordsByListText(std::vector<const TRecord*>& rows, int32_t valueIndex, bool ascending) {
    const std::vector<uint32_t> order = ListSortOrder(rows, valueIndex, ascending);
    std::vector<const TRecord*> sorted(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = rows[order[i]];
    rows.swap(sorted);
}
