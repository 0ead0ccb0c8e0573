// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the loader either fail with the store's own error or load into an object
// whose saved form loads again into the same bytes.

#include "core/DataFile.h"
#include "core/Error.h"
#include "core/Stream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "FuzzLoadFromStream: %s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TDataFile loaded;
    try {
        TStreamReader reader(std::string_view(reinterpret_cast<const char*>(data), size));
        loaded.LoadFromStream(reader);
    } catch (const EQuilleryError&) {
        return 0;
    }

    const std::string saved = loaded.SaveToBytes();
    TDataFile reloaded;
    TStreamReader reader(saved);
    try {
        reloaded.LoadFromStream(reader);
    } catch (const EQuilleryError& e) {
        Fail(e.what());
    }
    if (!reader.AtEnd())
        Fail("the saved file has bytes the loader does not read");
    if (reloaded.SaveToBytes() != saved)
        Fail("the saved file does not load into the same bytes");
    return 0;
}
