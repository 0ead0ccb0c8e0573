// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Stored strings are bytes. The windows show them as UTF-8 when they are valid UTF-8 and as
// Windows-1252 otherwise, so files from older systems keep their accents.
bool IsValidUtf8(std::string_view bytes);

// The UTF-8 text that the program displays for stored bytes.
std::string DecodeForDisplay(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text, the reverse of DecodeForDisplay for bytes that are not
// UTF-8. False when the text is not valid UTF-8 or holds a character the code page lacks.
bool EncodeWindows1252(std::string_view utf8, std::string& out);
