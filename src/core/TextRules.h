// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text a list cell shows for a value: its first line (split at CR LF, lone CR or lone LF).
std::string_view CellText(std::string_view value);

// The list comparison: bytes compared after folding a-z onto A-Z only; the first differing byte
// decides by its unsigned value; a prefix sorts before the longer text. Returns <0, 0 or >0.
int CompareListText(std::string_view a, std::string_view b);

// Folds the ASCII capitals A-Z onto a-z in place; every other byte stays.
void FoldAsciiLower(std::string& text);
void FoldAsciiLower(char* text, size_t size);
inline char FoldAsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
// The other way round, a-z onto A-Z, as the list comparison folds.
inline char FoldAsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
