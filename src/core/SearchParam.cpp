// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SearchParam.h"

#include "core/Category.h"
#include "core/TextRules.h"
#include "core/TwoCores.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

inline bool IsWordByte(char c) {
    return c >= 'a' && c <= 'z';
}

// The byte c and its capital, when it is a letter a to z.
struct TEitherCase {
    char Lower;
    char Upper;
    explicit TEitherCase(char c) : Lower(c), Upper(FoldAsciiUpper(c)) {}
    bool Matches(char c) const { return c == Lower || c == Upper; }
};

// Where an occurrence of a folded filter may start: its first byte in either case and, for a
// filter of two bytes or more, its second after it, which passes by most of the positions that
// the first alone would stop at.
struct TFilterStart {
    TEitherCase First;
    TEitherCase Second;
    bool Pair;
    explicit TFilterStart(std::string_view filter)
        : First(filter[0]), Second(filter.size() > 1 ? filter[1] : '\0'), Pair(filter.size() > 1) {}
    bool At(const char* data) const { return First.Matches(data[0]) && (!Pair || Second.Matches(data[1])); }
};

#if defined(__SSE2__)
inline __m128i EitherCaseMask(__m128i chunk, const TEitherCase& either) {
    return _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(either.Lower)),
                        _mm_cmpeq_epi8(chunk, _mm_set1_epi8(either.Upper)));
}
#endif

// The first position at or after from and before end where start is met, or end. For a pair the
// byte at end - 1 + 1 is read too: the caller's end leaves room for the filter.
size_t FindStart(const char* data, size_t end, size_t from, const TFilterStart& start) {
#if defined(__SSE2__)
    for (; from + 16 <= end; from += 16) {
        __m128i found =
            EitherCaseMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from)), start.First);
        if (start.Pair)
            found = _mm_and_si128(
                found, EitherCaseMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from + 1)),
                                      start.Second));
        const int mask = _mm_movemask_epi8(found);
        if (mask != 0)
            return from + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; from < end; ++from)
        if (start.At(data + from))
            return from;
    return end;
}

#if defined(__x86_64__)
// FindStart thirty-two places at a time, on processors that can.
__attribute__((target("avx2"))) size_t FindStartWide(const char* data, size_t end, size_t from,
                                                     const TFilterStart& start) {
    const __m256i firstLower = _mm256_set1_epi8(start.First.Lower);
    const __m256i firstUpper = _mm256_set1_epi8(start.First.Upper);
    const __m256i secondLower = _mm256_set1_epi8(start.Second.Lower);
    const __m256i secondUpper = _mm256_set1_epi8(start.Second.Upper);
    for (; from + 32 <= end; from += 32) {
        const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + from));
        __m256i found =
            _mm256_or_si256(_mm256_cmpeq_epi8(chunk, firstLower), _mm256_cmpeq_epi8(chunk, firstUpper));
        if (start.Pair) {
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + from + 1));
            found = _mm256_and_si256(found, _mm256_or_si256(_mm256_cmpeq_epi8(next, secondLower),
                                                            _mm256_cmpeq_epi8(next, secondUpper)));
        }
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(found));
        if (mask != 0)
            return from + static_cast<size_t>(__builtin_ctz(mask));
    }
    return FindStart(data, end, from, start);
}
#endif

using TFindStart = size_t (*)(const char*, size_t, size_t, const TFilterStart&);

bool WideScanAvailable() {
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

TFindStart ScanOfWidth(bool wide) {
#if defined(__x86_64__)
    if (wide && WideScanAvailable())
        return FindStartWide;
#endif
    return FindStart;
}

TFindStart& FindStartInUse() {
    static TFindStart find = ScanOfWidth(true);
    return find;
}

// Whether the bytes at data, folded, begin with the folded filter (the caller knows they fit).
bool FoldedEqual(const char* data, std::string_view filter) {
    for (size_t i = 0; i < filter.size(); ++i)
        if (FoldAsciiLower(data[i]) != filter[i])
            return false;
    return true;
}

// Whether occurrence [p, p + length) of a record's bytes stands clear of letters of either case,
// where the start and end of every value count as clear (in the record text a value is framed by
// line breaks).
bool ClearWord(const TRecord& record, std::string_view bytes, size_t p, size_t length, int32_t value) {
    const size_t begin = value == 0 ? 0 : record.End(value - 1);
    const size_t end = record.End(value);
    const bool leftClear = p == begin || !IsWordByte(FoldAsciiLower(bytes[p - 1]));
    const bool rightClear = p + length == end || !IsWordByte(FoldAsciiLower(bytes[p + length]));
    return leftClear && rightClear;
}

} // namespace

void TSearchParam::SetFilterText(std::string_view text) {
    FilterText.assign(text.data(), text.size());
    FoldAsciiLower(FilterText);
}

bool TSearchParam::Test(const TRecord& record, std::string& text) {
    // A filter with a line break can reach across values: only the record text tells.
    if (FilterText.find_first_of("\r\n") != std::string::npos) {
        BuildRecordText(record, text);
        Matched = ContainsText(text, FilterText);
        if (Matched && WholeWord)
            Matched = MatchWholeWord(text, FilterText);
        return Matched;
    }
    // Otherwise an occurrence in the record text lies inside one value, so the values' bytes are
    // searched where the record holds them, folding as they are compared, and an occurrence that
    // spans two values is passed by.
    Matched = FilterText.empty();
    if (Matched)
        return Matched;
    const std::string_view bytes = record.Bytes();
    const size_t length = FilterText.size();
    if (bytes.size() < length)
        return Matched;
    const TFilterStart start(FilterText);
    const size_t last = bytes.size() - length; // the last position an occurrence can start at
    int32_t value = 0;
    const TFindStart findStart = FindStartInUse();
    for (size_t p = findStart(bytes.data(), last + 1, 0, start); p <= last;
         p = findStart(bytes.data(), last + 1, p + 1, start)) {
        if (!FoldedEqual(bytes.data() + p, FilterText))
            continue;
        while (record.End(value) <= p)
            ++value;
        if (p + length > record.End(value))
            continue;
        if (!WholeWord || ClearWord(record, bytes, p, length, value)) {
            Matched = true;
            break;
        }
    }
    return Matched;
}

void BuildRecordText(const TRecord& record, std::string& text) {
    size_t size = 0;
    for (int32_t i = 0; i < record.Count(); ++i)
        size += record.Value(i).size() + 2;
    text.clear();
    text.reserve(size);
    for (int32_t i = 0; i < record.Count(); ++i) {
        text.append(record.Value(i));
        text.append("\r\n");
    }
    FoldAsciiLower(text);
}

bool MatchWholeWord(std::string_view text, std::string_view filter) {
    size_t start = 0;
    for (;;) {
        const size_t p = text.find(filter, start);
        if (p == std::string_view::npos)
            return false;
        const size_t end = p + filter.size();
        const bool leftClear = p == 0 || !IsWordByte(text[p - 1]);
        const bool rightClear = end == text.size() || !IsWordByte(text[end]);
        if (leftClear && rightClear)
            return true;
        // An occurrence may overlap the rejected one, so the search goes on at the next byte.
        start = p + 1;
    }
}

namespace {

using TClock = std::chrono::steady_clock;

// The records of [first, last) that pass param, calling yield about every slice.
std::vector<TRecord*> FilterRange(const std::vector<std::unique_ptr<TRecord>>& records, size_t first,
                                  size_t last, TSearchParam& param, const std::function<void()>& yield,
                                  TClock::duration slice) {
    // The clock is read every few hundred records rather than after each one.
    constexpr size_t kRecordsPerCheck = 256;
    std::vector<TRecord*> rows;
    std::string text; // one scratch buffer for the whole range
    auto sliceStart = TClock::now();
    for (size_t i = first; i < last; ++i) {
        if (param.Test(*records[i], text))
            rows.push_back(records[i].get());
        if (yield && (i + 1) % kRecordsPerCheck == 0 && TClock::now() - sliceStart >= slice) {
            yield();
            sliceStart = TClock::now();
        }
    }
    return rows;
}

} // namespace

std::vector<TRecord*> FilterRecords(const std::vector<std::unique_ptr<TRecord>>& records, TSearchParam& param,
                                    const std::function<void()>& yield, int sliceMs) {
    const auto slice = std::chrono::milliseconds(sliceMs);
    // A large category's second half is tested on another core, with a copy of the parameters;
    // this thread goes on calling yield while it waits for it.
    const size_t count = records.size();
    const size_t half = SecondPartStart(count);
    TSearchParam secondParam = param;
    std::future<std::vector<TRecord*>> second;
    if (half < count)
        second = std::async(std::launch::async,
                            [&] { return FilterRange(records, half, count, secondParam, {}, slice); });
    // The future's destructor waits for the other half however this function is left.
    std::vector<TRecord*> rows = FilterRange(records, 0, half, param, yield, slice);
    if (second.valid()) {
        while (second.wait_for(slice) != std::future_status::ready)
            yield();
        const std::vector<TRecord*> secondRows = second.get();
        rows.insert(rows.end(), secondRows.begin(), secondRows.end());
        param.Matched = secondParam.Matched;
    }
    return rows;
}

namespace SearchParamTesting {

bool UseWideScan(bool wide) {
    FindStartInUse() = ScanOfWidth(wide);
    return !wide || WideScanAvailable();
}

} // namespace SearchParamTesting
