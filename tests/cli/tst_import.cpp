// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-cli import run as a separate process: rows matched to text boxes by caption, what it
// reports, and failures that leave the data file byte for byte.

#include "cli/CliRun.h"
#include "exchange/MinimalPackage.h"
#include "support/WorkbookReader.h"

#include "core/DataFile.h"

#include <QtTest>

namespace {

// "Other", then "Contacts": Name and Town listed as columns, an unlisted third box, two records.
void SaveContacts(const QString& path) {
    TDataFile dataFile;
    dataFile.AddCategory()->Name = "Other";
    TCategory& contacts = *dataFile.AddCategory();
    contacts.Name = "Contacts";
    for (const char* caption : {"Name", "Town", ""}) {
        const int32_t id =
            contacts.AddElement(kKindEdit, 0, 0, 100, 20, 0xFFFFFF, TFont{"Sans", 0, 8, 0}, "");
        if (*caption != '\0')
            contacts.Columns.push_back(std::make_unique<TListColumn>(TListColumn{id, 50, caption}));
    }
    contacts.RenumberValueIndexes();
    contacts.Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"Ann", "Oslo", ""}));
    contacts.Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"Bob", "", "42"}));
    dataFile.SaveToFile(path.toStdString());
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The active worksheet "Notes" comes before "People".
const QJsonArray kTwoSheets{
    QJsonObject{{"name", "Notes"}, {"rows", QJsonArray{QJsonArray{"Name"}, QJsonArray{"not this one"}}}},
    QJsonObject{{"name", "People"},
                {"rows", QJsonArray{QJsonArray{"Town", "Name"}, QJsonArray{"Rome", "Cid"},
                                    QJsonArray{"Oslo", "Ann"}}}}};

} // namespace

class TestCliImport : public QObject {
    Q_OBJECT

private slots:
    void Import_data();
    void Import();
};

void TestCliImport::Import_data() {
    QTest::addColumn<QByteArray>("workbook"); // a .csv file's bytes; empty: the two sheets in a .xlsx
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");    // all of it, or the end of a workbook's error
    QTest::addColumn<QStringList>("added"); // values joined by "|"; none when it fails

    const QByteArray one = "Added 1 record to \"Contacts\".\n";
    QTest::newRow("captions ignoring case") << QByteArray(" nAME ,TOWN\r\nCid,Rome\r\n,\r\n") << QStringList()
                                            << one << QByteArray() << QStringList{"Cid|Rome|"};
    QTest::newRow("unmatched column reported")
        << QByteArray("Email,Name\r\nc@x,Cid\r\n") << QStringList() << one
        << QByteArray("quillery-cli: column A \"Email\" names no text box of \"Contacts\"; left out\n")
        << QStringList{"Cid||"};
    QTest::newRow("unlisted box by its exported heading")
        << QByteArray("Name,_unnamed_\r\nCid,7\r\n") << QStringList() << one << QByteArray()
        << QStringList{"Cid||7"};
    QTest::newRow("active sheet") << QByteArray() << QStringList() << one << QByteArray()
                                  << QStringList{"not this one||"};
    QTest::newRow("--sheet ignoring case") << QByteArray() << QStringList{"--sheet", "people"}
                                           << QByteArray("Added 2 records to \"Contacts\".\n") << QByteArray()
                                           << QStringList{"Cid|Rome|", "Ann|Oslo|"};
    QTest::newRow("duplicates kept") << QByteArray("Name,Town\r\nAnn,Oslo\r\nBob,\r\n") << QStringList()
                                     << QByteArray("Added 2 records to \"Contacts\".\n") << QByteArray()
                                     << QStringList{"Ann|Oslo|", "Bob||"};
    QTest::newRow("--skip-duplicates")
        << QByteArray("Name,Town\r\nAnn,Oslo\r\nBob,\r\nCid,Oslo\r\n") << QStringList{"--skip-duplicates"}
        << QByteArray("Added 1 record to \"Contacts\", left out 2 duplicate rows.\n") << QByteArray()
        << QStringList{"Cid|Oslo|"};
    QTest::newRow("no column matches")
        << QByteArray("Email\r\nc@x\r\n") << QStringList() << QByteArray()
        << QByteArray("quillery-cli: column A \"Email\" names no text box of \"Contacts\"; left out\n"
                      "No column of the worksheet names a text box of \"Contacts\". Nothing was imported.\n")
        << QStringList();
    QTest::newRow("no such sheet") << QByteArray("Name\r\nCid\r\n") << QStringList{"--sheet", "Elsewhere"}
                                   << QByteArray() << QByteArray("rows.csv\".\n") << QStringList();
    QTest::newRow("worksheet too large")
        << SharedStringPackage(QByteArray(32767, 'x'), 20, 1000) << QStringList() << QByteArray()
        << QByteArray("\" is too large to import.\n") << QStringList();
}

void TestCliImport::Import() {
    QFETCH(QByteArray, workbook);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QStringList, added);
    QTemporaryDir dir;
    const QString dataPath = dir.filePath(QStringLiteral("cards.lgd"));
    SaveContacts(dataPath);
    const QByteArray before = FileBytes(dataPath);
    const QString path = dir.filePath(workbook.isEmpty()          ? "rows.xlsx"
                                      : workbook.startsWith("PK") ? "big.xlsx"
                                                                  : "rows.csv");
    if (workbook.isEmpty()) {
        QVERIFY(WorkbookReader::Write(path, kTwoSheets));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(workbook) == workbook.size());
    }

    const TRun run = RunCli(QStringList{"import", dataPath, path, "Contacts"} + arguments);
    QCOMPARE(run.Out, out);
    QVERIFY2(run.Err == err || (out.isEmpty() && run.Err.endsWith(err)), run.Err.constData());
    QCOMPARE(run.ExitCode, out.isEmpty() ? 1 : 0);
    TDataFile saved;
    saved.LoadFromFile(dataPath.toStdString());
    QStringList texts;
    for (const auto& record : saved.Categories.at(1)->Records)
        texts.append(QStringList{QString::fromUtf8(record->Value(0)), QString::fromUtf8(record->Value(1)),
                                 QString::fromUtf8(record->Value(2))}
                         .join('|'));
    QCOMPARE(texts, QStringList({"Ann|Oslo|", "Bob||42"}) + added);
    if (out.isEmpty()) {
        QCOMPARE(FileBytes(dataPath), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
}

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_import.moc"
