// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the icon reader either fail with the store's own error or give an image that
// is written as a readable image: read back, it is written again to the same bytes.

#include "core/Bitmap.h"
#include "core/Error.h"
#include "core/Stream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "FuzzBitmap: %s\n", what);
    std::abort();
}

std::string Written(const TBitmapImage& image) {
    std::string bytes;
    TStreamWriter writer(bytes);
    image.WriteToStream(writer);
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TBitmapImage image;
    try {
        image = TBitmapImage::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EQuilleryError&) {
        return 0;
    }
    if (image.Bytes().size() > size)
        Fail("the image is larger than its input");

    // What is written must read back whole, with nothing left over and nothing missing.
    const std::string written = Written(image);
    TStreamReader reader(written);
    TBitmapImage reread;
    try {
        reread = TBitmapImage::ReadFromStream(reader);
    } catch (const EQuilleryError& e) {
        Fail(e.what());
    }
    if (!reader.AtEnd())
        Fail("the written image has bytes the reader does not take");
    if (Written(reread) != written)
        Fail("the written image is not written again to the same bytes");
    return 0;
}
