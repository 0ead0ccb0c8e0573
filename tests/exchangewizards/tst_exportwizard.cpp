// SPDX-License-Identifier: GPL-3.0-or-later
// The export wizard driven as a user drives it: its first page, the refusals before anything is
// written, and exports checked with openpyxl.

#include "WizardTestSupport.h"
#include "support/WorkbookReader.h"

#include "exchangewizards/ExportWizard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>

using namespace WizardTest;

namespace {

// Books (current) with two records and a memo no column lists; Empty has no records.
TDataFile MakeData() {
    TDataFile data;
    AddCategory(data, "Empty", {"Only"});
    TCategory& books = AddCategory(data, "Books", {"Title", "Author"});
    books.AddElement(kKindMemo, 84, 60, 120, 60, 0xFFFFFF, kSampleFont, "");
    books.RenumberValueIndexes();
    AddRecord(books, {"Dune", "Herbert", "first line\r\nsecond line"});
    AddRecord(books, {"Caf\xc3\xa9 =1+1", "", ""});
    return data;
}

const QList<QStringList> kBooksRows = {{"Title", "Author", "_unnamed_"},
                                       {"Dune", "Herbert", "first line\nsecond line"},
                                       {QStringLiteral("Caf\u00e9 =1+1")}};

} // namespace

class TExportWizardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void OpensOnTheCurrentCategory();
    void CategoryChangeOverwritesTheSheetName();
    void NoCategoryToExport();
    void EmptyFileNameWarns_data();
    void EmptyFileNameWarns();
    void BrowseFillsTheFileName();
    void RefusedBeforeAnythingIsWritten_data();
    void RefusedBeforeAnythingIsWritten();
    void ExportsANewWorkbook();
    void ExportAddsASheetAndKeepsTheOthers();
    void ExportToACsvReplacesItOnlyWhenAsked();
    void LongCallsKeepTheWindowPainting_data();
    void LongCallsKeepTheWindowPainting();
    void FailedExportTellsWhyAndLetsTheUserGoBack_data();
    void FailedExportTellsWhyAndLetsTheUserGoBack();
    void PasswordProtectedWorkbookIsRefused();

private:
    void Export(const QString& path, const QString& sheetName = QString());

    std::unique_ptr<TDialogs> FDialogs;
    std::unique_ptr<QTemporaryDir> FDir;
    TDataFile FData;
    std::unique_ptr<TExportWizard> FWizard;
};

void TExportWizardTest::init() {
    FDialogs = std::make_unique<TDialogs>();
    FDir = std::make_unique<QTemporaryDir>();
    FData = MakeData();
    FWizard = std::make_unique<TExportWizard>();
    FWizard->Open(FData, FData.Categories[1].get());
    QVERIFY(QTest::qWaitForWindowExposed(FWizard.get()));
}

void TExportWizardTest::cleanup() {
    FWizard.reset();
    TDialogs::Verify();
    FDialogs.reset();
}

// Types the file name (and the sheet name unless empty) and presses "&Next".
void TExportWizardTest::Export(const QString& path, const QString& sheetName) {
    QTest::keyClicks(Find<QLineEdit>(FWizard.get(), "LEFileName"), path);
    if (!sheetName.isEmpty()) {
        auto* sheet = Find<QLineEdit>(FWizard.get(), "LESheetName");
        sheet->selectAll();
        QTest::keyClicks(sheet, sheetName);
    }
    Click(FWizard.get(), "BtnNext");
}

void TExportWizardTest::OpensOnTheCurrentCategory() {
    QCOMPARE(FWizard->windowTitle(), QStringLiteral("Quillery"));
    QCOMPARE(FWizard->size(), QSize(474, 318));
    QCOMPARE(Find<QLabel>(FWizard.get(), "LabelTitle")->text(), QStringLiteral("Export to Excel File"));
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select a category to export:"));
    auto* categories = Find<QComboBox>(FWizard.get(), "CBCat");
    QCOMPARE(categories->count(), 2);
    QCOMPARE(categories->itemText(0), QStringLiteral("Empty"));
    QCOMPARE(categories->currentText(), QStringLiteral("Books"));
    QVERIFY(categories->hasFocus());
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LESheetName")->text(), QStringLiteral("Books"));
    QVERIFY(Find<QLineEdit>(FWizard.get(), "LEFileName")->text().isEmpty());
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QCOMPARE(Find<QPushButton>(FWizard.get(), "BtnCancel")->text(), QStringLiteral("&Cancel"));
    QVERIFY(!Find(FWizard.get(), "LabelNoCategory")->isVisible());

    // Escape closes the window like "&Cancel".
    QTest::keyClick(FWizard.get(), Qt::Key_Escape);
    QVERIFY(!FWizard->isVisible());
}

void TExportWizardTest::CategoryChangeOverwritesTheSheetName() {
    auto* sheet = Find<QLineEdit>(FWizard.get(), "LESheetName");
    sheet->selectAll();
    QTest::keyClicks(sheet, "Mine");
    QTest::keyClick(Find<QComboBox>(FWizard.get(), "CBCat"), Qt::Key_Up);
    QCOMPARE(Find<QComboBox>(FWizard.get(), "CBCat")->currentText(), QStringLiteral("Empty"));
    QCOMPARE(sheet->text(), QStringLiteral("Empty"));
}

void TExportWizardTest::NoCategoryToExport() {
    FWizard->close();
    TDataFile empty;
    FWizard->Open(empty, nullptr);
    QVERIFY(Find(FWizard.get(), "LabelNoCategory")->isVisible());
    QCOMPARE(Find<QLabel>(FWizard.get(), "LabelNoCategory")->text(),
             QStringLiteral("There is no category to export."));
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QVERIFY(Find<QLineEdit>(FWizard.get(), "LESheetName")->text().isEmpty());

    // Categories but none shown in the main window: "&Next" waits for a choice.
    FWizard->close();
    FWizard->Open(FData, nullptr);
    QVERIFY(!Find(FWizard.get(), "LabelNoCategory")->isVisible());
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QTest::keyClick(Find<QComboBox>(FWizard.get(), "CBCat"), Qt::Key_Down);
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LESheetName")->text(), QStringLiteral("Empty"));
}

void TExportWizardTest::EmptyFileNameWarns_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("nothing") << QString();
    QTest::newRow("spaces") << QStringLiteral("   ");
}

void TExportWizardTest::EmptyFileNameWarns() {
    QFETCH(QString, typed);
    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    Export(typed);
    const auto shown = MessageBoxTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Kind, MessageBoxes::TKind::Warning);
    QCOMPARE(shown[0].Text, QStringLiteral("Please specify a file name."));
    QCOMPARE(FWizard->PageIndex(), 0);
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
}

void TExportWizardTest::BrowseFillsTheFileName() {
    const QString path = FDir->filePath(QStringLiteral("chosen.xlsx"));
    FileDialogTesting::QueueResult(path);
    Click(FWizard.get(), "BtnBrowse");
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LEFileName")->text(), path);
    const auto shown = FileDialogTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Title, QStringLiteral("Specify a new Excel file"));
    QCOMPARE(shown[0].Filter, QStringLiteral("Excel Workbook (*.xlsx);;CSV (*.csv)"));
    QCOMPARE(shown[0].DefaultSuffix, QStringLiteral("xlsx"));
    QCOMPARE(int(shown[0].Mode), int(FileDialogs::TMode::ChooseTarget));

    // A cancelled dialog keeps the name.
    FileDialogTesting::QueueResult(QString());
    Click(FWizard.get(), "BtnBrowse");
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LEFileName")->text(), path);
}

void TExportWizardTest::RefusedBeforeAnythingIsWritten_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<int>("valueLength");
    QTest::addColumn<QString>("error");
    QTest::newRow("existing xls")
        << "old.xls" << QByteArray("\xd0\xcf\x11\xe0 legacy") << 0
        << "Quillery cannot add a worksheet to the legacy Excel file \"%1\". Please export to a .xlsx file.";
    QTest::newRow("ods") << "new.ods" << QByteArray() << 0
                         << "Quillery exports to Excel workbooks (.xlsx) and CSV files (.csv). Please export "
                            "to a .xlsx file.";
    QTest::newRow("value too long for a cell") << "new.xlsx" << QByteArray() << 32768
                                               << "Record 2 of the category \"Books\" holds a value of "
                                                  "32,768 characters under \"Author\", more than "
                                                  "the 32,767 a .xlsx cell holds. Nothing was written.";
    QTest::newRow("value too long, existing workbook")
        << "old.xlsx" << QByteArray("PK not touched") << 40000
        << "Record 2 of the category \"Books\" holds a value of 40,000 characters under \"Author\", more "
           "than "
           "the 32,767 a .xlsx cell holds. Nothing was written.";
}

void TExportWizardTest::RefusedBeforeAnythingIsWritten() {
    QFETCH(QString, name);
    QFETCH(QByteArray, existing);
    QFETCH(int, valueLength);
    QFETCH(QString, error);
    const QString path = FDir->filePath(name);
    if (!existing.isEmpty())
        WriteFile(path, existing);
    if (valueLength > 0)
        FData.Categories[1]->Records[1]->SetValue(1, std::string(size_t(valueLength), 'x'));

    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    Export(path);
    const auto shown = MessageBoxTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Kind, MessageBoxes::TKind::Error);
    QCOMPARE(shown[0].Text, error.contains(QLatin1String("%1")) ? error.arg(path) : error);
    QCOMPARE(FWizard->PageIndex(), 0);
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files),
             existing.isEmpty() ? QStringList() : QStringList{name});
    if (!existing.isEmpty())
        QCOMPARE(FileBytes(path), existing);
}

void TExportWizardTest::ExportsANewWorkbook() {
    const QString path = FDir->filePath(QStringLiteral("books.xlsx"));
    Export(path, QStringLiteral("My Books"));
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    QCOMPARE(Find<QProgressBar>(FWizard.get(), "ProgressBar")->value(), 1000);
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    auto* close = Find<QPushButton>(FWizard.get(), "BtnCancel");
    QVERIFY(close->isEnabled());
    QCOMPARE(close->text(), QStringLiteral("&Close"));

    QString error;
    const auto sheets = WorkbookReader::Read(path, &error);
    QCOMPARE(error, QString());
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].Name, QStringLiteral("My Books"));
    QCOMPARE(sheets[0].Rows, kBooksRows);
    // Text cells only: "=1+1" is not a formula.
    QCOMPARE(sheets[0].Types, QStringList{"s"});
    QCOMPARE(sheets[0].Headings.size(), 3);
    for (const QJsonValue& heading : sheets[0].Headings) {
        QCOMPARE(heading[QStringLiteral("bold")].toBool(), true);
        QVERIFY2(heading[QStringLiteral("color")].toString().endsWith(QLatin1String("0000FF")),
                 qPrintable(heading[QStringLiteral("color")].toString()));
        QCOMPARE(heading[QStringLiteral("align")].toString(), QStringLiteral("center"));
    }

    // Closing and opening again starts afresh.
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!FWizard->isVisible());
    FWizard->Open(FData, FData.Categories[0].get());
    QCOMPARE(FWizard->PageIndex(), 0);
    QVERIFY(Find<QLineEdit>(FWizard.get(), "LEFileName")->text().isEmpty());
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LESheetName")->text(), QStringLiteral("Empty"));
    QCOMPARE(Find<QPushButton>(FWizard.get(), "BtnCancel")->text(), QStringLiteral("&Cancel"));
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
}

void TExportWizardTest::ExportAddsASheetAndKeepsTheOthers() {
    const QString path = FDir->filePath(QStringLiteral("shared.xlsx"));
    const QJsonArray existing{
        QJsonObject{{"name", "Prices"},
                    {"rows", QJsonArray{QJsonArray{"Item", "Price"}, QJsonArray{"Tea", 2.5}}}},
        QJsonObject{{"name", "Notes"}, {"rows", QJsonArray{QJsonArray{"keep me"}}}}};
    QString error;
    QVERIFY2(WorkbookReader::Write(path, existing, 0, &error), qPrintable(error));
    const auto before = WorkbookReader::Read(path);

    Export(path);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    const auto after = WorkbookReader::Read(path, &error);
    QCOMPARE(error, QString());
    QCOMPARE(after.size(), 3);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(after[i].Name, before[i].Name);
        QCOMPARE(after[i].Rows, before[i].Rows);
        QCOMPARE(after[i].Types, before[i].Types);
    }
    QCOMPARE(after[2].Name, QStringLiteral("Books"));
    QCOMPARE(after[2].Rows, kBooksRows);
}

void TExportWizardTest::ExportToACsvReplacesItOnlyWhenAsked() {
    const QString path = FDir->filePath(QStringLiteral("books.csv"));
    const QByteArray old("old,content\r\n");
    WriteFile(path, old);

    MessageBoxTesting::QueueAnswer(QMessageBox::No);
    Export(path);
    auto shown = MessageBoxTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Kind, MessageBoxes::TKind::Confirmation);
    QCOMPARE(shown[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(shown[0].Text,
             QStringLiteral("The file \"%1\" is a CSV file, which holds one worksheet only. Do you "
                            "want to replace it?")
                 .arg(path));
    QCOMPARE(FWizard->PageIndex(), 0);
    QCOMPARE(FileBytes(path), old);

    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(MessageBoxTesting::TakeShown().size(), 1);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    const auto sheets = WorkbookReader::Read(path);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].Rows.size(), 3);
    QCOMPARE(sheets[0].Rows[0], kBooksRows[0]);
    QCOMPARE(sheets[0].Rows[2], kBooksRows[2]);
}

void TExportWizardTest::LongCallsKeepTheWindowPainting_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("existing");
    QTest::newRow("new workbook: saved") << "new.xlsx" << QByteArray();
    QTest::newRow("damaged workbook: fails to open") << "bad.xlsx" << QByteArray("PK\x03\x04 cut short");
}

// Opening and saving run on a worker while the window shows the busy bar; an error there shows
// on the page of a failed export.
void TExportWizardTest::LongCallsKeepTheWindowPainting() {
    QFETCH(QString, name);
    QFETCH(QByteArray, existing);
    const QString path = FDir->filePath(name);
    if (!existing.isEmpty())
        WriteFile(path, existing);
    const QString error = existing.isEmpty() ? QString() : OpenError(path);

    const THeldWorker held(FWizard.get());
    Export(path);
    QCOMPARE(held.States(), QStringList{"Exporting... busy:1 next:0 cancel:0 closed:0"});
    QCOMPARE(TDialogs::ShownTexts(), QStringList());
    QCOMPARE(PageText(FWizard.get()),
             error.isEmpty() ? QStringLiteral("Done!") : QStringLiteral("The export failed:"));
    QCOMPARE(Find<QLabel>(FWizard.get(), "LabelError")->text(), error);
}

void TExportWizardTest::FailedExportTellsWhyAndLetsTheUserGoBack_data() {
    QTest::addColumn<bool>("goBack");
    QTest::newRow("close") << false;
    QTest::newRow("back, then another sheet name") << true;
}

// A sheet name the workbook already has fails the export: the page says so with the error's
// text, the file stays as it was, and the user may close or go back to the entries.
void TExportWizardTest::FailedExportTellsWhyAndLetsTheUserGoBack() {
    QFETCH(bool, goBack);
    const QString path = FDir->filePath(QStringLiteral("twice.xlsx"));
    QVERIFY(WorkbookReader::Write(path, {QJsonObject{{"name", "Books"}, {"rows", QJsonArray{}}}}));
    const QByteArray before = FileBytes(path);

    Export(path);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("The export failed:"));
    const QString error = Find<QLabel>(FWizard.get(), "LabelError")->text();
    QVERIFY2(error.contains(QLatin1String("Books")), qPrintable(error));
    QVERIFY(Find<QLabel>(FWizard.get(), "LabelError")->isVisible());
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnBack")->isEnabled());
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnCancel")->isEnabled());
    QCOMPARE(Find<QPushButton>(FWizard.get(), "BtnCancel")->text(), QStringLiteral("&Close"));
    QCOMPARE(FileBytes(path), before);

    if (!goBack) {
        Click(FWizard.get(), "BtnCancel");
        QVERIFY(!FWizard->isVisible());
        return;
    }
    Click(FWizard.get(), "BtnBack");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select a category to export:"));
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnBack")->isEnabled());
    QVERIFY(Find<QPushButton>(FWizard.get(), "BtnNext")->isEnabled());
    QCOMPARE(Find<QPushButton>(FWizard.get(), "BtnCancel")->text(), QStringLiteral("&Cancel"));
    QCOMPARE(Find<QLineEdit>(FWizard.get(), "LEFileName")->text(), path);
    auto* sheet = Find<QLineEdit>(FWizard.get(), "LESheetName");
    QVERIFY(sheet->hasFocus());
    sheet->selectAll();
    QTest::keyClicks(sheet, "Books again");
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    QVERIFY(!Find<QPushButton>(FWizard.get(), "BtnBack")->isEnabled());
    const auto sheets = WorkbookReader::Read(path);
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheets[1].Name, QStringLiteral("Books again"));
    QCOMPARE(sheets[1].Rows, kBooksRows);
}

// A worksheet cannot be added to a workbook saved with a password; the user is told what to do and
// the workbook is left as it was.
void TExportWizardTest::PasswordProtectedWorkbookIsRefused() {
    const QString path = FDir->filePath(QStringLiteral("locked.xlsx"));
    const QByteArray locked = FileBytes(QStringLiteral(QUILLERY_TEST_DATA "/workbooks/password.xlsx"));
    QVERIFY(!locked.isEmpty());
    WriteFile(path, locked);

    Export(path);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("The export failed:"));
    QCOMPARE(Find<QLabel>(FWizard.get(), "LabelError")->text(),
             QStringLiteral("\"%1\" is protected by a password. Remove the password in the "
                            "spreadsheet program and try again.")
                 .arg(path));
    QCOMPARE(FileBytes(path), locked);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{QStringLiteral("locked.xlsx")});
}

QTEST_MAIN(TExportWizardTest)
#include "tst_exportwizard.moc"
