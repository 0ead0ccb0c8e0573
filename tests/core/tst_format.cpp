// SPDX-License-Identifier: GPL-3.0-or-later
// The data file's bytes: what the store writes, what it reads, and what it refuses to read.

#include "core/DataBytes.h"
#include "core/DataFile.h"
#include "core/Password.h"
#include "core/Stream.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(Layout::File)

namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}
QByteArray Bytes(const std::string& bytes) {
    return QByteArray::fromStdString(bytes);
}

// Loads bytes into dataFile; returns ErrorOf's outcome and where the reader stopped.
QString Load(TDataFile& dataFile, const QByteArray& bytes, size_t* stoppedAt = nullptr) {
    TStreamReader reader(View(bytes));
    const QString outcome = ErrorOf([&] { dataFile.LoadFromStream(reader); });
    if (stoppedAt)
        *stoppedAt = reader.Position();
    return outcome;
}

void CompareElement(const TElement& e, const Layout::Element& x) {
    QCOMPARE(Bytes(e.Kind), x.Kind);
    QCOMPARE(e.ID, x.ID);
    QCOMPARE(e.ValueIndex, x.ValueIndex);
    QCOMPARE(e.Left, x.Left);
    QCOMPARE(e.Top, x.Top);
    QCOMPARE(e.Width, x.Width);
    QCOMPARE(e.Height, x.Height);
    QCOMPARE(e.Color, x.Color);
    QCOMPARE(Bytes(e.Caption), x.Caption);
    QCOMPARE(Bytes(e.Font.Name), x.FontName);
    QCOMPARE(e.Font.Style, x.FontStyle);
    QCOMPARE(e.Font.Size, x.FontSize);
    QCOMPARE(e.Font.Color, x.FontColor);
}

void CompareCategory(const TCategory& c, const Layout::Category& x) {
    QCOMPARE(c.ID, x.ID);
    QCOMPARE(Bytes(c.Name), x.Name);
    QCOMPARE(c.FormColor, x.FormColor);
    QCOMPARE(c.LastElementID, x.LastElementID);
    QCOMPARE(c.SortColumn, x.SortColumn);
    QCOMPARE(c.SortAscending, x.SortAscending == 1);
    QCOMPARE(Bytes(c.Icon.Bytes()), x.Icon);
    QCOMPARE(qsizetype(c.Elements.size()), x.Elements.size());
    for (qsizetype i = 0; i < x.Elements.size(); ++i) {
        CompareElement(*c.Elements[size_t(i)], x.Elements[i]);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(qsizetype(c.Columns.size()), x.Columns.size());
    for (qsizetype i = 0; i < x.Columns.size(); ++i) {
        QCOMPARE(c.Columns[size_t(i)]->ElementID, x.Columns[i].ElementID);
        QCOMPARE(c.Columns[size_t(i)]->Width, x.Columns[i].Width);
        QCOMPARE(Bytes(c.Columns[size_t(i)]->Caption), x.Columns[i].Caption);
    }
    QCOMPARE(qsizetype(c.Records.size()), x.Records.size());
    for (qsizetype i = 0; i < x.Records.size(); ++i) {
        const TRecord& r = *c.Records[size_t(i)];
        QCOMPARE(qsizetype(r.Count()), x.Records[i].Values.size());
        for (int32_t v = 0; v < r.Count(); ++v)
            QCOMPARE(QByteArray(r.Value(v).data(), qsizetype(r.Value(v).size())), x.Records[i].Values[v]);
    }
}

// Every field of a loaded file against the layout it was made from.
void CompareFile(const TDataFile& l, const Layout::File& x) {
    QCOMPARE(l.Magic, x.Magic);
    QCOMPARE(l.Version, x.Version);
    QCOMPARE(Bytes(l.PasswordDigest), x.Digest);
    QCOMPARE(l.LastCategoryID, x.LastCategoryID);
    QCOMPARE(qsizetype(l.Categories.size()), x.Categories.size());
    for (qsizetype i = 0; i < x.Categories.size(); ++i) {
        CompareCategory(*l.Categories[size_t(i)], x.Categories[i]);
        if (QTest::currentTestFailed())
            return;
    }
}

Layout::Category BareCategory(int32_t id, const QByteArray& name) {
    Layout::Category c;
    c.ID = id;
    c.Name = name;
    c.Icon = Layout::Encode(Layout::MakeBitmap(24, 2, 2));
    return c;
}

Layout::File WithCategories(const QList<Layout::Category>& categories) {
    Layout::File f;
    f.Categories = categories;
    for (const Layout::Category& c : categories)
        f.LastCategoryID = std::max(f.LastCategoryID, c.ID);
    return f;
}

Layout::File WithIcon(const Layout::Bitmap& icon) {
    Layout::Category c = BareCategory(1, "Icon");
    c.Icon = Layout::Encode(icon);
    return WithCategories({c});
}

// A category whose every string is a distinct marker, for the hostile-length rows.
Layout::File MarkedFile() {
    Layout::Category c = BareCategory(1, "@name@");
    Layout::Element e = Layout::MakeElement("@kind@", 1, -1);
    e.Caption = "@caption@";
    e.FontName = "@font@";
    c.Elements = {e, Layout::MakeElement("TEdit", 2, 0)};
    c.Columns = {{2, 50, "@column@"}};
    c.Records = {{{"@value@"}, {}}, {{"last"}, {}}};
    Layout::File f = WithCategories({c});
    f.Digest = "@digest@";
    return f;
}

} // namespace

class TestDataFormat : public QObject {
    Q_OBJECT

private slots:
    void emptyFile();
    void roundTrip_data();
    void roundTrip();
    void normalizedOnSave_data();
    void normalizedOnSave();
    void sortAscendingTwoChangesOneByte();
    void writerLayout();
    void emptyIconWrittenAsDefault();
    void streamString_data();
    void streamString();
    void streamStringWrite_data();
    void streamStringWrite();
    void magicAndVersion_data();
    void magicAndVersion();
    void everyTruncationFails_data();
    void everyTruncationFails();
    void hostile_data();
    void hostile();
    void failedLoadKeepsWhatWasRead();
};

void TestDataFormat::emptyFile() {
    const QByteArray expected = QByteArray::fromHex("38564C05"
                                                    "01000000"
                                                    "20000000") +
                                "D41D8CD98F00B204E9800998ECF8427E" +
                                QByteArray::fromHex("00000000"
                                                    "00000000");
    QCOMPARE(expected.size(), 52);
    QCOMPARE(Layout::Encode(Layout::File()), expected);

    const TDataFile fresh;
    QCOMPARE(fresh.PasswordDigest, PasswordDigest(""));
    QVERIFY(!fresh.HasPassword());
    QCOMPARE(Bytes(fresh.SaveToBytes()), expected);

    TDataFile loaded;
    size_t stoppedAt = 0;
    QCOMPARE(Load(loaded, expected, &stoppedAt), QString());
    QCOMPARE(stoppedAt, size_t(52));
    QVERIFY(loaded.Categories.empty());
    QCOMPARE(loaded.LastCategoryID, 0);
}

void TestDataFormat::roundTrip_data() {
    QTest::addColumn<Layout::File>("file");
    using namespace Layout;

    File digest;
    digest.Digest = kSecretDigest;
    File shortDigest;
    shortDigest.Digest = "ABC";
    File noDigest;
    noDigest.Digest = "";
    File lastId;
    lastId.LastCategoryID = 12345;

    QTest::newRow("empty file") << File();
    QTest::newRow("password digest") << digest;
    QTest::newRow("digest of another length") << shortDigest;
    QTest::newRow("empty digest") << noDigest;
    QTest::newRow("last category id, no categories") << lastId;
    QTest::newRow("bare category") << WithCategories({BareCategory(1, "Bare")});

    Category withDefaultIcon = BareCategory(3, "Default icon");
    withDefaultIcon.Icon = Bytes(TBitmapImage::DefaultIcon().Bytes());
    QTest::newRow("default icon") << WithCategories({withDefaultIcon});

    Category kinds = BareCategory(1, "Kinds");
    kinds.LastElementID = 4;
    kinds.Elements = {MakeElement("TLabel", 1, -1), MakeElement("TEdit", 2, 0), MakeElement("TMemo", 3, 1),
                      MakeElement("TButton", 4, 2)};
    kinds.Elements[0].Caption = "Caf\xE9 \xC3\xA9\r\n";
    kinds.Elements[1].FontStyle = 0xFF;
    kinds.Elements[2].FontColor = -2147483640;
    QTest::newRow("elements of each kind") << WithCategories({kinds});

    Category columns = BareCategory(1, "Columns");
    columns.Columns = {{2, 120, "Name"}, {99, 0, ""}, {-1, -5, "Odd \xFF"}, {0, kInt32Max, "x"}};
    QTest::newRow("columns") << WithCategories({columns});

    Category records = BareCategory(1, "Records");
    records.LastElementID = 2;
    records.Elements = {MakeElement("TEdit", 1, 0), MakeElement("TMemo", 2, 1)};
    records.Records = {{{"fewer"}, {}},
                       {{"a", "b", "more", "than", "boxes"}, {}},
                       {{}, {}},
                       {{"", ""}, {}},
                       {{"memo", "line 1\r\nline 2\r\n"}, {}},
                       {{QByteArray("nul\0inside", 10), "\r\n"}, {}},
                       {{"lone\rcr", "lone\nlf"}, {}}};
    QTest::newRow("records") << WithCategories({records});

    // Short values are copied in chunks that run past them: each length around the chunk's, first,
    // in the middle and last in its record, with little or much of the record after it.
    Category lengths = BareCategory(1, "Lengths");
    for (int size = 0; size <= 130; ++size)
        for (int place = 0; place < 3; ++place) {
            QByteArrayList values(3, Pattern(size % 7, size));
            values[place] = Pattern(size, size + place);
            lengths.Records.append({values, {}});
            lengths.Records.append({{Pattern(size, place)}, {}});
        }
    QTest::newRow("values of every length around the copy chunk") << WithCategories({lengths});

    Category extremes = BareCategory(kInt32Max, "Extremes");
    extremes.FormColor = -1;
    extremes.LastElementID = kInt32Min;
    extremes.SortColumn = -1;
    extremes.SortAscending = 0;
    extremes.Elements = {MakeElement("TEdit", kInt32Max, kInt32Min)};
    extremes.Elements[0].Left = kInt32Min;
    extremes.Elements[0].Width = -1;
    QTest::newRow("extreme numbers") << WithCategories({extremes, BareCategory(kInt32Min, "")});

    QTest::newRow("sample") << SampleFile();

    QTest::newRow("icon 1 bpp") << WithIcon(MakeBitmap(1, 3, 2, 2));
    QTest::newRow("icon 8 bpp, 3 colours") << WithIcon(MakeBitmap(8, 3, 2, 3));
    QTest::newRow("icon 8 bpp, 256 colours") << WithIcon(MakeBitmap(8, 2, 2, 256));
    QTest::newRow("icon 24 bpp, 2 colours") << WithIcon(MakeBitmap(24, 3, 2, 2));
    QTest::newRow("icon 16 bpp bit-fields") << WithIcon(MakeBitmap(16, 3, 2, 0, 3));
    QTest::newRow("icon 32 bpp bit-fields") << WithIcon(MakeBitmap(32, 3, 2, 0, 3));
    QTest::newRow("icon 32 bpp") << WithIcon(MakeBitmap(32, 2, 2));
    QTest::newRow("icon top-down") << WithIcon(MakeBitmap(24, 3, -2));
    QTest::newRow("icon core header 4 bpp") << WithIcon(MakeBitmap(4, 3, 2, 0, 0, true));
    QTest::newRow("icon core header 24 bpp") << WithIcon(MakeBitmap(24, 3, 2, 0, 0, true));
    Bitmap sized = MakeBitmap(4, 5, 3, 16);
    sized.ImageSize = 7;
    sized.Pixels = Pattern(7, 9);
    QTest::newRow("icon image size smaller than rows") << WithIcon(sized);
    sized.ImageSize = 40;
    sized.Pixels = Pattern(40, 9);
    QTest::newRow("icon image size larger than rows") << WithIcon(sized);
}

// Loads file whole, with every field as laid out, and saves it as written.
static void CheckLoadAndSave(const Layout::File& file, const QByteArray& written) {
    const QByteArray bytes = Layout::Encode(file);
    TDataFile loaded;
    size_t stoppedAt = 0;
    QCOMPARE(Load(loaded, bytes, &stoppedAt), QString());
    QCOMPARE(stoppedAt, size_t(bytes.size()));
    CompareFile(loaded, file);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(Bytes(loaded.SaveToBytes()), written);
}

void TestDataFormat::roundTrip() {
    QFETCH(Layout::File, file);
    CheckLoadAndSave(file, Layout::Encode(file));
}

void TestDataFormat::normalizedOnSave_data() {
    QTest::addColumn<Layout::File>("file");
    QTest::addColumn<Layout::File>("written");
    using namespace Layout;

    for (int32_t raw : {2, -1, 256, kInt32Min}) {
        Category in = BareCategory(1, "Books");
        in.SortAscending = raw;
        Category out = in;
        out.SortAscending = 0;
        QTest::addRow("sort ascending %d", raw) << WithCategories({in}) << WithCategories({out});
    }
    for (int32_t count : {-1, kInt32Min}) {
        File in;
        in.CategoryCount = count;
        QTest::addRow("category count %d", count) << in << File();
    }
    const Category bare = BareCategory(1, "Negative");
    Category elements = bare;
    elements.ElementCount = -3;
    Category columns = bare;
    columns.ColumnCount = -1;
    Category records = bare;
    records.RecordCount = -2;
    QTest::newRow("element count -3") << WithCategories({elements}) << WithCategories({bare});
    QTest::newRow("column count -1") << WithCategories({columns}) << WithCategories({bare});
    QTest::newRow("record count -2") << WithCategories({records}) << WithCategories({bare});

    Category values = bare;
    values.Records = {{{}, -1}, {{"kept"}, {}}, {{}, kInt32Min}};
    Category valuesOut = bare;
    valuesOut.Records = {{{}, {}}, {{"kept"}, {}}, {{}, {}}};
    QTest::newRow("value count negative") << WithCategories({values}) << WithCategories({valuesOut});

    Bitmap lying = MakeBitmap(4, 3, 2, 16);
    const Bitmap honest = lying;
    lying.FileSize = 9999;
    lying.PixelOffset = 3;
    QTest::newRow("icon file header lies") << WithIcon(lying) << WithIcon(honest);

    Bitmap implicitColors = MakeBitmap(4, 3, 2);
    Bitmap explicitColors = implicitColors;
    explicitColors.ColorsUsed = 16;
    QTest::newRow("icon colours used 0 at 4 bpp") << WithIcon(implicitColors) << WithIcon(explicitColors);
    implicitColors = MakeBitmap(1, 3, 2);
    explicitColors = implicitColors;
    explicitColors.ColorsUsed = 2;
    QTest::newRow("icon colours used 0 at 1 bpp") << WithIcon(implicitColors) << WithIcon(explicitColors);
}

void TestDataFormat::normalizedOnSave() {
    QFETCH(Layout::File, file);
    QFETCH(Layout::File, written);
    CheckLoadAndSave(file, Layout::Encode(written));
}

void TestDataFormat::sortAscendingTwoChangesOneByte() {
    Layout::Category c = BareCategory(1, "Books");
    c.SortAscending = 2;
    const QByteArray bytes = Layout::Encode(WithCategories({c}));
    TDataFile loaded;
    QCOMPARE(Load(loaded, bytes), QString());
    QVERIFY(!loaded.Categories.at(0)->SortAscending);

    const QByteArray saved = Bytes(loaded.SaveToBytes());
    QCOMPARE(saved.size(), bytes.size());
    QList<qsizetype> differing;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (saved[i] != bytes[i])
            differing << i;
    }
    // Header 52, id 4, name 4 + 5, form colour 4, last element id 4, sort column 4.
    QCOMPARE(differing, QList<qsizetype>{77});
    QCOMPARE(saved[77], '\0');
}

void TestDataFormat::writerLayout() {
    TDataFile dataFile;
    dataFile.PasswordDigest = PasswordDigest("secret");
    TCategory* first = dataFile.AddCategory();
    TCategory* second = dataFile.AddCategory();
    first->Name = "Contacts";
    second->Name = "Books";
    second->SortColumn = 1;
    second->SortAscending = false;
    second->FormColor = 0x00123456;
    const TFont font{"MS Sans Serif", fsBold | fsUnderline, 10, 0x000000FF};
    first->AddElement(kKindLabel, 6, 12, 60, 13, -2147483633, font, "Name:");
    first->AddElement(kKindEdit, 72, 12, 120, 21, 0x00FFFFFF, font, "");
    first->AddElement(kKindMemo, 72, 36, 120, 60, 0x00FFFFFF, font, "");
    first->RenumberValueIndexes();
    first->Columns.push_back(std::make_unique<TListColumn>());
    first->Columns.back()->ElementID = 2;
    first->Columns.back()->Caption = "Name";
    first->NewRecord()->SetValue(1, "line 1\r\nline 2");
    first->NewRecord();

    Layout::File expected;
    expected.Digest = Layout::kSecretDigest;
    expected.LastCategoryID = 2;
    Layout::Category c1;
    c1.ID = 1;
    c1.Name = "Contacts";
    c1.LastElementID = 3;
    c1.Icon = Bytes(TBitmapImage::DefaultIcon().Bytes());
    c1.Elements = {{"TLabel", 1, -1, 6, 12, 60, 13, -2147483633, "Name:", "MS Sans Serif", 5, 10, 255},
                   {"TEdit", 2, 0, 72, 12, 120, 21, 0x00FFFFFF, "", "MS Sans Serif", 5, 10, 255},
                   {"TMemo", 3, 1, 72, 36, 120, 60, 0x00FFFFFF, "", "MS Sans Serif", 5, 10, 255}};
    c1.Columns = {{2, 50, "Name"}};
    c1.Records = {{{"", "line 1\r\nline 2"}, {}}, {{"", ""}, {}}};
    Layout::Category c2;
    c2.ID = 2;
    c2.Name = "Books";
    c2.FormColor = 0x00123456;
    c2.SortColumn = 1;
    c2.SortAscending = 0;
    c2.Icon = c1.Icon;
    expected.Categories = {c1, c2};

    const QByteArray saved = Bytes(dataFile.SaveToBytes());
    QCOMPARE(saved, Layout::Encode(expected));
    // The second category ends with its three zero counts.
    QVERIFY(saved.endsWith(QByteArray(12, '\0')));
}

void TestDataFormat::emptyIconWrittenAsDefault() {
    TDataFile dataFile;
    TCategory* c = dataFile.AddCategory();
    c->Icon = TBitmapImage();
    QVERIFY(c->Icon.Empty());

    Layout::Category expected = BareCategory(1, "");
    expected.Icon = Bytes(TBitmapImage::DefaultIcon().Bytes());
    const QByteArray saved = Bytes(dataFile.SaveToBytes());
    QCOMPARE(saved, Layout::Encode(WithCategories({expected})));

    TDataFile reloaded;
    QCOMPARE(Load(reloaded, saved), QString());
    QVERIFY(reloaded.Categories.at(0)->Icon == TBitmapImage::DefaultIcon());
}

void TestDataFormat::streamString_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("stoppedAt");

    const QByteArray tail = "tail";
    QTest::newRow("empty") << TDataBytes().Int32(0).Raw(tail).Bytes() << QString() << QByteArray() << 4;
    QTest::newRow("three bytes") << TDataBytes().Int32(3).Raw("abc").Raw(tail).Bytes() << QString()
                                 << QByteArray("abc") << 7;
    QTest::newRow("nul and line breaks") << TDataBytes().Int32(5).Raw(QByteArray("a\0\r\nb", 5)).Bytes()
                                         << QString() << QByteArray("a\0\r\nb", 5) << 9;
    QTest::newRow("exactly to the end") << TDataBytes().Int32(4).Raw(tail).Bytes() << QString() << tail << 8;
    QTest::newRow("one byte short") << TDataBytes().Int32(5).Raw(tail).Bytes() << kStreamReadErrorText
                                    << QByteArray() << 0;
    QTest::newRow("count cut short") << QByteArray::fromHex("010000") << kStreamReadErrorText << QByteArray()
                                     << 0;
    QTest::newRow("length -1") << TDataBytes().Int32(-1).Raw(tail).Bytes() << kStreamReadErrorText
                               << QByteArray() << 0;
    QTest::newRow("length int32 min")
        << TDataBytes().Int32(kInt32Min).Raw(tail).Bytes() << kStreamReadErrorText << QByteArray() << 0;
    QTest::newRow("length int32 max")
        << TDataBytes().Int32(kInt32Max).Raw(tail).Bytes() << kStreamReadErrorText << QByteArray() << 0;
}

void TestDataFormat::streamString() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outcome);
    QFETCH(QByteArray, text);
    QFETCH(int, stoppedAt);

    TStreamReader reader(View(bytes));
    std::string read;
    const size_t largest = LargestAllocationDuring(
        [&] { QCOMPARE(ErrorOf([&] { read = ReadStreamString(reader); }), outcome); });
    QVERIFY2(largest <= size_t(bytes.size()) + 64, qPrintable(QString::number(largest)));
    QCOMPARE(Bytes(read), text);
    if (outcome.isEmpty())
        QCOMPARE(reader.Position(), size_t(stoppedAt));
}

void TestDataFormat::streamStringWrite_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray() << QByteArray::fromHex("00000000");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray::fromHex("03000000616263");
    QTest::newRow("nul, CR LF, high byte")
        << QByteArray("\0\r\n\xFF", 4) << QByteArray::fromHex("04000000000D0AFF");
    QTest::newRow("300 bytes") << QByteArray(300, 'x')
                               << QByteArray::fromHex("2C010000") + QByteArray(300, 'x');
}

void TestDataFormat::streamStringWrite() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    std::string buffer = "pre";
    TStreamWriter writer(buffer);
    WriteStreamString(writer, View(text));
    QCOMPARE(Bytes(buffer), "pre" + bytes);
}

void TestDataFormat::magicAndVersion_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outcome");

    const QString notQuillery =
        QStringLiteral("EAssertionFailed: This is not a Quillery file. (DataLedgrin, line 91)");
    const QString incompatible =
        QStringLiteral("EAssertionFailed: Data file version incompatible. (DataLedgrin, line 93)");
    Layout::File wrongMagic = Layout::SampleFile();
    wrongMagic.Magic = Layout::kMagic + 1;
    Layout::File version0 = Layout::SampleFile();
    version0.Version = 0;

    QTest::newRow("four zero bytes") << QByteArray(4, '\0') << notQuillery;
    QTest::newRow("magic bytes reversed") << QByteArray::fromHex("054C5638") << notQuillery;
    QTest::newRow("a bitmap") << Layout::Encode(Layout::MakeBitmap(24, 2, 2)) << notQuillery;
    QTest::newRow("wrong magic, rest valid") << Layout::Encode(wrongMagic) << notQuillery;
    QTest::newRow("three bytes of the magic") << QByteArray::fromHex("38564C") << kStreamReadErrorText;
    QTest::newRow("magic alone") << QByteArray::fromHex("38564C05") << kStreamReadErrorText;
    QTest::newRow("version 2, nothing else") << QByteArray::fromHex("38564C0502000000") << incompatible;
    QTest::newRow("version 0, rest valid") << Layout::Encode(version0) << incompatible;
    QTest::newRow("version -1") << QByteArray::fromHex("38564C05FFFFFFFF") << incompatible;
    QTest::newRow("version 1, nothing else")
        << QByteArray::fromHex("38564C0501000000") << kStreamReadErrorText;
}

void TestDataFormat::magicAndVersion() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outcome);
    TDataFile dataFile;
    QCOMPARE(Load(dataFile, bytes), outcome);
    QVERIFY(dataFile.Categories.empty());
    QCOMPARE(dataFile.LastCategoryID, 0);
}

void TestDataFormat::everyTruncationFails_data() {
    QTest::addColumn<QByteArray>("bytes");
    using namespace Layout;
    QTest::newRow("sample") << Encode(SampleFile());
    File icons = WithCategories({BareCategory(1, "a"), BareCategory(2, "b"), BareCategory(3, "c")});
    icons.Categories[0].Icon = Encode(MakeBitmap(16, 3, 2, 0, 3));
    icons.Categories[1].Icon = Encode(MakeBitmap(4, 3, 2, 0, 0, true));
    icons.Categories[2].Icon = Encode(MakeBitmap(8, 2, -2, 3));
    QTest::newRow("icons of several forms") << Encode(icons);
}

void TestDataFormat::everyTruncationFails() {
    QFETCH(QByteArray, bytes);
    {
        TDataFile whole;
        QCOMPARE(Load(whole, bytes), QString());
    }
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        TDataFile dataFile;
        const QString outcome = Load(dataFile, bytes.left(n));
        QVERIFY2(outcome == kStreamReadErrorText,
                 qPrintable(QStringLiteral("prefix %1: %2").arg(n).arg(outcome)));
    }
}

void TestDataFormat::hostile_data() {
    QTest::addColumn<QByteArray>("bytes");
    using namespace Layout;

    File f;
    f.CategoryCount = kInt32Max;
    QTest::newRow("category count max, nothing follows") << Encode(f);
    f = SampleFile();
    f.CategoryCount = kInt32Max;
    QTest::newRow("category count max, two follow") << Encode(f);
    f.CategoryCount = 3;
    QTest::newRow("category count one too many") << Encode(f);

    const auto withCategory = [](auto change) {
        File file = SampleFile();
        change(file.Categories[0]);
        return Encode(file);
    };
    for (int32_t count : {kInt32Max, 0x40000000, 0x10000000, 1000}) {
        QTest::addRow("element count %d", count)
            << withCategory([&](Category& c) { c.ElementCount = count; });
        QTest::addRow("column count %d", count) << withCategory([&](Category& c) { c.ColumnCount = count; });
        QTest::addRow("record count %d", count) << withCategory([&](Category& c) { c.RecordCount = count; });
        QTest::addRow("value count %d", count)
            << withCategory([&](Category& c) { c.Records[0].Count = count; });
    }

    const QByteArray marked = Encode(MarkedFile());
    {
        TDataFile check;
        QCOMPARE(Load(check, marked), QString());
    }
    for (const char* marker :
         {"@digest@", "@name@", "@kind@", "@caption@", "@font@", "@column@", "@value@"}) {
        for (int32_t length : {kInt32Max, int32_t(marked.size()), -1, kInt32Min})
            QTest::addRow("%s length %d", marker, length) << Layout::WithStringLength(marked, marker, length);
    }

    Bitmap manyColours = MakeBitmap(4, 3, 2, 16);
    manyColours.ColorsUsed = 0xFFFFFFFF;
    QTest::newRow("icon colours used 0xFFFFFFFF") << Encode(WithIcon(manyColours));
    Bitmap wide = MakeBitmap(24, 2, 2);
    wide.Width = kInt32Max;
    QTest::newRow("icon width max") << Encode(WithIcon(wide));
    Bitmap rle = MakeBitmap(8, 2, 2, 4);
    rle.Compression = 1;
    QTest::newRow("compressed icon swallows the rest") << Encode(WithIcon(rle));
}

void TestDataFormat::hostile() {
    QFETCH(QByteArray, bytes);
    TDataFile dataFile;
    QString outcome;
    const size_t largest = LargestAllocationDuring([&] { outcome = Load(dataFile, bytes); });
    QCOMPARE(outcome, kStreamReadErrorText);
    // Nothing the file claims is allocated before it has been measured against the bytes left.
    QVERIFY2(largest <= 4 * size_t(bytes.size()) + 4096, qPrintable(QString::number(largest)));
}

void TestDataFormat::failedLoadKeepsWhatWasRead() {
    const Layout::File sample = Layout::SampleFile();
    const QByteArray bytes = Layout::Encode(sample);
    TDataFile dataFile;
    QCOMPARE(Load(dataFile, bytes.left(bytes.size() - 1)), kStreamReadErrorText);
    QCOMPARE(Bytes(dataFile.PasswordDigest), sample.Digest);
    QCOMPARE(dataFile.LastCategoryID, sample.LastCategoryID);
    QVERIFY(!dataFile.Categories.empty());
    CompareCategory(*dataFile.Categories[0], sample.Categories[0]);
}

QTEST_GUILESS_MAIN(TestDataFormat)
#include "tst_format.moc"
