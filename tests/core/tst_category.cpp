// SPDX-License-Identifier: GPL-3.0-or-later
// Categories, their template elements, list columns and records, and the template merge.

#include "core/Category.h"
#include "core/DataBytes.h"
#include "core/DataFile.h"
#include "core/ElementChecks.h"
#include "core/Password.h"
#include "core/Stream.h"

#include <QtTest>

#include <thread>

namespace {

const TFont kFont{"MS Sans Serif", fsBold, 8, 0x000080};

QByteArray Bytes(std::string_view bytes) {
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QByteArray Serialized(const TCategory& c) {
    std::string buffer;
    TStreamWriter writer(buffer);
    c.SaveToStream(writer);
    return QByteArray::fromStdString(buffer);
}

QByteArrayList Values(const TRecord& r) {
    QByteArrayList values;
    for (int32_t i = 0; i < r.Count(); ++i)
        values << Bytes(r.Value(i));
    return values;
}

QList<QByteArrayList> RecordValues(const TCategory& c) {
    QList<QByteArrayList> records;
    for (const auto& r : c.Records)
        records << Values(*r);
    return records;
}

TRecord MakeRecord(const QByteArrayList& values) {
    TRecord r;
    for (const QByteArray& v : values)
        r.Append(std::string_view(v.constData(), size_t(v.size())));
    return r;
}

const char* KindOf(QChar letter) {
    switch (letter.unicode()) {
    case 'L':
        return kKindLabel;
    case 'E':
        return kKindEdit;
    default:
        return kKindMemo;
    }
}

// Adds one element per letter of kinds (L label, E one-line box, M memo), each with its own geometry.
void AddElements(TCategory& c, const QString& kinds) {
    for (const QChar letter : kinds) {
        const int32_t n = int32_t(c.Elements.size());
        const char* kind = KindOf(letter);
        c.AddElement(kind, 6 + n, 12 * n, 100 + n, 21, 0x00FFFFFF - n,
                     TFont{"Arial", uint8_t(n % 16), 8 + n, n},
                     kind == kKindLabel ? "Label " + std::to_string(n) : std::string());
    }
}

} // namespace

class TestDataCategory : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void addElements();
    void renumber_data();
    void renumber();
    void newRecordCountsTextBoxesOnly_data();
    void newRecordCountsTextBoxesOnly();
    void idsNeverReused();
    void updateElement();
    void updateUnknownElement();
    void deleteElement();
    void lookups();
    void deleteRecord();
    void deleteForeignRecord();
    void assignTemplate();
    void merge_data();
    void merge();
    void mergeLabelChangesKeepRecords();
    void mergeTakesOverCategoryFields();
    void recordValues();
    void recordEdits_data();
    void recordEdits();
    void recordBytes();
    void loadedRecordsOutliveTheirArena();
    void sparePiecesStopWhereTheyAreNotNeeded();
    void dataFileCategories();
    void dataFilePassword();
};

void TestDataCategory::defaults() {
    const TCategory c;
    QCOMPARE(c.ID, 0);
    QVERIFY(c.Name.empty());
    QCOMPARE(c.FormColor, 13028025);
    QCOMPARE(c.SortColumn, 0);
    QVERIFY(c.SortAscending);
    QCOMPARE(c.LastElementID, 0);
    QVERIFY(c.Icon == TBitmapImage::DefaultIcon());
    QVERIFY(c.Elements.empty());
    QVERIFY(c.Columns.empty());
    QVERIFY(c.Records.empty());

    const TListColumn column;
    QCOMPARE(column.Width, 50);
    QCOMPARE(column.ElementID, 0);
    QVERIFY(column.Caption.empty());

    const TElement element;
    QVERIFY(element.Kind.empty());
    QCOMPARE(element.ID, 0);
    QCOMPARE(element.ValueIndex, 0);
    QCOMPARE(element.Left + element.Top + element.Width + element.Height + element.Color, 0);
    QVERIFY(element.Font == TFont());
    QVERIFY(element.Caption.empty());
}

void TestDataCategory::addElements() {
    TCategory c;
    QCOMPARE(c.AddElement(kKindLabel, 1, 2, 3, 4, 5, kFont, "Name:"), 1);
    QCOMPARE(c.AddElement(kKindEdit, 10, 20, 30, 40, -2147483643, kFont, ""), 2);
    QCOMPARE(c.AddElement(kKindMemo, 11, 21, 31, 41, 0, TFont{"Courier", fsItalic | fsStrikeOut, 12, 7}, ""),
             3);
    QCOMPARE(c.LastElementID, 3);

    const TElement& label = *c.Elements[0];
    QCOMPARE(label.Kind, std::string("TLabel"));
    QCOMPARE(label.Left, 1);
    QCOMPARE(label.Top, 2);
    QCOMPARE(label.Width, 3);
    QCOMPARE(label.Height, 4);
    QCOMPARE(label.Color, 5);
    QVERIFY(label.Font == kFont);
    QCOMPARE(label.Caption, std::string("Name:"));
    QCOMPARE(c.Elements[1]->Kind, std::string("TEdit"));
    QCOMPARE(c.Elements[1]->Color, -2147483643);
    QCOMPARE(c.Elements[2]->Kind, std::string("TMemo"));
    QVERIFY((c.Elements[2]->Font == TFont{"Courier", fsItalic | fsStrikeOut, 12, 7}));
    for (const auto& e : c.Elements)
        QCOMPARE(e->ValueIndex, 0);

    c.RenumberValueIndexes();
    QCOMPARE(c.Elements[0]->ValueIndex, -1);
    QCOMPARE(c.Elements[1]->ValueIndex, 0);
    QCOMPARE(c.Elements[2]->ValueIndex, 1);

    TRecord* r = c.NewRecord();
    QCOMPARE(c.Records.size(), size_t(1));
    QCOMPARE(c.Records[0].get(), r);
    QCOMPARE(Values(*r), (QByteArrayList{"", ""}));
}

void TestDataCategory::renumber_data() {
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QList<int>>("valueIndexes");
    QTest::newRow("none") << "" << QList<int>{};
    QTest::newRow("labels only") << "LL" << QList<int>{-1, -1};
    QTest::newRow("mixed") << "LEMLEEM" << QList<int>{-1, 0, 1, -1, 2, 3, 4};
    QTest::newRow("text boxes first") << "MEL" << QList<int>{0, 1, -1};
}

void TestDataCategory::renumber() {
    QFETCH(QString, kinds);
    QFETCH(QList<int>, valueIndexes);
    TCategory c;
    AddElements(c, kinds);
    c.RenumberValueIndexes();
    QList<int> actual;
    for (const auto& e : c.Elements)
        actual << e->ValueIndex;
    QCOMPARE(actual, valueIndexes);
    QCOMPARE(c.TextBoxCount(), int(valueIndexes.size() - valueIndexes.count(-1)));
    QCOMPARE(c.NewRecord()->Count(), c.TextBoxCount());
}

void TestDataCategory::newRecordCountsTextBoxesOnly_data() {
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<int>("values");
    QTest::newRow("no elements") << QStringList{} << 0;
    QTest::newRow("label, edit, memo") << QStringList{"TLabel", "TEdit", "TMemo"} << 2;
    QTest::newRow("kinds compared as plain text")
        << QStringList{"tedit", "TEdit ", "TMEMO", "TButton", "TMemo"} << 1;
}

void TestDataCategory::newRecordCountsTextBoxesOnly() {
    QFETCH(QStringList, kinds);
    QFETCH(int, values);
    TCategory c;
    for (const QString& kind : kinds)
        c.AddElement(kind.toStdString(), 0, 0, 0, 0, 0, kFont, "");
    const TRecord* r = c.NewRecord();
    QCOMPARE(r->Count(), values);
    for (int32_t i = 0; i < r->Count(); ++i)
        QVERIFY(r->Value(i).empty());
}

void TestDataCategory::idsNeverReused() {
    TCategory c;
    AddElements(c, "LEM");
    c.DeleteElement(3);
    QCOMPARE(c.AddElement(kKindEdit, 0, 0, 0, 0, 0, kFont, ""), 4);
    c.DeleteElement(1);
    c.DeleteElement(4);
    QCOMPARE(c.AddElement(kKindLabel, 0, 0, 0, 0, 0, kFont, ""), 5);
    QCOMPARE(c.LastElementID, 5);
    QList<int> ids;
    for (const auto& e : c.Elements)
        ids << e->ID;
    QCOMPARE(ids, (QList<int>{2, 5}));
}

void TestDataCategory::updateElement() {
    TCategory c;
    AddElements(c, "LEM");
    c.RenumberValueIndexes();
    const TFont font{"Tahoma", fsUnderline, 14, 0x00FF00};
    c.UpdateElement(2, 60, 70, 80, 90, 0x123456, font, "ignored for boxes but stored");
    const TElement& e = *c.Elements[1];
    QCOMPARE(e.Kind, std::string("TEdit"));
    QCOMPARE(e.ID, 2);
    QCOMPARE(e.ValueIndex, 0);
    QCOMPARE(e.Left, 60);
    QCOMPARE(e.Top, 70);
    QCOMPARE(e.Width, 80);
    QCOMPARE(e.Height, 90);
    QCOMPARE(e.Color, 0x123456);
    QVERIFY(e.Font == font);
    QCOMPARE(e.Caption, std::string("ignored for boxes but stored"));
    QCOMPARE(c.Elements[0]->Left, 6);
    QCOMPARE(c.Elements[2]->Left, 8);
}

void TestDataCategory::updateUnknownElement() {
    TCategory c;
    AddElements(c, "LE");
    c.NewRecord();
    const QByteArray before = Serialized(c);
    for (int32_t id : {0, 3, -1}) {
        QCOMPARE(ErrorOf([&] { c.UpdateElement(id, 1, 1, 1, 1, 1, kFont, "x"); }),
                 QStringLiteral("EAssertionFailed: Assertion failure (DataCategory, line 456)"));
    }
    QCOMPARE(Serialized(c), before);
}

void TestDataCategory::deleteElement() {
    TCategory c;
    AddElements(c, "EME");
    c.RenumberValueIndexes();
    c.NewRecord()->SetValue(1, "memo");
    const QByteArray before = Serialized(c);
    c.DeleteElement(7);
    c.DeleteElement(0);
    QCOMPARE(Serialized(c), before);

    c.DeleteElement(2);
    QCOMPARE(c.Elements.size(), size_t(2));
    QCOMPARE(c.Elements[0]->ID, 1);
    QCOMPARE(c.Elements[1]->ID, 3);
    // Neither records nor value indexes change here; the merge adjusts them.
    QCOMPARE(c.Elements[1]->ValueIndex, 2);
    QCOMPARE(Values(*c.Records[0]), (QByteArrayList{"", "memo", ""}));
}

void TestDataCategory::lookups() {
    TCategory c;
    AddElements(c, "LEEM");
    c.RenumberValueIndexes();
    c.Elements[3]->ID = 2; // a duplicate id: the first match wins
    for (int32_t id : {3, 9, 3})
        c.Columns.push_back(std::make_unique<TListColumn>(TListColumn{id, 50, ""}));

    QCOMPARE(c.IndexOfElement(1), 0);
    QCOMPARE(c.IndexOfElement(2), 1);
    QCOMPARE(c.IndexOfElement(3), 2);
    QCOMPARE(c.IndexOfElement(4), -1);
    QCOMPARE(c.IndexOfElement(0), -1);
    QCOMPARE(c.ValueIndexOf(1), -1); // a label
    QCOMPARE(c.ValueIndexOf(2), 0);
    QCOMPARE(c.ValueIndexOf(3), 1);
    QCOMPARE(c.ValueIndexOf(99), -1);
    QCOMPARE(c.ColumnIndexOf(3), 0);
    QCOMPARE(c.ColumnIndexOf(9), 1);
    QCOMPARE(c.ColumnIndexOf(2), -1);
    QCOMPARE(c.ElementByID(3), c.Elements[2].get());
    QCOMPARE(c.ElementByID(2), c.Elements[1].get());
    QVERIFY(c.ElementByID(42) == nullptr);
}

void TestDataCategory::deleteRecord() {
    TCategory c;
    AddElements(c, "E");
    c.RenumberValueIndexes();
    for (const char* v : {"a", "b", "c"})
        c.NewRecord()->SetValue(0, v);
    const TRecord* b = c.Records[1].get();
    QCOMPARE(c.IndexOfRecord(b), 1);
    c.DeleteRecord(b);
    QCOMPARE(RecordValues(c), (QList<QByteArrayList>{{"a"}, {"c"}}));
    QCOMPARE(c.IndexOfRecord(c.Records[1].get()), 1);
}

void TestDataCategory::deleteForeignRecord() {
    TCategory c;
    TCategory other;
    AddElements(c, "E");
    AddElements(other, "E");
    c.NewRecord()->SetValue(0, "mine");
    const TRecord* foreign = other.NewRecord();
    const TRecord loose;
    const QByteArray before = Serialized(c);
    const QString expected = QStringLiteral("EAssertionFailed: Assertion failure (DataCategory, line 328)");
    QCOMPARE(ErrorOf([&] { c.DeleteRecord(foreign); }), expected);
    QCOMPARE(ErrorOf([&] { c.DeleteRecord(&loose); }), expected);
    QCOMPARE(ErrorOf([&] { c.DeleteRecord(nullptr); }), expected);
    QCOMPARE(Serialized(c), before);
    QCOMPARE(other.Records.size(), size_t(1));
    QCOMPARE(c.IndexOfRecord(foreign), -1);
}

void TestDataCategory::assignTemplate() {
    TCategory source;
    source.ID = 7;
    source.Name = "Books";
    source.FormColor = 0x00ABCDEF;
    source.SortColumn = 2;
    source.SortAscending = false;
    source.Icon = TBitmapImage::FromPixelMap({}, {"01", "10"});
    AddElements(source, "LEM");
    source.RenumberValueIndexes();
    source.Columns.push_back(std::make_unique<TListColumn>(TListColumn{2, 70, "Title"}));
    source.NewRecord();

    TCategory target;
    AddElements(target, "M"); // kept: the lists are appended to
    target.AssignTemplate(source);
    QCOMPARE(target.ID, 7);
    QCOMPARE(target.Name, std::string("Books"));
    QCOMPARE(target.FormColor, 0x00ABCDEF);
    QCOMPARE(target.LastElementID, source.LastElementID);
    QVERIFY(target.Icon == source.Icon);
    QCOMPARE(target.SortColumn, 2);
    QVERIFY(!target.SortAscending);
    QCOMPARE(target.Elements.size(), size_t(4));
    QCOMPARE(target.Elements[0]->Kind, std::string("TMemo"));
    QCOMPARE(target.Elements[1]->Caption, std::string("Label 0"));
    QCOMPARE(target.Columns.size(), size_t(1));
    QCOMPARE(target.Columns[0]->Caption, std::string("Title"));
    QVERIFY(target.Records.empty());

    // Copies, not shared objects.
    source.Elements[0]->Caption = "changed";
    source.Columns[0]->Width = 1;
    QCOMPARE(target.Elements[1]->Caption, std::string("Label 0"));
    QCOMPARE(target.Columns[0]->Width, 70);

    TCategory fresh;
    fresh.AssignTemplate(source);
    CompareElements(fresh, source);
}

// The open category has a template of `kinds` and records; the editor's copy deletes `deleted`,
// then appends `added`, and renumbers, as the template editor does.
void TestDataCategory::merge_data() {
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QList<int>>("deleted");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QList<QByteArrayList>>("records");
    QTest::addColumn<QList<QByteArrayList>>("merged");

    const QList<QByteArrayList> abc = {{"a", "b", "c"}, {"d", "e", "f"}};
    QTest::newRow("nothing changed") << "EEE" << QList<int>{} << "" << abc << abc;
    QTest::newRow("middle text box deleted")
        << "EEE" << QList<int>{2} << "" << abc << QList<QByteArrayList>{{"a", "c"}, {"d", "f"}};
    QTest::newRow("first text box deleted")
        << "EML" << QList<int>{1} << "" << QList<QByteArrayList>{{"a", "b"}} << QList<QByteArrayList>{{"b"}};
    QTest::newRow("last text box deleted")
        << "LEM" << QList<int>{3} << "" << QList<QByteArrayList>{{"a", "b"}} << QList<QByteArrayList>{{"a"}};
    QTest::newRow("text box added at the end")
        << "EE" << QList<int>{} << "E" << QList<QByteArrayList>{{"a", "b"}, {"", "x"}}
        << QList<QByteArrayList>{{"a", "b", ""}, {"", "x", ""}};
    QTest::newRow("memo added after a label")
        << "EL" << QList<int>{} << "M" << QList<QByteArrayList>{{"a"}} << QList<QByteArrayList>{{"a", ""}};
    QTest::newRow("label added at the end")
        << "EE" << QList<int>{} << "L" << QList<QByteArrayList>{{"a", "b"}}
        << QList<QByteArrayList>{{"a", "b"}};
    QTest::newRow("label deleted") << "LELE" << QList<int>{3} << "" << QList<QByteArrayList>{{"a", "b"}}
                                   << QList<QByteArrayList>{{"a", "b"}};
    QTest::newRow("several deleted at once")
        << "EELMEE" << QList<int>{1, 4, 5} << ""
        << QList<QByteArrayList>{{"a", "b", "c", "d", "e"}, {"1", "2", "3", "4", "5"}}
        << QList<QByteArrayList>{{"b", "e"}, {"2", "5"}};
    QTest::newRow("deleted and added")
        << "EEE" << QList<int>{2} << "ML" << QList<QByteArrayList>{{"a", "b", "c"}}
        << QList<QByteArrayList>{{"a", "c", ""}};
    QTest::newRow("everything deleted")
        << "EML" << QList<int>{1, 2, 3} << "" << QList<QByteArrayList>{{"a", "b"}, {"", ""}}
        << QList<QByteArrayList>{{}, {}};
    QTest::newRow("template from nothing")
        << "" << QList<int>{} << "ELM" << QList<QByteArrayList>{{}} << QList<QByteArrayList>{{"", ""}};
    QTest::newRow("no records") << "EEE" << QList<int>{1} << "E" << QList<QByteArrayList>{}
                                << QList<QByteArrayList>{};
    QTest::newRow("values with line breaks and nul bytes")
        << "EMEM" << QList<int>{2} << ""
        << QList<QByteArrayList>{{"a", "m1\r\nm2", QByteArray("\0x", 2), "\r\n"}}
        << QList<QByteArrayList>{{"a", QByteArray("\0x", 2), "\r\n"}};
}

void TestDataCategory::merge() {
    QFETCH(QString, kinds);
    QFETCH(QList<int>, deleted);
    QFETCH(QString, added);
    QFETCH(QList<QByteArrayList>, records);
    QFETCH(QList<QByteArrayList>, merged);

    TCategory open;
    open.ID = 4;
    AddElements(open, kinds);
    open.RenumberValueIndexes();
    for (const QByteArrayList& values : records)
        open.Records.push_back(std::make_unique<TRecord>(MakeRecord(values)));

    TCategory edited;
    edited.AssignTemplate(open);
    for (int id : deleted)
        edited.DeleteElement(id);
    AddElements(edited, added);
    edited.RenumberValueIndexes();

    open.MergeTemplate(edited);
    QCOMPARE(RecordValues(open), merged);
    CompareElements(open, edited);
    QCOMPARE(open.LastElementID, edited.LastElementID);
    for (const auto& r : open.Records)
        QCOMPARE(r->Count(), open.TextBoxCount());
}

void TestDataCategory::mergeLabelChangesKeepRecords() {
    TCategory open;
    AddElements(open, "LELM");
    open.RenumberValueIndexes();
    open.Records.push_back(std::make_unique<TRecord>(MakeRecord({"one", "two\r\nlines"})));

    TCategory edited;
    edited.AssignTemplate(open);
    edited.UpdateElement(1, 300, 400, 10, 10, 0x0000FF, TFont{"Impact", fsItalic, 20, 0xFF}, "New caption");
    edited.UpdateElement(3, 0, 0, 1, 1, 0, TFont{}, "");

    open.MergeTemplate(edited);
    QCOMPARE(RecordValues(open), (QList<QByteArrayList>{{"one", "two\r\nlines"}}));
    CompareElements(open, edited);
    QCOMPARE(open.Elements[0]->Caption, std::string("New caption"));
}

void TestDataCategory::mergeTakesOverCategoryFields() {
    TCategory open;
    open.ID = 3;
    open.Name = "Old";
    AddElements(open, "EE");
    open.RenumberValueIndexes();
    for (int32_t id : {1, 2, 1})
        open.Columns.push_back(std::make_unique<TListColumn>(TListColumn{id, 40, "old"}));
    open.SortColumn = 2;
    open.NewRecord()->SetValue(1, "kept");

    TCategory edited;
    edited.AssignTemplate(open);
    edited.Name = "New name";
    edited.FormColor = 0x00112233;
    edited.SortColumn = 0;
    edited.SortAscending = false;
    edited.Icon = TBitmapImage::FromPixelMap({}, {"0"});
    edited.Columns.clear();
    edited.Columns.push_back(std::make_unique<TListColumn>(TListColumn{2, 90, "Second"}));
    AddElements(edited, "L");
    edited.RenumberValueIndexes();

    open.MergeTemplate(edited);
    QCOMPARE(open.ID, 3);
    QCOMPARE(open.Name, std::string("New name"));
    QCOMPARE(open.FormColor, 0x00112233);
    QCOMPARE(open.LastElementID, 3);
    QCOMPARE(open.SortColumn, 0);
    QVERIFY(!open.SortAscending);
    QVERIFY(open.Icon == edited.Icon);
    QCOMPARE(open.Columns.size(), size_t(1));
    QCOMPARE(open.Columns[0]->ElementID, 2);
    QCOMPARE(open.Columns[0]->Width, 90);
    QCOMPARE(open.Columns[0]->Caption, std::string("Second"));
    QCOMPARE(RecordValues(open), (QList<QByteArrayList>{{"", "kept"}}));

    // The merged columns are copies of the editor's.
    edited.Columns[0]->Caption = "changed later";
    QCOMPARE(open.Columns[0]->Caption, std::string("Second"));
}

void TestDataCategory::recordValues() {
    const TRecord empty;
    QCOMPARE(empty.Count(), 0);
    QVERIFY(empty.Value(0).empty());

    TRecord r(3);
    QCOMPARE(r.Count(), 3);
    QCOMPARE(Values(r), (QByteArrayList{"", "", ""}));
    for (int32_t i : {-1, 3, 1000, std::numeric_limits<int32_t>::min()})
        QVERIFY(r.Value(i).empty());

    r.SetValue(1, "middle");
    r.SetValue(0, std::string_view("a\0b", 3));
    r.SetValue(2, "x\r\ny\r\n");
    QCOMPARE(Values(r), (QByteArrayList{QByteArray("a\0b", 3), "middle", "x\r\ny\r\n"}));
    r.SetValue(1, "");
    QCOMPARE(Values(r), (QByteArrayList{QByteArray("a\0b", 3), "", "x\r\ny\r\n"}));

    TRecord copy;
    copy.Append("other");
    copy.Assign(r);
    QVERIFY(copy == r);
    copy.SetValue(2, "changed");
    QVERIFY(!(copy == r));
    QCOMPARE(Bytes(r.Value(2)), QByteArray("x\r\ny\r\n"));
    QVERIFY(TRecord(0) == TRecord());
}

void TestDataCategory::recordEdits_data() {
    QTest::addColumn<QByteArrayList>("initial");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArrayList>("expected");

    const QByteArrayList abc = {"a", "bb", "ccc"};
    QTest::newRow("set first longer")
        << abc << "set" << 0 << QByteArray("AAAA") << QByteArrayList{"AAAA", "bb", "ccc"};
    QTest::newRow("set middle shorter")
        << abc << "set" << 1 << QByteArray("") << QByteArrayList{"a", "", "ccc"};
    QTest::newRow("set last") << abc << "set" << 2 << QByteArray("z") << QByteArrayList{"a", "bb", "z"};
    QTest::newRow("insert at front") << abc << "insert" << 0 << QByteArray("0")
                                     << QByteArrayList{"0", "a", "bb", "ccc"};
    QTest::newRow("insert in middle")
        << abc << "insert" << 2 << QByteArray("") << QByteArrayList{"a", "bb", "", "ccc"};
    QTest::newRow("insert at end") << abc << "insert" << 3 << QByteArray("d")
                                   << QByteArrayList{"a", "bb", "ccc", "d"};
    QTest::newRow("insert into empty")
        << QByteArrayList{} << "insert" << 0 << QByteArray("x") << QByteArrayList{"x"};
    QTest::newRow("erase first") << abc << "erase" << 0 << QByteArray() << QByteArrayList{"bb", "ccc"};
    QTest::newRow("erase middle") << abc << "erase" << 1 << QByteArray() << QByteArrayList{"a", "ccc"};
    QTest::newRow("erase last") << abc << "erase" << 2 << QByteArray() << QByteArrayList{"a", "bb"};
    QTest::newRow("erase only") << QByteArrayList{"x"} << "erase" << 0 << QByteArray() << QByteArrayList{};
    QTest::newRow("erase empty value")
        << QByteArrayList{"", "", "x"} << "erase" << 1 << QByteArray() << QByteArrayList{"", "x"};
    QTest::newRow("append") << abc << "append" << 0 << QByteArray("d\r\n")
                            << QByteArrayList{"a", "bb", "ccc", "d\r\n"};
    QTest::newRow("append nul") << QByteArrayList{} << "append" << 0 << QByteArray("\0", 1)
                                << QByteArrayList{QByteArray("\0", 1)};
}

void TestDataCategory::recordEdits() {
    QFETCH(QByteArrayList, initial);
    QFETCH(QString, operation);
    QFETCH(int, index);
    QFETCH(QByteArray, value);
    QFETCH(QByteArrayList, expected);

    TRecord r = MakeRecord(initial);
    const std::string_view v(value.constData(), size_t(value.size()));
    if (operation == "set")
        r.SetValue(index, v);
    else if (operation == "insert")
        r.Insert(index, v);
    else if (operation == "erase")
        r.Erase(index);
    else
        r.Append(v);
    QCOMPARE(r.Count(), int32_t(expected.size()));
    QCOMPARE(Values(r), expected);
    QVERIFY(r == MakeRecord(expected));
}

void TestDataCategory::recordBytes() {
    const TRecord r = MakeRecord({"", QByteArray("a\0b", 3), "l1\r\nl2"});
    std::string buffer;
    TStreamWriter writer(buffer);
    r.SaveToStream(writer);
    const QByteArray expected =
        TDataBytes().Int32(3).String("").String(QByteArray("a\0b", 3)).String("l1\r\nl2").Bytes();
    QCOMPARE(QByteArray::fromStdString(buffer), expected);

    const QByteArray stream = expected + "next";
    TStreamReader reader(std::string_view(stream.constData(), size_t(stream.size())));
    TRecord loaded;
    loaded.LoadFromStream(reader);
    QVERIFY(loaded == r);
    QCOMPARE(reader.Position(), size_t(expected.size()));
}

// A category read from a stream keeps its records in arena pieces, which go back to the system
// with the last record cut from them, whichever thread lets it go, and not before.
void TestDataCategory::loadedRecordsOutliveTheirArena() {
    TCategory source;
    AddElements(source, "EM");
    for (int i = 0; i < 30000; ++i) {
        TRecord* r = source.NewRecord();
        r->SetValue(0, "record " + std::to_string(i));
        r->SetValue(1, std::string(size_t(100 + i % 200), char('a' + i % 26)));
    }
    const QByteArray bytes = Serialized(source);
    const size_t before = TBlockArena::PiecesInUse();
    auto loaded = std::make_unique<TCategory>();
    TStreamReader reader(std::string_view(bytes.constData(), size_t(bytes.size())));
    loaded->LoadFromStream(reader);
    QCOMPARE(Serialized(*loaded), bytes);
    QCOMPARE(RecordValues(*loaded), RecordValues(source));
    QVERIFY(TBlockArena::PiecesInUse() > before + 1);

    // One record kept, edited into a heap block and copied; the other records go on two threads.
    std::unique_ptr<TRecord> kept = std::move(loaded->Records[12345]);
    kept->SetValue(1, "edited");
    const TRecord copy = *kept;
    std::vector<std::unique_ptr<TRecord>> half(std::make_move_iterator(loaded->Records.begin()),
                                               std::make_move_iterator(loaded->Records.begin() + 15000));
    loaded->Records.erase(loaded->Records.begin(), loaded->Records.begin() + 15000);
    std::thread other([&half] { half.clear(); });
    loaded.reset();
    other.join();
    QCOMPARE(TBlockArena::PiecesInUse(), before + 1);
    QCOMPARE(Values(*kept), QByteArrayList({"record 12345", "edited"}));
    QVERIFY(copy == *kept);
    kept.reset();
    QCOMPARE(TBlockArena::PiecesInUse(), before);
    QCOMPARE(Values(copy), QByteArrayList({"record 12345", "edited"}));
}

// Pieces made ready ahead of a load stop at the few that are kept however much is still to come,
// are never made when nothing is, and serve a load as fresh ones do.
void TestDataCategory::sparePiecesStopWhereTheyAreNotNeeded() {
    QVERIFY(!TBlockArena::PrepareSparePiece(0));
    int made = 0;
    while (made < 1000 && TBlockArena::PrepareSparePiece(size_t(1) << 40))
        ++made;
    QVERIFY2(made < 1000, "the pieces made ready have no bound");
    TCategory source;
    AddElements(source, "E");
    for (int i = 0; i < 20000; ++i)
        source.NewRecord()->SetValue(0, std::string(size_t(200 + i % 300), char('a' + i % 26)));
    const QByteArray bytes = Serialized(source);
    TCategory loaded;
    TStreamReader reader(std::string_view(bytes.constData(), size_t(bytes.size())));
    loaded.LoadFromStream(reader);
    QCOMPARE(Serialized(loaded), bytes);
}

void TestDataCategory::dataFileCategories() {
    TDataFile l;
    QCOMPARE(l.Magic, 88888888);
    QCOMPARE(l.Version, 1);
    QCOMPARE(l.LastCategoryID, 0);
    QVERIFY(l.Categories.empty());

    TCategory* a = l.AddCategory();
    TCategory* b = l.AddCategory();
    QCOMPARE(a->ID, 1);
    QCOMPARE(b->ID, 2);
    QCOMPARE(l.LastCategoryID, 2);
    QCOMPARE(l.Categories.back().get(), b);
    QCOMPARE(a->FormColor, 13028025);
    QVERIFY(a->Icon == TBitmapImage::DefaultIcon());
    QVERIFY(a->Name.empty());

    l.Categories.pop_back();
    TCategory* c = l.AddCategory();
    QCOMPARE(c->ID, 3);
    QCOMPARE(l.CategoryByID(3), c);
    QCOMPARE(l.CategoryByID(1), a);
    QVERIFY(l.CategoryByID(2) == nullptr);
    QVERIFY(l.CategoryByID(0) == nullptr);
    QCOMPARE(l.IndexOfCategory(c), 1);
    const TCategory loose;
    QCOMPARE(l.IndexOfCategory(&loose), -1);
}

void TestDataCategory::dataFilePassword() {
    TDataFile l;
    QCOMPARE(l.PasswordDigest, PasswordDigest(""));
    QVERIFY(!l.HasPassword());
    l.PasswordDigest = PasswordDigest("secret");
    QVERIFY(l.HasPassword());
    l.PasswordDigest = PasswordDigest("");
    QVERIFY(!l.HasPassword());
}

QTEST_GUILESS_MAIN(TestDataCategory)
#include "tst_category.moc"
