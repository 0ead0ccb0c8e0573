// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStreamReader;
class TStreamWriter;

// A category icon: the bytes of a Windows bitmap file image, kept as read, with the header facts
// that the windows need. An empty image holds no bytes.
class TBitmapImage {
public:
    TBitmapImage() = default;

    // The program's default category icon: 32 x 32 pixels, 4 bits per pixel, 16 colours.
    static const TBitmapImage& DefaultIcon();

    // Reads one bitmap image exactly as a data file holds it: file header, info header (40-byte or
    // 12-byte core form), bit-field masks, colour table and pixel rows; a compressed image takes
    // every byte to the end of the stream. Fails with "Stream read error" on anything short.
    static TBitmapImage ReadFromStream(TStreamReader& stream);

    // Parses the bitmap file image at the start of bytes; bytes after the image are not taken.
    // Fails with "Stream read error" when bytes hold no such image.
    static TBitmapImage FromBytes(std::string_view bytes);

    // A 4-bit, 16-colour image from a readable pixel map: rows from top to bottom, one hexadecimal
    // digit per pixel naming an entry of palette (each 0x00RRGGBB). All rows have the same length.
    static TBitmapImage FromPixelMap(const std::array<uint32_t, 16>& palette,
                                     const std::vector<std::string_view>& rows);

    // Writes the image with its file header's total size and pixel offset and (40-byte header)
    // its count of colours used made consistent with the bytes written. An empty image is written
    // as the default icon: the format has no way to store a missing one; so is a compressed image,
    // which could not be read back.
    void WriteToStream(TStreamWriter& stream) const;

    bool Empty() const { return FBytes.empty(); }
    const std::string& Bytes() const { return FBytes; }
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    int BitsPerPixel() const { return FBitsPerPixel; }
    // 0 uncompressed, 3 bit-fields; other values are compressed images.
    uint32_t Compression() const { return FCompression; }

    bool operator==(const TBitmapImage& other) const { return FBytes == other.FBytes; }
    bool operator!=(const TBitmapImage& other) const { return !(*this == other); }

private:
    std::string FBytes;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int FBitsPerPixel = 0;
    uint32_t FCompression = 0;
    uint32_t FHeaderSize = 0;
    size_t FTableEntries = 0;
    size_t FPixelOffset = 0;
};
