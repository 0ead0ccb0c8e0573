// SPDX-License-Identifier: GPL-3.0-or-later
// Category icons: how much of a stream a bitmap takes, what is written back, and hostile headers.

#include "core/Bitmap.h"
#include "core/Category.h"
#include "core/DataBytes.h"
#include "core/DataFile.h"
#include "core/Stream.h"

#include <QtTest>

#include <limits>

namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();
// Items of the data file that follow an icon.
const QByteArray kTail = QByteArray::fromHex("78563412") + "after the icon";

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}
QByteArray Bytes(const std::string& bytes) {
    return QByteArray::fromStdString(bytes);
}

uint32_t U32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData() + at));
}
int32_t I32(const QByteArray& b, qsizetype at) {
    return static_cast<int32_t>(U32(b, at));
}
uint16_t U16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData() + at));
}

QByteArray Written(const TBitmapImage& image) {
    std::string buffer;
    TStreamWriter writer(buffer);
    image.WriteToStream(writer);
    return Bytes(buffer);
}

Layout::Bitmap WithFileHeader(Layout::Bitmap b, uint32_t fileSize, uint32_t pixelOffset) {
    b.FileSize = fileSize;
    b.PixelOffset = pixelOffset;
    return b;
}

Layout::Bitmap WithImageSize(Layout::Bitmap b, uint32_t imageSize, qsizetype pixelBytes) {
    b.ImageSize = imageSize;
    b.Pixels = Layout::Pattern(pixelBytes, 7);
    return b;
}

Layout::Bitmap WithColorsUsed(Layout::Bitmap b, uint32_t colorsUsed) {
    b.ColorsUsed = colorsUsed;
    return b;
}

Layout::Bitmap Compressed(uint32_t compression, uint16_t bitsPerPixel) {
    Layout::Bitmap b = Layout::MakeBitmap(bitsPerPixel, 4, 4, 0);
    b.Compression = compression;
    b.ImageSize = 6;
    b.Pixels = QByteArray::fromHex("020100010000"); // two pixels of colour 1, end of line, end of bitmap
    return b;
}

} // namespace

class TestDataBitmap : public QObject {
    Q_OBJECT

private slots:
    void defaultIcon();
    void read_data();
    void read();
    void write_data();
    void write();
    void emptyImageWritesDefaultIcon();
    void compressedImageWritesDefaultIcon_data();
    void compressedImageWritesDefaultIcon();
    void everyTruncationFails_data();
    void everyTruncationFails();
    void hostile_data();
    void hostile();
    void fromBytes();
    void fromPixelMap();
};

void TestDataBitmap::defaultIcon() {
    const TBitmapImage& icon = TBitmapImage::DefaultIcon();
    const QByteArray b = Bytes(icon.Bytes());
    QCOMPARE(b.size(), 630);
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(U32(b, 2), 630u);  // total size
    QCOMPARE(U32(b, 6), 0u);    // reserved
    QCOMPARE(U32(b, 10), 118u); // pixel offset: 14 + 40 + 16 x 4
    QCOMPARE(U32(b, 14), 40u);  // info header size
    QCOMPARE(I32(b, 18), 32);   // width
    QCOMPARE(qAbs(I32(b, 22)), 32);
    QCOMPARE(U16(b, 26), 1);  // planes
    QCOMPARE(U16(b, 28), 4);  // bits per pixel
    QCOMPARE(U32(b, 30), 0u); // uncompressed
    QVERIFY(U32(b, 34) == 0 || U32(b, 34) == 512);
    QCOMPARE(U32(b, 46), 16u); // colours used
    QVERIFY(U32(b, 50) <= 16);

    QVERIFY(!icon.Empty());
    QCOMPARE(icon.Width(), 32);
    QCOMPARE(icon.Height(), I32(b, 22));
    QCOMPARE(icon.BitsPerPixel(), 4);
    QCOMPARE(icon.Compression(), 0u);

    const QByteArray stream = b + kTail;
    TStreamReader reader(View(stream));
    QVERIFY(TBitmapImage::ReadFromStream(reader) == icon);
    QCOMPARE(reader.Position(), size_t(630));
    QCOMPARE(Written(icon), b);

    QVERIFY(TCategory().Icon == icon);
}

void TestDataBitmap::read_data() {
    QTest::addColumn<QByteArray>("bitmap");
    QTest::addColumn<bool>("takesRest");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bitsPerPixel");
    QTest::addColumn<uint>("compression");
    using namespace Layout;

    const auto row = [](const char* name, const Bitmap& b, bool takesRest = false) {
        QTest::newRow(name) << Encode(b) << takesRest << int(b.Width) << int(b.Height) << int(b.BitsPerPixel)
                            << uint(b.Compression);
    };
    row("1 bpp, colours used 0", MakeBitmap(1, 3, 2));
    row("1 bpp, 33 pixels wide", MakeBitmap(1, 33, 2));
    row("4 bpp, colours used 0", MakeBitmap(4, 5, 3));
    row("4 bpp, colours used 3", MakeBitmap(4, 5, 3, 3));
    row("8 bpp, colours used 0", MakeBitmap(8, 3, 2));
    row("8 bpp, colours used 5", MakeBitmap(8, 3, 2, 5));
    row("24 bpp", MakeBitmap(24, 3, 2));
    row("24 bpp, colours used 2", MakeBitmap(24, 3, 2, 2));
    row("16 bpp", MakeBitmap(16, 3, 2));
    row("32 bpp", MakeBitmap(32, 3, 2));
    row("16 bpp bit-fields", MakeBitmap(16, 3, 2, 0, 3));
    row("32 bpp bit-fields", MakeBitmap(32, 3, 2, 0, 3));
    row("16 bpp bit-fields, colours used 2", MakeBitmap(16, 3, 2, 2, 3));
    row("image size short of the rows", WithImageSize(MakeBitmap(4, 5, 3), 7, 7));
    row("image size beyond the rows", WithImageSize(MakeBitmap(4, 5, 3), 40, 40));
    row("top-down 24 bpp", MakeBitmap(24, 3, -2));
    row("top-down 1 bpp", MakeBitmap(1, 9, -3));
    row("no pixels", MakeBitmap(24, 0, 0));
    row("core header 1 bpp", MakeBitmap(1, 3, 2, 0, 0, true));
    row("core header 4 bpp", MakeBitmap(4, 3, 2, 0, 0, true));
    row("core header 8 bpp", MakeBitmap(8, 3, 2, 0, 0, true));
    row("core header 24 bpp", MakeBitmap(24, 3, 2, 0, 0, true));
    row("file header lies", WithFileHeader(MakeBitmap(4, 3, 2), 9999, 3));
    row("file header says zero", WithFileHeader(MakeBitmap(8, 3, 2, 2), 0, 0));
    row("RLE8 takes the rest", Compressed(1, 8), true);
    row("RLE4 takes the rest", Compressed(2, 4), true);
    row("compression 4 takes the rest", Compressed(4, 24), true);
}

void TestDataBitmap::read() {
    QFETCH(QByteArray, bitmap);
    QFETCH(bool, takesRest);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bitsPerPixel);
    QFETCH(uint, compression);

    const QByteArray stream = bitmap + kTail;
    TStreamReader reader(View(stream));
    TBitmapImage image;
    QCOMPARE(ErrorOf([&] { image = TBitmapImage::ReadFromStream(reader); }), QString());
    QCOMPARE(Bytes(image.Bytes()), takesRest ? stream : bitmap);
    QCOMPARE(reader.Position(), size_t(takesRest ? stream.size() : bitmap.size()));
    if (!takesRest)
        QCOMPARE(reader.ReadInt32(), 0x12345678);
    QCOMPARE(image.Width(), width);
    QCOMPARE(image.Height(), height);
    QCOMPARE(image.BitsPerPixel(), bitsPerPixel);
    QCOMPARE(image.Compression(), compression);
    QVERIFY(!image.Empty());
}

void TestDataBitmap::write_data() {
    QTest::addColumn<QByteArray>("bitmap");
    QTest::addColumn<QByteArray>("written");
    using namespace Layout;

    for (const Bitmap& b : {MakeBitmap(4, 3, 2, 16), MakeBitmap(8, 3, 2, 5), MakeBitmap(24, 3, 2),
                            MakeBitmap(32, 3, 2, 0, 3), MakeBitmap(24, 3, -2, 2),
                            MakeBitmap(4, 3, 2, 0, 0, true), WithImageSize(MakeBitmap(4, 5, 3, 16), 7, 7)}) {
        QTest::addRow("as read: %d bpp%s", b.BitsPerPixel, b.CoreHeader ? ", core header" : "")
            << Encode(b) << Encode(b);
    }
    for (uint16_t bpp : {1, 4, 8}) {
        const Bitmap b = MakeBitmap(bpp, 3, 2);
        QTest::addRow("colours used 0 at %d bpp", bpp) << Encode(b) << Encode(WithColorsUsed(b, 1u << bpp));
    }
    const Bitmap b24 = MakeBitmap(24, 3, 2);
    QTest::newRow("colours used 0 at 24 bpp") << Encode(b24) << Encode(b24);
    const Bitmap b4 = MakeBitmap(4, 3, 2, 16);
    QTest::newRow("file header lies") << Encode(WithFileHeader(b4, 1, 2)) << Encode(b4);
    const Bitmap core = MakeBitmap(8, 3, 2, 0, 0, true);
    QTest::newRow("core header, file header lies")
        << Encode(WithFileHeader(core, 0, 0xFFFFFFFF)) << Encode(core);
    const Bitmap fields = MakeBitmap(16, 3, 2, 0, 3);
    QTest::newRow("bit-fields, file header lies") << Encode(WithFileHeader(fields, 5, 5)) << Encode(fields);
}

void TestDataBitmap::write() {
    QFETCH(QByteArray, bitmap);
    QFETCH(QByteArray, written);
    TStreamReader reader(View(bitmap));
    const TBitmapImage image = TBitmapImage::ReadFromStream(reader);
    QCOMPARE(Written(image), written);
}

void TestDataBitmap::emptyImageWritesDefaultIcon() {
    const TBitmapImage empty;
    QVERIFY(empty.Empty());
    QCOMPARE(Written(empty), Bytes(TBitmapImage::DefaultIcon().Bytes()));
}

void TestDataBitmap::compressedImageWritesDefaultIcon_data() {
    QTest::addColumn<QByteArray>("bitmap");
    QTest::newRow("RLE8") << Layout::Encode(Compressed(1, 8));
    QTest::newRow("RLE4") << Layout::Encode(Compressed(2, 4));
}

// A compressed icon would swallow everything after it when the file is read back, so a category
// that somehow holds one still saves a file that loads.
void TestDataBitmap::compressedImageWritesDefaultIcon() {
    QFETCH(QByteArray, bitmap);
    const TBitmapImage compressed = TBitmapImage::FromBytes(View(bitmap));
    QVERIFY(compressed.Compression() == 1 || compressed.Compression() == 2);
    QCOMPARE(Written(compressed), Bytes(TBitmapImage::DefaultIcon().Bytes()));

    TDataFile data;
    data.AddCategory()->Icon = compressed;
    data.AddCategory()->Name = "after it";
    const std::string saved = data.SaveToBytes();
    TDataFile loaded;
    TStreamReader reader(saved);
    loaded.LoadFromStream(reader);
    QCOMPARE(loaded.Categories.size(), size_t(2));
    QCOMPARE(loaded.Categories[1]->Name, std::string("after it"));
    QVERIFY(loaded.Categories[0]->Icon == TBitmapImage::DefaultIcon());
}

void TestDataBitmap::everyTruncationFails_data() {
    QTest::addColumn<QByteArray>("bitmap");
    using namespace Layout;
    QTest::newRow("4 bpp") << Encode(MakeBitmap(4, 5, 3));
    QTest::newRow("16 bpp bit-fields") << Encode(MakeBitmap(16, 3, 2, 2, 3));
    QTest::newRow("core header 8 bpp") << Encode(MakeBitmap(8, 3, 2, 3, 0, true));
    QTest::newRow("image size set") << Encode(WithImageSize(MakeBitmap(24, 3, 2), 10, 10));
}

void TestDataBitmap::everyTruncationFails() {
    QFETCH(QByteArray, bitmap);
    for (qsizetype n = 0; n < bitmap.size(); ++n) {
        const QByteArray prefix = bitmap.left(n);
        TStreamReader reader(View(prefix));
        const QString outcome = ErrorOf([&] { TBitmapImage::ReadFromStream(reader); });
        QVERIFY2(outcome == kStreamReadErrorText,
                 qPrintable(QStringLiteral("prefix %1: %2").arg(n).arg(outcome)));
    }
}

void TestDataBitmap::hostile_data() {
    QTest::addColumn<QByteArray>("bitmap");
    using namespace Layout;

    const auto sized = [](uint16_t bpp, int32_t width, int32_t height) {
        Bitmap b = MakeBitmap(bpp, 2, 2);
        b.Width = width;
        b.Height = height;
        b.Pixels = Pattern(16, 3);
        return b;
    };
    QTest::newRow("width max") << Encode(sized(24, kInt32Max, 2));
    QTest::newRow("height max") << Encode(sized(24, 2, kInt32Max));
    QTest::newRow("height min") << Encode(sized(24, 2, kInt32Min));
    QTest::newRow("width x bpp wraps at 32 bits") << Encode(sized(32, 0x08000000, 1));
    QTest::newRow("row x height wraps at 32 bits") << Encode(sized(32, 1, 0x40000000));
    QTest::newRow("bpp 0xFFFF") << Encode(sized(0xFFFF, 0x10000, 1));
    Bitmap core = MakeBitmap(24, 2, 2, 0, 0, true);
    core.Width = 0xFFFF;
    core.Height = 0xFFFF;
    QTest::newRow("core header 65535 x 65535") << Encode(core);
    for (uint32_t colors : {0xFFFFFFFFu, 0x40000000u, 0x3FFFFFFFu, 1000u})
        QTest::addRow("colours used %u", colors) << Encode(WithColorsUsed(MakeBitmap(4, 2, 2, 16), colors));
    const Bitmap b = MakeBitmap(24, 2, 2);
    for (uint32_t imageSize : {0xFFFFFFFFu, 0x80000000u, uint32_t(b.Pixels.size() + kTail.size() + 1)})
        QTest::addRow("image size %u", imageSize) << Encode(WithImageSize(b, imageSize, b.Pixels.size()));
    Bitmap header = b;
    header.HeaderSize = 0xFFFFFFFF;
    QTest::newRow("info header size 0xFFFFFFFF") << Encode(header);
}

void TestDataBitmap::hostile() {
    QFETCH(QByteArray, bitmap);
    const QByteArray stream = bitmap + kTail;
    TStreamReader reader(View(stream));
    QString outcome;
    const size_t largest =
        LargestAllocationDuring([&] { outcome = ErrorOf([&] { TBitmapImage::ReadFromStream(reader); }); });
    QCOMPARE(outcome, kStreamReadErrorText);
    QVERIFY2(largest <= 4 * size_t(stream.size()) + 4096, qPrintable(QString::number(largest)));
}

void TestDataBitmap::fromBytes() {
    const QByteArray bitmap = Layout::Encode(Layout::MakeBitmap(8, 3, 2, 4));
    TBitmapImage image;
    QCOMPARE(ErrorOf([&] { image = TBitmapImage::FromBytes(View(bitmap)); }), QString());
    QCOMPARE(Bytes(image.Bytes()), bitmap);
    QCOMPARE(image.BitsPerPixel(), 8);

    for (const QByteArray& junk : {QByteArray(), QByteArray("hello"), bitmap.left(bitmap.size() - 1)})
        QCOMPARE(ErrorOf([&] { TBitmapImage::FromBytes(View(junk)); }), kStreamReadErrorText);
}

void TestDataBitmap::fromPixelMap() {
    std::array<uint32_t, 16> palette{};
    for (uint32_t i = 0; i < 16; ++i)
        palette[i] = 0x00102030u * i + i;
    const std::vector<std::string_view> rows = {"0123", "4567", "89AB", "cdef", "f00f"};
    const TBitmapImage image = TBitmapImage::FromPixelMap(palette, rows);
    const QByteArray b = Bytes(image.Bytes());

    QCOMPARE(image.Width(), 4);
    QCOMPARE(qAbs(image.Height()), 5);
    QCOMPARE(image.BitsPerPixel(), 4);
    QCOMPARE(U32(b, 2), uint32_t(b.size()));
    QCOMPARE(U32(b, 10), 118u);
    QCOMPARE(U32(b, 14), 40u);
    QCOMPARE(U32(b, 30), 0u);
    QCOMPARE(U32(b, 46), 16u);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(U32(b, 54 + 4 * i) & 0x00FFFFFF, palette[size_t(i)]);
    QCOMPARE(b.size(), 118 + 4 * 5);

    // A positive height stores the bottom row first.
    const bool bottomUp = image.Height() > 0;
    for (int y = 0; y < 5; ++y) {
        const qsizetype rowStart = 118 + 4 * (bottomUp ? 4 - y : y);
        for (int x = 0; x < 4; ++x) {
            const uchar byte = uchar(b[rowStart + x / 2]);
            const int pixel = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
            QCOMPARE(pixel, QByteArray(1, rows[size_t(y)][size_t(x)]).toInt(nullptr, 16));
        }
    }

    const std::vector<std::string_view> icon(32, std::string_view("0123456789abcdef0123456789ABCDEF"));
    const TBitmapImage full = TBitmapImage::FromPixelMap(palette, icon);
    QCOMPARE(full.Bytes().size(), size_t(630));
    const QByteArray stream = Bytes(full.Bytes()) + kTail;
    TStreamReader reader(View(stream));
    QVERIFY(TBitmapImage::ReadFromStream(reader) == full);
    QCOMPARE(reader.Position(), size_t(630));
}

QTEST_GUILESS_MAIN(TestDataBitmap)
#include "tst_bitmap.moc"
