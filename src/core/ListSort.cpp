// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ListSort.h"

#include "core/Category.h"
#include "core/HugePages.h"
#include "core/TextRules.h"
#include "core/TwoCores.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// One row's sort key: the cell's first sixteen bytes, folded to capitals, as two numbers, where the
// cell is and its length, and the row. Folded cells compare as plain bytes exactly as the list
// comparison compares the cells, so most comparisons end at the numbers; the rest fold the cells'
// bytes after the sixteenth as they compare them. The row breaks ties, which keeps equal rows in
// order.
struct TListKey {
    uint64_t High;
    uint64_t Low;
    const char* Cell;
    uint32_t Length;
    uint32_t Row;
};

constexpr size_t kKeyBytes = 16;

// x with every byte a to z made a capital, the other bytes as they are.
inline uint64_t FoldWord(uint64_t x) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    const uint64_t sevenBits = x & (0x7F * kOnes);
    const uint64_t fromA = sevenBits + (0x80 - 'a') * kOnes;     // top bit set from 'a' on
    const uint64_t pastZ = sevenBits + (0x80 - 'z' - 1) * kOnes; // top bit set past 'z'
    const uint64_t lower = fromA & ~pastZ & ~x & (0x80 * kOnes); // and not a byte above 0x7F
    return x - (lower >> 2);
}

// Eight bytes as a number whose highest byte is the first.
inline uint64_t FirstByteHighest(const unsigned char* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

// Row r's cell, for a pass over rows up to last. Each record is two hops away (the record, then
// its values): those of the rows a little ahead are fetched meanwhile, which hides the waits.
std::string_view CellFetchingAhead(const TRecord* const* rows, size_t r, size_t last, int32_t valueIndex) {
    constexpr size_t kAhead = 8;
    if (r + 2 * kAhead < last)
        __builtin_prefetch(rows[r + 2 * kAhead]);
    if (r + kAhead < last)
        rows[r + kAhead]->Prefetch();
    return CellText(rows[r]->Value(valueIndex));
}

// The keys of rows [first, last).
void BuildKeys(const TRecord* const* rows, size_t first, size_t last, int32_t valueIndex, TListKey* keys) {
    for (size_t r = first; r < last; ++r) {
        const std::string_view cell = CellFetchingAhead(rows, r, last, valueIndex);
        unsigned char bytes[kKeyBytes] = {};
        if (!cell.empty())
            std::memcpy(bytes, cell.data(), std::min(kKeyBytes, cell.size()));
        keys[r] = {FoldWord(FirstByteHighest(bytes)), FoldWord(FirstByteHighest(bytes + 8)), cell.data(),
                   static_cast<uint32_t>(cell.size()), static_cast<uint32_t>(r)};
    }
}

// The list comparison of two cells whose bytes before from agree, folded (or that are padded
// with zero bytes to agree there): eight bytes at a time while they are the same unfolded, which
// makes them the same folded, then byte by byte, then by length.
inline int CompareFrom(const char* a, size_t aLength, const char* b, size_t bLength, size_t from) {
    const size_t shorter = std::min(aLength, bLength);
    size_t i = from;
    while (i + 8 <= shorter && std::memcmp(a + i, b + i, 8) == 0)
        i += 8;
    for (; i < shorter; ++i) {
        const auto x = static_cast<unsigned char>(FoldAsciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(FoldAsciiUpper(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

// Negative when a's cell sorts first, as the list comparison would say, given that the first
// sixteen bytes agree (short cells are padded with zero bytes, so a cell and the same cell followed
// by zero bytes still differ by their lengths).
int CompareRest(const TListKey& a, const TListKey& b) {
    return CompareFrom(a.Cell, a.Length, b.Cell, b.Length, kKeyBytes);
}

// Digit d of a key's first sixteen bytes: byte d % 8 of Low for d < 8, of High after (15 is the
// first byte); every bit flipped for a descending order.
struct TDigit {
    uint64_t Flip;
    size_t operator()(const TListKey& key, size_t d) const {
        return (((d < 8 ? key.Low : key.High) ^ Flip) >> (8 * (d % 8))) & 0xFF;
    }
};

// Keys this few fit in the processor's caches, where a pass per byte is cheap.
constexpr size_t kCachedKeys = 16384;

// Orders keys by their digits below digits, stably, using other (as long) to move them, and
// returns the one of the two that holds the result. Few keys take a pass per digit from the lowest,
// skipping digits that are the same in every key; more are first parted by their highest digit,
// each part then ordered alone, so that the passes over it run in the caches. When parts is given,
// the parts of that first split are ordered on both cores.
TListKey* OrderByDigits(TListKey* keys, TListKey* other, size_t count, size_t digits, const TDigit& digit,
                        bool parts = false) {
    if (digits == 0)
        return keys;
    using TCounts = std::array<size_t, 256>;
    if (count <= kCachedKeys) {
        std::array<TCounts, 16> counts{};
        for (size_t k = 0; k < count; ++k)
            for (size_t d = 0; d < digits; ++d)
                ++counts[d][digit(keys[k], d)];
        for (size_t d = 0; d < digits; ++d) {
            TCounts& next = counts[d];
            if (std::find(next.begin(), next.end(), count) != next.end())
                continue;
            size_t offset = 0;
            for (size_t& n : next) {
                const size_t here = n;
                n = offset;
                offset += here;
            }
            for (size_t k = 0; k < count; ++k)
                other[next[digit(keys[k], d)]++] = keys[k];
            std::swap(keys, other);
        }
        return keys;
    }
    const size_t top = digits - 1;
    TCounts counts{};
    for (size_t k = 0; k < count; ++k)
        ++counts[digit(keys[k], top)];
    if (std::find(counts.begin(), counts.end(), count) != counts.end())
        return OrderByDigits(keys, other, count, top, digit, parts);
    std::array<size_t, 257> starts{};
    for (size_t v = 0; v < 256; ++v)
        starts[v + 1] = starts[v] + counts[v];
    TCounts next{};
    std::copy(starts.begin(), starts.end() - 1, next.begin());
    for (size_t k = 0; k < count; ++k)
        other[next[digit(keys[k], top)]++] = keys[k];
    // Each part ends in other, where the split put it.
    const auto orderParts = [&](size_t from, size_t to) {
        for (size_t v = from; v < to; ++v) {
            const size_t begin = starts[v];
            const size_t size = starts[v + 1] - begin;
            if (size < 2)
                continue;
            const TListKey* ordered = OrderByDigits(other + begin, keys + begin, size, top, digit);
            if (ordered != other + begin)
                std::copy(ordered, ordered + size, other + begin);
        }
    };
    size_t split = 256;
    if (parts && count >= kTwoCoreItems)
        for (split = 0; split < 256 && starts[split] < count / 2;)
            ++split;
    InTwoParts(split, 256, orderParts);
    return other;
}

// Orders keys by their first sixteen bytes (High, then Low), stably; descending when not
// ascending. The keys move between keys and other; the sorted keys end in the one returned.
TListKey* RadixSortByPrefix(TListKey* keys, TListKey* other, size_t count, bool ascending) {
    return OrderByDigits(keys, other, count, 16, TDigit{ascending ? 0 : ~uint64_t{0}}, true);
}

bool SamePrefix(const TListKey& a, const TListKey& b) {
    return a.High == b.High && a.Low == b.Low;
}

// Sorts each run of keys in [first, last) whose sixteen bytes agree by the rest of the cells; the
// range holds whole runs. With ties, tells there which keys then hold the same cell as the key
// before, while the run's cells are still at hand.
void SortRuns(TListKey* keys, size_t first, size_t last, bool ascending, unsigned char* ties) {
    const int direction = ascending ? 1 : -1;
    const auto less = [direction](const TListKey& a, const TListKey& b) {
        const int order = CompareRest(a, b) * direction;
        return order != 0 ? order < 0 : a.Row < b.Row;
    };
    // Most runs are a few keys long: their cells are fetched well ahead, across runs, so that the
    // waits for them overlap.
    constexpr size_t kAhead = 64;
    size_t fetched = first;
    for (size_t begin = first; begin < last;) {
        size_t end = begin + 1;
        while (end < last && SamePrefix(keys[end], keys[begin]))
            ++end;
        for (; fetched < std::min(last, end + kAhead); ++fetched)
            if (keys[fetched].Length > kKeyBytes)
                __builtin_prefetch(keys[fetched].Cell + kKeyBytes);
        // Keys of one length that all end within the sixteen bytes are equal cells, which the
        // radix order left in row order.
        bool equalCells = true;
        for (size_t k = begin; k < end; ++k)
            equalCells = equalCells && keys[k].Length == keys[begin].Length && keys[k].Length <= kKeyBytes;
        if (!equalCells)
            std::sort(keys + begin, keys + end, less);
        if (ties != nullptr) {
            ties[begin] = 0;
            for (size_t k = begin + 1; k < end; ++k)
                ties[k] = equalCells || CompareRest(keys[k - 1], keys[k]) == 0;
        }
        begin = end;
    }
}

// How the cells of rows [first, last) and of the row before first follow one another: whether
// any rises or falls, and which equal the one before (in sameAsPrevious). Stops once the cells
// both rise and fall.
struct TCellSteps {
    bool Rising = false;
    bool Falling = false;
};
TCellSteps FollowCells(const TRecord* const* rows, size_t first, size_t last, int32_t valueIndex,
                       unsigned char* sameAsPrevious) {
    TCellSteps steps;
    const size_t from = first == 0 ? 0 : first - 1;
    std::string_view previous;
    for (size_t r = from; r < last; ++r) {
        const std::string_view cell = CellFetchingAhead(rows, r, last, valueIndex);
        if (r > from) {
            const int comparison = CompareFrom(previous.data(), previous.size(), cell.data(), cell.size(), 0);
            steps.Rising = steps.Rising || comparison < 0;
            steps.Falling = steps.Falling || comparison > 0;
            if (steps.Rising && steps.Falling)
                break;
            sameAsPrevious[r] = comparison == 0;
        }
        previous = cell;
    }
    return steps;
}

// The order that turns count rows in list order round, each run of equal cells (the rows whose
// sameAsPrevious is set, after the run's first) keeping its order, and, when turnedTies is given,
// which of the turned rows hold the same cell as the row before them.
void TurnRound(const unsigned char* sameAsPrevious, size_t count, uint32_t* order,
               unsigned char* turnedTies) {
    size_t at = 0;
    for (size_t end = count; end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && sameAsPrevious[begin] != 0)
            --begin;
        for (size_t i = begin; i < end; ++i, ++at) {
            order[at] = static_cast<uint32_t>(i);
            if (turnedTies != nullptr)
                turnedTies[at] = i != begin;
        }
        end = begin;
    }
}

// The order of rows that already stand in list order or in its reverse, found in one pass over
// them: a column sorted again as it is, or its header clicked again to turn the order round. In
// reverse, each run of equal cells keeps its order. False, and order untouched, when the rows
// stand in neither; that shows within a few rows unless they nearly do.
bool OrderOfOrderedRows(const TRecord* const* rows, size_t count, int32_t valueIndex, bool ascending,
                        std::vector<uint32_t>& order, std::vector<unsigned char>* ties) {
    // Reaching the records is most of the time, as for the keys: both cores take a part.
    // Not cleared first: the pass sets each entry it reaches, and rows in neither order (the usual
    // case) leave most of it untouched and unpaid for.
    TLargeBuffer<unsigned char> sameAsPrevious(count);
    std::array<TCellSteps, 2> steps;
    const size_t split = SecondPartStart(count);
    InTwoParts(split, count, [&](size_t from, size_t to) {
        steps[from == 0 ? 0 : 1] = FollowCells(rows, from, to, valueIndex, sameAsPrevious.data());
    });
    const bool rising = steps[0].Rising || steps[1].Rising;
    const bool falling = steps[0].Falling || steps[1].Falling;
    if (rising && falling)
        return false;
    order.resize(count);
    if (count > 0)
        sameAsPrevious[0] = 0;
    // Rows in the order asked for (or all equal) stay; rows in the other order turn round by runs.
    if (ascending ? !falling : !rising) {
        for (size_t i = 0; i < count; ++i)
            order[i] = static_cast<uint32_t>(i);
        if (ties != nullptr)
            ties->assign(sameAsPrevious.begin(), sameAsPrevious.end());
        return true;
    }
    if (ties != nullptr)
        ties->resize(count);
    TurnRound(sameAsPrevious.data(), count, order.data(), ties != nullptr ? ties->data() : nullptr);
    return true;
}

// Whether rows [first, last), and the row before first, follow one another in list order, given
// where each stood before it was sorted (at): each cell after the one before, or equal to it and
// from a later place, as the stable sort leaves equal cells.
bool FollowListOrder(const TRecord* const* rows, const uint32_t* at, size_t first, size_t last,
                     int32_t valueIndex, int direction) {
    const size_t from = first == 0 ? 0 : first - 1;
    std::string_view previous;
    for (size_t r = from; r < last; ++r) {
        const std::string_view cell = CellFetchingAhead(rows, r, last, valueIndex);
        if (r > from) {
            const int comparison =
                direction * CompareFrom(previous.data(), previous.size(), cell.data(), cell.size(), 0);
            if (comparison > 0 || (comparison == 0 && at[r - 1] > at[r]))
                return false;
        }
        previous = cell;
    }
    return true;
}

} // namespace

std::vector<uint32_t> ListSortOrder(const TRecord* const* rows, size_t count, int32_t valueIndex,
                                    bool ascending, std::vector<unsigned char>* ties) {
    std::vector<uint32_t> order;
    ReserveInHugePages(order, count);
    if (OrderOfOrderedRows(rows, count, valueIndex, ascending, order, ties))
        return order;
    TLargeBuffer<TListKey> first(count);
    // Reaching the records is most of the time of building the keys.
    InTwoParts(SecondPartStart(count), count,
               [&](size_t from, size_t to) { BuildKeys(rows, from, to, valueIndex, first.data()); });
    // The first sixteen bytes by radix, which keeps equal rows in their order; the rest only
    // within each run of keys whose sixteen bytes agree, the runs of the second half on another
    // core.
    TLargeBuffer<TListKey> other(count);
    TListKey* const keys = RadixSortByPrefix(first.data(), other.data(), count, ascending);
    size_t split = SecondPartStart(count);
    while (split < count && SamePrefix(keys[split], keys[split - 1]))
        ++split;
    if (ties != nullptr)
        ties->resize(count);
    unsigned char* const tiesAt = ties != nullptr ? ties->data() : nullptr;
    InTwoParts(split, count, [&](size_t from, size_t to) { SortRuns(keys, from, to, ascending, tiesAt); });
    order.resize(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = keys[i].Row;
    return order;
}

std::vector<uint32_t> TurnedRound(std::vector<unsigned char>& ties) {
    std::vector<uint32_t> order(ties.size());
    std::vector<unsigned char> turnedTies(ties.size());
    TurnRound(ties.data(), ties.size(), order.data(), turnedTies.data());
    ties = std::move(turnedTies);
    return order;
}

void SortRecordsByListText(std::vector<const TRecord*>& rows, int32_t valueIndex, bool ascending) {
    rows = InOrder(rows, ListSortOrder(rows.data(), rows.size(), valueIndex, ascending));
}

bool RowsInKeptListOrder(const std::vector<std::unique_ptr<TRecord>>& records,
                         const std::vector<uint32_t>& order, int32_t valueIndex, bool ascending,
                         std::vector<TRecord*>& rows) {
    const size_t count = records.size();
    if (order.size() != count)
        return false;
    std::vector<bool> seen(count);
    for (const uint32_t position : order) {
        if (position >= count || seen[position])
            return false;
        seen[position] = true;
    }
    std::vector<TRecord*> ordered = RecordsInOrder(records, order);
    std::array<bool, 2> follows{true, true};
    InTwoParts(SecondPartStart(count), count, [&](size_t from, size_t to) {
        follows[from == 0 ? 0 : 1] =
            FollowListOrder(ordered.data(), order.data(), from, to, valueIndex, ascending ? 1 : -1);
    });
    if (!follows[0] || !follows[1])
        return false;
    rows = std::move(ordered);
    return true;
}

TRecordsState RecordsStateOf(const std::vector<std::unique_ptr<TRecord>>& records) {
    TRecordsState state;
    state.Count = records.size();
    state.Changes = TRecord::ChangeCount();
    for (size_t i = 0; i < records.size(); ++i) {
        // A strong mix of each address with its place, so that records trading places change it.
        uint64_t x = reinterpret_cast<uintptr_t>(records[i].get()) + (i + 1) * 0x9E3779B97F4A7C15;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EB;
        state.Places += x ^ (x >> 31);
    }
    return state;
}

std::vector<TRecord*> RecordsInOrder(const std::vector<std::unique_ptr<TRecord>>& records,
                                     const std::vector<uint32_t>& order) {
    std::vector<TRecord*> ordered;
    ReserveInHugePages(ordered, order.size());
    for (const uint32_t position : order)
        ordered.push_back(records[position].get());
    return ordered;
}

bool PartInListOrder(const std::vector<std::unique_ptr<TRecord>>& records, const std::vector<uint32_t>& order,
                     std::vector<TRecord*>& part) {
    if (order.size() != records.size())
        return false;
    std::vector<bool> inPart(records.size());
    size_t next = 0;
    for (size_t i = 0; i < records.size() && next < part.size(); ++i)
        if (records[i].get() == part[next]) {
            inPart[i] = true;
            ++next;
        }
    if (next != part.size())
        return false;
    std::vector<TRecord*> ordered;
    ReserveInHugePages(ordered, part.size());
    for (const uint32_t position : order)
        if (inPart[position])
            ordered.push_back(records[position].get());
    part = std::move(ordered);
    return true;
}
