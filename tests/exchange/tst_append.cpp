// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheet rows added to an existing category, on a worksheet in memory: matching headings to
// text boxes, the records built, duplicates left out, and a failure that changes nothing.

#include "FakeWorksheet.h"

#include "core/DataFile.h"
#include "core/Error.h"
#include "exchange/CategoryAppend.h"

#include <QtTest>

namespace {

const TFont kFont{"MS Sans Serif", 0, 8, 0};

// Name, Town and Phone boxes in that order (Phone without a list column), and two records.
void FillContacts(TCategory& category) {
    for (const char* caption : {"Name", "Town", ""}) {
        const int32_t id = category.AddElement(kKindEdit, 0, 0, 100, 20, 0xFFFFFF, kFont, "");
        if (*caption != '\0') {
            auto column = std::make_unique<TListColumn>();
            column->ElementID = id;
            column->Caption = caption;
            category.Columns.push_back(std::move(column));
        }
    }
    category.AddElement(kKindLabel, 0, 0, 100, 20, 0xFFFFFF, kFont, "Phone:");
    category.RenumberValueIndexes();
    category.Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"Ann", "Oslo", ""}));
    category.Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"Bob", "", "42"}));
}

// The values of the records from index from on, joined by "|".
QStringList Texts(const TCategory& category, size_t from) {
    QStringList texts;
    for (size_t r = from; r < category.Records.size(); ++r) {
        const TRecord* record = category.Records[r].get();
        QStringList values;
        for (int32_t i = 0; i < record->Count(); ++i)
            values.append(QString::fromStdString(std::string(record->Value(i))));
        texts.append(values.join(QLatin1Char('|')));
    }
    return texts;
}

// A worksheet whose cells of one row cannot be read, as a damaged file's.
class TFailingWorksheet : public TFakeWorksheet {
public:
    int FailingRow = 0;
    QString CellText(int row, int column) const override {
        if (row == FailingRow)
            throw EQuilleryError("cannot read the row");
        return TFakeWorksheet::CellText(row, column);
    }
};

} // namespace

class TAppendTest : public QObject {
    Q_OBJECT

private slots:
    void MatchesHeadingsToCaptions_data();
    void MatchesHeadingsToCaptions();
    void ReadsRowsIntoTheChosenBoxes_data();
    void ReadsRowsIntoTheChosenBoxes();
    void FailurePartWayChangesNothing();
};

void TAppendTest::MatchesHeadingsToCaptions_data() {
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QList<int>>("matches");
    QTest::newRow("same captions") << QStringList{"Name", "Town"} << QList<int>{0, 1};
    QTest::newRow("other case and spaces") << QStringList{" tOWN ", "NAME"} << QList<int>{1, 0};
    QTest::newRow("unknown and empty") << QStringList{"Phone", "", "Town"} << QList<int>{-1, -1, 1};
    QTest::newRow("unnamed box as exported") << QStringList{"_UNNAMED_"} << QList<int>{2};
    QTest::newRow("a box goes to the first heading") << QStringList{"name", "Name"} << QList<int>{0, -1};
}

void TAppendTest::MatchesHeadingsToCaptions() {
    QFETCH(QStringList, headings);
    QFETCH(QList<int>, matches);
    TCategory category;
    FillContacts(category);
    const std::vector<TExportColumn> boxes = TCategoryAppend::TextBoxes(category);
    QCOMPARE(boxes.size(), size_t(3));
    QCOMPARE(boxes[2].Heading, QStringLiteral("_unnamed_"));
    const std::vector<int> found = TCategoryAppend::MatchByCaption(boxes, headings);
    QCOMPARE(QList<int>(found.begin(), found.end()), matches);
}

void TAppendTest::ReadsRowsIntoTheChosenBoxes_data() {
    // Columns of the sheet: A Name, B Phone, C Town; pairs of column and value index.
    QTest::addColumn<QList<int>>("mapping");
    QTest::addColumn<bool>("skipDuplicates");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("duplicates");
    QTest::newRow("every column") << QList<int>{1, 0, 2, 2, 3, 1} << false
                                  << QStringList{"Ann|Oslo|", "Bob||42", "Cid|Rome|", "|Oslo|7"} << 0;
    QTest::newRow("every column without duplicates")
        << QList<int>{1, 0, 2, 2, 3, 1} << true << QStringList{"Cid|Rome|", "|Oslo|7"} << 2;
    // Compared on Name alone, Bob is there already and so is Ann.
    QTest::newRow("one column, duplicates by it") << QList<int>{1, 0} << true << QStringList{"Cid||"} << 2;
    QTest::newRow("town only: empty rows give none")
        << QList<int>{3, 1} << false << QStringList{"|Oslo|", "|Rome|", "|Oslo|"} << 0;
    QTest::newRow("town into the phone box")
        << QList<int>{3, 2} << true << QStringList{"||Oslo", "||Rome", "||Oslo"} << 0;
    QTest::newRow("no column") << QList<int>{} << true << QStringList{} << 0;
}

void TAppendTest::ReadsRowsIntoTheChosenBoxes() {
    QFETCH(QList<int>, mapping);
    QFETCH(bool, skipDuplicates);
    QFETCH(QStringList, records);
    QFETCH(int, duplicates);
    TCategory category;
    FillContacts(category);
    const std::vector<std::string> before{std::string(category.Records[0]->Bytes()),
                                          std::string(category.Records[1]->Bytes())};
    TFakeWorksheet sheet;
    sheet.Fill({{"Name", "Phone", "Town"},
                {" Ann ", "", "Oslo"},
                {"Bob", "42", ""},
                {"", "", " "},
                {"Cid", "", "Rome"},
                {"", "7", "Oslo"}});
    std::vector<TAppendColumn> columns;
    for (int i = 0; i + 1 < mapping.size(); i += 2)
        columns.push_back({mapping[i], mapping[i + 1]});
    TCategoryAppend append(sheet, category, columns);
    int64_t lastDone = -1;
    append.ReadRecords(2, 6, skipDuplicates, [&](int64_t done, int64_t) { lastDone = done; });
    QCOMPARE(lastDone, int64_t(5));
    QCOMPARE(append.RecordCount(), size_t(records.size()));
    QCOMPARE(append.DuplicateCount(), size_t(duplicates));
    // Nothing reaches the category before the records are added.
    QCOMPARE(category.Records.size(), size_t(2));

    category.AppendRecords(append.TakeRecords());
    QCOMPARE(append.RecordCount(), size_t(0));
    QCOMPARE(category.Records.size(), size_t(2 + records.size()));
    QCOMPARE(Texts(category, 2), records);
    QCOMPARE(std::string(category.Records[0]->Bytes()), before[0]);
    QCOMPARE(std::string(category.Records[1]->Bytes()), before[1]);
}

void TAppendTest::FailurePartWayChangesNothing() {
    TDataFile data;
    FillContacts(*data.AddCategory());
    const std::string before = data.SaveToBytes();
    TFailingWorksheet sheet;
    sheet.Fill({{"Name"}, {"Ann"}, {"Bob"}, {"Cid"}});
    sheet.FailingRow = 3;
    TCategoryAppend append(sheet, *data.Categories.front(), {{1, 0}});
    QVERIFY_THROWS_EXCEPTION(EQuilleryError, append.ReadRecords(2, 4, false, {}));
    QVERIFY(data.SaveToBytes() == before);
}

QTEST_GUILESS_MAIN(TAppendTest)
#include "tst_append.moc"
