// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Data-file and bitmap bytes composed from the file layout alone, never through the store's own
// writer, so that a test compares the store with the format rather than with itself.

#include "core/Error.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <typeinfo>

class TDataBytes {
public:
    TDataBytes& Int32(int32_t value) { return UInt32(static_cast<uint32_t>(value)); }
    TDataBytes& UInt32(uint32_t value) { return LittleEndian(value, 4); }
    TDataBytes& UInt16(uint16_t value) { return LittleEndian(value, 2); }
    TDataBytes& UInt8(uint8_t value) { return LittleEndian(value, 1); }
    // An int32 byte count, then the bytes.
    TDataBytes& String(const QByteArray& text) {
        Int32(static_cast<int32_t>(text.size()));
        return Raw(text);
    }
    TDataBytes& Raw(const QByteArray& bytes) {
        FBytes.append(bytes);
        return *this;
    }
    const QByteArray& Bytes() const { return FBytes; }

private:
    TDataBytes& LittleEndian(uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            FBytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
        return *this;
    }

    QByteArray FBytes;
};

namespace Layout {

inline constexpr int32_t kMagic = 88888888;
inline constexpr int32_t kDefaultFormColor = 13028025;
// MD5 of zero bytes and of "secret", as the file stores them.
inline const QByteArray kEmptyDigest = QByteArrayLiteral("D41D8CD98F00B204E9800998ECF8427E");
inline const QByteArray kSecretDigest = QByteArrayLiteral("5EBE2294ECD0E0F08EAB7690D2A6EE69");

// A Windows bitmap file image. The file header's size and pixel offset are computed from the parts
// unless a test sets them to lie.
struct Bitmap {
    bool CoreHeader = false; // the 12-byte header with 16-bit sizes and 3-byte colour entries
    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t Planes = 1;
    uint16_t BitsPerPixel = 0;
    uint32_t Compression = 0;
    uint32_t ImageSize = 0;
    int32_t XPelsPerMeter = 2835;
    int32_t YPelsPerMeter = 2835;
    uint32_t ColorsUsed = 0;
    uint32_t ColorsImportant = 0;
    QByteArray Masks;
    QByteArray ColorTable;
    QByteArray Pixels;
    std::optional<uint32_t> FileSize;
    std::optional<uint32_t> PixelOffset;
    std::optional<uint32_t> HeaderSize;
};

inline uint32_t BitmapHeaderSize(const Bitmap& b) {
    return b.HeaderSize.value_or(b.CoreHeader ? 12 : 40);
}

inline QByteArray Encode(const Bitmap& b) {
    const uint32_t offset =
        14 + (b.CoreHeader ? 12 : 40) + static_cast<uint32_t>(b.Masks.size() + b.ColorTable.size());
    TDataBytes out;
    out.Raw("BM")
        .UInt32(b.FileSize.value_or(offset + static_cast<uint32_t>(b.Pixels.size())))
        .UInt16(0)
        .UInt16(0)
        .UInt32(b.PixelOffset.value_or(offset))
        .UInt32(BitmapHeaderSize(b));
    if (b.CoreHeader) {
        out.UInt16(static_cast<uint16_t>(b.Width)).UInt16(static_cast<uint16_t>(b.Height));
        out.UInt16(b.Planes).UInt16(b.BitsPerPixel);
    } else {
        out.Int32(b.Width).Int32(b.Height).UInt16(b.Planes).UInt16(b.BitsPerPixel);
        out.UInt32(b.Compression).UInt32(b.ImageSize).Int32(b.XPelsPerMeter).Int32(b.YPelsPerMeter);
        out.UInt32(b.ColorsUsed).UInt32(b.ColorsImportant);
    }
    return out.Raw(b.Masks).Raw(b.ColorTable).Raw(b.Pixels).Bytes();
}

// Bytes that differ from position to position, so that a reader that skips or repeats some is seen.
inline QByteArray Pattern(qsizetype size, int seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + seed * 11 + 5) & 0xFF);
    return bytes;
}

// The colour-table entries the layout implies: the count of colours used, or 2^bpp when that is 0
// and bpp is 8 or less.
inline uint32_t ColorTableEntries(uint16_t bitsPerPixel, uint32_t colorsUsed) {
    if (colorsUsed != 0)
        return colorsUsed;
    return bitsPerPixel <= 8 ? (1u << bitsPerPixel) : 0;
}

// Rows of ((width x bpp + 31) div 32) x 4 bytes, times the absolute height.
inline qsizetype PixelBytes(int32_t width, int32_t height, uint16_t bitsPerPixel) {
    const qint64 row = ((qint64(width) * bitsPerPixel + 31) / 32) * 4;
    return static_cast<qsizetype>(row * (height < 0 ? -qint64(height) : qint64(height)));
}

// A well-formed uncompressed bitmap: colour table and pixel rows as the layout implies, bit-field
// masks for compression 3.
inline Bitmap MakeBitmap(uint16_t bitsPerPixel, int32_t width, int32_t height, uint32_t colorsUsed = 0,
                         uint32_t compression = 0, bool coreHeader = false) {
    Bitmap b;
    b.CoreHeader = coreHeader;
    b.Width = width;
    b.Height = height;
    b.BitsPerPixel = bitsPerPixel;
    b.Compression = compression;
    b.ColorsUsed = colorsUsed;
    if (compression == 3) {
        TDataBytes masks;
        masks.UInt32(bitsPerPixel == 16 ? 0xF800 : 0xFF0000)
            .UInt32(bitsPerPixel == 16 ? 0x07E0 : 0x00FF00)
            .UInt32(bitsPerPixel == 16 ? 0x001F : 0x0000FF);
        b.Masks = masks.Bytes();
    }
    b.ColorTable = Pattern(ColorTableEntries(bitsPerPixel, colorsUsed) * (coreHeader ? 3 : 4), 1);
    b.Pixels = Pattern(PixelBytes(width, height, bitsPerPixel), 2);
    return b;
}

struct Element {
    QByteArray Kind;
    int32_t ID = 0;
    int32_t ValueIndex = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Color = 0;
    QByteArray Caption;
    QByteArray FontName;
    uint8_t FontStyle = 0;
    int32_t FontSize = 0;
    int32_t FontColor = 0;
};

struct Column {
    int32_t ElementID = 0;
    int32_t Width = 50;
    QByteArray Caption;
};

struct Record {
    QByteArrayList Values;
    std::optional<int32_t> Count; // written in place of the number of values
};

struct Category {
    int32_t ID = 0;
    QByteArray Name;
    int32_t FormColor = kDefaultFormColor;
    int32_t LastElementID = 0;
    int32_t SortColumn = 0;
    int32_t SortAscending = 1; // the raw bool field
    QByteArray Icon;           // an encoded bitmap
    QList<Element> Elements;
    QList<Column> Columns;
    QList<Record> Records;
    // Written in place of the list sizes.
    std::optional<int32_t> ElementCount;
    std::optional<int32_t> ColumnCount;
    std::optional<int32_t> RecordCount;
};

struct File {
    int32_t Magic = kMagic;
    int32_t Version = 1;
    QByteArray Digest = kEmptyDigest;
    int32_t LastCategoryID = 0;
    QList<Category> Categories;
    std::optional<int32_t> CategoryCount;
};

inline int32_t CountOf(qsizetype size, const std::optional<int32_t>& override) {
    return override.value_or(static_cast<int32_t>(size));
}

inline void Append(TDataBytes& out, const Element& e) {
    out.String(e.Kind).Int32(e.ID).Int32(e.ValueIndex).Int32(e.Left).Int32(e.Top).Int32(e.Width);
    out.Int32(e.Height).Int32(e.Color).String(e.Caption).String(e.FontName).UInt8(e.FontStyle);
    out.Int32(e.FontSize).Int32(e.FontColor);
}

inline void Append(TDataBytes& out, const Category& c) {
    out.Int32(c.ID).String(c.Name).Int32(c.FormColor).Int32(c.LastElementID).Int32(c.SortColumn);
    out.Int32(c.SortAscending).Raw(c.Icon);
    out.Int32(CountOf(c.Elements.size(), c.ElementCount));
    for (const Element& e : c.Elements)
        Append(out, e);
    out.Int32(CountOf(c.Columns.size(), c.ColumnCount));
    for (const Column& col : c.Columns)
        out.Int32(col.ElementID).Int32(col.Width).String(col.Caption);
    out.Int32(CountOf(c.Records.size(), c.RecordCount));
    for (const Record& r : c.Records) {
        out.Int32(CountOf(r.Values.size(), r.Count));
        for (const QByteArray& value : r.Values)
            out.String(value);
    }
}

inline QByteArray Encode(const Category& c) {
    TDataBytes out;
    Append(out, c);
    return out.Bytes();
}

inline QByteArray Encode(const File& f) {
    TDataBytes out;
    out.Int32(f.Magic).Int32(f.Version).String(f.Digest).Int32(f.LastCategoryID);
    out.Int32(CountOf(f.Categories.size(), f.CategoryCount));
    for (const Category& c : f.Categories)
        Append(out, c);
    return out.Bytes();
}

inline Element MakeElement(const QByteArray& kind, int32_t id, int32_t valueIndex) {
    Element e;
    e.Kind = kind;
    e.ID = id;
    e.ValueIndex = valueIndex;
    e.Left = 6 * id;
    e.Top = 12 * id + 6;
    e.Width = 120 + id;
    e.Height = kind == "TMemo" ? 60 : 21;
    e.Color = kind == "TLabel" ? -2147483633 : 0x00FFFFFF; // button face as a system colour
    e.Caption = kind == "TLabel" ? QByteArray("Label ") + QByteArray::number(id) + ':' : QByteArray();
    e.FontName = "MS Sans Serif";
    e.FontStyle = static_cast<uint8_t>(id & 0x0F);
    e.FontSize = 8 + id;
    e.FontColor = 0x00000080 * id;
    return e;
}

// Two categories with every kind of element, columns, records of the usual and of unusual shapes,
// and icons of two forms.
inline File SampleFile() {
    File f;
    f.Digest = kSecretDigest;
    f.LastCategoryID = 5;

    Category contacts;
    contacts.ID = 2;
    contacts.Name = "Contacts";
    contacts.LastElementID = 5;
    contacts.Icon = Encode(MakeBitmap(4, 4, 4, 16));
    contacts.Elements = {MakeElement("TLabel", 1, -1), MakeElement("TEdit", 2, 0), MakeElement("TMemo", 3, 1),
                         MakeElement("TLabel", 4, -1), MakeElement("TEdit", 5, 2)};
    contacts.Columns = {{2, 120, "Name"}, {5, 80, "Phone"}};
    contacts.Records = {{{"Ada", "12 Main St\r\nLondon", "555"}, {}},
                        {{"", "", ""}, {}},
                        {{"Bo\xE9", "line one\r\n\r\nline three\r\n",
                          QByteArray("0\0"
                                     "1",
                                     3)},
                         {}}};

    Category books;
    books.ID = 5;
    books.Name = "Books \xC3\xA9";
    books.FormColor = -2147483643; // window colour as a system colour
    books.LastElementID = 9;
    books.SortColumn = 1;
    books.SortAscending = 0;
    books.Icon = Encode(MakeBitmap(24, 2, 2));
    books.Elements = {MakeElement("TEdit", 7, 0), MakeElement("TEdit", 9, 1)};
    books.Columns = {{9, 60, "Title"}, {7, 50, ""}};
    books.Records = {{{"Dune", "Herbert"}, {}}, {{"only one value"}, {}}, {{"a", "b", "extra"}, {}}};

    f.Categories = {contacts, books};
    return f;
}

// Replaces the string marker (its count and bytes, found once in bytes) with a bare count, so that
// the following items stand where the string's bytes were.
inline QByteArray WithStringLength(const QByteArray& bytes, const QByteArray& marker, int32_t length) {
    const QByteArray encoded = TDataBytes().String(marker).Bytes();
    const qsizetype at = bytes.indexOf(encoded);
    if (at < 0 || bytes.indexOf(encoded, at + 1) >= 0)
        std::abort();
    QByteArray result = bytes;
    result.replace(at, encoded.size(), TDataBytes().Int32(length).Bytes());
    return result;
}

} // namespace Layout

// "Class: message" of the data-store error that fn throws, "" when it returns normally. Any other
// exception is reported by its type so that a test sees it as the wrong outcome.
inline QString ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const EStreamError& e) {
        return QStringLiteral("EStreamError: ") + QString::fromUtf8(e.what());
    } catch (const EFileError& e) {
        return QStringLiteral("EFileError: ") + QString::fromUtf8(e.what());
    } catch (const EAssertionFailed& e) {
        return QStringLiteral("EAssertionFailed: ") + QString::fromUtf8(e.what());
    } catch (const EQuilleryError& e) {
        return QStringLiteral("EQuilleryError: ") + QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        return QStringLiteral("std::exception (%1): %2").arg(typeid(e).name(), QString::fromUtf8(e.what()));
    }
    return QString();
}

inline const QString kStreamReadErrorText = QStringLiteral("EStreamError: Stream read error");

// The largest single request to operator new while fn runs. Defined in tst_data_allocation.cpp,
// which the executables that feed hostile input link.
size_t LargestAllocationDuring(const std::function<void()>& fn);
