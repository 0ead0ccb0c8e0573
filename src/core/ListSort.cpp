// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ListSort.h"

#include "core/Category.h"
#include "core/TextRules.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

inline char FoldAsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
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

std::vector<uint32_t> ListSortOrder(const TRecord* const* rows, size_t count, int32_t valueIndex,
                                    bool ascending) {
    std::vector<TListKey> keys(count);
    std::vector<uint32_t> lengths(count);
    // Row r's folded bytes after the sixteenth: [tails[r], tails[r + 1]). Offsets are full-width,
    // as the first lines of a large category may together pass 4 GiB.
    std::vector<size_t> tails(count + 1);
    std::string folded;
    // Each record is two hops away (the record, then its values); fetching ahead hides the waits.
    constexpr size_t kAhead = 8;
    for (size_t r = 0; r < count; ++r) {
        if (r + 2 * kAhead < count)
            __builtin_prefetch(rows[r + 2 * kAhead]);
        if (r + kAhead < count)
            rows[r + kAhead]->Prefetch();
        const std::string_view cell = CellText(rows[r]->Value(valueIndex));
        uint64_t words[2] = {0, 0};
        for (size_t i = 0; i < cell.size() && i < kKeyBytes; ++i)
            words[i / 8] |= uint64_t{static_cast<unsigned char>(FoldAsciiUpper(cell[i]))}
                            << (8 * (7 - i % 8));
        if (cell.size() > kKeyBytes) {
            const size_t start = folded.size();
            folded.append(cell.substr(kKeyBytes));
            std::transform(folded.begin() + static_cast<std::ptrdiff_t>(start), folded.end(),
                           folded.begin() + static_cast<std::ptrdiff_t>(start), FoldAsciiUpper);
        }
        keys[r] = {words[0], words[1], static_cast<uint32_t>(r)};
        lengths[r] = static_cast<uint32_t>(cell.size());
        tails[r + 1] = folded.size();
    }
    const char* text = folded.data();
    // Negative when row a's cell sorts first, as the list comparison would say.
    auto compare = [&](const TListKey& a, const TListKey& b) -> int {
        if (a.High != b.High)
            return a.High < b.High ? -1 : 1;
        if (a.Low != b.Low)
            return a.Low < b.Low ? -1 : 1;
        // The first sixteen bytes agree (short cells padded with zero bytes, so a cell and the
        // same cell followed by zero bytes still differ by their lengths below).
        const size_t shorter = std::min(tails[a.Row + 1] - tails[a.Row], tails[b.Row + 1] - tails[b.Row]);
        if (shorter > 0) {
            const int order = std::memcmp(text + tails[a.Row], text + tails[b.Row], shorter);
            if (order != 0)
                return order < 0 ? -1 : 1;
        }
        return lengths[a.Row] == lengths[b.Row] ? 0 : (lengths[a.Row] < lengths[b.Row] ? -1 : 1);
    };
    const int direction = ascending ? 1 : -1;
    std::sort(keys.begin(), keys.end(), [&](const TListKey& a, const TListKey& b) {
        const int order = compare(a, b) * direction;
        return order != 0 ? order < 0 : a.Row < b.Row;
    });
    std::vector<uint32_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = keys[i].Row;
    return order;
}

void SortRecordsByListText(std::vector<const TRecord*>& rows, int32_t valueIndex, bool ascending) {
    const std::vector<uint32_t> order = ListSortOrder(rows.data(), rows.size(), valueIndex, ascending);
    std::vector<const TRecord*> sorted(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = rows[order[i]];
    rows.swap(sorted);
}
