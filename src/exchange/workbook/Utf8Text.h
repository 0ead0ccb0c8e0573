// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 as the workbook engine keeps cell texts, counted as QString counts them.
namespace Utf8Text {
// Appends the character's bytes; a surrogate's code gets the three bytes its value would take.
void AppendCodePoint(std::string& out, char32_t cp);
// The characters valid UTF-8 takes in a QString: one for each lead byte, two for those of four.
size_t Utf16Length(std::string_view utf8);
} // namespace Utf8Text
