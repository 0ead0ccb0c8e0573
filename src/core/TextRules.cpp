#include "core/TextRules.h"

#include "core/Category.h"
#include "core/Stream.h"

#include <algorithm>

#include <cstring>

namespace {

// MD5 after RFC 1321: per-round shift amounts and the sine-derived constants.
constexpr uint32_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

inline uint32_t RotateLeft(uint32_t x, uint32_t c) {
    return (x << c) | (x >> (32 - c));
}

void Md5Block(uint32_t state[4], const unsigned char* block) {
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = static_cast<uint32_t>(block[i * 4]) | static_cast<uint32_t>(block[i * 4 + 1]) << 8 |
               static_cast<uint32_t>(block[i * 4 + 2]) << 16 | static_cast<uint32_t>(block[i * 4 + 3]) << 24;
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (uint32_t i = 0; i < 64; ++i) {
        uint32_t f;
        uint32_t g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t rotated = RotateLeft(a + f + kSine[i] + m[g], kShift[i]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

std::array<uint8_t, 16> Md5(std::string_view bytes) {
    uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t whole = bytes.size() / 64 * 64;
    for (size_t i = 0; i < whole; i += 64)
        Md5Block(state, data + i);

    // Padding: 0x80, zeros to 56 bytes modulo 64, then the bit length as 64-bit little-endian.
    unsigned char tail[128] = {};
    const size_t rest = bytes.size() - whole;
    std::memcpy(tail, data + whole, rest);
    tail[rest] = 0x80;
    const size_t tailSize = rest < 56 ? 64 : 128;
    const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 8 + static_cast<size_t>(i)] = static_cast<unsigned char>(bits >> (8 * i));
    for (size_t i = 0; i < tailSize; i += 64)
        Md5Block(state, tail + i);

    std::array<uint8_t, 16> digest{};
    for (int i = 0; i < 16; ++i)
        digest[static_cast<size_t>(i)] = static_cast<uint8_t>(state[i / 4] >> (8 * (i % 4)));
    return digest;
}

std::string PasswordDigest(std::string_view password) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(32);
    for (uint8_t byte : Md5(password)) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0x0F]);
    }
    return text;
}

std::string ReadStreamString(TStreamReader& stream) {
    return std::string(stream.ReadStringView());
}

void WriteStreamString(TStreamWriter& stream, std::string_view text) {
    stream.WriteString(text);
}

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
