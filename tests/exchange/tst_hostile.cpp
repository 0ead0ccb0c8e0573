// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and hostile files fail with a clear error, never a crash or a huge allocation: zip
// bombs, missing parts, malformed XML, out-of-range string indexes, absurd cell references, zips
// and files that are no workbooks, repeats that expand without end.

#include "WorkbookTestSupport.h"

#include "MinimalPackage.h"
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
} // namespace

class TestHostile : public QObject {
    Q_OBJECT

private slots:
    void Files_data();
    void Files();
    void NotAFile();
    void InflatingPastTheLimit();
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

    // An OpenDocument sheet whose one cell repeats across every row and column.
    TZipWriter ods;
    ods.Put("mimetype", "application/vnd.oasis.opendocument.spreadsheet");
    ods.Put("content.xml",
            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
            "<table:table table:name=\"T\"><table:table-row table:number-rows-repeated=\"1048576\">"
            "<table:table-cell table:number-columns-repeated=\"16384\" office:value-type=\"string\"><text:p>x"
            "</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
            "</office:document-content>");
    QTest::newRow("ods repeats without end") << "repeat.ods" << ods.Finish() << false;
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
