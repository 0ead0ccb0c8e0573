// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextRules.h"

#include <cstdint>
#include <cstring>

std::string_view CellText(std::string_view value) {
    // Two scans for one byte each: find_first_of would look up both bytes at every position.
    const void* lineFeed = value.empty() ? nullptr : std::memchr(value.data(), '\n', value.size());
    size_t end =
        lineFeed ? static_cast<size_t>(static_cast<const char*>(lineFeed) - value.data()) : value.size();
    const void* carriageReturn = end == 0 ? nullptr : std::memchr(value.data(), '\r', end);
    if (carriageReturn)
        end = static_cast<size_t>(static_cast<const char*>(carriageReturn) - value.data());
    return value.substr(0, end);
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
