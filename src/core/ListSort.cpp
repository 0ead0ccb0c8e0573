// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ListSort.h"

#include "core/Category.h"
#include "core/TextRules.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

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

// The keys of rows [first, last), their lengths, and their folded bytes after the sixteenth:
// row r's are [tails[r], tails[r + 1]) of folded, which the caller joins to the others.
void BuildKeys(const TRecord* const* rows, size_t first, size_t last, int32_t valueIndex, TListKey* keys,
               uint32_t* lengths, size_t* tails, std::string& folded) {
    // Each record is two hops away (the record, then its values); fetching ahead hides the waits.
    constexpr size_t kAhead = 8;
    for (size_t r = first; r < last; ++r) {
        if (r + 2 * kAhead < last)
            __builtin_prefetch(rows[r + 2 * kAhead]);
        if (r + kAhead < last)
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
}

// Orders keys by their first sixteen bytes (High, then Low), stably, one byte at a time from the
// lowest; descending when not ascending. A byte that is the same in every key takes no pass.
void RadixSortByPrefix(std::vector<TListKey>& keys, bool ascending) {
    const uint64_t flip = ascending ? 0 : ~uint64_t{0};
    // Digit d is byte d % 8 of Low for d < 8, of High after.
    const auto digit = [flip](const TListKey& key, size_t d) {
        return (((d < 8 ? key.Low : key.High) ^ flip) >> (8 * (d % 8))) & 0xFF;
    };
    std::array<std::array<size_t, 256>, 16> counts{};
    for (const TListKey& key : keys)
        for (size_t d = 0; d < 16; ++d)
            ++counts[d][digit(key, d)];
    std::vector<TListKey> other(keys.size());
    for (size_t d = 0; d < 16; ++d) {
        std::array<size_t, 256>& next = counts[d];
        if (std::find(next.begin(), next.end(), keys.size()) != next.end())
            continue;
        size_t offset = 0;
        for (size_t& count : next) {
            const size_t n = count;
            count = offset;
            offset += n;
        }
        for (const TListKey& key : keys)
            other[next[digit(key, d)]++] = key;
        keys.swap(other);
    }
}

} // namespace

std::vector<uint32_t> ListSortOrder(const TRecord* const* rows, size_t count, int32_t valueIndex,
                                    bool ascending) {
    std::vector<TListKey> keys(count);
    std::vector<uint32_t> lengths(count);
    // Offsets are full-width, as the first lines of a large category may together pass 4 GiB.
    std::vector<size_t> tails(count + 1);
    std::string folded;
    // A large list builds the keys of its second half on another core; reaching the records is
    // most of the time.
    constexpr size_t kParallelRows = 65536;
    const size_t half = count >= kParallelRows ? count / 2 : count;
    std::string secondFolded;
    std::thread second;
    if (half < count)
        second = std::thread([&] {
            BuildKeys(rows, half, count, valueIndex, keys.data(), lengths.data(), tails.data(), secondFolded);
        });
    BuildKeys(rows, 0, half, valueIndex, keys.data(), lengths.data(), tails.data(), folded);
    if (second.joinable()) {
        second.join();
        const size_t base = folded.size();
        folded.append(secondFolded);
        for (size_t r = half + 1; r <= count; ++r)
            tails[r] += base;
    }
    const char* text = folded.data();
    // Negative when row a's cell sorts first, as the list comparison would say, given that the
    // first sixteen bytes agree.
    auto compareRest = [&](const TListKey& a, const TListKey& b) -> int {
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
    // The first sixteen bytes by radix, which keeps equal rows in their order; the rest only
    // within each run of keys whose sixteen bytes agree.
    RadixSortByPrefix(keys, ascending);
    const int direction = ascending ? 1 : -1;
    const auto less = [&](const TListKey& a, const TListKey& b) {
        const int order = compareRest(a, b) * direction;
        return order != 0 ? order < 0 : a.Row < b.Row;
    };
    for (size_t begin = 0; begin < count;) {
        size_t end = begin + 1;
        while (end < count && keys[end].High == keys[begin].High && keys[end].Low == keys[begin].Low)
            ++end;
        if (end - begin > 1)
            std::sort(keys.begin() + static_cast<std::ptrdiff_t>(begin),
                      keys.begin() + static_cast<std::ptrdiff_t>(end), less);
        begin = end;
    }
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
