// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and hostile files fail with a clear error, never a crash or a huge allocation: zip
// bombs, missing parts, malformed XML, out-of-range string indexes, absurd cell references, zips
// and files that are no workbooks, repeats and shared strings that expand without end.

#include "WorkbookTestSupport.h"

#include "MinimalPackage.h"
#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/XlsxPackage.h"
#include "exchange/workbook/ZipPackage.h"

#include <QDir>
#include <QTemporaryDir>

namespace {
// Rewrites the sizes a zip's headers give for an entry, so the entry inflates to more than it claims.
QByteArray WithClaimedSize(QByteArray zip, const QByteArray& name, quint32 size) {
    for (const char* signature : {"PK\x03\x04", "PK\x01\x02"}) {
        const int nameOffset = signature[2] == 3 ? 30 : 46;
        const int sizeOffset = signature[2] == 3 ? 22 : 24;
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4))
            if (zip.mid(at + nameOffset, name.size()) == name)
                for (int i = 0; i < 4; ++i)
                    zip[at + sizeOffset + i] = char((size >> (8 * i)) & 0xFF);
    }
    return zip;
}

quint32 Crc32(const QByteArray& data) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A zip of the entries in order, each stored as it is: OpenDocument wants its mimetype entry so,
// first in the file.
QByteArray StoredZip(const QList<QPair<QByteArray, QByteArray>>& entries) {
    QByteArray zip, directory;
    auto put = [](QByteArray& into, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            into.append(char((value >> (8 * i)) & 0xFF));
    };
    for (const auto& [name, data] : entries) {
        QByteArray fields; // version, flags, method, time, date, crc, sizes, name length, extra length
        for (const quint32 value : {20u, 0u, 0u, 0u, 0u})
            put(fields, value, 2);
        for (const quint32 value : {Crc32(data), quint32(data.size()), quint32(data.size())})
            put(fields, value, 4);
        put(fields, quint32(name.size()), 2);
        put(fields, 0, 2);
        put(directory, 0x02014b50, 4);
        put(directory, 20, 2);
        directory += fields;
        for (int i = 0; i < 4; ++i) // comment length, disk, internal and external attributes
            put(directory, 0, i == 3 ? 4 : 2);
        put(directory, quint32(zip.size()), 4);
        directory += name;
        put(zip, 0x04034b50, 4);
        zip += fields + name + data;
    }
    const auto directoryOffset = quint32(zip.size());
    zip += directory;
    put(zip, 0x06054b50, 4);
    for (const quint32 value : {0u, 0u, quint32(entries.size()), quint32(entries.size())})
        put(zip, value, 2);
    put(zip, quint32(directory.size()), 4);
    put(zip, directoryOffset, 4);
    put(zip, 0, 2);
    return zip;
}

// An OpenDocument spreadsheet whose content holds the one table given.
QByteArray OdsPackage(const QByteArray& table) {
    return StoredZip(
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
         {"content.xml",
          "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
          "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
          "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>" +
              table + "</office:spreadsheet></office:body></office:document-content>"}});
}
} // namespace

class TestHostile : public QObject {
    Q_OBJECT

private slots:
    void Files_data();
    void Files();
    void NotAFile();
    void InflatingPastTheLimit();
    void TextBudget_data();
    void TextBudget();
    void SheetSyntax_data();
    void SheetSyntax();
};

void TestHostile::Files_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens"); // the failure comes when the worksheet is read

    QTest::newRow("sound package") << "ok.xlsx" << Package() << true;
    QTest::newRow("empty file") << "empty.xlsx" << QByteArray() << false;
    QTest::newRow("empty legacy file") << "empty.xls" << QByteArray() << false;
    QTest::newRow("text named xlsx") << "text.xlsx" << QByteArray("Name,City\r\n") << false;
    QTest::newRow("truncated zip") << "cut.xlsx" << Package().left(200) << false;
    QTest::newRow("zip that is no workbook") << "other.xlsx" << Package({{"_rels/.rels", {}}}) << false;
    QTest::newRow("workbook part missing") << "nobook.xlsx" << Package({{"xl/workbook.xml", {}}}) << false;
    QTest::newRow("malformed workbook")
        << "badbook.xlsx" << Package({{"xl/workbook.xml", "<workbook><sheets>"}}) << false;
    QTest::newRow("no sheets") << "nosheets.xlsx"
                               << Package({{"xl/workbook.xml", "<workbook><sheets/></workbook>"}}) << false;
    QTest::newRow("sheet without relationship")
        << "norel.xlsx" << Package({{"xl/workbook.xml", QByteArray(kWorkbook).replace("rId1", "rId9")}})
        << false;
    QTest::newRow("worksheet part missing")
        << "nosheet.xlsx" << Package({{"xl/worksheets/sheet1.xml", {}}}) << true;
    QTest::newRow("malformed worksheet")
        << "badsheet.xlsx" << Package({{"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row>"}}) << true;
    QTest::newRow("string index out of range")
        << "sst.xlsx"
        << Package({{"xl/worksheets/sheet1.xml", Sheet("<row><c r=\"A1\" t=\"s\"><v>1</v></c></row>")}})
        << true;
    QTest::newRow("negative string index")
        << "sst.xlsx"
        << Package({{"xl/worksheets/sheet1.xml", Sheet("<row><c r=\"A1\" t=\"s\"><v>-1</v></c></row>")}})
        << true;
    for (const char* reference : {"XFD1048577", "A0", "XFE1", "AAAA1", "1A", "A99999999999"})
        QTest::addRow("cell %s", reference)
            << "ref.xlsx"
            << Package(
                   {{"xl/worksheets/sheet1.xml", Sheet("<row><c r=\"" + QByteArray(reference) +
                                                       "\" t=\"inlineStr\"><is><t>x</t></is></c></row>")}})
            << true;
    QTest::newRow("row 0") << "row.xlsx" << Package({{"xl/worksheets/sheet1.xml", Sheet("<row r=\"0\"/>")}})
                           << true;
    QTest::newRow("entity expansion")
        << "laughs.xlsx"
        << Package({{"xl/worksheets/sheet1.xml",
                     "<!DOCTYPE w [<!ENTITY a "
                     "\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
                     "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                     "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                     "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>" +
                         Sheet("<row><c r=\"A1\" "
                               "t=\"inlineStr\"><is><t>&d;&d;&d;&d;&d;&d;&d;&d;</t></is></c></row>")}})
        << true;

    // A worksheet that claims 3 GiB is refused before it is inflated.
    QTest::newRow("claims gigabytes")
        << "claims.xlsx" << WithClaimedSize(Package(), "xl/worksheets/sheet1.xml", 3u << 30) << true;

    TZipWriter empty;
    empty.Put("mimetype", "application/vnd.oasis.opendocument.spreadsheet");
    QTest::newRow("ods without content") << "nocontent.ods" << empty.Finish() << false;
    QTest::newRow("xlsx named ods") << "ok.ods" << Package() << true;
    QTest::newRow("legacy signature, no workbook")
        << "fake.xls" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(600, '\x01') << false;
    QTest::newRow("csv wider than a sheet") << "wide.csv" << QByteArray(20000, ',') + "x" << false;
}

void TestHostile::Files() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    WriteFileBytes(path, bytes);
    std::unique_ptr<TWorkbook> workbook;
    const QString openError = WorkbookErrorOf([&] { workbook = TWorkbook::Open(path); });
    if (!opens) {
        QCOMPARE(
            openError,
            QStringLiteral("Cannot open \"%1\": it is not a workbook that Quillery can read.").arg(path));
        return;
    }
    QCOMPARE(openError, QString());
    QCOMPARE(workbook->ActiveSheet().Name(), QStringLiteral("Data"));
    const QString readError = WorkbookErrorOf([&] { workbook->ActiveSheet().CellText(1, 1); });
    if (name.startsWith(QLatin1String("ok."))) {
        QCOMPARE(readError, QString());
        QCOMPARE(workbook->ActiveSheet().CellText(1, 1), QStringLiteral("one"));
        return;
    }
    QCOMPARE(
        readError,
        QStringLiteral("Cannot read the worksheet \"Data\" in \"%1\": the workbook is damaged.").arg(path));
    // Asked again, it fails the same way.
    QCOMPARE(WorkbookErrorOf([&] { workbook->ActiveSheet().UsedRows(); }), readError);
}

void TestHostile::NotAFile() {
    QTemporaryDir folder;
    const QString directory = folder.filePath(QStringLiteral("folder.xlsx"));
    QVERIFY(QDir().mkpath(directory));
    QCOMPARE(WorkbookErrorOf([&] { TWorkbook::Open(directory); }),
             QStringLiteral("Cannot open \"%1\": it is a folder, not a workbook.").arg(directory));
    const QString missing = folder.filePath(QStringLiteral("missing.xlsx"));
    QCOMPARE(WorkbookErrorOf([&] { TWorkbook::Open(missing); }),
             QStringLiteral("Cannot open \"%1\": there is no such file.").arg(missing));
    const QString other = folder.filePath(QStringLiteral("notes.txt"));
    WriteFileBytes(other, "text");
    QCOMPARE(
        WorkbookErrorOf([&] { TWorkbook::Open(other); }),
        QStringLiteral("Cannot open \"%1\": Quillery reads workbooks whose names end in .xlsx, .xls, .ods or "
                       ".csv.")
            .arg(other));
}

void TestHostile::InflatingPastTheLimit() {
    // An entry that inflates to 64 MiB while its headers claim 100 bytes, read with a limit of
    // 1 MiB: the reader stops at the limit, however the entry lies about its size.
    const QByteArray bomb =
        WithClaimedSize(Package({{"xl/worksheets/sheet1.xml", Sheet(QByteArray(64 << 20, ' '))}}),
                        "xl/worksheets/sheet1.xml", 100);
    const TZipReader zip(bomb, 1 << 20);
    const int index = zip.Find(QStringLiteral("xl/worksheets/sheet1.xml"));
    QVERIFY(index >= 0);
    QVERIFY_THROWS_EXCEPTION(EDamagedPackage, zip.Read(index));
    TZipReader::TStream stream(zip, index);
    qsizetype total = 0;
    QVERIFY_THROWS_EXCEPTION(EDamagedPackage, [&] {
        for (QByteArray piece = stream.Next(); !piece.isEmpty(); piece = stream.Next())
            total += piece.size();
    }());
    QVERIFY(total <= 1 << 20);
    QVERIFY(total > 0);
}

void TestHostile::TextBudget_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("refusedWhen"); // "opening", "reading" the worksheet, or "" for never
    QTest::addColumn<QString>("text");        // of every cell, when read

    QTest::newRow("shared string of 32767 characters in 20000 cells")
        << "long.xlsx" << SharedStringPackage(QByteArray(32767, 'x'), 20, 1000) << "reading"
        << "";
    QTest::newRow("shared string of a million characters in 100 cells")
        << "longer.xlsx" << SharedStringPackage(QByteArray(1 << 20, 'y'), 1, 100) << "reading"
        << "";
    QTest::newRow("ods cell repeated across every row and column")
        << "repeat.ods"
        << OdsPackage(
               "<table:table table:name=\"T\"><table:table-row table:number-rows-repeated=\"1048576\">"
               "<table:table-cell table:number-columns-repeated=\"16384\" office:value-type=\"string\">"
               "<text:p>x</text:p></table:table-cell></table:table-row></table:table>")
        << "opening"
        << "";
    QTest::newRow("ods long text repeated down the rows")
        << "rows.ods"
        << OdsPackage("<table:table table:name=\"T\"><table:table-row table:number-rows-repeated=\"1048576\">"
                      "<table:table-cell><text:p>" +
                      QByteArray(100000, 'z') +
                      "</text:p></table:table-cell></table:table-row></table:table>")
        << "opening"
        << "";
    // Within the budget, every cell shows the string, which the worksheet holds once.
    QTest::newRow("shared string in 10000 cells")
        << "reused.xlsx" << SharedStringPackage("Reused \xc3\xa9 text", 100, 100) << ""
        << "Reused \u00e9 text";
}

void TestHostile::TextBudget() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, refusedWhen);
    QFETCH(QString, text);
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    WriteFileBytes(path, bytes);
    const QString tooLarge = QStringLiteral("\"%1\" is too large to import.").arg(path);
    std::unique_ptr<TWorkbook> workbook;
    const QString openError = WorkbookErrorOf([&] { workbook = TWorkbook::Open(path); });
    if (refusedWhen == QLatin1String("opening")) {
        QCOMPARE(openError, tooLarge);
        return;
    }
    QCOMPARE(openError, QString());
    const QString readError = WorkbookErrorOf([&] { workbook->ActiveSheet().UsedRows(); });
    if (refusedWhen == QLatin1String("reading")) {
        QCOMPARE(readError, tooLarge);
        // What was read before the refusal is let go: asked again, it is refused again.
        QCOMPARE(WorkbookErrorOf([&] { workbook->ActiveSheet().CellText(1, 1); }), tooLarge);
        return;
    }
    QCOMPARE(readError, QString());
    TWorksheet& sheet = workbook->ActiveSheet();
    QCOMPARE(sheet.UsedRows(), 100);
    QCOMPARE(sheet.UsedColumns(), 100);
    for (int row = 1; row <= 100; ++row)
        for (int column = 1; column <= 100; ++column)
            if (sheet.CellText(row, column) != text)
                QFAIL(qPrintable(QStringLiteral("row %1, column %2").arg(row).arg(column)));
    TCellGrid grid;
    TXlsxPackage(bytes).ReadWorksheet(QStringLiteral("xl/worksheets/sheet1.xml"), grid);
    QCOMPARE(grid.CellCount(), size_t(10000));
    QCOMPARE(grid.TextSize(), size_t(text.size()));
}

void TestHostile::SheetSyntax_data() {
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("text"); // of A1; empty: the worksheet is damaged
    const QByteArray main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    auto inlineCell = [](const QByteArray& inner) {
        return Sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + inner + "</t></is></c></row>");
    };
    QTest::newRow("references") << inlineCell("&lt;&amp;&gt;&quot;&apos;&#65;&#x42;&#10;") << "<&>\"'AB\r\n";
    QTest::newRow("character data") << inlineCell("<![CDATA[<&>]]>x") << "<&>x";
    QTest::newRow("comment and instruction") << inlineCell("a<!-- <c r=\"B1\"/> --><?pi x?>b") << "ab";
    QTest::newRow("CR LF in the file") << inlineCell("a\r\nb\rc") << "a\r\nb\r\nc";
    QTest::newRow("UTF-8") << inlineCell("Zo\xc3\xab \xe6\x9d\xb1 \xf0\x9f\x98\x80")
                           << QString::fromUtf8("Zo\u00eb \u6771 \U0001F600");
    QTest::newRow("prefixed names, single quotes, > in a value")
        << "<x:worksheet xmlns:x=\"" + main +
               "\"><x:sheetData><x:row r='1'><x:c r='A1' t='inlineStr' "
               "z='>'><x:is><x:t>p</x:t></x:is></x:c></x:row>"
               "</x:sheetData></x:worksheet>"
        << "p";
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") +
                                   QByteArray(reinterpret_cast<const char*>(
                                                  QString::fromLatin1(inlineCell("w")).utf16()),
                                              inlineCell("w").size() * 2)
                            << "w";
    QTest::newRow("declared encoding")
        << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + inlineCell("caf\xe9") << "caf\u00e9";
    QTest::newRow("unknown encoding")
        << "<?xml version=\"1.0\" encoding=\"x-none\"?>" + inlineCell("w") << "";
    QTest::newRow("declared entities")
        << "<!DOCTYPE worksheet [<!ENTITY b \"&#66;\"><!ENTITY abc \"a&b;c\"><!ELEMENT worksheet ANY>]>" +
               inlineCell("&abc;&abc;")
        << "aBcaBc";
    QTest::newRow("entity declared in itself")
        << "<!DOCTYPE worksheet [<!ENTITY e \"a&e;\">]>" + inlineCell("&e;") << "";
    QTest::newRow("unknown entity") << inlineCell("&nbsp;") << "";
    QTest::newRow("control character") << inlineCell("a\x01") << "";
    QTest::newRow("reference to a control character") << inlineCell("&#1;") << "";
    QTest::newRow("invalid UTF-8") << inlineCell("\xc3\x28") << "";
    QTest::newRow("end tags crossed") << Sheet("<row><c r=\"A1\"><v>1</row></c>") << "";
    QTest::newRow("unterminated tag") << QByteArray("<worksheet><sheetData><row") << "";
    QTest::newRow("unquoted attribute") << Sheet("<row r=1/>") << "";
    QTest::newRow("no root") << QByteArray("<?xml version=\"1.0\"?>") << "";
}

void TestHostile::SheetSyntax() {
    QFETCH(QByteArray, sheet);
    QFETCH(QString, text);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("syntax.xlsx"));
    WriteFileBytes(path, Package({{"xl/worksheets/sheet1.xml", sheet}}));
    const auto workbook = TWorkbook::Open(path);
    QString read;
    const QString error = WorkbookErrorOf([&] { read = workbook->ActiveSheet().CellText(1, 1); });
    QCOMPARE(error.isEmpty(), !text.isEmpty());
    QCOMPARE(read, text);
}

QTEST_GUILESS_MAIN(TestHostile)
#include "tst_hostile.moc"
