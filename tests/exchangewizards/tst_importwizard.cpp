// SPDX-License-Identifier: GPL-3.0-or-later
// The import wizard driven as a user drives it, on workbooks written by openpyxl and by the
// export, and on hostile files.

#include "WizardTestSupport.h"
#include "exchange/MinimalPackage.h"
#include "support/WorkbookReader.h"

#include "exchange/CategoryExport.h"
#include "exchangewizards/ImportWizard.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

using namespace WizardTest;

namespace {

const char* const kSpinBoxes[] = {"SETitleRow", "SETitleFromCol", "SETitleToCol", "SEDataFromRow",
                                  "SEDataToRow"};

// Contacts from C2, a blank first data row, a gap that ends the data, and a second sheet.
const QJsonArray kContacts{
    QJsonObject{{"name", "Notes"}, {"rows", QJsonArray{QJsonArray{"not this one"}}}},
    QJsonObject{{"name", "Contacts"},
                {"rows", QJsonArray{QJsonArray{},
                                    QJsonArray{QJsonValue(), QJsonValue(), " Name ", "Town", "Phone",
                                               QJsonValue(), "Ignored"},
                                    QJsonArray{QJsonValue(), QJsonValue(), QJsonValue(), "  "},
                                    QJsonArray{QJsonValue(), QJsonValue(), "Ann", "Oslo"},
                                    QJsonArray{QJsonValue(), QJsonValue(), "Bob", QJsonValue(), 42},
                                    QJsonArray{QJsonValue(), QJsonValue(), "\u00d8ystein", "Troms\u00f8"},
                                    QJsonArray{}, QJsonArray{QJsonValue(), QJsonValue(), "after the gap"}}}}};

} // namespace

class TImportWizardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void OpensOnTheFilePage();
    void EmptyFileNameWarns();
    void BrowseOffersSpreadsheets();
    void HostileWorkbooksAddNothing_data();
    void HostileWorkbooksAddNothing();
    void OpeningKeepsTheWindowPainting_data();
    void OpeningKeepsTheWindowPainting();
    void TooLargeWorkbookStartsAgain();
    void ImportsAWorksheetAsANewCategory();
    void NoColumnChosenGivesAnEmptyCategory();
    void RangeBoxesClampWhatIsTyped_data();
    void RangeBoxesClampWhatIsTyped();
    void ExportThenImportGivesTheSameRecords();

private:
    void OpenFile(const QString& path);
    QSpinBox* SpinBox(const char* name) const { return Find<QSpinBox>(FWizard.get(), name); }
    QList<int> Ranges() const;

    std::unique_ptr<TDialogs> FDialogs;
    std::unique_ptr<QTemporaryDir> FDir;
    TDataFile FData;
    std::unique_ptr<TImportWizard> FWizard;
};

void TImportWizardTest::init() {
    FDialogs = std::make_unique<TDialogs>();
    FDir = std::make_unique<QTemporaryDir>();
    FData = TDataFile();
    AddRecord(AddCategory(FData, "Existing", {"A"}), {"kept"});
    FWizard = std::make_unique<TImportWizard>();
    FWizard->Open(FData);
    QVERIFY(QTest::qWaitForWindowExposed(FWizard.get()));
}

void TImportWizardTest::cleanup() {
    FWizard.reset();
    TDialogs::Verify();
    FDialogs.reset();
}

void TImportWizardTest::OpenFile(const QString& path) {
    QTest::keyClicks(Find<QLineEdit>(FWizard.get(), "LEFileName"), path);
    Click(FWizard.get(), "BtnNext");
}

QList<int> TImportWizardTest::Ranges() const {
    QList<int> values;
    for (const char* name : kSpinBoxes)
        values.append(SpinBox(name)->value());
    return values;
}

void TImportWizardTest::OpensOnTheFilePage() {
    QCOMPARE(FWizard->windowTitle(), QStringLiteral("Quillery"));
    QCOMPARE(FWizard->size(), QSize(474, 319));
    QCOMPARE(Find<QLabel>(FWizard.get(), "LabelTitle")->text(), QStringLiteral("Import from Excel File"));
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select an Excel file and click \"Next\"."));
    QVERIFY(Find<QLineEdit>(FWizard.get(), "LEFileName")->hasFocus());
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QCOMPARE(Find<QPushButton>(FWizard.get(), "BtnCancel")->text(), QStringLiteral("&Cancel"));
    Click(FWizard.get(), "BtnCancel");
    QVERIFY(!FWizard->isVisible());
    QCOMPARE(FWizard->ImportedCategoryID(), 0);
}

void TImportWizardTest::EmptyFileNameWarns() {
    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    OpenFile(QStringLiteral("  "));
    QCOMPARE(TDialogs::ShownTexts(), QStringList{"Please specify a file name."});
    QCOMPARE(FWizard->PageIndex(), 0);
}

void TImportWizardTest::BrowseOffersSpreadsheets() {
    FileDialogTesting::QueueResult(QStringLiteral("/somewhere/book.ods"));
    Click(FWizard.get(), "BtnBrowse");
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LEFileName")->text(), QStringLiteral("/somewhere/book.ods"));
    const auto shown = FileDialogTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Filter, QStringLiteral("Spreadsheets (*.xlsx *.xls *.ods *.csv);;All Files (*)"));
    QCOMPARE(int(shown[0].Mode), int(FileDialogs::TMode::OpenFile));
}

void TImportWizardTest::HostileWorkbooksAddNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << "missing.xlsx" << QByteArray();
    QTest::newRow("empty xlsx") << "empty.xlsx" << QByteArray("");
    QTest::newRow("text as xlsx") << "text.xlsx" << QByteArray("Name,Town\r\nAnn,Oslo\r\n");
    QTest::newRow("zip header only") << "cut.xlsx" << QByteArray("PK\x03\x04\x14\x00\x00\x00", 8);
    QTest::newRow("random xls") << "random.xls" << QByteArray(4096, '\xd0');
    QTest::newRow("random ods") << "random.ods" << QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0');
    QTest::newRow("unknown extension") << "data.bin" << QByteArray("\x01\x02\x03");
}

void TImportWizardTest::HostileWorkbooksAddNothing() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = FDir->filePath(name);
    if (name != QLatin1String("missing.xlsx"))
        WriteFile(path, bytes);
    const std::string before = FData.SaveToBytes();

    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    OpenFile(path);
    const auto shown = MessageBoxTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Kind, MessageBoxes::TKind::Error);
    QCOMPARE(shown[0].Text, OpenError(path));
    QCOMPARE(FWizard->PageIndex(), 0);
    // Focus stays on the button clicked, ready for another try.
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->hasFocus());
    QVERIFY(FData.SaveToBytes() == before);
}

void TImportWizardTest::OpeningKeepsTheWindowPainting_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("page");
    QTest::newRow("workbook") << "small.csv" << QByteArray("A,B\r\n1,2\r\n")
                              << "Select ranges, then click \"Next\".";
    QTest::newRow("damaged") << "damaged.xlsx" << QByteArray("PK\x03\x04 cut short")
                             << "Select an Excel file and click \"Next\".";
}

// Opening the file and the first look into its worksheet run on a worker while the window shows
// the busy bar; an error there reaches the same box as before.
void TImportWizardTest::OpeningKeepsTheWindowPainting() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, page);
    const QString path = FDir->filePath(name);
    WriteFile(path, bytes);
    const QString error = OpenError(path);
    if (!error.isEmpty())
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);

    const THeldWorker held(FWizard.get());
    OpenFile(path);
    if (error.isEmpty())
        Click(FWizard.get(), "BtnNext");
    QCOMPARE(held.States(), QStringList(error.isEmpty() ? 2 : 1,
                                        QStringLiteral("Importing... busy:1 next:0 cancel:0 closed:0")));
    QCOMPARE(TDialogs::ShownTexts(), error.isEmpty() ? QStringList() : QStringList{error});
    QCOMPARE(PageText(FWizard.get()), page);
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QVERIFY(FWizard->isVisible());
}

// A workbook whose one shared string fills more cells than the file accounts for is refused in
// words when its worksheet is first read; the wizard lets it go and starts again from the file.
void TImportWizardTest::TooLargeWorkbookStartsAgain() {
    const QString path = FDir->filePath(QStringLiteral("amplified.xlsx"));
    WriteFile(path, SharedStringPackage(QByteArray(32767, 'x'), 20, 1000));
    const std::string before = FData.SaveToBytes();
    OpenFile(path);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select a worksheet, then click \"Next\"."));

    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    Click(FWizard.get(), "BtnNext");
    const auto shown = MessageBoxTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Kind, MessageBoxes::TKind::Error);
    QCOMPARE(shown[0].Text, QStringLiteral("\"%1\" is too large to import.").arg(path));
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select an Excel file and click \"Next\"."));
    QVERIFY(FData.SaveToBytes() == before);

    const QString sound = FDir->filePath(QStringLiteral("sound.csv"));
    WriteFile(sound, "Name\r\nAnn\r\n");
    Find<QLineEdit>(FWizard.get(), "LEFileName")->clear();
    OpenFile(sound);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select a worksheet, then click \"Next\"."));
}

void TImportWizardTest::ImportsAWorksheetAsANewCategory() {
    const QString path = FDir->filePath(QStringLiteral("contacts.xlsx"));
    QString error;
    QVERIFY2(WorkbookReader::Write(path, kContacts, 1, &error), qPrintable(error));
    OpenFile(path);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select a worksheet, then click \"Next\"."));
    auto* sheets = Find<QComboBox>(FWizard.get(), "CBWS");
    QCOMPARE(sheets->count(), 2);
    QCOMPARE(sheets->currentText(), QStringLiteral("Contacts"));
    QCOMPARE(SpinBox("SETitleRow")->maximum(), 1048575);
    QCOMPARE(SpinBox("SETitleToCol")->maximum(), 16384);
    QCOMPARE(SpinBox("SEDataToRow")->maximum(), 1048576);

    Click(FWizard.get(), "BtnNext");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select ranges, then click \"Next\"."));
    QCOMPARE(Ranges(), (QList<int>{2, 3, 5, 3, 6}));

    Click(FWizard.get(), "BtnNext");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select columns you want to import."));
    auto* columns = Find<QTableWidget>(FWizard.get(), "ListView1");
    QCOMPARE(columns->horizontalHeaderItem(0)->text(), QStringLiteral("Title"));
    QCOMPARE(columns->rowCount(), 3);
    QStringList titles;
    for (int row = 0; row < columns->rowCount(); ++row) {
        titles.append(columns->item(row, 0)->text());
        QCOMPARE(columns->item(row, 0)->checkState(), Qt::Checked);
    }
    QCOMPARE(titles, (QStringList{"Name", "Town", "Phone"}));
    // The user unticks Town: a click on the row selects it, space toggles its box.
    QTest::mouseClick(columns->viewport(), Qt::LeftButton, {},
                      columns->visualItemRect(columns->item(1, 0)).center());
    QTest::keyClick(columns, Qt::Key_Space);
    QCOMPARE(columns->item(1, 0)->checkState(), Qt::Unchecked);

    Click(FWizard.get(), "BtnNext");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QCOMPARE(Find<QPushButton>(FWizard.get(), "BtnCancel")->text(), QStringLiteral("&Close"));
    Click(FWizard.get(), "BtnCancel");
    QVERIFY(!FWizard->isVisible());

    QCOMPARE(FData.Categories.size(), size_t(2));
    const TCategory& imported = *FData.Categories.back();
    QCOMPARE(FWizard->ImportedCategoryID(), imported.ID);
    QCOMPARE(imported.Name, std::string("Contacts"));
    QCOMPARE(imported.Elements.size(), size_t(4));
    QCOMPARE(imported.Elements[0]->Caption, std::string("Name"));
    QCOMPARE(imported.Elements[2]->Caption, std::string("Phone"));
    QCOMPARE(imported.Elements[2]->Left, 350);
    const TFont font = imported.Elements[1]->Font;
    QCOMPARE(QString::fromStdString(font.Name), QApplication::font().family());
    QCOMPARE(font.Size, 8);
    QCOMPARE(font.Style, uint8_t(0));
    QCOMPARE(uint32_t(font.Color), 0x80000008u);
    // Rows 3 to 6: the blank row 3 is skipped, Bob's number is text.
    QCOMPARE(imported.Records.size(), size_t(3));
    QCOMPARE(*imported.Records[0], TRecord(std::vector<std::string_view>{"Ann", ""}));
    QCOMPARE(*imported.Records[1], TRecord(std::vector<std::string_view>{"Bob", "42"}));
    QCOMPARE(*imported.Records[2], TRecord(std::vector<std::string_view>{"\xc3\x98ystein", ""}));
    QCOMPARE(std::string(FData.Categories.front()->Records.at(0)->Value(0)), std::string("kept"));
}

void TImportWizardTest::NoColumnChosenGivesAnEmptyCategory() {
    const QString path = FDir->filePath(QStringLiteral("contacts.csv"));
    WriteFile(path, "Name,Town\r\nAnn,Oslo\r\n,\r\nBob,\r\n");
    OpenFile(path);
    QCOMPARE(Find<QComboBox>(FWizard.get(), "CBWS")->count(), 1);
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(Ranges(), (QList<int>{1, 1, 2, 2, 2}));
    // The title run ends at the first column, so the list is empty.
    auto* lastColumn = SpinBox("SETitleToCol");
    lastColumn->setFocus();
    lastColumn->selectAll();
    QTest::keyClicks(lastColumn, "0");
    QTest::keyClick(lastColumn, Qt::Key_Tab);
    QCOMPARE(lastColumn->value(), 1);
    SpinBox("SETitleFromCol")->setValue(2);
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(Find<QTableWidget>(FWizard.get(), "ListView1")->rowCount(), 0);
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    const TCategory& imported = *FData.Categories.back();
    QCOMPARE(QString::fromStdString(imported.Name), Find<QComboBox>(FWizard.get(), "CBWS")->currentText());
    QVERIFY(imported.Elements.empty());
    QVERIFY(imported.Columns.empty());
    QVERIFY(imported.Records.empty());
}

void TImportWizardTest::RangeBoxesClampWhatIsTyped_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("row beyond the sheet") << QByteArray("SETitleRow") << "99999999" << 1048575;
    QTest::newRow("column beyond the sheet") << QByteArray("SETitleToCol") << "20000" << 16384;
    QTest::newRow("data row below the minimum") << QByteArray("SEDataFromRow") << "1" << 2;
    QTest::newRow("nothing typed") << QByteArray("SEDataToRow") << "" << 2;
    QTest::newRow("within the bounds") << QByteArray("SETitleFromCol") << "300" << 300;
}

void TImportWizardTest::RangeBoxesClampWhatIsTyped() {
    QFETCH(QByteArray, box);
    QFETCH(QString, typed);
    QFETCH(int, value);
    const QString path = FDir->filePath(QStringLiteral("small.csv"));
    WriteFile(path, "A,B\r\n1,2\r\n3,4\r\n5,6\r\n");
    OpenFile(path);
    Click(FWizard.get(), "BtnNext");
    QSpinBox* spin = SpinBox(box.constData());
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, typed);
    QTest::keyClick(spin, Qt::Key_Tab);
    QCOMPARE(spin->value(), value);
}

void TImportWizardTest::ExportThenImportGivesTheSameRecords() {
    TCategory& books = AddCategory(FData, "Books", {"Title", "Author"});
    books.AddElement(kKindMemo, 84, 60, 120, 60, 0xFFFFFF, kSampleFont, "");
    books.RenumberValueIndexes();
    AddRecord(books, {"Dune", "Herbert", "two\r\nlines"});
    AddRecord(books, {"", "", "memo only"});
    AddRecord(books, {"\xc3\x89t\xc3\xa9", "=SUM(A1)", ""});
    const QString path = FDir->filePath(QStringLiteral("books.xlsx"));
    TCategoryExportRun run(books, path, QStringLiteral("Books again"));
    run.Run({});
    run.Close();

    OpenFile(path);
    Click(FWizard.get(), "BtnNext");
    Click(FWizard.get(), "BtnNext");
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    const TCategory& back = *FData.Categories.back();
    QCOMPARE(back.Name, std::string("Books again"));
    QCOMPARE(back.Columns.size(), size_t(3));
    QCOMPARE(back.Columns[2]->Caption, std::string("_unnamed_"));
    QCOMPARE(back.Records.size(), books.Records.size());
    for (size_t r = 0; r < back.Records.size(); ++r)
        QCOMPARE(*back.Records[r], *books.Records[r]);
}

QTEST_MAIN(TImportWizardTest)
#include "tst_importwizard.moc"
