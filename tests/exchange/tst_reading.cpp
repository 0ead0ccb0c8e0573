// SPDX-License-Identifier: GPL-3.0-or-later
// Cells as the import reads them, from workbooks that spreadsheet programs wrote: LibreOffice's
// .xlsx, .xls and .ods from one source, openpyxl's .xlsx, and CSV in the encodings and separators
// people meet; one cell of each kind giving the same text in every format; password-protected
// workbooks refused in words.

#include "WorkbookTestSupport.h"

#include <QTemporaryDir>

class TestReading : public QObject {
    Q_OBJECT

private slots:
    void Cells_data();
    void Cells();
    void SameTextInEveryFormat_data();
    void SameTextInEveryFormat();
    void PasswordProtected_data();
    void PasswordProtected();
    void SheetLists_data();
    void SheetLists();
    void EmptyCornerAndRange();
    void CsvFiles_data();
    void CsvFiles();
};

void TestReading::Cells_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");

    // Column B of the sheet "Values" of cells.fods, as every format LibreOffice wrote it gives it.
    const struct {
        int Row;
        const char* Text;
    } values[] = {
        {1, "Hello"},
        {2, "Bold and plain"},
        {3, "3"},
        {4, "0.1"},
        {5, "2001.5"},
        {6, "-7"},
        {7, "2026-12-07"},
        {8, "2020-02-29 13:45:00"},
        {9, "13:45:00"},
        {10, "TRUE"},
        {11, "FALSE"},
        {12, "6"},
        {13, "abcd"},
        {14, "#DIV/0!"},
        {15, "#N/A"},
        {16, "one\r\ntwo"},
        {17, "  padded  "},
        {18, "0.25"},
        {19, "1234567.891"},
        {20, "Zo\u00eb \u00c5ngstr\u00f6m, \u6771\u4eac"},
        {21, "2026-12-08"}, // a formula's result under a date format
    };
    for (const char* file : {"cells.xlsx", "cells.xls", "cells.ods"})
        for (const auto& value : values)
            QTest::addRow("%s B%d", file, value.Row)
                << QString::fromLatin1(file) << "Values" << value.Row << QString::fromUtf8(value.Text);

    // Dates under built-in and custom formats, in both date systems, from openpyxl and LibreOffice.
    const struct {
        int Row;
        const char* Text;
    } dates[] = {
        {1, "2026-12-07"}, {2, "2020-02-29 13:45:00"},
        {3, "13:45:00"},   {4, "2020-02-29 13:45:00"},
        {5, "2026-12-07"}, {6, "45000"},
        {7, "60:00:00"},   {8, "1.5"},
    };
    for (const char* file :
         {"dates1900.xlsx", "dates1904.xlsx", "dates1904-lo.xlsx", "dates1904.ods", "dates1904.xls"})
        for (const auto& date : dates)
            // libfreexl shows an elapsed time past a day as the time of day alone.
            if (file != QLatin1String("dates1904.xls") || date.Row != 7)
                QTest::addRow("%s A%d", file, date.Row)
                    << QString::fromLatin1(file) << "Dates" << date.Row << QString::fromUtf8(date.Text);
}

void TestReading::Cells() {
    QFETCH(QString, file);
    QFETCH(QString, sheet);
    QFETCH(int, row);
    QFETCH(QString, expected);
    const auto workbook = TWorkbook::Open(WorkbookFixture(file));
    const int column = sheet == QLatin1String("Values") ? 2 : 1;
    QCOMPARE(workbook->Sheet(sheet).CellText(row, column), expected);
}

void TestReading::SameTextInEveryFormat_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");

    // Column B of general.fods (LibreOffice's .xlsx, .xls, .ods and .csv) and of the same cells as
    // openpyxl writes them. A .csv holds no values, only the texts that the spreadsheet wrote,
    // and those are read unchanged: where they differ from the value's text, csv says so.
    const struct {
        int Row;
        const char* Text;
        const char* Csv;
    } cells[] = {
        {1, "100000", "1.00E+05"}, // under the format 0.00E+00
        {2, "0.3", nullptr},       // =0.1+0.2
        {3, "1.23456789012346E+19", "1.23456789012346E+019"},
        {4, "0.00001", nullptr},
        {5, "0.00001234", nullptr},
        {6, "-1.23E-06", "-0.00000123"},
        {7, "1.23456789012346E+17", "1.23456789012346E+017"}, // 123456789012345678
        {8, "999999999999999", nullptr},
        {9, "1E+15", "1000000000000000"},
        {10, "-2.5", nullptr},
        {11, "0.333333333333333", nullptr},  // =1/3
        {12, "1234567.891", "1,234,567.89"}, // under the format #,##0.00
        {13, "0", nullptr},
        {14, "TRUE", nullptr},  // =TRUE()
        {15, "FALSE", nullptr}, // =FALSE()
        {16, "2026-12-07", nullptr},
        {17, "13:45:00", nullptr},
        {18, "2020-02-29 13:45:00", nullptr},
        {19, "#DIV/0!", nullptr}, // =1/0
        {20, "007", nullptr},     // text
    };
    for (const char* file :
         {"general-openpyxl.xlsx", "general.xlsx", "general.xls", "general.ods", "general.csv"}) {
        const bool csv = QByteArray(file).endsWith(".csv");
        for (const auto& cell : cells)
            QTest::addRow("%s B%d", file, cell.Row)
                << QString::fromLatin1(file) << cell.Row
                << QString::fromLatin1(csv && cell.Csv ? cell.Csv : cell.Text);
    }
}

void TestReading::SameTextInEveryFormat() {
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(QString, expected);
    const auto workbook = TWorkbook::Open(WorkbookFixture(file));
    QCOMPARE(workbook->ActiveSheet().CellText(row, 2), expected);
}

void TestReading::PasswordProtected_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("savedAs"); // the name of the copy that is opened
    // An encrypted .xlsx is a compound file holding the encrypted package; an .xls has a FILEPASS
    // record; an .ods lists how its parts were encrypted.
    QTest::newRow("xlsx") << "password.xlsx"
                          << "locked.xlsx";
    QTest::newRow("xls") << "password.xls"
                         << "locked.xls";
    QTest::newRow("ods") << "password.ods"
                         << "locked.ods";
    // A workbook is read by what it holds, whatever its extension says.
    QTest::newRow("xlsx named .xls") << "password.xlsx"
                                     << "locked.xls";
}

void TestReading::PasswordProtected() {
    QFETCH(QString, file);
    QFETCH(QString, savedAs);
    QTemporaryDir dir;
    const QString path = dir.filePath(savedAs);
    WriteFileBytes(path, FileBytes(WorkbookFixture(file)));
    QCOMPARE(WorkbookErrorOf([&path] { TWorkbook::Open(path); }),
             QStringLiteral("\"%1\" is protected by a password. Remove the password in the spreadsheet "
                            "program and try again.")
                 .arg(path));
}

void TestReading::SheetLists_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("active");
    const QStringList cells = {"Values", "Corner", "Hidden"};
    QTest::newRow("xlsx") << "cells.xlsx" << cells << "Values";
    QTest::newRow("xls") << "cells.xls" << cells << "Values";
    QTest::newRow("ods") << "cells.ods" << cells << "Values";
    // A chart sheet is no worksheet; a hidden worksheet is one.
    QTest::newRow("chart sheet") << "chart.xlsx" << QStringList{"Data", "Hidden"} << "Data";
    QTest::newRow("several, second active")
        << "several.xlsx" << QStringList{"First", "Second", "Third"} << "Second";
    QTest::newRow("csv named after the file") << "utf8-bom.csv" << QStringList{"utf8-bom"} << "utf8-bom";
}

void TestReading::SheetLists() {
    QFETCH(QString, file);
    QFETCH(QStringList, names);
    QFETCH(QString, active);
    const auto workbook = TWorkbook::Open(WorkbookFixture(file));
    QStringList read;
    for (int i = 1; i <= workbook->SheetCount(); ++i)
        read.append(workbook->Sheet(i).Name());
    QCOMPARE(read, names);
    QCOMPARE(workbook->ActiveSheet().Name(), active);
    QCOMPARE(&workbook->Sheet(active.toUpper()), &workbook->ActiveSheet());
}

void TestReading::EmptyCornerAndRange() {
    for (const char* file : {"cells.xlsx", "cells.xls", "cells.ods"}) {
        const auto workbook = TWorkbook::Open(WorkbookFixture(QString::fromLatin1(file)));
        TWorksheet& corner = workbook->Sheet(QStringLiteral("Corner"));
        QCOMPARE(corner.CellText(1, 1), QString());
        QCOMPARE(corner.CellText(2, 2), QString());
        QCOMPARE(corner.CellText(2, 3), QStringLiteral("Name"));
        QCOMPARE(corner.CellText(3, 5), QStringLiteral("36"));
        // A repeated row and a repeated cell stand for each row and cell they cover.
        QCOMPARE(corner.CellText(5, 3), QStringLiteral("Same"));
        QCOMPARE(corner.CellText(5, 5), QStringLiteral("twice"));
        QCOMPARE(corner.UsedRows(), 5);
        QCOMPARE(corner.UsedColumns(), 5);
        QCOMPARE(corner.CellText(65535, 250), QString());
        QCOMPARE(workbook->Sheet(QStringLiteral("Hidden")).CellText(1, 1), QStringLiteral("secret"));
    }
}

void TestReading::CsvFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");
    for (const char* file : {"utf8.csv", "utf8-bom.csv"}) {
        QTest::addRow("%s first", file) << file << 1 << 1 << "Name";
        QTest::addRow("%s accents", file) << file << 2 << 1 << "Zo\u00eb";
        QTest::addRow("%s quoted separator", file) << file << 2 << 3 << "a, b";
        QTest::addRow("%s line break", file) << file << 3 << 2 << "Line one\r\nLine two";
        QTest::addRow("%s doubled quotes", file) << file << 3 << 3 << "say \"hi\"";
    }
    QTest::newRow("windows-1252") << "cp1252.csv" << 3 << 1 << "\u20acuro";
    QTest::newRow("windows-1252 accents") << "cp1252.csv" << 2 << 2 << "K\u00f6ln";
    QTest::newRow("semicolon") << "semicolon.csv" << 2 << 3 << "a, b";
    QTest::newRow("tab") << "tab.csv" << 2 << 3 << "a; b";
    QTest::newRow("LibreOffice's csv") << "cells.csv" << 16 << 2 << "one\r\ntwo";
    QTest::newRow("LibreOffice's csv, past the end") << "cells.csv" << 22 << 1 << "";
}

void TestReading::CsvFiles() {
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, expected);
    const auto workbook = TWorkbook::Open(WorkbookFixture(file));
    QCOMPARE(workbook->SheetCount(), 1);
    QCOMPARE(workbook->ActiveSheet().CellText(row, column), expected);
}

QTEST_GUILESS_MAIN(TestReading)
#include "tst_reading.moc"
