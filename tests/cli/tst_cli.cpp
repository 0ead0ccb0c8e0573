// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-cli run as a separate process on files that the data store writes, and on the template
// file that the build makes.

#include "cli/CliRun.h"

#include "core/DataFile.h"
#include "core/Password.h"

#include <QtTest>

#include <algorithm>
#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Mutation = std::function<void(TDataFile&)>;

const QString kTemplateFile = QStringLiteral(QUILLERY_BIN_DIR "/Templates/template1.tpl");

QByteArray Lines(const QByteArrayList& lines) {
    return lines.isEmpty() ? QByteArray() : lines.join('\n') + '\n';
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TFont DefaultFont() {
    return TFont{"MS Sans Serif", 0, 8, 0};
}

// A label, a one-line text box and a memo box (ids 1, 2, 3), a column on the text box, and the
// given records.
TCategory& AddSmallCategory(TDataFile& dataFile, const std::string& name,
                            const std::vector<std::vector<std::string>>& records) {
    TCategory& category = *dataFile.AddCategory();
    category.Name = name;
    category.AddElement(kKindLabel, 12, 18, 78, 18, category.FormColor, DefaultFont(), "Name:");
    category.AddElement(kKindEdit, 96, 12, 294, 24, 0xFFFFFF, DefaultFont(), "");
    category.AddElement(kKindMemo, 96, 42, 294, 72, 0xFFFFFF, DefaultFont(), "");
    category.RenumberValueIndexes();
    auto column = std::make_unique<TListColumn>();
    column->ElementID = 2;
    column->Caption = "Name";
    category.Columns.push_back(std::move(column));
    for (const auto& values : records) {
        TRecord& record = *category.NewRecord();
        for (size_t i = 0; i < values.size(); ++i)
            record.SetValue(static_cast<int32_t>(i), values[i]);
    }
    return category;
}

// Two well-formed categories "A" and "B" with two records each.
TDataFile MakeCheckSample() {
    TDataFile dataFile;
    AddSmallCategory(dataFile, "A", {{"a1", "memo"}, {"a2", ""}});
    AddSmallCategory(dataFile, "B", {{"b1", ""}, {"b2", "x"}});
    return dataFile;
}

// Books: title, author and a notes memo, all three shown as columns.
TDataFile MakeBooks(int32_t sortColumn, bool ascending) {
    TDataFile dataFile;
    AddSmallCategory(dataFile, "Contacts", {});
    TCategory& books = *dataFile.AddCategory();
    books.Name = "Books";
    const int32_t title = books.AddElement(kKindEdit, 96, 12, 294, 24, 0xFFFFFF, DefaultFont(), "");
    const int32_t author = books.AddElement(kKindEdit, 96, 42, 294, 24, 0xFFFFFF, DefaultFont(), "");
    const int32_t notes = books.AddElement(kKindMemo, 96, 72, 294, 72, 0xFFFFFF, DefaultFont(), "");
    books.RenumberValueIndexes();
    const std::pair<int32_t, const char*> columns[] = {
        {title, "Title"}, {author, "Author"}, {notes, "Notes"}};
    for (const auto& [id, caption] : columns) {
        auto column = std::make_unique<TListColumn>();
        column->ElementID = id;
        column->Caption = caption;
        books.Columns.push_back(std::move(column));
    }
    books.SortColumn = sortColumn;
    books.SortAscending = ascending;
    const std::vector<std::vector<std::string>> records = {
        {"My booklet", "zed", ""},
        {"book-keeping", "bob", ""},
        {"book_2", "Amy", ""},
        {"BOOK7", "Cy", ""},
        {"Zebra", "dee", "first\r\nbook in the second line"},
        {"apple", "Eli", ""},
        {"10", "fay", ""},
        {"9", "Gil", ""},
        {"_x", "hal", "hidden value"},
    };
    for (const auto& values : records) {
        TRecord& record = *books.NewRecord();
        for (size_t i = 0; i < values.size(); ++i)
            record.SetValue(static_cast<int32_t>(i), values[i]);
    }
    return dataFile;
}

} // namespace

Q_DECLARE_METATYPE(Mutation)

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void info();
    void infoOfProtectedFileAsksNothing();
    void dumpMatchesTheFile();
    void dumpDecodesText_data();
    void dumpDecodesText();
    void check_data();
    void check();
    void resaveIsByteIdentical_data();
    void resaveIsByteIdentical();
    void list_data();
    void list();
    void listFindsCategory_data();
    void listFindsCategory();
    void password_data();
    void password();
    void passwordOnTerminal();
    void usageErrors_data();
    void usageErrors();
    void help_data();
    void help();
    void version_data();
    void version();
    void dashedFileName();
    void copyWithoutExchangeProgram_data();
    void copyWithoutExchangeProgram();
    void fileErrors_data();
    void fileErrors();
    void runningOutOfMemory();

    void templatePassesCheck();
    void templateForms();
    void templateList();

private:
    // Saves dataFile under name in the test's folder and returns the path.
    QString Save(const TDataFile& dataFile, const QString& name);

    QTemporaryDir FDir;
};

QString TestCli::Save(const TDataFile& dataFile, const QString& name) {
    const QString path = FDir.filePath(name);
    dataFile.SaveToFile(path.toStdString());
    return path;
}

void TestCli::initTestCase() {
    QVERIFY(FDir.isValid());
    QVERIFY2(QFileInfo::exists(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli")),
             "quillery-cli is not built");
    QVERIFY2(QFileInfo::exists(kTemplateFile), "the template file is not built");
}

void TestCli::info() {
    TDataFile dataFile = MakeCheckSample();
    dataFile.Categories[1]->Name = "Caf\xE9";
    dataFile.Categories[1]->NewRecord();
    dataFile.AddCategory()->Name = "Empty";
    const TRun run = RunCli({QStringLiteral("info"), Save(dataFile, QStringLiteral("info.lgd"))});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Out, Lines({"Magic: 88888888", "Version: 1", "Password: none",
                             "Category 1 \"A\": elements 3, text boxes 2, columns 1, records 2",
                             "Category 2 \"Caf\xC3\xA9\": elements 3, text boxes 2, columns 1, records 3",
                             "Category 3 \"Empty\": elements 0, text boxes 0, columns 0, records 0"}));
}

void TestCli::infoOfProtectedFileAsksNothing() {
    TDataFile dataFile = MakeCheckSample();
    dataFile.PasswordDigest = PasswordDigest("secret");
    const QString path = Save(dataFile, QStringLiteral("protected-info.lgd"));
    for (const char* command : {"info", "check"}) {
        const TRun run = RunCli({QString::fromLatin1(command), path});
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
    }
    QVERIFY(RunCli({QStringLiteral("info"), path}).Out.contains("\nPassword: set\n"));
}

void TestCli::dumpMatchesTheFile() {
    TDataFile dataFile = MakeCheckSample();
    dataFile.PasswordDigest = PasswordDigest("pw");
    dataFile.LastCategoryID = 7;
    TCategory& b = *dataFile.Categories[1];
    b.FormColor = 0x00123456;
    b.LastElementID = 9;
    b.SortColumn = 2;
    b.SortAscending = false;
    TElement& memo = *b.Elements[2];
    memo.Color = static_cast<int32_t>(0x8000000F); // a system colour
    memo.Font = TFont{"Courier New", fsBold | fsUnderline, 11, 0x0000FF};
    b.Columns[0]->Width = 133;
    b.Records[1]->Append("extra");
    const QString path = Save(dataFile, QStringLiteral("dump.lgd"));
    const QString passwordFile = FDir.filePath(QStringLiteral("dump.pw"));
    {
        QFile file(passwordFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("pw\n");
    }

    const TRun run = RunCli({QStringLiteral("dump"), path, QStringLiteral("--password-file"), passwordFile});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.Out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(document.isObject());
    const QJsonObject root = document.object();

    QCOMPARE(root.value("magic").toInt(), 88888888);
    QCOMPARE(root.value("version").toInt(), 1);
    QCOMPARE(root.value("passwordDigest").toString(), QString::fromStdString(PasswordDigest("pw")));
    QCOMPARE(root.value("lastCategoryId").toInt(), 7);
    const QJsonArray categories = root.value("categories").toArray();
    QCOMPARE(categories.size(), qsizetype(2));

    for (qsizetype c = 0; c < categories.size(); ++c) {
        const TCategory& category = *dataFile.Categories[static_cast<size_t>(c)];
        const QJsonObject json = categories.at(c).toObject();
        QCOMPARE(json.value("id").toInt(), category.ID);
        QCOMPARE(json.value("name").toString(), QString::fromStdString(category.Name));
        QCOMPARE(json.value("formColor").toInt(), category.FormColor);
        QCOMPARE(json.value("lastElementId").toInt(), category.LastElementID);
        QCOMPARE(json.value("sortColumn").toInt(), category.SortColumn);
        QCOMPARE(json.value("sortAscending").toBool(), category.SortAscending);
        const QJsonObject icon = json.value("icon").toObject();
        QCOMPARE(icon.value("width").toInt(), 32);
        QCOMPARE(icon.value("height").toInt(), 32);
        QCOMPARE(icon.value("bitsPerPixel").toInt(), 4);
        QCOMPARE(icon.value("bytes").toInt(), 630);

        const QJsonArray elements = json.value("elements").toArray();
        QCOMPARE(elements.size(), qsizetype(category.Elements.size()));
        for (qsizetype e = 0; e < elements.size(); ++e) {
            const TElement& element = *category.Elements[static_cast<size_t>(e)];
            const QJsonObject x = elements.at(e).toObject();
            QCOMPARE(x.size(), qsizetype(13));
            QCOMPARE(x.value("kind").toString(), QString::fromStdString(element.Kind));
            QCOMPARE(x.value("id").toInt(), element.ID);
            QCOMPARE(x.value("valueIndex").toInt(), element.ValueIndex);
            QCOMPARE(x.value("left").toInt(), element.Left);
            QCOMPARE(x.value("top").toInt(), element.Top);
            QCOMPARE(x.value("width").toInt(), element.Width);
            QCOMPARE(x.value("height").toInt(), element.Height);
            QCOMPARE(x.value("color").toInt(), element.Color);
            QCOMPARE(x.value("caption").toString(), QString::fromStdString(element.Caption));
            QCOMPARE(x.value("fontName").toString(), QString::fromStdString(element.Font.Name));
            QCOMPARE(x.value("fontStyle").toInt(), int(element.Font.Style));
            QCOMPARE(x.value("fontSize").toInt(), element.Font.Size);
            QCOMPARE(x.value("fontColor").toInt(), element.Font.Color);
        }

        const QJsonArray columns = json.value("columns").toArray();
        QCOMPARE(columns.size(), qsizetype(category.Columns.size()));
        for (qsizetype k = 0; k < columns.size(); ++k) {
            const TListColumn& column = *category.Columns[static_cast<size_t>(k)];
            const QJsonObject x = columns.at(k).toObject();
            QCOMPARE(x.value("elementId").toInt(), column.ElementID);
            QCOMPARE(x.value("width").toInt(), column.Width);
            QCOMPARE(x.value("caption").toString(), QString::fromStdString(column.Caption));
        }

        const QJsonArray records = json.value("records").toArray();
        QCOMPARE(records.size(), qsizetype(category.Records.size()));
        for (qsizetype r = 0; r < records.size(); ++r) {
            const TRecord& record = *category.Records[static_cast<size_t>(r)];
            const QJsonArray values = records.at(r).toArray();
            QCOMPARE(values.size(), qsizetype(record.Count()));
            for (qsizetype v = 0; v < values.size(); ++v)
                QCOMPARE(values.at(v).toString(),
                         QString::fromStdString(std::string(record.Value(static_cast<int32_t>(v)))));
        }
    }
    // The values this file was given on purpose, spelled out.
    QCOMPARE(categories.at(1)["sortAscending"].toBool(), false);
    QCOMPARE(categories.at(1)["elements"][2]["color"].toInt(), -2147483633);
    QCOMPARE(categories.at(1)["elements"][2]["fontStyle"].toInt(), 5);
    QCOMPARE(categories.at(1)["records"][1].toArray(),
             (QJsonArray{QStringLiteral("b2"), QStringLiteral("x"), QStringLiteral("extra")}));
}

void TestCli::dumpDecodesText_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Windows-1252 e acute") << QByteArray("caf\xE9") << QStringLiteral("café");
    QTest::newRow("Windows-1252 euro sign") << QByteArray("\x80 5") << QStringLiteral("€ 5");
    QTest::newRow("valid UTF-8") << QByteArray("na\xC3\xAFve \xE2\x82\xAC") << QStringLiteral("naïve €");
    QTest::newRow("cut UTF-8 sequence") << QByteArray("caf\xC3") << QStringLiteral("cafÃ");
    QTest::newRow("line break") << QByteArray("one\r\ntwo") << QStringLiteral("one\r\ntwo");
    QTest::newRow("quote and backslash") << QByteArray("\"a\\b\"") << QStringLiteral("\"a\\b\"");
}

void TestCli::dumpDecodesText() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    TDataFile dataFile;
    TCategory& category = AddSmallCategory(dataFile, stored.toStdString(), {{stored.toStdString(), ""}});
    category.Elements[0]->Caption = stored.toStdString();
    category.Elements[0]->Font.Name = stored.toStdString();
    category.Columns[0]->Caption = stored.toStdString();
    const TRun run = RunCli({QStringLiteral("dump"), Save(dataFile, QStringLiteral("text.lgd"))});
    QCOMPARE(run.ExitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.Out).object()["categories"][0].toObject();
    QCOMPARE(json["name"].toString(), shown);
    QCOMPARE(json["elements"][0]["caption"].toString(), shown);
    QCOMPARE(json["elements"][0]["fontName"].toString(), shown);
    QCOMPARE(json["columns"][0]["caption"].toString(), shown);
    QCOMPARE(json["records"][0][0].toString(), shown);
}

void TestCli::check_data() {
    QTest::addColumn<Mutation>("mutation");
    QTest::addColumn<QByteArrayList>("problems");

    QTest::newRow("well formed") << Mutation([](TDataFile&) {}) << QByteArrayList();
    QTest::newRow("duplicate category id")
        << Mutation([](TDataFile& l) { l.Categories[1]->ID = 1; })
        << QByteArrayList{"Category 1 \"B\": category id 1 is used more than once"};
    QTest::newRow("category id zero") << Mutation([](TDataFile& l) { l.Categories[1]->ID = 0; })
                                      << QByteArrayList{"Category 0 \"B\": category id 0 is not positive"};
    QTest::newRow("category id above counter")
        << Mutation([](TDataFile& l) { l.LastCategoryID = 1; })
        << QByteArrayList{"Category 2 \"B\": category id 2 is above LastCategoryID 1"};
    QTest::newRow("duplicate element id")
        << Mutation([](TDataFile& l) { l.Categories[0]->Elements[2]->ID = 2; })
        << QByteArrayList{"Category 1 \"A\": element id 2 is used more than once"};
    QTest::newRow("negative element id")
        << Mutation([](TDataFile& l) { l.Categories[1]->Elements[0]->ID = -4; })
        << QByteArrayList{"Category 2 \"B\": element id -4 is not positive"};
    QTest::newRow("element id above counter")
        << Mutation([](TDataFile& l) { l.Categories[0]->LastElementID = 2; })
        << QByteArrayList{"Category 1 \"A\": element id 3 is above LastElementID 2"};
    QTest::newRow("value indexes swapped")
        << Mutation([](TDataFile& l) {
               l.Categories[0]->Elements[1]->ValueIndex = 1;
               l.Categories[0]->Elements[2]->ValueIndex = 0;
           })
        << QByteArrayList{"Category 1 \"A\": element 2 (TEdit) has value index 1, expected 0",
                          "Category 1 \"A\": element 3 (TMemo) has value index 0, expected 1"};
    QTest::newRow("label with a value index")
        << Mutation([](TDataFile& l) { l.Categories[1]->Elements[0]->ValueIndex = 0; })
        << QByteArrayList{"Category 2 \"B\": element 1 (TLabel) has value index 0, expected -1"};
    QTest::newRow("text box with value index -1")
        << Mutation([](TDataFile& l) { l.Categories[1]->Elements[2]->ValueIndex = -1; })
        << QByteArrayList{"Category 2 \"B\": element 3 (TMemo) has value index -1, expected 1"};
    QTest::newRow("unknown kind") << Mutation([](TDataFile& l) {
        l.Categories[0]->Elements[0]->Kind = "TButton";
    }) << QByteArrayList{"Category 1 \"A\": element 1 (TButton) has an unknown kind"};
    QTest::newRow("record with too few values")
        << Mutation([](TDataFile& l) { l.Categories[0]->Records[1]->Erase(1); })
        << QByteArrayList{"Category 1 \"A\": record 2 has 1 values, expected 2"};
    QTest::newRow("record with too many values")
        << Mutation([](TDataFile& l) { l.Categories[1]->Records[0]->Append("more"); })
        << QByteArrayList{"Category 2 \"B\": record 1 has 3 values, expected 2"};
    QTest::newRow("column naming a label")
        << Mutation([](TDataFile& l) { l.Categories[0]->Columns[0]->ElementID = 1; })
        << QByteArrayList{"Category 1 \"A\": column 1 \"Name\" names no text box (element id 1)"};
    QTest::newRow("column naming nothing")
        << Mutation([](TDataFile& l) { l.Categories[1]->Columns[0]->ElementID = 99; })
        << QByteArrayList{"Category 2 \"B\": column 1 \"Name\" names no text box (element id 99)"};
    QTest::newRow("name shown decoded") << Mutation([](TDataFile& l) {
        l.Categories[0]->Name = "Caf\xE9";
        l.Categories[0]->Records[0]->Erase(0);
    }) << QByteArrayList{"Category 1 \"Caf\xC3\xA9\": record 1 has 1 values, expected 2"};
    QTest::newRow("problems everywhere")
        << Mutation([](TDataFile& l) {
               l.LastCategoryID = 1;
               l.Categories[0]->Columns[0]->ElementID = 3;
               l.Categories[0]->Elements[0]->ID = 0;
               l.Categories[1]->Records[1]->Erase(0);
               l.Categories[1]->Records[1]->Erase(0);
           })
        << QByteArrayList{"Category 1 \"A\": element id 0 is not positive",
                          "Category 2 \"B\": category id 2 is above LastCategoryID 1",
                          "Category 2 \"B\": record 2 has 0 values, expected 2"};
}

void TestCli::check() {
    QFETCH(Mutation, mutation);
    QFETCH(QByteArrayList, problems);
    TDataFile dataFile = MakeCheckSample();
    mutation(dataFile);
    const TRun run = RunCli({QStringLiteral("check"), Save(dataFile, QStringLiteral("check.lgd"))});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.Out, problems.isEmpty() ? QByteArray("No problems found.\n") : Lines(problems));
    QCOMPARE(run.ExitCode, problems.isEmpty() ? 0 : 1);
}

void TestCli::resaveIsByteIdentical_data() {
    QTest::addColumn<QString>("path");
    TDataFile broken = MakeCheckSample();
    broken.Categories[0]->Records[0]->Append("kept as it is");
    broken.Categories[1]->Elements[1]->ID = 77;
    TDataFile empty;
    QTest::newRow("sample") << Save(MakeCheckSample(), QStringLiteral("resave-sample.lgd"));
    QTest::newRow("books") << Save(MakeBooks(1, false), QStringLiteral("resave-books.lgd"));
    QTest::newRow("broken invariants") << Save(broken, QStringLiteral("resave-broken.lgd"));
    QTest::newRow("empty file") << Save(empty, QStringLiteral("resave-empty.lgd"));
    QTest::newRow("template") << kTemplateFile;
}

void TestCli::resaveIsByteIdentical() {
    QFETCH(QString, path);
    const QString out = FDir.filePath(QStringLiteral("resaved.lgd"));
    QFile::remove(out);
    const TRun run = RunCli({QStringLiteral("resave"), path, out});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(ReadAll(out), ReadAll(path));
}

void TestCli::list_data() {
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArrayList>("rows");

    const QByteArrayList byTitle = {"10\tfay\t",           "9\tGil\t",          "apple\tEli\t",
                                    "book-keeping\tbob\t", "BOOK7\tCy\t",       "book_2\tAmy\t",
                                    "My booklet\tzed\t",   "Zebra\tdee\tfirst", "_x\thal\thidden value"};
    QByteArrayList reversed(byTitle.rbegin(), byTitle.rend());
    const QByteArrayList stored = {
        "My booklet\tzed\t",    "book-keeping\tbob\t", "book_2\tAmy\t", "BOOK7\tCy\t",
        "Zebra\tdee\tfirst",    "apple\tEli\t",        "10\tfay\t",     "9\tGil\t",
        "_x\thal\thidden value"};

    QTest::newRow("title ascending") << 0 << true << QStringList() << byTitle;
    QTest::newRow("title descending") << 0 << false << QStringList() << reversed;
    QTest::newRow("author, letters folded")
        << 1 << true << QStringList()
        << QByteArrayList{"book_2\tAmy\t",     "book-keeping\tbob\t",   "BOOK7\tCy\t",
                          "Zebra\tdee\tfirst", "apple\tEli\t",          "10\tfay\t",
                          "9\tGil\t",          "_x\thal\thidden value", "My booklet\tzed\t"};
    QTest::newRow("memo column sorts by first line")
        << 2 << false << QStringList()
        << QByteArrayList{"_x\thal\thidden value", "Zebra\tdee\tfirst", "My booklet\tzed\t",
                          "book-keeping\tbob\t",   "book_2\tAmy\t",     "BOOK7\tCy\t",
                          "apple\tEli\t",          "10\tfay\t",         "9\tGil\t"};
    QTest::newRow("sort column past the columns") << 3 << true << QStringList() << stored;
    QTest::newRow("negative sort column") << -1 << true << QStringList() << stored;
    QTest::newRow("filter BOOK") << 0 << true << QStringList{"--filter", "BOOK"}
                                 << QByteArrayList{"book-keeping\tbob\t", "BOOK7\tCy\t", "book_2\tAmy\t",
                                                   "My booklet\tzed\t", "Zebra\tdee\tfirst"};
    QTest::newRow("filter BOOK, whole word")
        << 0 << true << QStringList{"--filter=BOOK", "--whole-word"}
        << QByteArrayList{"book-keeping\tbob\t", "BOOK7\tCy\t", "book_2\tAmy\t", "Zebra\tdee\tfirst"};
    QTest::newRow("filter on a value no column shows")
        << 0 << true << QStringList{"--filter", "HIDDEN"} << QByteArrayList{"_x\thal\thidden value"};
    QTest::newRow("filter across two values")
        << 0 << true << QStringList{"--filter", "zebra dee"} << QByteArrayList();
    QTest::newRow("filter matching nothing")
        << 0 << true << QStringList{"--filter", "qqq"} << QByteArrayList();
    QTest::newRow("empty filter shows all") << 0 << true << QStringList{"--filter", ""} << byTitle;
    QTest::newRow("whole word without filter") << 0 << true << QStringList{"--whole-word"} << byTitle;
    QTest::newRow("filter, descending")
        << 0 << false << QStringList{"--whole-word", "--filter", "book"}
        << QByteArrayList{"Zebra\tdee\tfirst", "book_2\tAmy\t", "BOOK7\tCy\t", "book-keeping\tbob\t"};
}

void TestCli::list() {
    QFETCH(int, sortColumn);
    QFETCH(bool, ascending);
    QFETCH(QStringList, options);
    QFETCH(QByteArrayList, rows);
    const QString path = Save(MakeBooks(sortColumn, ascending), QStringLiteral("books.lgd"));
    const TRun run = RunCli(QStringList{QStringLiteral("list"), path, QStringLiteral("Books")} + options);
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Out, Lines(QByteArrayList{"Title\tAuthor\tNotes"} + rows));
}

void TestCli::listFindsCategory_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("by name") << QStringLiteral("Books") << QByteArray("Title\n");
    QTest::newRow("by id") << QStringLiteral("3") << QByteArray("Last\n");
    QTest::newRow("name before id") << QStringLiteral("1") << QByteArray("One\n");
    QTest::newRow("by displayed name") << QStringLiteral("Café") << QByteArray("Last\n");
    QTest::newRow("id with a leading zero") << QStringLiteral("03") << QByteArray("Last\n");
    QTest::newRow("unknown") << QStringLiteral("Nope") << QByteArray();
}

void TestCli::listFindsCategory() {
    QFETCH(QString, category);
    QFETCH(QByteArray, header);
    TDataFile dataFile;
    const std::pair<const char*, const char*> categories[] = {
        {"Books", "Title"}, {"1", "One"}, {"Caf\xE9", "Last"}};
    for (const auto& [name, caption] : categories)
        AddSmallCategory(dataFile, name, {}).Columns[0]->Caption = caption;
    const TRun run = RunCli({QStringLiteral("list"), Save(dataFile, QStringLiteral("names.lgd")), category});
    if (header.isEmpty()) {
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.Err, "Category not found: " + category.toUtf8() + '\n');
    } else {
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Out, header);
    }
}

void TestCli::password_data() {
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QByteArray>("fileText"); // empty: no --password-file
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("accepted");

    for (const char* command : {"dump", "list", "resave"}) {
        const QStringList args{QString::fromLatin1(command)};
        const QByteArray name(command);
        QTest::newRow((name + ", right password in file").constData())
            << args << QByteArray("S3cret pw\n") << QByteArray() << true;
        QTest::newRow((name + ", wrong password in file").constData())
            << args << QByteArray("wrong\n") << QByteArray() << false;
        QTest::newRow((name + ", right password on standard input").constData())
            << args << QByteArray() << QByteArray("S3cret pw\n") << true;
        QTest::newRow((name + ", nothing on standard input").constData())
            << args << QByteArray() << QByteArray() << false;
    }
    const QStringList dump{QStringLiteral("dump")};
    QTest::newRow("letter case counts") << dump << QByteArray("s3cret pw\n") << QByteArray() << false;
    QTest::newRow("first line only") << dump << QByteArray("S3cret pw\nsecond line\n") << QByteArray()
                                     << true;
    QTest::newRow("CR LF line end") << dump << QByteArray("S3cret pw\r\n") << QByteArray() << true;
    QTest::newRow("no line end") << dump << QByteArray("S3cret pw") << QByteArray() << true;
    QTest::newRow("trailing blank counts") << dump << QByteArray("S3cret pw \n") << QByteArray() << false;
    QTest::newRow("file wins over standard input")
        << dump << QByteArray("wrong\n") << QByteArray("S3cret pw\n") << false;
}

void TestCli::password() {
    QFETCH(QStringList, command);
    QFETCH(QByteArray, fileText);
    QFETCH(QByteArray, input);
    QFETCH(bool, accepted);

    TDataFile dataFile = MakeBooks(0, true);
    dataFile.PasswordDigest = PasswordDigest("S3cret pw");
    const QString path = Save(dataFile, QStringLiteral("protected.lgd"));
    const QString out = FDir.filePath(QStringLiteral("protected-copy.lgd"));
    QFile::remove(out);
    QStringList args = command;
    args << path;
    if (command.front() == QStringLiteral("list"))
        args << QStringLiteral("Books");
    if (command.front() == QStringLiteral("resave"))
        args << out;
    if (!fileText.isEmpty()) {
        const QString passwordFile = FDir.filePath(QStringLiteral("password.txt"));
        QFile file(passwordFile);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(fileText);
        file.close();
        args << QStringLiteral("--password-file") << passwordFile;
    }

    const TRun run = RunCli(args, input);
    if (accepted) {
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
        if (command.front() == QStringLiteral("resave"))
            QCOMPARE(ReadAll(out), ReadAll(path));
        else
            QVERIFY(run.Out.contains("book_2"));
    } else {
        QCOMPARE(run.Err, QByteArray("Password error.\n"));
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.Out, QByteArray());
        QVERIFY(!QFileInfo::exists(out));
    }
}

void TestCli::passwordOnTerminal() {
    TDataFile dataFile = MakeBooks(0, true);
    dataFile.PasswordDigest = PasswordDigest("S3cret pw");
    const QString path = Save(dataFile, QStringLiteral("terminal.lgd"));

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        QSKIP("No pseudo terminal available.");
    const QByteArray slaveName = ptsname(master);
    // Held open here too, so the terminal outlives the process and its modes can be read after.
    const int slave = open(slaveName.constData(), O_RDWR | O_NOCTTY);
    QVERIFY(slave >= 0);

    QProcess process;
    process.setChildProcessModifier([slaveName] {
        const int fd = open(slaveName.constData(), O_RDWR);
        dup2(fd, STDIN_FILENO);
        close(fd);
    });
    process.setReadChannel(QProcess::StandardError);
    process.start(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli"),
                  {QStringLiteral("list"), path, QStringLiteral("2")});
    QVERIFY(process.waitForStarted());
    QByteArray prompt;
    while (!prompt.contains("Password: ") && process.waitForReadyRead(30000))
        prompt += process.readAllStandardError();
    QCOMPARE(prompt, QByteArray("Password: "));
    QCOMPARE(write(master, "S3cret pw\n", 10), ssize_t(10));
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray("\n"));
    QVERIFY(process.readAllStandardOutput().startsWith("Title\tAuthor\tNotes\n"));

    // Nothing typed came back as echo, and echo is on again afterwards.
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    char echoed[256];
    const ssize_t n = read(master, echoed, sizeof echoed);
    QVERIFY(!QByteArray(echoed, n > 0 ? int(n) : 0).contains("S3cret"));
    termios modes{};
    QCOMPARE(tcgetattr(slave, &modes), 0);
    QVERIFY(modes.c_lflag & ECHO);
    close(slave);
    close(master);
}

void TestCli::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    const QString file = kTemplateFile;
    QTest::newRow("nothing") << QStringList() << QByteArray("no command given");
    QTest::newRow("unknown command") << QStringList{"frobnicate", file}
                                     << QByteArray("unknown command 'frobnicate'");
    QTest::newRow("command in capitals") << QStringList{"INFO", file} << QByteArray("unknown command 'INFO'");
    QTest::newRow("info without file")
        << QStringList{"info"} << QByteArray("missing argument FILE for 'info'");
    QTest::newRow("check with two files")
        << QStringList{"check", file, file}
        << QByteArray("unexpected argument '" + file.toUtf8() + "' after 'check FILE'");
    QTest::newRow("resave without output")
        << QStringList{"resave", file} << QByteArray("missing argument OUT for 'resave'");
    QTest::newRow("list without category")
        << QStringList{"list", file} << QByteArray("missing argument CATEGORY for 'list'");
    QTest::newRow("list with a third argument")
        << QStringList{"list", file, "Books", "extra"}
        << QByteArray("unexpected argument 'extra' after 'list FILE CATEGORY'");
    QTest::newRow("export without anything")
        << QStringList{"export"} << QByteArray("missing argument FILE for 'export'");
    QTest::newRow("export without output")
        << QStringList{"export", file, "Books"} << QByteArray("missing argument OUT for 'export'");
    QTest::newRow("unknown option") << QStringList{"info", file, "--bogus"}
                                    << QByteArray("unknown option '--bogus'");
    QTest::newRow("unknown option with a value")
        << QStringList{"info", file, "--bogus=1"} << QByteArray("unknown option '--bogus'");
    QTest::newRow("unknown short option")
        << QStringList{"info", file, "-x"} << QByteArray("unknown option '-x'");
    QTest::newRow("unknown option before the command")
        << QStringList{"--bogus", "info", file} << QByteArray("unknown option '--bogus'");
    QTest::newRow("filter without text")
        << QStringList{"list", file, "Books", "--filter"} << QByteArray("missing value after '--filter'");
    QTest::newRow("password file without path") << QStringList{"dump", file, "--password-file"}
                                                << QByteArray("missing value after '--password-file'");
    QTest::newRow("filter on dump") << QStringList{"dump", file, "--filter", "x"}
                                    << QByteArray("--filter and --whole-word belong to list");
    QTest::newRow("sheet without name") << QStringList{"export", file, "Books", "out.xlsx", "--sheet"}
                                        << QByteArray("missing value after '--sheet'");
    QTest::newRow("sheet on list") << QStringList{"list", file, "Books", "--sheet", "x"}
                                   << QByteArray("--sheet belongs to export and import");
    QTest::newRow("import without category")
        << QStringList{"import", file, "book.csv"} << QByteArray("missing argument CATEGORY for 'import'");
    QTest::newRow("skip duplicates on export")
        << QStringList{"export", file, "Books", "out.xlsx", "--skip-duplicates"}
        << QByteArray("--skip-duplicates belongs to import");
    for (const char* lineBreak : {"\n", "\r\n", "\r"})
        QTest::addRow("filter with line break %s", QByteArray(lineBreak).toPercentEncoding().constData())
            << QStringList{"list", file, "Books", "--filter", QStringLiteral("one%1two").arg(lineBreak)}
            << QByteArray("--filter TEXT cannot hold a line break");
    QTest::newRow("whole word with a value") << QStringList{"list", file, "Books", "--whole-word=yes"}
                                             << QByteArray("unexpected value after '--whole-word'");
}

// A usage error is one line on standard error that points to --help, never the whole help.
void TestCli::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const TRun run = RunCli(arguments);
    QCOMPARE(run.ExitCode, 2);
    QCOMPARE(run.Out, QByteArray());
    QCOMPARE(run.Err, "quillery-cli: " + message + ". Try 'quillery-cli --help'.\n");
}

void TestCli::help_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--help") << QStringList{"--help"};
    QTest::newRow("-h") << QStringList{"-h"};
    QTest::newRow("after a command") << QStringList{"info", "--help"};
    QTest::newRow("with an unknown option") << QStringList{"--bogus", "--help"};
    QTest::newRow("with --version") << QStringList{"--version", "--help"};
    QTest::newRow("with a missing argument") << QStringList{"export", "-h"};
}

void TestCli::help() {
    QFETCH(QStringList, arguments);
    const TRun run = RunCli(arguments);
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Err, QByteArray());
    QVERIFY(run.Out.startsWith("Usage: quillery-cli COMMAND"));
    for (const char* word :
         {"info FILE", "dump FILE", "check FILE", "resave IN OUT", "list FILE CATEGORY",
          "export FILE CATEGORY OUT", "import FILE WORKBOOK CATEGORY", "--skip-duplicates", "--sheet",
          "--filter", "--whole-word", "--password-file", "--version", "\"bytes\""})
        QVERIFY2(run.Out.contains(word), word);
}

void TestCli::version_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--version") << QStringList{"--version"};
    QTest::newRow("-v") << QStringList{"-v"};
    QTest::newRow("after a command") << QStringList{"info", kTemplateFile, "--version"};
    QTest::newRow("with an unknown command") << QStringList{"frobnicate", "-v"};
}

void TestCli::version() {
    QFETCH(QStringList, arguments);
    const TRun run = RunCli(arguments);
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.Out, QByteArray("quillery-cli " QUILLERY_VERSION "\n"));
}

// "--" ends the options, so a file may start with a dash.
void TestCli::dashedFileName() {
    const QString dashed = FDir.filePath(QStringLiteral("-dashed.lgd"));
    QVERIFY(QFile::copy(kTemplateFile, dashed));
    const QString before = QDir::currentPath();
    QDir::setCurrent(FDir.path());
    const TRun run = RunCli({QStringLiteral("info"), QStringLiteral("--"), QStringLiteral("-dashed.lgd")});
    QDir::setCurrent(before);
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
}

void TestCli::copyWithoutExchangeProgram_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("unrunnableCopy"); // quillery-cli-exchange beside it, not executable
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error");
    const QByteArray missing =
        "quillery-cli: cannot start quillery-cli-exchange: No such file or directory\n";
    const QStringList exportArguments{"export", kTemplateFile, "Books", FDir.filePath("never.csv")};
    QTest::newRow("dump") << QStringList{"dump", kTemplateFile} << false << 1 << missing;
    QTest::newRow("export") << exportArguments << false << 1 << missing;
    QTest::newRow("import") << QStringList{"import", FDir.filePath("never.lgd"), "book.csv", "Books"} << false
                            << 1 << missing;
    QTest::newRow("export, not executable")
        << exportArguments << true << 1
        << QByteArray("quillery-cli: cannot start quillery-cli-exchange: Permission denied\n");
    QTest::newRow("info runs alone") << QStringList{"info", kTemplateFile} << false << 0 << QByteArray();
    QTest::newRow("usage checked first")
        << QStringList{"export", kTemplateFile} << false << 2
        << QByteArray("quillery-cli: missing argument CATEGORY for 'export'. Try 'quillery-cli --help'.\n");
}

// A copy of quillery-cli whose other program is missing says so in one line; the commands that do
// not need it still run.
void TestCli::copyWithoutExchangeProgram() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, unrunnableCopy);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);
    const QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("quillery-cli"));
    QVERIFY(QFile::copy(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli"), program));
    if (unrunnableCopy) {
        const QString exchange = folder.filePath(QStringLiteral("quillery-cli-exchange"));
        QVERIFY(QFile::copy(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli-exchange"), exchange));
        QVERIFY(QFile::setPermissions(exchange, QFile::ReadOwner | QFile::WriteOwner));
    }
    const TRun run = RunProgram(program, arguments);
    QCOMPARE(run.Err, error);
    QCOMPARE(run.ExitCode, exitCode);
    QCOMPARE(run.Out.isEmpty(), exitCode != 0);
}

void TestCli::fileErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");

    const QString missing = FDir.filePath(QStringLiteral("missing.lgd"));
    for (const char* command : {"info", "dump", "check", "list", "resave"}) {
        QStringList arguments{QString::fromLatin1(command), missing};
        if (arguments.front() == QStringLiteral("list"))
            arguments << QStringLiteral("Books");
        if (arguments.front() == QStringLiteral("resave"))
            arguments << FDir.filePath(QStringLiteral("never.lgd"));
        QTest::newRow((QByteArray("missing file, ") + command).constData())
            << arguments << "Cannot open file " + missing.toUtf8() + ": No such file or directory";
    }

    const QString folder = FDir.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
    QTest::newRow("folder") << QStringList{"info", folder}
                            << "Cannot open file " + folder.toUtf8() + ": it is not a regular file.";

    const QString foreign = FDir.filePath(QStringLiteral("foreign.lgd"));
    const QString newer = FDir.filePath(QStringLiteral("newer.lgd"));
    const QString truncated = FDir.filePath(QStringLiteral("truncated.lgd"));
    const QByteArray good = ReadAll(kTemplateFile);
    const std::pair<QString, QByteArray> files[] = {{foreign, QByteArray("PK\x03\x04 not ours at all")},
                                                    {newer, QByteArray(good).replace(4, 1, "\x02")},
                                                    {truncated, good.left(good.size() - 1)}};
    for (const auto& [path, bytes] : files) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTest::newRow("not a data file") << QStringList{"check", foreign}
                                     << QByteArray("This is not a Quillery file. (DataLedgrin, line 91)");
    QTest::newRow("newer version") << QStringList{"info", newer}
                                   << QByteArray("Data file version incompatible. (DataLedgrin, line 93)");
    QTest::newRow("truncated") << QStringList{"dump", truncated} << QByteArray("Stream read error");
    const QString noFolder = FDir.filePath(QStringLiteral("no/such/folder/out.lgd"));
    QTest::newRow("output cannot be created")
        << QStringList{"resave", kTemplateFile, noFolder}
        << "Cannot create file " + noFolder.toUtf8() + ": No such file or directory";
}

void TestCli::fileErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const TRun run = RunCli(arguments);
    QCOMPARE(run.Err, message + '\n');
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Out, QByteArray());
    QVERIFY(!QFileInfo::exists(FDir.filePath(QStringLiteral("never.lgd"))));
}

// A file larger than the memory the tool may have fails with a sentence, not the library's name
// for the failure.
void TestCli::runningOutOfMemory() {
    TDataFile dataFile = MakeCheckSample();
    for (int i = 0; i < 48; ++i)
        dataFile.Categories[0]->NewRecord()->Append(std::string(size_t(1) << 20, 'm'));
    const QString path = Save(dataFile, QStringLiteral("large.lgd"));
    const TRun run = RunCli({QStringLiteral("info"), path}, QByteArray(), [] {
        const rlimit limit{rlim_t(32) << 20, rlim_t(32) << 20};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    QCOMPARE(run.Err, QByteArray("There is not enough memory to do this.\n"));
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Out, QByteArray());
}

void TestCli::templatePassesCheck() {
    const TRun run = RunCli({QStringLiteral("check"), kTemplateFile});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.Out, QByteArray("No problems found.\n"));
    QCOMPARE(run.ExitCode, 0);
}

void TestCli::templateForms() {
    TDataFile dataFile;
    dataFile.LoadFromFile(kTemplateFile.toStdString());
    QVERIFY(!dataFile.HasPassword());
    QCOMPARE(dataFile.LastCategoryID, int32_t(dataFile.Categories.size()));
    QStringList names;
    for (const auto& category : dataFile.Categories)
        names << QString::fromStdString(category->Name);
    for (const char* name : {"Contacts", "Accounts", "Books"})
        QVERIFY2(names.contains(QLatin1String(name)), name);

    std::vector<std::string> icons{TBitmapImage::DefaultIcon().Bytes()};
    for (const auto& category : dataFile.Categories) {
        const QByteArray name = QByteArray::fromStdString(category->Name);
        QVERIFY2(category->Records.empty(), name);
        QVERIFY2(category->SortColumn == 0 && category->SortAscending, name);
        QCOMPARE(category->Icon.Width(), 32);
        QCOMPARE(category->Icon.Height(), 32);
        QCOMPARE(category->Icon.BitsPerPixel(), 4);
        QVERIFY2(std::find(icons.begin(), icons.end(), category->Icon.Bytes()) == icons.end(),
                 name + " needs an icon of its own");
        icons.push_back(category->Icon.Bytes());

        int32_t boxLeft = -1;
        int32_t memos = 0;
        for (const auto& element : category->Elements) {
            const QByteArray what = name + " element " + QByteArray::number(element->ID);
            for (int32_t value : {element->Left, element->Top, element->Width, element->Height})
                QVERIFY2(value % 6 == 0 && value >= 0, what + " is off the 6-pixel grid");
            QVERIFY2(element->Width > 0 && element->Height > 0, what);
            QCOMPARE(QString::fromStdString(element->Font.Name), QStringLiteral("MS Sans Serif"));
            QCOMPARE(element->Font.Size, 8);
            QCOMPARE(element->Font.Style, uint8_t(0));
            QCOMPARE(element->Font.Color, 0);
            if (element->IsLabel()) {
                QVERIFY2(!element->Caption.empty(), what);
                QCOMPARE(element->Color, category->FormColor);
                continue;
            }
            QVERIFY2(element->HoldsValue(), what);
            QCOMPARE(element->Color, 16777215);
            QVERIFY2(element->Caption.empty(), what);
            if (boxLeft < 0)
                boxLeft = element->Left;
            QVERIFY2(element->Left == boxLeft, what + " is out of the text boxes' column");
            memos += element->Kind == kKindMemo;
        }
        QVERIFY2(memos >= 1, name + " has no memo box");
        for (const auto& element : category->Elements)
            if (element->IsLabel())
                QVERIFY2(element->Left + element->Width <= boxLeft,
                         name + ": a label reaches into the boxes");

        QVERIFY2(category->Columns.size() >= 2 && category->Columns.size() <= 4, name);
        for (const auto& column : category->Columns) {
            QVERIFY2(column->Width >= 60 && column->Width <= 200, name);
            QVERIFY2(!column->Caption.empty(), name);
        }
    }
}

void TestCli::templateList() {
    const TRun run = RunCli({QStringLiteral("list"), kTemplateFile, QStringLiteral("Books")});
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Out, QByteArray("Title\tAuthor\tYear\n"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
