// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-cli import run as a separate process: rows matched to text boxes by caption, what it
// reports, and a failure that leaves the data file byte for byte.

#include "cli/CliRun.h"
#include "exchange/MinimalPackage.h"
#include "support/WorkbookReader.h"

#include "core/DataFile.h"

#include <QtTest>

namespace {

const TFont kFont{"MS Sans Serif", 0, 8, 0};

// "Other", then "Contacts" with Name and Town listed as columns and an unlisted Phone box.
TDataFile MakeData() {
    TDataFile dataFile;
    dataFile.AddCategory()->Name = "Other";
    TCategory& contacts = *dataFile.AddCategory();
    contacts.Name = "Contacts";
    for (const char* caption : {"Name", "Town", ""}) {
        const int32_t id = contacts.AddElement(kKindEdit, 0, 0, 100, 20, 0xFFFFFF, kFont, "");
        if (*caption == '\0')
            continue;
        auto column = std::make_unique<TListColumn>();
        column->ElementID = id;
        column->Caption = caption;
        contacts.Columns.push_back(std::move(column));
    }
    contacts.RenumberValueIndexes();
    contacts.Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"Ann", "Oslo", ""}));
    contacts.Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"Bob", "", "42"}));
    return dataFile;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The records of Contacts after the two it started with, values joined by "|".
QStringList Added(const QString& path) {
    TDataFile dataFile;
    dataFile.LoadFromFile(path.toStdString());
    QStringList texts;
    const auto& records = dataFile.Categories.at(1)->Records;
    for (size_t r = 2; r < records.size(); ++r) {
        QStringList values;
        for (int32_t i = 0; i < records[r]->Count(); ++i)
            values.append(QString::fromStdString(std::string(records[r]->Value(i))));
        texts.append(values.join(QLatin1Char('|')));
    }
    return texts;
}

// A .xlsx whose active worksheet "Notes" comes before "People", with other headings.
const QJsonArray kTwoSheets{
    QJsonObject{{"name", "Notes"}, {"rows", QJsonArray{QJsonArray{"Name"}, QJsonArray{"not this one"}}}},
    QJsonObject{{"name", "People"},
                {"rows", QJsonArray{QJsonArray{"Town", "Name"}, QJsonArray{"Rome", "Cid"},
                                    QJsonArray{"Oslo", "Ann"}}}}};

} // namespace

class TestCliImport : public QObject {
    Q_OBJECT

private slots:
    void init();

    void AddsRows_data();
    void AddsRows();
    void FailureChangesNothing_data();
    void FailureChangesNothing();

private:
    // The workbook name.xlsx holding the two sheets, or name.csv holding csv; empty when it
    // could not be written.
    QString Workbook(const QString& name, const QByteArray& csv);

    std::unique_ptr<QTemporaryDir> FDir;
    QString FDataPath;
};

void TestCliImport::init() {
    FDir = std::make_unique<QTemporaryDir>();
    FDataPath = FDir->filePath(QStringLiteral("cards.lgd"));
    MakeData().SaveToFile(FDataPath.toStdString());
}

QString TestCliImport::Workbook(const QString& name, const QByteArray& csv) {
    const QString path = FDir->filePath(name);
    if (name.endsWith(QLatin1String(".xlsx"))) {
        QString error;
        return WorkbookReader::Write(path, kTwoSheets, 0, &error) ? path : QString();
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() ? path : QString();
}

void TestCliImport::AddsRows_data() {
    QTest::addColumn<QString>("workbook");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("captions ignoring case")
        << "rows.csv" << QByteArray(" nAME ,TOWN\r\nCid,Rome\r\n,\r\n") << QStringList()
        << QByteArray("Added 1 record to \"Contacts\".\n") << QByteArray() << QStringList{"Cid|Rome|"};
    QTest::newRow("unmatched column reported and left out")
        << "rows.csv" << QByteArray("Email,Name\r\nc@x,Cid\r\nd@x,Dan\r\n") << QStringList()
        << QByteArray("Added 2 records to \"Contacts\".\n")
        << QByteArray("quillery-cli: column A \"Email\" names no text box of \"Contacts\"; left out\n")
        << QStringList{"Cid||", "Dan||"};
    QTest::newRow("unlisted box by its exported heading")
        << "rows.csv" << QByteArray("Name,_unnamed_\r\nCid,7\r\n") << QStringList()
        << QByteArray("Added 1 record to \"Contacts\".\n") << QByteArray() << QStringList{"Cid||7"};
    QTest::newRow("active sheet") << "two.xlsx" << QByteArray() << QStringList()
                                  << QByteArray("Added 1 record to \"Contacts\".\n") << QByteArray()
                                  << QStringList{"not this one||"};
    QTest::newRow("sheet named, ignoring case")
        << "two.xlsx" << QByteArray() << QStringList{"--sheet", "people"}
        << QByteArray("Added 2 records to \"Contacts\".\n") << QByteArray()
        << QStringList{"Cid|Rome|", "Ann|Oslo|"};
    QTest::newRow("duplicates kept") << "rows.csv"
                                     << QByteArray("Name,Town\r\nAnn,Oslo\r\nBob,\r\nCid,Oslo\r\n")
                                     << QStringList() << QByteArray("Added 3 records to \"Contacts\".\n")
                                     << QByteArray() << QStringList{"Ann|Oslo|", "Bob||", "Cid|Oslo|"};
    QTest::newRow("duplicates skipped")
        << "rows.csv" << QByteArray("Name,Town\r\nAnn,Oslo\r\nBob,\r\nCid,Oslo\r\n")
        << QStringList{"--skip-duplicates"}
        << QByteArray("Added 1 record to \"Contacts\", left out 2 duplicate rows.\n") << QByteArray()
        << QStringList{"Cid|Oslo|"};
    QTest::newRow("sheet and duplicates")
        << "two.xlsx" << QByteArray() << QStringList{"--skip-duplicates", "--sheet=People"}
        << QByteArray("Added 1 record to \"Contacts\", left out 1 duplicate row.\n") << QByteArray()
        << QStringList{"Cid|Rome|"};
}

void TestCliImport::AddsRows() {
    QFETCH(QString, workbook);
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QStringList, added);
    const QString path = Workbook(workbook, csv);
    QVERIFY(!path.isEmpty());
    const TRun run = RunCli(QStringList{"import", FDataPath, path, "Contacts"} + options);
    QCOMPARE(run.Err, err);
    QCOMPARE(run.Out, out);
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(Added(FDataPath), added);
}

void TestCliImport::FailureChangesNothing_data() {
    QTest::addColumn<QString>("workbook");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("no such category") << "rows.csv" << QByteArray("Name\r\nCid\r\n") << QStringList{"Nobody"}
                                      << QByteArray("Category not found: Nobody\n");
    QTest::newRow("no column matches")
        << "rows.csv" << QByteArray("Email\r\nc@x\r\n") << QStringList{"Contacts"}
        << QByteArray("quillery-cli: column A \"Email\" names no text box of \"Contacts\"; left out\n"
                      "No column of the worksheet names a text box of \"Contacts\". Nothing was imported.\n");
    QTest::newRow("no such sheet") << "rows.csv" << QByteArray("Name\r\nCid\r\n")
                                   << QStringList{"Contacts", "--sheet", "Elsewhere"} << QByteArray();
    QTest::newRow("not a workbook") << "rows.xlsx" << QByteArray("Name\r\nCid\r\n") << QStringList{"Contacts"}
                                    << QByteArray();
    QTest::newRow("worksheet too large")
        << "amplified.xlsx" << SharedStringPackage(QByteArray(32767, 'x'), 20, 1000)
        << QStringList{"Contacts"} << QByteArray();
}

void TestCliImport::FailureChangesNothing() {
    QFETCH(QString, workbook);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, err);
    const QString path = FDir->filePath(workbook);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const QByteArray before = Bytes(FDataPath);

    const TRun run = RunCli(QStringList{"import", FDataPath, path} + arguments);
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Out, QByteArray());
    // The engine's own words where the error comes from the workbook.
    if (!err.isEmpty())
        QCOMPARE(run.Err, err);
    else
        QVERIFY2(run.Err.contains(QFileInfo(path).fileName().toUtf8()), run.Err.constData());
    QCOMPARE(Bytes(FDataPath), before);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_import.moc"
