// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The MD5 message digest of RFC 1321.
std::array<uint8_t, 16> Md5(std::string_view bytes);

// The password digest: MD5 of the password's bytes as 32 upper-case hexadecimal characters.
std::string PasswordDigest(std::string_view password);

// What the user types is UTF-8. New digests are made from those bytes; files written on older
// systems hold the digest of the password's Windows-1252 bytes, so matching tries both.

// The digest stored for a password typed now: MD5 of its UTF-8 bytes.
std::string DigestOfTypedPassword(std::string_view typedUtf8);

// Whether typedUtf8 is the password of digest: its bytes as given first, then its Windows-1252
// bytes when every character has one.
bool PasswordMatches(std::string_view typedUtf8, const std::string& digest);
