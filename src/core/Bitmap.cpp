// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Bitmap.h"

#include "core/Error.h"
#include "core/Stream.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBitFields = 3;

void PatchUInt32(std::string& bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The parts of one image as the reader measured them.
struct TBitmapLayout {
    uint32_t HeaderSize = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    int BitsPerPixel = 0;
    uint32_t Compression = 0;
    size_t TableEntries = 0;
    size_t PixelOffset = 0; // from the start of the image
};

} // namespace

TBitmapImage TBitmapImage::ReadFromStream(TStreamReader& stream) {
    const size_t start = stream.Position();
    TBitmapLayout layout;

    if (stream.ReadBytes(kFileHeaderSize).substr(0, 2) != "BM")
        ThrowStreamReadError();

    layout.HeaderSize = stream.ReadUInt32();
    uint32_t imageSize = 0;
    uint32_t coloursUsed = 0;
    size_t entrySize = 4;
    if (layout.HeaderSize == kCoreHeaderSize) {
        layout.Width = stream.ReadUInt16();
        layout.Height = stream.ReadUInt16();
        stream.ReadUInt16(); // planes
        layout.BitsPerPixel = stream.ReadUInt16();
        entrySize = 3;
    } else if (layout.HeaderSize >= kInfoHeaderSize) {
        layout.Width = stream.ReadInt32();
        layout.Height = stream.ReadInt32();
        stream.ReadUInt16(); // planes
        layout.BitsPerPixel = stream.ReadUInt16();
        layout.Compression = stream.ReadUInt32();
        imageSize = stream.ReadUInt32();
        stream.ReadBytes(8); // resolutions
        coloursUsed = stream.ReadUInt32();
        stream.ReadBytes(4); // colours important
        // Later header versions carry more fields (their masks among them) before the table.
        stream.ReadBytes(layout.HeaderSize - kInfoHeaderSize);
    } else {
        ThrowStreamReadError();
    }

    const bool uncompressed = layout.Compression == 0 || layout.Compression == kBitFields;
    if (layout.HeaderSize == kInfoHeaderSize && layout.Compression == kBitFields &&
        (layout.BitsPerPixel == 16 || layout.BitsPerPixel == 32))
        stream.ReadBytes(12);

    layout.TableEntries = coloursUsed;
    if (coloursUsed == 0 && layout.BitsPerPixel <= 8)
        layout.TableEntries = size_t{1} << layout.BitsPerPixel;
    stream.CheckCount(static_cast<int64_t>(layout.TableEntries), entrySize);
    stream.ReadBytes(layout.TableEntries * entrySize);
    layout.PixelOffset = stream.Position() - start;

    if (!uncompressed) {
        // A compressed image has no length of its own: it runs to the end of the stream.
        stream.ReadBytes(stream.Remaining());
    } else if (imageSize != 0) {
        stream.ReadBytes(imageSize);
    } else {
        const int64_t rowBytes = (layout.Width * layout.BitsPerPixel + 31) / 32 * 4;
        if (rowBytes < 0)
            ThrowStreamReadError();
        const int64_t rows = std::llabs(layout.Height);
        if (rowBytes != 0 && rows > static_cast<int64_t>(stream.Remaining()) / rowBytes)
            ThrowStreamReadError();
        stream.ReadBytes(static_cast<size_t>(rowBytes * rows));
    }

    TBitmapImage image;
    image.FBytes.assign(stream.ReadSince(start));
    image.FWidth = static_cast<int32_t>(layout.Width);
    image.FHeight = static_cast<int32_t>(layout.Height);
    image.FBitsPerPixel = layout.BitsPerPixel;
    image.FCompression = layout.Compression;
    image.FHeaderSize = layout.HeaderSize;
    image.FTableEntries = layout.TableEntries;
    image.FPixelOffset = layout.PixelOffset;
    return image;
}

TBitmapImage TBitmapImage::FromBytes(std::string_view bytes) {
    TStreamReader stream(bytes);
    return ReadFromStream(stream);
}

void TBitmapImage::WriteToStream(TStreamWriter& stream) const {
    // A compressed image would take every byte after it when read back, so it is written as
    // the default icon, like an empty one.
    if (Empty() || (FCompression != 0 && FCompression != kBitFields)) {
        DefaultIcon().WriteToStream(stream);
        return;
    }
    std::string bytes = FBytes;
    PatchUInt32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    PatchUInt32(bytes, 10, static_cast<uint32_t>(FPixelOffset));
    if (FHeaderSize >= kInfoHeaderSize)
        PatchUInt32(bytes, kFileHeaderSize + 32, static_cast<uint32_t>(FTableEntries));
    stream.WriteBytes(bytes);
}

TBitmapImage TBitmapImage::FromPixelMap(const std::array<uint32_t, 16>& palette,
                                        const std::vector<std::string_view>& rows) {
    const auto height = static_cast<uint32_t>(rows.size());
    const auto width = static_cast<uint32_t>(rows.empty() ? 0 : rows.front().size());
    const uint32_t rowBytes = (width * 4 + 31) / 32 * 4;
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 16 * 4;

    std::string bytes;
    TStreamWriter out(bytes);
    out.WriteBytes("BM");
    out.WriteUInt32(pixelOffset + rowBytes * height);
    out.WriteUInt32(0); // reserved
    out.WriteUInt32(pixelOffset);
    out.WriteUInt32(kInfoHeaderSize);
    out.WriteInt32(static_cast<int32_t>(width));
    out.WriteInt32(static_cast<int32_t>(height));
    out.WriteUInt16(1); // planes
    out.WriteUInt16(4); // bits per pixel
    out.WriteUInt32(0); // no compression
    out.WriteUInt32(rowBytes * height);
    out.WriteInt32(0); // resolutions
    out.WriteInt32(0);
    out.WriteUInt32(16); // colours used
    out.WriteUInt32(0);  // colours important
    for (uint32_t rgb : palette) {
        out.WriteUInt8(static_cast<uint8_t>(rgb & 0xFF));
        out.WriteUInt8(static_cast<uint8_t>((rgb >> 8) & 0xFF));
        out.WriteUInt8(static_cast<uint8_t>((rgb >> 16) & 0xFF));
        out.WriteUInt8(0);
    }
    // Rows are stored from the bottom up, two pixels a byte, high nibble first.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        std::string line(rowBytes, '\0');
        for (size_t x = 0; x < row->size() && x < width; ++x) {
            const char c = (*row)[x];
            const int index = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
            line[x / 2] = static_cast<char>(line[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        out.WriteBytes(line);
    }
    return FromBytes(bytes);
}

const TBitmapImage& TBitmapImage::DefaultIcon() {
    // Two index cards, the front one ruled, each with a tab.
    static const TBitmapImage icon =
        FromPixelMap({0x2F4F6F, 0xFFFFFF, 0x8090A0, 0x4A78B8, 0xD04A3A, 0x9A3020, 0xF4EFD8, 0x1E2E40,
                      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xC0C0C0},
                     {
                         "00000000000000000000000000000000", "00000000000000000000077777770000",
                         "00000000000000000000075555570000", "00000000077777777777775555577700",
                         "00000000076666666666677777776700", "00000777777777666666666666666700",
                         "00000744444447666666666666666700", "00000744444447666666666666666700",
                         "00077744444447777777777777666700", "00071744444447111111111117666700",
                         "00071111111111111111111117226700", "00071111111111111111111117226700",
                         "00071111111111111111111117226700", "00071133333333333333333117226700",
                         "00071111111111111111111117226700", "00071111111111111111111117226700",
                         "00071133333333333333333117226700", "00071111111111111111111117226700",
                         "00071111111111111111111117226700", "00071133333333333333333117226700",
                         "00071111111111111111111117226700", "00071111111111111111111117227700",
                         "00071133333333333333333117220000", "00071111111111111111111117220000",
                         "00071111111111111111111117220000", "00071133333333311111111117220000",
                         "00071111111111111111111117220000", "00077777777777777777777777220000",
                         "00000222222222222222222222220000", "00000000000000000000000000000000",
                         "00000000000000000000000000000000", "00000000000000000000000000000000",
                     });
    return icon;
}
