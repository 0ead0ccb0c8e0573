// SPDX-License-Identifier: GPL-3.0-or-later
// The mapping between categories and worksheets, on a worksheet in memory: the export's columns
// and cells, the size limits of a .xlsx sheet, range detection, and the category an import builds.

#include "FakeWorksheet.h"

#include "core/DataFile.h"
#include "core/Error.h"
#include "exchange/CategoryExport.h"
#include "exchange/CategoryImport.h"
#include "exchange/workbook/Workbook.h"

#include <QtTest>

namespace {

const TFont kFont{"MS Sans Serif", 0, 8, 0};

// Appends a text box (or a label) to category; caption non-empty also lists it as a column.
int32_t AddBox(TCategory& category, const char* kind, const std::string& caption = std::string()) {
    const int32_t id = category.AddElement(kind, 0, 0, 100, 20, 0xFFFFFF, kFont, "");
    if (!caption.empty()) {
        auto column = std::make_unique<TListColumn>();
        column->ElementID = id;
        column->Caption = caption;
        category.Columns.push_back(std::move(column));
    }
    category.RenumberValueIndexes();
    return id;
}

void AddRecord(TCategory& category, const std::vector<std::string>& values) {
    TRecord& record = *category.NewRecord();
    for (size_t i = 0; i < values.size(); ++i)
        record.SetValue(static_cast<int32_t>(i), values[i]);
}

QString ErrorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const EQuilleryError& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

TFakeWorksheet Exported(const TCategory& category) {
    TFakeWorksheet sheet;
    TCategoryExport(category).WriteTo(sheet, {});
    return sheet;
}

} // namespace

class TMappingTest : public QObject {
    Q_OBJECT

private slots:
    void ExportColumnsFollowElementIds();
    void ExportWithoutTextBoxesOrRecords();
    void ExportSkipsIdGapsAndKeepsEveryTextBox();
    void ExportDecodesStoredBytes();
    void XlsxLimits_data();
    void XlsxLimits();
    void ExportTargets_data();
    void ExportTargets();

    void TrimmedText_data();
    void TrimmedText();
    void RangeDetection_data();
    void RangeDetection();
    void ImportBoundsFollowTheOpenFormat_data();
    void ImportBoundsFollowTheOpenFormat();
    void ImportBuildsTheTemplate_data();
    void ImportBuildsTheTemplate();
    void ImportSkipsEmptyRows();
    void ImportKeepsOtherCategories();
    void ExportThenImportGivesTheSameTexts();
};

void TMappingTest::ExportColumnsFollowElementIds() {
    TDataFile data;
    TCategory& category = *data.AddCategory();
    category.Name = "Books";
    AddBox(category, kKindLabel);
    const int32_t title = AddBox(category, kKindEdit, "Title");
    AddBox(category, kKindMemo); // listed by no column
    AddBox(category, kKindEdit, "Author");
    AddRecord(category, {"Dune", "first\r\nsecond", "Herbert"});
    AddRecord(category, {"", "", "Anon"});
    // Template order differs from id order: the ids decide.
    std::swap(category.Elements[1], category.Elements[3]);
    category.RenumberValueIndexes();
    QCOMPARE(category.ValueIndexOf(title), 2);
    for (const auto& record : category.Records) {
        TRecord reordered({record->Value(2), record->Value(1), record->Value(0)});
        record->Assign(reordered);
    }

    const TFakeWorksheet sheet = Exported(category);
    QCOMPARE(sheet.Row(1, 4), (QStringList{"Title", "_unnamed_", "Author", ""}));
    QCOMPARE(sheet.Row(2, 4), (QStringList{"Dune", "first\r\nsecond", "Herbert", ""}));
    QCOMPARE(sheet.Row(3, 4), (QStringList{"", "", "Anon", ""}));
    QCOMPARE(sheet.Headings, (QList<QPair<int, int>>{{1, 1}, {1, 2}, {1, 3}}));
    QCOMPARE(sheet.UsedRows(), 3);
}

void TMappingTest::ExportWithoutTextBoxesOrRecords() {
    TDataFile data;
    TCategory& labelsOnly = *data.AddCategory();
    AddBox(labelsOnly, kKindLabel);
    TFakeWorksheet sheet = Exported(labelsOnly);
    QVERIFY(sheet.Cells.isEmpty());
    QVERIFY(sheet.Headings.isEmpty());

    TCategory& noRecords = *data.AddCategory();
    AddBox(noRecords, kKindEdit, "Name");
    sheet = Exported(noRecords);
    QCOMPARE(sheet.Cells.size(), 1);
    QCOMPARE(sheet.Row(1, 1), QStringList{"Name"});
}

void TMappingTest::ExportSkipsIdGapsAndKeepsEveryTextBox() {
    TDataFile data;
    TCategory& category = *data.AddCategory();
    // More text boxes than the 2001 a fixed table held.
    constexpr int kBoxes = 2600;
    std::vector<std::string> values;
    for (int i = 0; i < kBoxes; ++i) {
        AddBox(category, kKindEdit, "c" + std::to_string(i));
        values.push_back("v" + std::to_string(i));
    }
    AddRecord(category, values);
    category.DeleteElement(5); // value index 4
    category.Records[0]->Erase(4);
    category.RenumberValueIndexes();

    const TFakeWorksheet sheet = Exported(category);
    QCOMPARE(sheet.UsedColumns(), kBoxes - 1);
    QCOMPARE(sheet.Cells.value({1, 4}), QStringLiteral("c3"));
    QCOMPARE(sheet.Cells.value({1, 5}), QStringLiteral("c5"));
    QCOMPARE(sheet.Cells.value({2, 5}), QStringLiteral("v5"));
    QCOMPARE(sheet.Cells.value({2, kBoxes - 1}), QStringLiteral("v%1").arg(kBoxes - 1));
}

void TMappingTest::ExportDecodesStoredBytes() {
    TDataFile data;
    TCategory& category = *data.AddCategory();
    AddBox(category, kKindEdit, "Caf\xe9");
    AddRecord(category, {"na\xc3\xafve \xe2\x82\xac"});
    AddRecord(category, {"\x80 cp1252"});
    const TFakeWorksheet sheet = Exported(category);
    QCOMPARE(sheet.Row(1, 1), QStringList{QStringLiteral("Caf\u00e9")});
    QCOMPARE(sheet.Row(2, 1), QStringList{QStringLiteral("na\u00efve \u20ac")});
    QCOMPARE(sheet.Row(3, 1), QStringList{QStringLiteral("\u20ac cp1252")});
}

void TMappingTest::XlsxLimits_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("error");
    QTest::newRow("records at the limit") << 1048575 << 0 << QByteArray() << QString();
    QTest::newRow("one record more") << 1048576 << 0 << QByteArray()
                                     << "The category \"Big\" has 1,048,576 records, more than the 1,048,575 "
                                        "that fit below the heading row "
                                        "of a .xlsx worksheet. Nothing was written.";
    QTest::newRow("columns at the limit") << 1 << 16384 << QByteArray() << QString();
    QTest::newRow("one column more") << 1 << 16385 << QByteArray()
                                     << "The category \"Big\" has 16,385 text boxes, more than the 16,384 "
                                        "columns of a .xlsx worksheet. Nothing was written.";
    QTest::newRow("value at the limit") << 3 << 1 << QByteArray(32767, 'x') << QString();
    QTest::newRow("two-byte characters")
        << 3 << 1 << QByteArray(40000, '\0').replace('\0', "\xc3\xa9")
        << "Record 3 of the category \"Big\" holds a value of 40,000 "
           "characters under \"c\", more than the 32,767 a .xlsx cell holds. "
           "Nothing was written.";
    QTest::newRow("short in characters, long in bytes")
        << 3 << 1 << QByteArray(16000, '\0').replace('\0', "\xe2\x82\xac") << QString();
    QTest::newRow("one character more")
        << 3 << 1 << QByteArray(32768, 'x')
        << "Record 3 of the category \"Big\" holds a value of 32,768 characters under \"c\", more than the "
           "32,767 a .xlsx cell holds. Nothing was written.";
}

void TMappingTest::XlsxLimits() {
    QFETCH(int, records);
    QFETCH(int, boxes);
    QFETCH(QByteArray, value);
    QFETCH(QString, error);
    TDataFile data;
    TCategory& category = *data.AddCategory();
    category.Name = "Big";
    for (int i = 0; i < boxes; ++i)
        category.AddElement(kKindEdit, 0, 0, 10, 10, 0, kFont, "");
    category.RenumberValueIndexes();
    if (boxes == 1) {
        auto column = std::make_unique<TListColumn>();
        column->ElementID = 1;
        column->Caption = "c";
        category.Columns.push_back(std::move(column));
    }
    category.Records.reserve(static_cast<size_t>(records));
    for (int r = 0; r < records; ++r)
        category.Records.push_back(std::make_unique<TRecord>(boxes));
    if (!value.isEmpty())
        category.Records.back()->SetValue(0, value.toStdString());
    QCOMPARE(ErrorOf([&] { TCategoryExport(category).CheckFitsXlsx(); }), error);
}

void TMappingTest::ExportTargets_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("error");
    const QString other =
        QStringLiteral("Quillery exports to Excel workbooks (.xlsx) and CSV files (.csv). Please "
                       "export to a .xlsx file.");
    QTest::newRow("new xlsx") << "a.xlsx" << false << int(TExportTarget::NewWorkbook) << QString();
    QTest::newRow("new csv") << "a.CSV" << false << int(TExportTarget::NewWorkbook) << QString();
    QTest::newRow("existing xlsx") << "a.XLSX" << true << int(TExportTarget::AddSheet) << QString();
    QTest::newRow("existing csv") << "a.csv" << true << int(TExportTarget::ReplaceCsv) << QString();
    QTest::newRow("existing xls")
        << "a.xls" << true << -1
        << "Quillery cannot add a worksheet to the legacy Excel file \"%1\". Please "
           "export to a .xlsx file.";
    QTest::newRow("new xls") << "a.xls" << false << -1 << other;
    QTest::newRow("ods") << "a.ods" << true << -1 << other;
    QTest::newRow("no extension") << "a" << false << -1 << other;
}

void TMappingTest::ExportTargets() {
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(int, target);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    int found = -1;
    QCOMPARE(ErrorOf([&] { found = int(ExportTargetOf(path)); }),
             error.contains("%1") ? error.arg(path) : error);
    QCOMPARE(found, target);
}

void TMappingTest::TrimmedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("spaces") << "  a b  "
                            << "a b";
    QTest::newRow("tabs and line breaks") << "\t\r\na\r\nb\r\n"
                                          << "a\r\nb";
    QTest::newRow("only spaces") << "   "
                                 << "";
    QTest::newRow("no-break space stays") << "\u00a0x\u00a0"
                                          << "\u00a0x\u00a0";
}

void TMappingTest::TrimmedText() {
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimmedCellText(text), trimmed);
}

void TMappingTest::RangeDetection_data() {
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QList<int>>("ranges");
    const QString e;
    QTest::newRow("C2 to E2") << QList<QStringList>{{},
                                                    {e, e, "C", "D", "E", e, "G"},
                                                    {e, e, "1"},
                                                    {e, e, "2"}}
                              << QList<int>{2, 3, 5, 3, 4};
    QTest::newRow("empty corner") << QList<QStringList>{} << QList<int>{1, 1, 1, 2, 2};
    QTest::newRow("beyond the corner")
        << QList<QStringList>{QStringList(20, e) << "U1"} << QList<int>{1, 1, 1, 2, 2};
    QTest::newRow("corner edge T20") << QList<QStringList>{{},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           {},
                                                           QStringList(19, e) << "T20"
                                                                              << "U20"}
                                     << QList<int>{20, 20, 21, 21, 21};
    QTest::newRow("blank cells are empty")
        << QList<QStringList>{{"  ", "\t"}, {" A ", "B", " "}, {"1"}, {"2", "x"}, {" ", "  "}, {"late"}}
        << QList<int>{2, 1, 2, 3, 4};
    QTest::newRow("first data row not examined")
        << QList<QStringList>{{"A", "B"}, {}, {e, "3"}, {"4"}, {}, {"6"}} << QList<int>{1, 1, 2, 2, 4};
    QTest::newRow("data outside the title columns ends it")
        << QList<QStringList>{{"A"}, {"1"}, {"2"}, {e, "x"}, {"4"}} << QList<int>{1, 1, 1, 2, 3};
}

void TMappingTest::RangeDetection() {
    QFETCH(QList<QStringList>, rows);
    QFETCH(QList<int>, ranges);
    TFakeWorksheet sheet;
    sheet.Fill(rows);
    const TImportRanges found = DetectImportRanges(sheet);
    QCOMPARE((QList<int>{found.TitleRow, found.TitleFromColumn, found.TitleToColumn, found.DataFromRow,
                         found.DataToRow}),
             ranges);
}

void TMappingTest::ImportBoundsFollowTheOpenFormat_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("maxTitleRow");
    QTest::addColumn<int>("maxColumn");
    QTest::addColumn<int>("maxDataRow");
    QTest::newRow("xls") << "cells.xls" << 65534 << 250 << 65535;
    QTest::newRow("xlsx") << "cells.xlsx" << 1048575 << 16384 << 1048576;
    QTest::newRow("ods") << "cells.ods" << 1048575 << 16384 << 1048576;
    QTest::newRow("csv") << "cells.csv" << 1048575 << 16384 << 1048576;
}

void TMappingTest::ImportBoundsFollowTheOpenFormat() {
    QFETCH(QString, fixture);
    QFETCH(int, maxTitleRow);
    QFETCH(int, maxColumn);
    QFETCH(int, maxDataRow);
    const auto workbook = TWorkbook::Open(QStringLiteral(QUILLERY_TEST_DATA "/workbooks/") + fixture);
    const TImportBounds bounds = ImportBoundsOf(*workbook);
    QCOMPARE(bounds.MaxTitleRow, maxTitleRow);
    QCOMPARE(bounds.MaxColumn, maxColumn);
    QCOMPARE(bounds.MaxDataRow, maxDataRow);
}

void TMappingTest::ImportBuildsTheTemplate_data() {
    QTest::addColumn<QList<int>>("chosen");
    QTest::newRow("none") << QList<int>{};
    QTest::newRow("one") << QList<int>{2};
    QTest::newRow("odd") << QList<int>{1, 2, 3};
    QTest::newRow("even") << QList<int>{1, 3, 4, 2};
}

void TMappingTest::ImportBuildsTheTemplate() {
    QFETCH(QList<int>, chosen);
    TFakeWorksheet sheet;
    sheet.Fill({{" Name ", "Town", "Phone", "Note"}, {"Ann", "Oslo", "1", "n"}, {"Bob", "", "", ""}});
    TDataFile data;
    data.AddCategory()->Name = "Existing";
    const TFont font{"DejaVu Sans", 0, 8, static_cast<int32_t>(0x80000008)};

    TCategoryImport import(sheet, 1, std::vector<int>(chosen.begin(), chosen.end()));
    import.ReadRecords(2, 3, {});
    const int32_t id = import.AddTo(data, "Sheet \xc3\xa9", font);

    QCOMPARE(data.Categories.size(), size_t(2));
    const TCategory& category = *data.Categories.back();
    QCOMPARE(category.ID, id);
    QCOMPARE(id, 2);
    QCOMPARE(category.Name, std::string("Sheet \xc3\xa9"));
    QCOMPARE(category.Elements.size(), size_t(2 * chosen.size()));
    QCOMPARE(category.Columns.size(), size_t(chosen.size()));
    for (int k = 0; k < chosen.size(); ++k) {
        const TElement& label = *category.Elements[size_t(2 * k)];
        const TElement& box = *category.Elements[size_t(2 * k + 1)];
        const std::string heading = sheet.Cells.value({1, chosen[k]}).trimmed().toStdString();
        const int32_t x = 300 * (k % 2);
        const int32_t y = 25 * (k / 2);
        QCOMPARE((std::vector<int32_t>{label.ID, label.ValueIndex, label.Left, label.Top, label.Width,
                                       label.Height, label.Color}),
                 (std::vector<int32_t>{2 * k + 1, -1, 50 + x, 28 + y, 100, 20, 0xFFFFFF}));
        QCOMPARE((std::vector<int32_t>{box.ID, box.ValueIndex, box.Left, box.Top, box.Width, box.Height,
                                       box.Color}),
                 (std::vector<int32_t>{2 * k + 2, k, 150 + x, 25 + y, 150, 20, 0xFFFFFF}));
        QCOMPARE(label.Kind, std::string(kKindLabel));
        QCOMPARE(box.Kind, std::string(kKindEdit));
        QCOMPARE(label.Caption, heading);
        QVERIFY(box.Caption.empty());
        QVERIFY(label.Font == font && box.Font == font);
        QCOMPARE(category.Columns[size_t(k)]->ElementID, 2 * k + 2);
        QCOMPARE(category.Columns[size_t(k)]->Width, 100);
        QCOMPARE(category.Columns[size_t(k)]->Caption, heading);
    }
    QCOMPARE(category.LastElementID, int32_t(2 * chosen.size()));
    // Bob has a value only in the first column.
    const size_t expected = chosen.isEmpty() ? 0 : chosen.contains(1) ? 2 : 1;
    QCOMPARE(category.Records.size(), expected);
    for (const auto& record : category.Records)
        QCOMPARE(record->Count(), int32_t(chosen.size()));
    if (expected > 0)
        QCOMPARE(std::string(category.Records[0]->Value(0)), sheet.Cells.value({2, chosen[0]}).toStdString());
}

void TMappingTest::ImportSkipsEmptyRows() {
    TFakeWorksheet sheet;
    sheet.Fill({{"A", "B", "C"}, {" x ", " ", ""}, {"", "", "only C"}, {" ", "\t", ""}, {"", "a\r\nb", ""}});
    TDataFile data;
    TCategoryImport import(sheet, 1, {1, 2});
    int64_t lastDone = -1;
    int64_t lastTotal = -1;
    import.ReadRecords(2, 6, [&](int64_t done, int64_t total) {
        lastDone = done;
    lastTotal = total;
});
QCOMPARE(lastDone, int64_t(5));
QCOMPARE(lastTotal, int64_t(5));
QCOMPARE(import.RecordCount(), size_t(2));
import.AddTo(data, "S", kFont);
const TCategory& category = *data.Categories.back();
QCOMPARE(*category.Records[0], TRecord(std::vector<std::string_view>{"x", ""}));
QCOMPARE(*category.Records[1], TRecord(std::vector<std::string_view>{"", "a\r\nb"}));

TCategoryImport none(sheet, 1, {1});
none.ReadRecords(4, 3, {});
QCOMPARE(none.RecordCount(), size_t(0));
}

void TMappingTest::ImportKeepsOtherCategories() {
    TDataFile data;
    TCategory& existing = *data.AddCategory();
    existing.Name = "Keep";
    AddBox(existing, kKindEdit, "K");
    AddRecord(existing, {"kept"});
    data.LastCategoryID = 7;
    TFakeWorksheet sheet;
    sheet.Fill({{"T"}, {"v"}});
    TCategoryImport import(sheet, 1, {1});
    import.ReadRecords(2, 2, {});
    QCOMPARE(import.AddTo(data, "New", kFont), 8);
    QCOMPARE(data.LastCategoryID, 8);
    QCOMPARE(data.Categories.front()->Name, std::string("Keep"));
    QCOMPARE(std::string(data.Categories.front()->Records.at(0)->Value(0)), std::string("kept"));
    QCOMPARE(std::string(data.Categories.back()->Records.at(0)->Value(0)), std::string("v"));
}

void TMappingTest::ExportThenImportGivesTheSameTexts() {
    TDataFile data;
    TCategory& category = *data.AddCategory();
    AddBox(category, kKindEdit, "Name");
    AddBox(category, kKindMemo, "Notes \xe2\x82\xac");
    AddRecord(category, {"Ann", "two\r\nlines"});
    AddRecord(category, {"\xc3\x98ystein", ""});
    AddRecord(category, {"", "only notes"});
    const TFakeWorksheet sheet = Exported(category);

    const TImportRanges ranges = DetectImportRanges(sheet);
    QCOMPARE(ranges.TitleToColumn, 2);
    QCOMPARE(ranges.DataToRow, 4);
    TCategoryImport import(sheet, ranges.TitleRow, {1, 2});
    import.ReadRecords(ranges.DataFromRow, ranges.DataToRow, {});
    import.AddTo(data, "Back", kFont);
    const TCategory& back = *data.Categories.back();
    QCOMPARE(back.Columns[1]->Caption, category.Columns[1]->Caption);
    QCOMPARE(back.Records.size(), category.Records.size());
    for (size_t r = 0; r < back.Records.size(); ++r)
        QCOMPARE(*back.Records[r], *category.Records[r]);
}

QTEST_GUILESS_MAIN(TMappingTest)
#include "tst_mapping.moc"
