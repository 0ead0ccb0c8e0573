// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-cli export run as a separate process; what it writes is read with openpyxl, and the
// data file is never changed.

#include "cli/CliRun.h"
#include "support/WorkbookReader.h"

#include "core/DataFile.h"
#include "core/Password.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const TFont kFont{"MS Sans Serif", 0, 8, 0};

// "Caf\xE9" (Windows-1252) with a listed text box, an unlisted memo and three records.
TDataFile MakeData() {
    TDataFile dataFile;
    dataFile.AddCategory()->Name = "Other";
    TCategory& category = *dataFile.AddCategory();
    category.Name = "Caf\xE9";
    const int32_t name = category.AddElement(kKindEdit, 0, 0, 100, 20, 0xFFFFFF, kFont, "");
    category.AddElement(kKindMemo, 0, 30, 100, 60, 0xFFFFFF, kFont, "");
    category.RenumberValueIndexes();
    auto column = std::make_unique<TListColumn>();
    column->ElementID = name;
    column->Caption = "Name";
    category.Columns.push_back(std::move(column));
    for (const auto& [first, second] : std::vector<std::pair<std::string, std::string>>{
             {"Ann", "line 1\r\nline 2"}, {"B\xF8rge", ""}, {"", "=A1"}}) {
        TRecord& record = *category.NewRecord();
        record.SetValue(0, first);
        record.SetValue(1, second);
    }
    return dataFile;
}

const QList<QStringList> kRows = {
    {"Name", "_unnamed_"}, {"Ann", "line 1\nline 2"}, {QStringLiteral("B\u00f8rge")}, {"", "=A1"}};

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCliExport : public QObject {
    Q_OBJECT

private slots:
    void init();

    void WritesANewWorkbook();
    void AddsASheetToAnExistingWorkbook();
    void ReplacesACsv();
    void NeedsThePassword();
    void Refusals_data();
    void Refusals();
    void FailedWriteKeepsTheTarget_data();
    void FailedWriteKeepsTheTarget();

private:
    std::unique_ptr<QTemporaryDir> FDir;
    QString FDataPath;
    QByteArray FDataBytes;
};

void TestCliExport::init() {
    FDir = std::make_unique<QTemporaryDir>();
    FDataPath = FDir->filePath(QStringLiteral("cards.lgd"));
    MakeData().SaveToFile(FDataPath.toStdString());
    FDataBytes = Bytes(FDataPath);
}

void TestCliExport::WritesANewWorkbook() {
    const QString out = FDir->filePath(QStringLiteral("out.xlsx"));
    const TRun run = RunCli({QStringLiteral("export"), FDataPath, QStringLiteral("Caf\u00e9"), out});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    QString error;
    const auto sheets = WorkbookReader::Read(out, &error);
    QCOMPARE(error, QString());
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].Name, QStringLiteral("Caf\u00e9"));
    QCOMPARE(sheets[0].Rows, kRows);
    QCOMPARE(sheets[0].Types, QStringList{"s"});
    QCOMPARE(Bytes(FDataPath), FDataBytes);
}

void TestCliExport::AddsASheetToAnExistingWorkbook() {
    const QString out = FDir->filePath(QStringLiteral("book.xlsx"));
    QVERIFY(WorkbookReader::Write(
        out, {QJsonObject{{"name", "First"}, {"rows", QJsonArray{QJsonArray{"a", 1}}}}}));
    const TRun run = RunCli(
        {QStringLiteral("export"), FDataPath, QStringLiteral("2"), out, QStringLiteral("--sheet=Second")});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    const auto sheets = WorkbookReader::Read(out);
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheets[0].Name, QStringLiteral("First"));
    QCOMPARE(sheets[0].Rows, (QList<QStringList>{{"a", "1"}}));
    QCOMPARE(sheets[0].Types, (QStringList{"n", "s"}));
    QCOMPARE(sheets[1].Name, QStringLiteral("Second"));
    QCOMPARE(sheets[1].Rows, kRows);

    // The same name again is refused and the file stays as it was.
    const QByteArray before = Bytes(out);
    const TRun again = RunCli(
        {QStringLiteral("export"), FDataPath, QStringLiteral("2"), out, QStringLiteral("--sheet"), "second"});
    QCOMPARE(again.ExitCode, 1);
    QVERIFY2(again.Err.contains("second") || again.Err.contains("Second"), again.Err.constData());
    QCOMPARE(Bytes(out), before);
    QCOMPARE(Bytes(FDataPath), FDataBytes);
}

void TestCliExport::ReplacesACsv() {
    const QString out = FDir->filePath(QStringLiteral("list.csv"));
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old,rows\r\nmore,rows\r\nand,more\r\nstill,more\r\nlast,one\r\n");
    old.close();
    const TRun run = RunCli({QStringLiteral("export"), FDataPath, QStringLiteral("Caf\u00e9"), out});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    const auto sheets = WorkbookReader::Read(out);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].Rows.size(), 4);
    QCOMPARE(sheets[0].Rows[0], kRows[0]);
    QCOMPARE(sheets[0].Rows[2], kRows[2]);
    QCOMPARE(sheets[0].Rows[3], kRows[3]);
}

void TestCliExport::FailedWriteKeepsTheTarget_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existing");
    QTest::newRow("new workbook") << "new.xlsx" << false;
    QTest::newRow("sheet added to a workbook") << "book.xlsx" << true;
    QTest::newRow("new csv") << "new.csv" << false;
    QTest::newRow("csv replaced") << "list.csv" << true;
}

// The file-size limit stops the write part way, as a full disk would: the export fails with the
// reason, the file under the target name stays as it was (or is never made), and nothing is left
// behind.
void TestCliExport::FailedWriteKeepsTheTarget() {
    QFETCH(QString, name);
    QFETCH(bool, existing);
    TDataFile data = MakeData();
    TCategory& category = *data.Categories[1];
    for (int i = 0; i < 3000; ++i) {
        TRecord& record = *category.NewRecord();
        record.SetValue(0, "title " + std::to_string(i * 7919 % 100003));
        record.SetValue(1, "note " + std::to_string(i * 104729 % 1000003));
    }
    data.SaveToFile(FDataPath.toStdString());
    const QString out = FDir->filePath(name);
    if (existing && name.endsWith(QLatin1String(".xlsx")))
        QVERIFY(WorkbookReader::Write(out, {QJsonObject{{"name", "First"}, {"rows", QJsonArray{}}}}));
    else if (existing)
        QVERIFY(QFile(out).open(QIODevice::WriteOnly) && QFile(out).resize(0));
    const QByteArray before = Bytes(out);
    const QStringList entries = QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden);
    constexpr rlim_t kLimit = 16384;
    QVERIFY(before.size() < qsizetype(kLimit));

    const TRun run =
        RunCli({QStringLiteral("export"), FDataPath, QStringLiteral("2"), out}, QByteArray(), [] {
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{kLimit, kLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    QCOMPARE(run.Err, QStringLiteral("Cannot save \"%1\": File too large.\n").arg(out).toUtf8());
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(QFileInfo::exists(out), existing);
    QCOMPARE(Bytes(out), before);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden), entries);

    // Without the limit the same export is written whole.
    const TRun unlimited = RunCli({QStringLiteral("export"), FDataPath, QStringLiteral("2"), out});
    QCOMPARE(unlimited.Err, QByteArray());
    QVERIFY(Bytes(out).size() > qsizetype(kLimit));
}

void TestCliExport::NeedsThePassword() {
    TDataFile data = MakeData();
    data.PasswordDigest = PasswordDigest("pw");
    data.SaveToFile(FDataPath.toStdString());
    const QString out = FDir->filePath(QStringLiteral("secret.xlsx"));
    const TRun wrong = RunCli({QStringLiteral("export"), FDataPath, QStringLiteral("Other"), out}, "nope\n");
    QCOMPARE(wrong.ExitCode, 1);
    QVERIFY(wrong.Err.contains("Password error."));
    QVERIFY(!QFileInfo::exists(out));
    const TRun right = RunCli({QStringLiteral("export"), FDataPath, QStringLiteral("Other"), out}, "pw\n");
    QCOMPARE(right.Err, QByteArray());
    QCOMPARE(right.ExitCode, 0);
    const auto sheets = WorkbookReader::Read(out);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].Name, QStringLiteral("Other"));
    QVERIFY(sheets[0].Rows.isEmpty());
}

void TestCliExport::Refusals_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<int>("valueLength");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("unknown category")
        << "Nope"
        << "a.xlsx" << QByteArray() << 0 << QByteArray("Category not found: Nope");
    QTest::newRow("existing xls") << "Other"
                                  << "a.xls" << QByteArray("legacy") << 0
                                  << QByteArray("Please export to a .xlsx file.");
    QTest::newRow("ods") << "Other"
                         << "a.ods" << QByteArray() << 0
                         << QByteArray("Quillery exports to Excel workbooks (.xlsx) and CSV files (.csv).");
    QTest::newRow("value too long") << "2"
                                    << "a.xlsx" << QByteArray() << 32768
                                    << QByteArray("holds a value of 32,768 characters under \"Name\"");
    QTest::newRow("value too long, existing")
        << "2"
        << "a.xlsx" << QByteArray("PK keep") << 50000 << QByteArray("Nothing was written.");
    QTest::newRow("password-protected workbook")
        << "Other"
        << "locked.xlsx" << Bytes(QStringLiteral(QUILLERY_TEST_DATA "/workbooks/password.xlsx")) << 0
        << QByteArray("locked.xlsx\" is protected by a password. Remove the password in the spreadsheet "
                      "program and try again.\n");
}

void TestCliExport::Refusals() {
    QFETCH(QString, category);
    QFETCH(QString, out);
    QFETCH(QByteArray, existing);
    QFETCH(int, valueLength);
    QFETCH(QByteArray, message);
    if (valueLength > 0) {
        TDataFile data = MakeData();
        data.Categories[1]->Records[2]->SetValue(0, std::string(size_t(valueLength), 'v'));
        data.SaveToFile(FDataPath.toStdString());
        FDataBytes = Bytes(FDataPath);
    }
    const QString path = FDir->filePath(out);
    if (!existing.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    const TRun run = RunCli({QStringLiteral("export"), FDataPath, category, path});
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Out, QByteArray());
    QVERIFY2(run.Err.contains(message), run.Err.constData());
    QCOMPARE(QFileInfo::exists(path), !existing.isEmpty());
    if (!existing.isEmpty())
        QCOMPARE(Bytes(path), existing);
    QCOMPARE(Bytes(FDataPath), FDataBytes);
}

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_export.moc"
