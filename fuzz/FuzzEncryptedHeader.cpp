// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given as an encrypted data file: the header is refused with the store's own error or
// asks the key derivation for no more than its bounds; a file with a cheap key derivation is then
// opened with a fixed password and gives no more bytes than it holds.

#include "core/EncryptedFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {
[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "FuzzEncryptedHeader: %s\n", what);
    std::abort();
}

// Small enough to derive a key for every input.
constexpr uint32_t kCheapMemoryKiB = 64;
constexpr uint32_t kCheapPasses = 2;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TKeyDerivation parameters;
    try {
        parameters = ReadContainerHeader(bytes);
    } catch (const EQuilleryError&) {
        return 0;
    }
    if (parameters.Passes == 0 || parameters.Passes > NEncryptedFile::kMaxPasses ||
        parameters.MemoryKiB > NEncryptedFile::kMaxMemoryKiB ||
        parameters.Salt.size() != NEncryptedFile::kSaltSize)
        Fail("a header beyond the bounds was accepted");
    if (parameters.MemoryKiB > kCheapMemoryKiB || parameters.Passes > kCheapPasses)
        return 0;
    try {
        if (OpenDataFile(bytes, "fuzz").Plain.Bytes.size() >= size)
            Fail("more plain bytes than the file holds");
    } catch (const EQuilleryError&) {
    }
    return 0;
}
