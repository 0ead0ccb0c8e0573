// SPDX-License-Identifier: GPL-3.0-or-later
// The design surface's arithmetic and the category icon's bitmap, without windows.
#include "templateeditor/DesignGeometry.h"
#include "ui/IconPicture.h"

#include "core/Category.h"
#include "core/Error.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace DesignGeometry;

Q_DECLARE_METATYPE(DesignGeometry::TPointerZone)

namespace {

uint32_t UInt32At(const std::string& bytes, size_t offset) {
    return static_cast<uint8_t>(bytes[offset]) | static_cast<uint8_t>(bytes[offset + 1]) << 8 |
           static_cast<uint8_t>(bytes[offset + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + 3])) << 24;
}

// The pixel (x, y) of a bottom-up 32 x 32 24-bit image as RGB.
QRgb PixelAt(const std::string& bytes, int x, int y) {
    const size_t at = 54 + static_cast<size_t>((31 - y) * 96 + x * 3);
    return qRgb(static_cast<uint8_t>(bytes[at + 2]), static_cast<uint8_t>(bytes[at + 1]),
                static_cast<uint8_t>(bytes[at]));
}

} // namespace

class TestTemplateGeometry : public QObject {
    Q_OBJECT
private slots:
    void zones_data();
    void zones();
    void snap_data();
    void snap();
    void draggedSize_data();
    void draggedSize();
    void keySteps_data();
    void keySteps();
    void keyedBounds_data();
    void keyedBounds();
    void gridPoints_data();
    void gridPoints();
    void selectBox();
    void iconFromPicture_data();
    void iconFromPicture();
    void iconFromFile_data();
    void iconFromFile();
};

void TestTemplateGeometry::zones_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<TPointerZone>("zone");
    QTest::addColumn<int>("cursor");
    // Controls of 100 x 50.
    QTest::newRow("label at its corner moves")
        << "TLabel" << QPoint(99, 49) << TPointerZone::Move << int(Qt::ArrowCursor);
    QTest::newRow("edit right edge") << "TEdit" << QPoint(93, 5) << TPointerZone::Width
                                     << int(Qt::SizeHorCursor);
    QTest::newRow("edit eight from the edge moves")
        << "TEdit" << QPoint(92, 49) << TPointerZone::Move << int(Qt::ArrowCursor);
    QTest::newRow("memo corner") << "TMemo" << QPoint(93, 43) << TPointerZone::WidthAndHeight
                                 << int(Qt::SizeFDiagCursor);
    QTest::newRow("memo right") << "TMemo" << QPoint(93, 42) << TPointerZone::Width << int(Qt::SizeHorCursor);
    QTest::newRow("memo bottom") << "TMemo" << QPoint(92, 43) << TPointerZone::Height
                                 << int(Qt::SizeVerCursor);
    QTest::newRow("memo inside") << "TMemo" << QPoint(0, 0) << TPointerZone::Move << int(Qt::ArrowCursor);
    QTest::newRow("unknown kind moves")
        << "TButton" << QPoint(99, 49) << TPointerZone::Move << int(Qt::ArrowCursor);
}

void TestTemplateGeometry::zones() {
    QFETCH(QString, kind);
    QFETCH(QPoint, at);
    QFETCH(TPointerZone, zone);
    QFETCH(int, cursor);
    const TPointerZone found = ZoneAt(kind.toStdString(), at.x(), at.y(), 100, 50);
    QCOMPARE(found, zone);
    QCOMPARE(int(CursorOf(found)), cursor);
    QCOMPARE(ResizesWidth(found), zone == TPointerZone::Width || zone == TPointerZone::WidthAndHeight);
    QCOMPARE(ResizesHeight(found), zone == TPointerZone::Height || zone == TPointerZone::WidthAndHeight);
}

void TestTemplateGeometry::snap_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("snapped");
    QTest::newRow("20") << 20 << 18;
    QTest::newRow("15") << 15 << 12;
    QTest::newRow("18") << 18 << 18;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("-1 toward zero") << -1 << 0;
    QTest::newRow("-5 toward zero") << -5 << 0;
    QTest::newRow("-6") << -6 << -6;
    QTest::newRow("-8") << -8 << -6;
    QTest::newRow("-13") << -13 << -12;
}

void TestTemplateGeometry::snap() {
    QFETCH(int, position);
    QFETCH(int, snapped);
    QCOMPARE(SnapToGrid(position), snapped);
}

void TestTemplateGeometry::draggedSize_data() {
    QTest::addColumn<int>("pointer");
    QTest::addColumn<int>("size");
    QTest::newRow("below the minimum") << 3 << 15;
    QTest::newRow("negative") << -40 << 15;
    QTest::newRow("ten") << 10 << 15;
    QTest::newRow("eleven") << 11 << 16;
    QTest::newRow("large") << 5000 << 5005;
}

void TestTemplateGeometry::draggedSize() {
    QFETCH(int, pointer);
    QFETCH(int, size);
    QCOMPARE(DraggedSize(pointer), size);
}

void TestTemplateGeometry::keySteps_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("size");
    QTest::newRow("on the grid, forward") << 12 << 1 << 18 << 18;
    QTest::newRow("on the grid, back; a small size stays") << 12 << -1 << 6 << 12;
    QTest::newRow("between, forward") << 13 << 1 << 18 << 19;
    QTest::newRow("between, back") << 13 << -1 << 12 << 13;
    QTest::newRow("zero back") << 0 << -1 << -6 << 0;
    QTest::newRow("negative on the grid") << -6 << -1 << -12 << -6;
    QTest::newRow("negative between, forward") << -7 << 1 << -6 << -7;
    QTest::newRow("negative between, back") << -7 << -1 << -12 << -7;
    QTest::newRow("just below zero") << -1 << 1 << 0 << -1;
    QTest::newRow("size at the smallest") << 15 << -1 << 12 << 15;
    QTest::newRow("size just above the smallest") << 20 << -1 << 18 << 15;
    QTest::newRow("size above") << 185 << 1 << 186 << 191;
}

void TestTemplateGeometry::keySteps() {
    QFETCH(int, value);
    QFETCH(int, step);
    QFETCH(int, position);
    QFETCH(int, size);
    QCOMPARE(StepOnGrid(value, step), position);
    QCOMPARE(SteppedSize(value, step), size);
}

void TestTemplateGeometry::keyedBounds_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("resize");
    QTest::addColumn<QRect>("keyed");
    // Every row starts from an element at (13, 12), 100 x 40.
    QTest::newRow("right moves across only")
        << "TEdit" << int(Qt::Key_Right) << false << QRect(18, 12, 100, 40);
    QTest::newRow("up moves to the grid point above")
        << "TMemo" << int(Qt::Key_Up) << false << QRect(13, 6, 100, 40);
    QTest::newRow("a label moves too") << "TLabel" << int(Qt::Key_Left) << false << QRect(12, 12, 100, 40);
    QTest::newRow("memo widens") << "TMemo" << int(Qt::Key_Right) << true << QRect(13, 12, 106, 40);
    QTest::newRow("memo grows taller") << "TMemo" << int(Qt::Key_Down) << true << QRect(13, 12, 100, 46);
    QTest::newRow("one-line box narrows") << "TEdit" << int(Qt::Key_Left) << true << QRect(13, 12, 94, 40);
    QTest::newRow("one-line box keeps its height")
        << "TEdit" << int(Qt::Key_Up) << true << QRect(13, 12, 100, 40);
    QTest::newRow("a label keeps its size")
        << "TLabel" << int(Qt::Key_Right) << true << QRect(13, 12, 100, 40);
}

// The arrow keys move or resize along the edges the pointer may drag at the bottom-right corner.
void TestTemplateGeometry::keyedBounds() {
    QFETCH(QString, kind);
    QFETCH(int, key);
    QFETCH(bool, resize);
    QFETCH(QRect, keyed);
    QCOMPARE(KeyedBounds(kind.toStdString(), QRect(13, 12, 100, 40), key, resize), keyed);
}

void TestTemplateGeometry::gridPoints_data() {
    QTest::addColumn<QRect>("exposed");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::newRow("empty") << QRect() << QList<QPoint>{};
    // Right and bottom are exclusive edges divided by six, both ends inclusive.
    QTest::newRow("one cell") << QRect(0, 0, 6, 6) << QList<QPoint>{{0, 0}, {0, 6}, {6, 0}, {6, 6}};
    QTest::newRow("inside a cell") << QRect(7, 7, 3, 3) << QList<QPoint>{{6, 6}};
    QTest::newRow("strip") << QRect(10, 13, 10, 1) << QList<QPoint>{{6, 12}, {12, 12}, {18, 12}};
}

void TestTemplateGeometry::gridPoints() {
    QFETCH(QRect, exposed);
    QFETCH(QList<QPoint>, points);
    const std::vector<QPoint> found = GridPoints(exposed);
    QCOMPARE(QList<QPoint>(found.begin(), found.end()), points);
}

void TestTemplateGeometry::selectBox() {
    QCOMPARE(SelectBoxRect(QRect(12, 12, 121, 22)), QRect(8, 8, 130, 31));
    const std::array<QRect, 8> marks = SelectBoxMarks(130, 31);
    // Corners and edge middles, 4 x 4, the right and bottom ones one pixel in from the edge.
    const std::array<QRect, 8> expected = {QRect(0, 0, 4, 4),   QRect(63, 0, 4, 4),   QRect(125, 0, 4, 4),
                                           QRect(0, 13, 4, 4),  QRect(125, 13, 4, 4), QRect(0, 26, 4, 4),
                                           QRect(63, 26, 4, 4), QRect(125, 26, 4, 4)};
    QCOMPARE(marks, expected);
}

void TestTemplateGeometry::iconFromPicture_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("filled");     // a pixel of the icon the picture covers
    QTest::addColumn<QPoint>("background"); // a pixel it leaves to the background
    QTest::newRow("already 32 x 32") << QSize(32, 32) << QPoint(0, 0) << QPoint(-1, -1);
    QTest::newRow("wide picture is centred") << QSize(64, 16) << QPoint(0, 12) << QPoint(0, 0);
    QTest::newRow("tall small picture") << QSize(4, 8) << QPoint(12, 0) << QPoint(0, 0);
}

void TestTemplateGeometry::iconFromPicture() {
    QFETCH(QSize, size);
    QFETCH(QPoint, filled);
    QFETCH(QPoint, background);
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(QColor(200, 10, 20));
    const TBitmapImage icon = IconPicture::FromImage(picture);
    const std::string& bytes = icon.Bytes();
    QCOMPARE(bytes.size(), size_t(54 + 32 * 32 * 3));
    QCOMPARE(bytes.substr(0, 2), std::string("BM"));
    QCOMPARE(UInt32At(bytes, 2), 3126u); // file size
    QCOMPARE(UInt32At(bytes, 10), 54u);  // pixel offset
    QCOMPARE(UInt32At(bytes, 14), 40u);  // info header
    QCOMPARE(UInt32At(bytes, 18), 32u);
    QCOMPARE(UInt32At(bytes, 22), 32u);
    QCOMPARE(UInt32At(bytes, 28) & 0xFFFF, 24u);
    QCOMPARE(UInt32At(bytes, 30), 0u); // uncompressed
    QCOMPARE(icon.Width(), 32);
    QCOMPARE(icon.BitsPerPixel(), 24);
    QCOMPARE(PixelAt(bytes, filled.x(), filled.y()), qRgb(200, 10, 20));
    if (background.x() >= 0)
        QCOMPARE(PixelAt(bytes, background.x(), background.y()), IconPicture::IconBackground().rgb());
    // The bytes read back as the same picture.
    QCOMPARE(IconPicture::ToPixmap(icon).toImage().pixelColor(filled), QColor(200, 10, 20));
    QVERIFY(TBitmapImage::FromBytes(bytes) == icon);
}

void TestTemplateGeometry::iconFromFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("picture");
    QTest::newRow("text") << QByteArray("hello") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("truncated bitmap") << QByteArray("BM\x36\x0c\0\0\0\0\0\0\x36\0\0\0", 14) << false;
    QImage png(5, 5, QImage::Format_ARGB32);
    png.fill(Qt::transparent);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    QTest::newRow("transparent PNG") << pngBytes << true;
}

void TestTemplateGeometry::iconFromFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, picture);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("icon.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    TBitmapImage icon = TBitmapImage::DefaultIcon();
    QCOMPARE(IconPicture::FromFile(path, icon), picture);
    if (picture) {
        QCOMPARE(PixelAt(icon.Bytes(), 16, 16), IconPicture::IconBackground().rgb());
    } else {
        QVERIFY(icon == TBitmapImage::DefaultIcon());
    }
    QVERIFY(!IconPicture::FromFile(folder.filePath(QStringLiteral("missing.png")), icon));
}

QTEST_MAIN(TestTemplateGeometry)
#include "tst_geometry.moc"
