// SPDX-License-Identifier: GPL-3.0-or-later
// What an independent reader (openpyxl) sees in the workbooks Quillery writes: the sheet names,
// every cell's text as a text cell, and the heading style; for a new workbook and for a sheet added
// to workbooks that LibreOffice and openpyxl made.

#include "WorkbookTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {
// Texts openpyxl gives back as they are (it leaves _xHHHH_ escapes and CR as written).
const QStringList kValues = {
    "=1+1",
    "=HYPERLINK(\"http://x\",\"y\")",
    "+1",
    "@x",
    "007",
    "  blanks  ",
    "one\r\ntwo",
    "<&>\"'",
    QString::fromUtf8("\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 \u6771\u4eac")};

// Writes the heading row and the values into the sheet; returns what openpyxl should read.
QJsonArray FillSheet(TWorksheet& sheet) {
    QJsonArray cells;
    for (int column = 1; column <= 3; ++column) {
        sheet.SetHeadingStyle(1, column);
        sheet.SetCellText(1, column, QStringLiteral("Heading %1").arg(column));
        cells.append(QJsonArray{1, column, QStringLiteral("Heading %1").arg(column)});
    }
    for (int i = 0; i < kValues.size(); ++i) {
        sheet.SetCellText(i + 2, 2, kValues[i]);
        // openpyxl keeps the file's line break, a single LF.
        cells.append(
            QJsonArray{i + 2, 2, QString(kValues[i]).replace(QLatin1String("\r\n"), QLatin1String("\n"))});
    }
    return cells;
}
} // namespace

class TestOpenpyxl : public QObject {
    Q_OBJECT

private slots:
    void Workbooks_data();
    void Workbooks();
};

void TestOpenpyxl::Workbooks_data() {
    QTest::addColumn<QString>("fixture"); // empty: a new workbook
    QTest::newRow("new workbook") << "";
    QTest::newRow("LibreOffice, chart and hidden sheet") << "chart-lo.xlsx";
    QTest::newRow("openpyxl, chart sheet") << "chart.xlsx";
    QTest::newRow("LibreOffice, several sheets") << "cells.xlsx";
}

void TestOpenpyxl::Workbooks() {
    QFETCH(QString, fixture);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("books.xlsx"));
    QJsonArray sheets;
    QJsonObject cells, headings;
    if (fixture.isEmpty()) {
        const auto workbook = TWorkbook::Add();
        workbook->ActiveSheet().SetName(QStringLiteral("Books"));
        cells.insert(QStringLiteral("Books"), FillSheet(workbook->ActiveSheet()));
        workbook->AddSheet().SetName(QStringLiteral("Empty"));
        cells.insert(QStringLiteral("Empty"), QJsonArray());
        sheets = {QStringLiteral("Books"), QStringLiteral("Empty")};
        workbook->SaveAs(path);
    } else {
        QVERIFY(QFile::copy(WorkbookFixture(fixture), path));
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        const auto workbook = TWorkbook::Open(path);
        TWorksheet& sheet = workbook->AddSheet();
        sheet.SetName(QString::fromUtf8("B\u00fccher & <Co>"));
        cells.insert(sheet.Name(), FillSheet(sheet));
        workbook->Save();
    }
    headings.insert(fixture.isEmpty() ? QStringLiteral("Books") : QString::fromUtf8("B\u00fccher & <Co>"),
                    QJsonArray{QJsonArray{1, 1}, QJsonArray{1, 2}, QJsonArray{1, 3}});
    if (!fixture.isEmpty()) {
        // The workbook's own sheets, chart sheets included, as openpyxl lists them.
        QProcess names;
        names.start(QStringLiteral(QUILLERY_PYTHON),
                    {QStringLiteral("-c"),
                     QStringLiteral("import sys, openpyxl; print('\\n'.join("
                                    "openpyxl.load_workbook(sys.argv[1]).sheetnames))"),
                     WorkbookFixture(fixture)});
        QVERIFY(names.waitForFinished(60000));
        for (const QByteArray& name : names.readAllStandardOutput().trimmed().split('\n'))
            sheets.append(QString::fromUtf8(name));
        sheets.append(QString::fromUtf8("B\u00fccher & <Co>"));
    }
    const QString expectedPath = folder.filePath(QStringLiteral("expected.json"));
    WriteFileBytes(
        expectedPath,
        QJsonDocument(QJsonObject{{"sheets", sheets}, {"cells", cells}, {"headings", headings}}).toJson());

    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral(QUILLERY_PYTHON),
                {QStringLiteral(QUILLERY_OPENPYXL_CHECK), path, expectedPath});
    QVERIFY2(check.waitForFinished(60000), "openpyxl did not finish");
    const QByteArray output = check.readAll();
    QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0, output.constData());
}

QTEST_GUILESS_MAIN(TestOpenpyxl)
#include "tst_openpyxl.moc"
