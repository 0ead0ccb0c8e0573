// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/Utf8Text.h"

#include <cstdint>

namespace Utf8Text {

void AppendCodePoint(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

size_t Utf16Length(std::string_view utf8) {
    size_t length = 0;
    // Without branches, so that the loop runs many bytes at a time.
    for (const char c : utf8)
        length += size_t((uint8_t(c) & 0xC0) != 0x80) + size_t(uint8_t(c) >= 0xF0);
    return length;
}

} // namespace Utf8Text
