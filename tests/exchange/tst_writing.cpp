// SPDX-License-Identifier: GPL-3.0-or-later
// Writing workbooks: values reach the file as exactly their characters and read back the same, a
// worksheet added to an existing workbook leaves every other part byte for byte, names follow the
// format's rules, and a save that fails leaves the old file as it was.

#include "WorkbookTestSupport.h"

#include "exchange/workbook/ZipPackage.h"
#include "support/ActingUser.h"

#include <QDir>
#include <QTemporaryDir>

#include <zip.h>

namespace {
QString Long(int length) {
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(u'a' + i % 26));
    return text;
}

// Every entry's name with its stored (compressed) size, CRC and inflated bytes.
QMap<QString, QByteArray> ZipEntries(const QString& path) {
    QMap<QString, QByteArray> entries;
    const QByteArray bytes = FileBytes(path);
    const TZipReader zip(bytes);
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, nullptr);
    zip_t* raw = zip_open_from_source(source, ZIP_RDONLY, nullptr);
    for (int i = 0; i < zip.EntryCount(); ++i) {
        zip_stat_t stat;
        zip_stat_index(raw, zip_uint64_t(i), 0, &stat);
        entries.insert(zip.EntryName(i), QByteArray::number(qulonglong(stat.comp_size)) + "/" +
                                             QByteArray::number(stat.crc) + "/" +
                                             QByteArray::number(stat.comp_method) + "/" + zip.Read(i));
    }
    zip_discard(raw);
    return entries;
}
} // namespace

class TestWriting : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(FFolder.isValid()); }
    void RoundTrip_data();
    void RoundTrip();
    void LoneLineFeedReadsAsCrLf();
    void SheetXmlBytes_data();
    void SheetXmlBytes();
    void CsvBytes();
    void NewWorkbookSheetsAndActive();
    void AddSheetKeepsOtherParts_data();
    void AddSheetKeepsOtherParts();
    void SheetNames_data();
    void SheetNames();
    void DuplicateNames();
    void FailedSaveKeepsFile_data();
    void FailedSaveKeepsFile();
    void ChangedByAnotherProgram();
    void Refusals_data();
    void Refusals();
    void CsvExportReplacesFile();
    void Limits_data();
    void Limits();

private:
    QString Path(const QString& name) const { return FFolder.filePath(name); }
    QString CopyOfFixture(const QString& name) {
        const QString copy = Path(name);
        QFile::remove(copy);
        if (!QFile::copy(WorkbookFixture(name), copy))
            qFatal("cannot copy fixture");
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    QTemporaryDir FFolder;
};

void TestWriting::RoundTrip_data() {
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("value");
    const QList<QPair<const char*, QString>> values = {
        {"formula", "=1+1"},
        {"hyperlink", "=HYPERLINK(\"http://x\",\"y\")"},
        {"plus", "+1"},
        {"at", "@x"},
        {"leading zeros", "007"},
        {"blanks", "  both ends  "},
        {"line breaks", "one\r\ntwo\r\n"},
        {"lone CR", "a\rb"},
        {"tab", "a\tb"},
        {"control characters", QString::fromUtf16(u"\u0001\u001f\u0000x\u000b")},
        {"escape look-alike", "_x0041_"},
        {"escaped underscore look-alike", "_x005F_x0041_"},
        {"xml specials", "<a href=\"x\">&amp;</a>"},
        {"csv specials", "a,b;c\"d\""},
        {"non-Latin",
         QString::fromUtf8("\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u6771\u4eac \U0001F600")},
        {"noncharacter", QString::fromUtf16(u"\uFFFE\uFFFF")},
        {"longest cell", Long(32767)},
    };
    for (const char* extension : {"xlsx", "csv"})
        for (const auto& value : values)
            QTest::addRow("%s %s", extension, value.first) << QString::fromLatin1(extension) << value.second;
}

void TestWriting::RoundTrip() {
    QFETCH(QString, extension);
    QFETCH(QString, value);
    const QString path = Path(QStringLiteral("round.") + extension);
    {
        const auto workbook = TWorkbook::Add();
        TWorksheet& sheet = workbook->ActiveSheet();
        sheet.SetName(QStringLiteral("round"));
        sheet.SetHeadingStyle(1, 1);
        sheet.SetCellText(1, 1, QStringLiteral("Value"));
        sheet.SetCellText(2, 1, value);
        sheet.SetCellText(3, 2, value);
        workbook->SaveAs(path);
        workbook->Close();
    }
    const auto reread = TWorkbook::Open(path);
    TWorksheet& sheet = reread->ActiveSheet();
    QCOMPARE(sheet.CellText(1, 1), QStringLiteral("Value"));
    QCOMPARE(sheet.CellText(2, 1), value);
    QCOMPARE(sheet.CellText(3, 2), value);
    QCOMPARE(sheet.CellText(2, 2), QString());
    QCOMPARE(sheet.UsedRows(), 3);
    QCOMPARE(sheet.UsedColumns(), 2);
}

void TestWriting::LoneLineFeedReadsAsCrLf() {
    for (const QString& name : {QStringLiteral("lf.xlsx"), QStringLiteral("lf.csv")}) {
        const auto workbook = TWorkbook::Add();
        workbook->ActiveSheet().SetCellText(1, 1, QStringLiteral("one\ntwo"));
        workbook->SaveAs(Path(name));
        QCOMPARE(TWorkbook::Open(Path(name))->ActiveSheet().CellText(1, 1), QStringLiteral("one\r\ntwo"));
    }
}

void TestWriting::SheetXmlBytes_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("cell"); // C3 as the worksheet part holds it
    const QByteArray open = "<c r=\"C3\" t=\"inlineStr\"><is><t>";
    const QByteArray kept = "<c r=\"C3\" t=\"inlineStr\"><is><t xml:space=\"preserve\">";
    const QByteArray close = "</t></is></c>";
    QTest::newRow("plain") << "Dune" << open + "Dune" + close;
    QTest::newRow("markup") << "a&b<c>\"d\"" << open + "a&amp;b&lt;c&gt;\"d\"" + close;
    QTest::newRow("blank at either end") << " two " << kept + " two " + close;
    QTest::newRow("line breaks") << "one\r\ntwo\nthree" << open + "one\ntwo\nthree" + close;
    QTest::newRow("control character") << QStringLiteral("a\u0001b") << open + "a_x0001_b" + close;
    QTest::newRow("literal escape") << "_x0041_" << open + "_x005F_x0041_" + close;
    QTest::newRow("beyond the basic plane")
        << QStringLiteral("\U0001F600 \u00e9") << open + "\xF0\x9F\x98\x80 \xC3\xA9" + close;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << open + "_xD800_" + close;
}

// The worksheet part, written row by row, byte for byte: headings in their format (an empty one
// too), rows without cells left out, every value an inline text.
void TestWriting::SheetXmlBytes() {
    QFETCH(QString, value);
    QFETCH(QByteArray, cell);
    const auto workbook = TWorkbook::Add();
    TWorksheet& sheet = workbook->ActiveSheet();
    sheet.SetHeadingStyle(1, 1);
    sheet.SetCellText(1, 1, QStringLiteral("Name"));
    sheet.SetHeadingStyle(1, 2);
    sheet.SetCellText(2, 2, QString());
    sheet.SetCellText(3, 3, value);
    const QString path = Path(QStringLiteral("cells.xlsx"));
    workbook->SaveAs(path);
    const TZipReader zip(FileBytes(path));
    QCOMPARE(
        zip.Read(zip.Find(QStringLiteral("xl/worksheets/sheet1.xml"))),
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><dimension "
        "ref=\"A1:C3\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
        "<sheetData><row r=\"1\"><c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>Name</t></is></c><c r=\"B1\" "
        "s=\"1\"/></row><row r=\"3\">" +
            cell + "</row></sheetData></worksheet>");
}

void TestWriting::CsvBytes() {
    const auto workbook = TWorkbook::Add();
    TWorksheet& sheet = workbook->ActiveSheet();
    sheet.SetName(QStringLiteral("Books"));
    sheet.SetCellText(1, 1, QStringLiteral("Title"));
    sheet.SetCellText(1, 3, QStringLiteral("Note"));
    sheet.SetCellText(2, 1, QString::fromUtf8("Zo\u00eb"));
    sheet.SetCellText(2, 3, QStringLiteral("say \"hi\", twice\r\nthen"));
    sheet.SetCellText(4, 2, QStringLiteral(" =1+1"));
    workbook->SaveAs(Path(QStringLiteral("books.csv")));
    QCOMPARE(
        FileBytes(Path(QStringLiteral("books.csv"))),
        QByteArray("Title,,Note\r\nZo\xc3\xab,,\"say \"\"hi\"\", twice\r\nthen\"\r\n,,\r\n,\" =1+1\",\r\n"));
}

void TestWriting::NewWorkbookSheetsAndActive() {
    const auto workbook = TWorkbook::Add();
    QCOMPARE(workbook->SheetCount(), 1);
    QCOMPARE(workbook->ActiveSheet().Name(), QStringLiteral("Sheet1"));
    TWorksheet& added = workbook->AddSheet();
    QCOMPARE(added.Name(), QStringLiteral("Sheet2"));
    QCOMPARE(&workbook->ActiveSheet(), &added);
    added.SetName(QStringLiteral("Books"));
    added.SetCellText(1, 1, QStringLiteral("x"));
    QCOMPARE(workbook->AddSheet().Name(), QStringLiteral("Sheet3"));
    workbook->Sheet(3).SetName(QStringLiteral("Sheet2"));
    workbook->SaveAs(Path(QStringLiteral("NEW.XLSX")));
    const auto reread = TWorkbook::Open(Path(QStringLiteral("NEW.XLSX")));
    QCOMPARE(reread->SheetCount(), 3);
    QCOMPARE(reread->Sheet(2).Name(), QStringLiteral("Books"));
    QCOMPARE(reread->ActiveSheet().Name(), QStringLiteral("Sheet2"));
    QCOMPARE(reread->Sheet(QStringLiteral("BOOKS")).CellText(1, 1), QStringLiteral("x"));
    QCOMPARE(reread->Sheet(1).UsedRows(), 0);
}

void TestWriting::AddSheetKeepsOtherParts_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QStringList>("changed");
    const QStringList excelLayout = {"[Content_Types].xml", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                     "xl/styles.xml", "docProps/app.xml"};
    QTest::newRow("LibreOffice, chart and hidden sheet") << "chart-lo.xlsx" << excelLayout;
    QTest::newRow("openpyxl, chart sheet") << "chart.xlsx" << excelLayout;
    QTest::newRow("LibreOffice, three sheets") << "cells.xlsx" << excelLayout;
    QTest::newRow("openpyxl, several") << "several.xlsx" << excelLayout;
    QTest::newRow("LibreOffice, 1904 dates") << "dates1904-lo.xlsx" << excelLayout;
}

void TestWriting::AddSheetKeepsOtherParts() {
    QFETCH(QString, fixture);
    QFETCH(QStringList, changed);
    const QString path = CopyOfFixture(fixture);
    const QMap<QString, QByteArray> before = ZipEntries(path);
    QStringList names, firstSheetTexts;
    {
        const auto workbook = TWorkbook::Open(path);
        for (int i = 1; i <= workbook->SheetCount(); ++i)
            names.append(workbook->Sheet(i).Name());
        for (int column = 1; column <= 3; ++column)
            firstSheetTexts.append(workbook->Sheet(1).CellText(2, column));
        TWorksheet& sheet = workbook->AddSheet();
        sheet.SetName(QStringLiteral("Books"));
        sheet.SetHeadingStyle(1, 1);
        sheet.SetCellText(1, 1, QStringLiteral("Title"));
        sheet.SetCellText(2, 1, QStringLiteral("=1+1"));
        workbook->Save();
        workbook->Close();
    }
    const QMap<QString, QByteArray> after = ZipEntries(path);
    int added = 0;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!before.contains(it.key())) {
            ++added;
            continue;
        }
        if (!changed.contains(it.key()))
            QVERIFY2(before.value(it.key()) == it.value(), qPrintable(it.key() + " changed"));
    }
    QCOMPARE(added, 1); // the new worksheet's part
    for (const QString& name : before.keys())
        QVERIFY2(after.contains(name), qPrintable(name + " is missing"));

    const auto reread = TWorkbook::Open(path);
    QStringList namesAfter;
    for (int i = 1; i <= reread->SheetCount(); ++i)
        namesAfter.append(reread->Sheet(i).Name());
    QCOMPARE(namesAfter, names + QStringList{"Books"});
    QCOMPARE(reread->Sheet(QStringLiteral("Books")).CellText(2, 1), QStringLiteral("=1+1"));
    QStringList firstSheetAfter;
    for (int column = 1; column <= 3; ++column)
        firstSheetAfter.append(reread->Sheet(1).CellText(2, column));
    QCOMPARE(firstSheetAfter, firstSheetTexts);
}

void TestWriting::SheetNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("plain") << "Books"
                           << "";
    QTest::newRow("31 characters") << Long(31) << "";
    QTest::newRow("inner apostrophe") << "Tom's books"
                                      << "";
    QTest::newRow("non-Latin") << QString::fromUtf8("\u66f8\u7c4d") << "";
    QTest::newRow("blanks and punctuation") << " a-b (c) ! "
                                            << "";
    QTest::newRow("empty") << ""
                           << "a worksheet name cannot be empty";
    QTest::newRow("32 characters") << Long(32) << "a worksheet name has at most 31 characters";
    for (const char* bad : {"[", "]", ":", "*", "?", "/", "\\"})
        QTest::addRow("holds %s", bad) << QStringLiteral("a%1b").arg(QLatin1String(bad))
                                       << "a worksheet name cannot hold any of [ ] : * ? / \\";
    QTest::newRow("leading apostrophe") << "'Books"
                                        << "a worksheet name cannot begin or end with an apostrophe";
    QTest::newRow("trailing apostrophe") << "Books'"
                                         << "a worksheet name cannot begin or end with an apostrophe";
    QTest::newRow("line break") << "a\nb"
                                << "a worksheet name cannot hold control characters";
}

void TestWriting::SheetNames() {
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const auto workbook = TWorkbook::Add();
    TWorksheet& sheet = workbook->ActiveSheet();
    const QString error = WorkbookErrorOf([&] { sheet.SetName(name); });
    if (problem.isEmpty()) {
        QCOMPARE(error, QString());
        QCOMPARE(sheet.Name(), name);
    } else {
        QCOMPARE(error, QStringLiteral("\"%1\" cannot be the name of a worksheet: %2.").arg(name, problem));
        QCOMPARE(sheet.Name(), QStringLiteral("Sheet1"));
    }
}

void TestWriting::DuplicateNames() {
    const auto workbook = TWorkbook::Add();
    workbook->ActiveSheet().SetName(QStringLiteral("Books"));
    workbook->ActiveSheet().SetName(QStringLiteral("BOOKS")); // its own name in other letters
    TWorksheet& second = workbook->AddSheet();
    QCOMPARE(WorkbookErrorOf([&] { second.SetName(QStringLiteral("books")); }),
             QStringLiteral("A worksheet named \"books\" already exists in the new workbook."));

    const QString path = CopyOfFixture(QStringLiteral("chart.xlsx"));
    const auto opened = TWorkbook::Open(path);
    TWorksheet& added = opened->AddSheet();
    QCOMPARE(added.Name(), QStringLiteral("Sheet4")); // Data, Chart and Hidden are taken
    // A chart sheet's name is taken too, though it is no worksheet.
    QCOMPARE(WorkbookErrorOf([&] { added.SetName(QStringLiteral("CHART")); }),
             QStringLiteral("A worksheet named \"CHART\" already exists in \"%1\".").arg(path));
    QCOMPARE(WorkbookErrorOf([&] { added.SetName(QStringLiteral("hidden")); }),
             QStringLiteral("A worksheet named \"hidden\" already exists in \"%1\".").arg(path));
}

void TestWriting::FailedSaveKeepsFile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("folder does not exist") << "missing folder";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("text too long for a cell") << "too long";
    QTest::newRow("a folder in the way") << "folder";
}

void TestWriting::FailedSaveKeepsFile() {
    QFETCH(QString, how);
    const QDir folder(Path(how));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    const QString existing = folder.filePath(QStringLiteral("books.xlsx"));
    QVERIFY(QFile::copy(WorkbookFixture(QStringLiteral("several.xlsx")), existing));
    const QByteArray original = FileBytes(existing);

    const auto workbook = TWorkbook::Open(existing);
    TWorksheet& sheet = workbook->AddSheet();
    sheet.SetCellText(1, 1, QStringLiteral("new"));
    QString target = existing;
    QString expected;
    if (how == QLatin1String("missing folder")) {
        target = folder.filePath(QStringLiteral("nowhere/books.xlsx"));
    } else if (how == QLatin1String("read-only folder")) {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    } else if (how == QLatin1String("too long")) {
        sheet.SetCellText(7, 2, Long(32768));
        expected =
            QStringLiteral("Cannot save \"%1\": the text of cell B7 in the worksheet \"Sheet4\" has 32768 "
                           "characters, more than the 32767 a cell can hold.")
                .arg(existing);
    } else {
        target = folder.filePath(QStringLiteral("in-the-way.xlsx"));
        QVERIFY(QDir(folder).mkdir(QStringLiteral("in-the-way.xlsx")));
    }
    QVERIFY(GiveToUnprivilegedUser(FFolder.path()));
    QString error;
    {
        const TActingUser plainUser;
        if (!plainUser.Problem().isEmpty())
            QSKIP(qPrintable(plainUser.Problem()));
        error = WorkbookErrorOf([&] { target == existing ? workbook->Save() : workbook->SaveAs(target); });
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(error.startsWith(QStringLiteral("Cannot save \"%1\": ").arg(target)));
    if (!expected.isEmpty())
        QCOMPARE(error, expected);
    QCOMPARE(FileBytes(existing), original);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"books.xlsx"});
}

void TestWriting::ChangedByAnotherProgram() {
    const QString path = CopyOfFixture(QStringLiteral("several.xlsx"));
    const auto workbook = TWorkbook::Open(path);
    workbook->AddSheet().SetCellText(1, 1, QStringLiteral("mine"));
    const QByteArray theirs = FileBytes(WorkbookFixture(QStringLiteral("chart.xlsx")));
    WriteFileBytes(path, theirs);
    QCOMPARE(
        WorkbookErrorOf([&] { workbook->Save(); }),
        QStringLiteral("Cannot save \"%1\": another program changed it after Quillery opened it.").arg(path));
    QCOMPARE(FileBytes(path), theirs);
}

void TestWriting::Refusals_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("expected"); // %1 is the copy's path
    const QString readOnly = "Quillery can read \"%1\" but not write to it: export to a .xlsx file instead.";
    QTest::newRow("add to xls") << "cells.xls"
                                << "add" << readOnly;
    QTest::newRow("add to ods") << "cells.ods"
                                << "add" << readOnly;
    QTest::newRow("save xls") << "cells.xls"
                              << "save" << readOnly;
    QTest::newRow("add to csv") << "utf8.csv"
                                << "add"
                                << "A .csv file holds a single worksheet: Quillery cannot add one to \"%1\".";
    QTest::newRow("write an existing worksheet") << "several.xlsx"
                                                 << "write"
                                                 << "The worksheet \"Second\" in \"%1\" was already there: "
                                                    "Quillery only writes to worksheets it adds.";
    QTest::newRow("rename an existing worksheet") << "several.xlsx"
                                                  << "rename"
                                                  << "The worksheet \"Second\" in \"%1\" was already there: "
                                                     "Quillery only writes to worksheets it adds.";
    QTest::newRow("save as ods")
        << "several.xlsx"
        << "save as ods"
        << "Cannot save \"%1.ods\": Quillery writes workbooks as .xlsx or .csv files.";
    QTest::newRow("sheet 0") << "several.xlsx"
                             << "sheet 0"
                             << "There is no worksheet 0 in \"%1\".";
    QTest::newRow("sheet 4") << "several.xlsx"
                             << "sheet 4"
                             << "There is no worksheet 4 in \"%1\".";
    QTest::newRow("sheet by name") << "several.xlsx"
                                   << "sheet Fourth"
                                   << "There is no worksheet named \"Fourth\" in \"%1\".";
    QTest::newRow("cell 0")
        << "several.xlsx"
        << "cell 0"
        << "There is no cell at row 0, column 1: a worksheet has rows 1 to 1048576 and columns 1 "
           "to 16384.";
    QTest::newRow("closed") << "several.xlsx"
                            << "closed"
                            << "The workbook is closed.";
}

void TestWriting::Refusals() {
    QFETCH(QString, fixture);
    QFETCH(QString, call);
    QFETCH(QString, expected);
    const QString path = CopyOfFixture(fixture);
    const QByteArray original = FileBytes(path);
    const auto workbook = TWorkbook::Open(path);
    const QString error = WorkbookErrorOf([&] {
        if (call == QLatin1String("add"))
            workbook->AddSheet();
        else if (call == QLatin1String("save"))
            workbook->Save();
        else if (call == QLatin1String("write"))
            workbook->ActiveSheet().SetCellText(1, 1, QStringLiteral("x"));
        else if (call == QLatin1String("rename"))
            workbook->ActiveSheet().SetName(QStringLiteral("Other"));
        else if (call == QLatin1String("save as ods"))
            workbook->SaveAs(path + QStringLiteral(".ods"));
        else if (call.startsWith(QLatin1String("sheet ")) && call.back().isDigit())
            workbook->Sheet(call.back().digitValue());
        else if (call.startsWith(QLatin1String("sheet ")))
            workbook->Sheet(call.mid(6));
        else if (call == QLatin1String("cell 0"))
            workbook->ActiveSheet().CellText(0, 1);
        else {
            TWorksheet& sheet = workbook->ActiveSheet();
            workbook->Close();
            sheet.CellText(1, 1);
        }
    });
    QCOMPARE(error, expected.contains(QLatin1String("%1")) ? expected.arg(path) : expected);
    QCOMPARE(FileBytes(path), original);
}

void TestWriting::CsvExportReplacesFile() {
    // A .csv workbook cannot take a second worksheet; the export replaces the file instead.
    const QString path = CopyOfFixture(QStringLiteral("semicolon.csv"));
    QVERIFY(!WorkbookErrorOf([&] { TWorkbook::Open(path)->AddSheet(); }).isEmpty());
    const auto workbook = TWorkbook::Add();
    workbook->ActiveSheet().SetName(QStringLiteral("Books"));
    workbook->ActiveSheet().SetCellText(1, 1, QStringLiteral("Title"));
    workbook->SaveAs(path);
    QCOMPARE(FileBytes(path), QByteArray("Title\r\n"));
    QCOMPARE(TWorkbook::Open(path)->ActiveSheet().Name(), QStringLiteral("semicolon"));
}

void TestWriting::Limits_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("xls") << "/x/a.xls" << 65536 << 256;
    QTest::newRow("XLS") << "/x/A.XLS" << 65536 << 256;
    QTest::newRow("xlsx") << "/x/a.xlsx" << 1048576 << 16384;
    QTest::newRow("ods") << "/x/a.ods" << 1048576 << 16384;
    QTest::newRow("csv") << "/x/a.csv" << 1048576 << 16384;
}

void TestWriting::Limits() {
    QFETCH(QString, path);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QCOMPARE(MaxWorkbookRows(WorkbookFormatOf(path)), rows);
    QCOMPARE(MaxWorkbookColumns(WorkbookFormatOf(path)), columns);
    const auto workbook = TWorkbook::Add();
    workbook->ActiveSheet().SetCellText(1048576, 16384, QStringLiteral("corner"));
    QVERIFY(!WorkbookErrorOf([&] {
                 workbook->ActiveSheet().SetCellText(1048577, 1, QStringLiteral("x"));
             }).isEmpty());
    QCOMPARE(workbook->ActiveSheet().CellText(1048576, 16384), QStringLiteral("corner"));
}

QTEST_GUILESS_MAIN(TestWriting)
#include "tst_writing.moc"
