// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangewizards/ImportWizard.h"

#include "core/Category.h"
#include "core/DataFile.h"
#include "exchange/CategoryAppend.h"
#include "exchange/CategoryImport.h"
#include "exchange/DisplayText.h"
#include "exchange/workbook/Workbook.h"
#include "exchange/workbook/WorkbookErrors.h"
#include "exchangewizards/AppendPage.h"
#include "ui/ErrorText.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <new>
#include <vector>

namespace {

enum TPage { PageFile, PageWorksheet, PageRanges, PageColumns, PageImporting, PageDone, PageAppend };

// The system's window-text colour, stored as a reference rather than as its present value.
constexpr uint32_t kSystemWindowTextColor = 0x80000008;
constexpr int32_t kGeneratedFontSize = 8;
constexpr int kGapBelowText = 8;
constexpr int kChoiceWidth = 250;

// A range box that lets any whole number be typed and clamps it to the bounds when the box
// loses focus; text that is no whole number reads as the minimum.
class TRangeSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (!c.isDigit())
                return QValidator::Invalid;
        bool whole = false;
        const int value = input.toInt(&whole);
        return whole && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                                 : QValidator::Intermediate;
    }
    void fixup(QString& input) const override {
        bool whole = false;
        const qlonglong value = input.toLongLong(&whole);
        input = QString::number(whole ? std::clamp<qlonglong>(value, minimum(), maximum()) : minimum());
    }
};

// A range box with the caption before it, marked for translation in the wizard's context.
struct TRangeBoxPlace {
    const char* Caption;
    const char* Name;
};

// A group box holding range boxes on one line, each after its caption, closed by a full stop.
std::vector<QSpinBox*> AddRangeGroup(QWidget* page, const QString& title,
                                     std::initializer_list<TRangeBoxPlace> places) {
    auto* group = new QGroupBox(title, page);
    auto* line = new QHBoxLayout(group);
    std::vector<QSpinBox*> boxes;
    for (const TRangeBoxPlace& place : places) {
        auto* caption = new QLabel(QCoreApplication::translate("TImportWizard", place.Caption), group);
        auto* box = new TRangeSpinBox(group);
        box->setObjectName(QLatin1String(place.Name));
        caption->setBuddy(box);
        // A value typed outside the bounds becomes the nearest bound when the box loses focus.
        box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        box->setKeyboardTracking(false);
        line->addWidget(caption);
        line->addWidget(box);
        boxes.push_back(box);
    }
    line->addWidget(new QLabel(QCoreApplication::translate("TImportWizard", "."), group));
    line->addStretch(1);
    TWizardFrame::PageLayout(page)->addWidget(group);
    return boxes;
}

} // namespace

TImportWizard::TImportWizard(QWidget* parent)
    : TWizardFrame(QStringLiteral("FormImportFromExcel"), tr("Import from Excel File"), 319, parent) {
    SetHeaderPicture(style()->standardIcon(QStyle::SP_DialogOpenButton).pixmap(32, 32));

    QWidget* file = AddPage(tr("Select an Excel file and click \"Next\"."));
    FileDialogs::TOptions browse;
    browse.Mode = FileDialogs::TMode::OpenFile;
    browse.Title = tr("Open");
    browse.Filter = tr("Spreadsheets (*.xlsx *.xls *.ods *.csv);;All Files (*)");
    browse.DefaultSuffix = QStringLiteral("xlsx");
    PageLayout(file)->addSpacing(kGapBelowText);
    FFileNameBox = AddFileNameBox(file, browse);
    AddTargetChoice(file);
    PageLayout(file)->addStretch(1);

    QWidget* worksheet = AddPage(tr("Select a worksheet, then click \"Next\"."));
    FSheetList = new QComboBox(worksheet);
    FSheetList->setObjectName(QStringLiteral("CBWS"));
    FSheetList->setEditable(false);
    FSheetList->setMinimumWidth(kChoiceWidth);
    PageLayout(worksheet)->addSpacing(kGapBelowText);
    PageLayout(worksheet)->addWidget(FSheetList, 0, Qt::AlignLeft);
    PageLayout(worksheet)->addStretch(1);

    CreateRangesPage();

    QWidget* columns = AddPage(tr("Select columns you want to import."));
    FColumnList = new QTableWidget(0, 1, columns);
    FColumnList->setObjectName(QStringLiteral("ListView1"));
    FColumnList->setHorizontalHeaderLabels({tr("Title")});
    FColumnList->setColumnWidth(0, 400);
    FColumnList->verticalHeader()->hide();
    FColumnList->setShowGrid(true);
    FColumnList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FColumnList->setSelectionMode(QAbstractItemView::SingleSelection);
    FColumnList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PageLayout(columns)->addWidget(FColumnList, 1);

    FProgress = AddProgressPage(tr("Importing..."));
    QWidget* done = AddPage(tr("Done!"));
    FAppendSummary = new QLabel(done);
    FAppendSummary->setObjectName(QStringLiteral("AppendSummary"));
    FAppendSummary->setWordWrap(true);
    PageLayout(done)->addWidget(FAppendSummary);
    PageLayout(done)->addStretch(1);

    QWidget* append = AddPage(tr("Choose the category and the text box each column fills."));
    FAppendPage = new TAppendPage(append);
    PageLayout(append)->addWidget(FAppendPage, 1);
    SetAddRecords({});
}

void TImportWizard::AddTargetChoice(QWidget* filePage) {
    FNewCategoryChoice = new QRadioButton(tr("Create a ne&w category from the rows"), filePage);
    FNewCategoryChoice->setObjectName(QStringLiteral("NewCategoryChoice"));
    FNewCategoryChoice->setChecked(true);
    FAppendChoice = new QRadioButton(tr("Add the rows to an &existing category"), filePage);
    FAppendChoice->setObjectName(QStringLiteral("AppendChoice"));
    PageLayout(filePage)->addSpacing(kGapBelowText);
    PageLayout(filePage)->addWidget(FNewCategoryChoice);
    PageLayout(filePage)->addWidget(FAppendChoice);
}

void TImportWizard::SetAddRecords(TAddRecords addRecords) {
    FAddRecords = addRecords ? std::move(addRecords)
                             : [](TCategory& category, std::vector<std::unique_ptr<TRecord>> records) {
                                   category.AppendRecords(std::move(records));
                               };
}

QWidget* TImportWizard::CreateRangesPage() {
    QWidget* page = AddPage(tr("Select ranges, then click \"Next\"."));
    const std::vector<QSpinBox*> title =
        AddRangeGroup(page, tr("Title Range"),
                      {{QT_TRANSLATE_NOOP("TImportWizard", "Row"), "SETitleRow"},
                       {QT_TRANSLATE_NOOP("TImportWizard", ",         from column"), "SETitleFromCol"},
                       {QT_TRANSLATE_NOOP("TImportWizard", "to column"), "SETitleToCol"}});
    FTitleRow = title[0];
    FTitleFromColumn = title[1];
    FTitleToColumn = title[2];
    const std::vector<QSpinBox*> dataRange =
        AddRangeGroup(page, tr("Data Range"),
                      {{QT_TRANSLATE_NOOP("TImportWizard", "From row"), "SEDataFromRow"},
                       {QT_TRANSLATE_NOOP("TImportWizard", "to row"), "SEDataToRow"}});
    FDataFromRow = dataRange[0];
    FDataToRow = dataRange[1];
    PageLayout(page)->addStretch(1);
    return page;
}

TImportWizard::~TImportWizard() = default;

int32_t TImportWizard::Run(TDataFile& dataFile, const QString& fileName) {
    FData = &dataFile;
    FormShow();
    FFileNameBox->setText(fileName);
    exec();
    return FNewCategoryID;
}

void TImportWizard::Open(TDataFile& dataFile) {
    FData = &dataFile;
    FormShow();
    OpenModal();
}

TFont TImportWizard::GeneratedFont() {
    return TFont{StoredText(QApplication::font().family()), 0, kGeneratedFontSize,
                 static_cast<int32_t>(kSystemWindowTextColor)};
}

void TImportWizard::FormShow() {
    FNewCategoryID = 0;
    FSheet = nullptr;
    // Rows can go into an existing category only when there is one.
    FAppendChoice->setEnabled(!FData->Categories.empty());
    if (!FAppendChoice->isEnabled())
        FNewCategoryChoice->setChecked(true);
    FAppendSummary->clear();
    StartRun();
    FFileNameBox->clear();
    FFileNameBox->setFocus();
}

void TImportWizard::GoToNextPage() {
    try {
        switch (PageIndex()) {
        case PageFile:
            OpenWorkbook();
            break;
        case PageWorksheet:
            FindRanges();
            break;
        case PageRanges:
            ListColumns();
            break;
        case PageColumns:
            if (FAppendChoice->isChecked())
                ShowAppendPage();
            else
                Import();
            break;
        case PageAppend:
            AppendRows();
            break;
        default:
            break;
        }
    } catch (const EWorkbookTooLarge& e) {
        GiveUpTooLarge(e.Text());
    } catch (const std::bad_alloc&) {
        GiveUpTooLarge(WorkbookErrors::TooLarge(FFileNameBox->text()).Text());
    } catch (const std::exception& e) {
        // On pages 1 to 3 the user may correct the entry and press "&Next" again; during the
        // import the buttons stay disabled and the close box ends the wizard.
        SetWorking(false);
        MessageBoxes::ShowError(this, ErrorText(e));
    }
}

void TImportWizard::GiveUpTooLarge(const QString& message) {
    // Whatever the workbook took is given back before the user hears of it; another file may
    // be chosen.
    CleanUp();
    SetWorking(false);
    StartRun();
    MessageBoxes::ShowError(this, message);
}

void TImportWizard::OpenWorkbook() {
    if (FFileNameBox->text().trimmed().isEmpty()) {
        MessageBoxes::Show(this, MessageBoxes::TKind::Warning, tr("Please specify a file name."),
                           QMessageBox::Ok);
        return;
    }
    CleanUp();
    const QString path = FFileNameBox->text();
    std::unique_ptr<TWorkbook> opened;
    WaitOn(FProgress)([&opened, path] { opened = TWorkbook::Open(path); });
    FWorkbook = std::move(opened);
    const QString active = FWorkbook->ActiveSheet().Name();
    FSheetList->clear();
    for (int index = 1; index <= FWorkbook->SheetCount(); ++index)
        FSheetList->addItem(FWorkbook->Sheet(index).Name());
    FSheetList->setCurrentIndex(FSheetList->findText(active, Qt::MatchExactly));

    const TImportBounds bounds = ImportBoundsOf(*FWorkbook);
    FTitleRow->setRange(1, bounds.MaxTitleRow);
    FTitleFromColumn->setRange(1, bounds.MaxColumn);
    FTitleToColumn->setRange(1, bounds.MaxColumn);
    FDataFromRow->setRange(2, bounds.MaxDataRow);
    FDataToRow->setRange(2, bounds.MaxDataRow);
    // The boxes need room for their largest number.
    for (QSpinBox* box : {FTitleRow, FTitleFromColumn, FTitleToColumn, FDataFromRow, FDataToRow})
        box->updateGeometry();
    ShowPage(PageWorksheet);
    FSheetList->setFocus();
}

void TImportWizard::FindRanges() {
    FSheet = &FWorkbook->Sheet(FSheetList->currentText());
    // The first look into a worksheet of a .xlsx file reads all its cells.
    TImportRanges ranges;
    WaitOn(FProgress)([&ranges, &sheet = *FSheet] { ranges = DetectImportRanges(sheet); });
    FTitleRow->setValue(ranges.TitleRow);
    FTitleFromColumn->setValue(ranges.TitleFromColumn);
    FTitleToColumn->setValue(ranges.TitleToColumn);
    FDataFromRow->setValue(ranges.DataFromRow);
    FDataToRow->setValue(ranges.DataToRow);
    ShowPage(PageRanges);
}

void TImportWizard::ListColumns() {
    FColumnList->setRowCount(0);
    for (int column = FTitleFromColumn->value(); column <= FTitleToColumn->value(); ++column) {
        auto* item = new QTableWidgetItem(TrimmedCell(*FSheet, FTitleRow->value(), column));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        const int row = FColumnList->rowCount();
        FColumnList->insertRow(row);
        FColumnList->setItem(row, 0, item);
    }
    ShowPage(PageColumns);
    FColumnList->setFocus();
}

void TImportWizard::Import() {
    ShowPage(PageImporting);
    SetWorking(true);
    RepaintNow();

    std::vector<int> chosen;
    for (int row = 0; row < FColumnList->rowCount(); ++row)
        if (FColumnList->item(row, 0)->checkState() == Qt::Checked)
            chosen.push_back(FTitleFromColumn->value() + row);
    TCategoryImport import(*FSheet, FTitleRow->value(), std::move(chosen));
    // Everything is read before the data changes, so a failure leaves the data as it was.
    import.ReadRecords(FDataFromRow->value(), FDataToRow->value(), ProgressOn(FProgress));
    FNewCategoryID = import.AddTo(*FData, StoredText(FSheetList->currentText()), GeneratedFont());

    SetWorking(false);
    ShowPage(PageDone);
    Finish();
}

void TImportWizard::ShowAppendPage() {
    QStringList headings;
    std::vector<int> columns;
    for (int row = 0; row < FColumnList->rowCount(); ++row) {
        if (FColumnList->item(row, 0)->checkState() != Qt::Checked)
            continue;
        headings.append(FColumnList->item(row, 0)->text());
        columns.push_back(FTitleFromColumn->value() + row);
    }
    FAppendPage->SetUp(*FData, headings, columns);
    ShowPage(PageAppend);
    FAppendPage->FocusFirst();
}

void TImportWizard::AppendRows() {
    const QString problem = FAppendPage->Problem();
    if (!problem.isEmpty()) {
        MessageBoxes::Show(this, MessageBoxes::TKind::Warning, problem, QMessageBox::Ok);
        return;
    }
    ShowPage(PageImporting);
    SetWorking(true);
    RepaintNow();

    TCategory& category = FAppendPage->Category();
    TCategoryAppend append(*FSheet, category, FAppendPage->Columns());
    // The records are read aside and added in one step, so a failure leaves the data as it was.
    append.ReadRecords(FDataFromRow->value(), FDataToRow->value(), FAppendPage->SkipDuplicates(),
                       ProgressOn(FProgress));
    const auto added = static_cast<int>(append.RecordCount());
    const auto duplicates = static_cast<int>(append.DuplicateCount());
    FAddRecords(category, append.TakeRecords());

    // Whole sentences, one a line, so each translates as a unit.
    QStringList summary{tr("%n record(s) added to \"%1\".", nullptr, added).arg(DisplayText(category.Name))};
    if (FAppendPage->SkipDuplicates())
        summary.append(tr("%n duplicate row(s) skipped.", nullptr, duplicates));
    FAppendSummary->setText(summary.join(QLatin1Char('\n')));
    SetWorking(false);
    ShowPage(PageDone);
    Finish();
}

void TImportWizard::CleanUp() {
    FSheet = nullptr;
    CloseWorkbookQuietly(FWorkbook);
}
