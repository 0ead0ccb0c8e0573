// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangewizards/ExportWizard.h"

#include "core/DataFile.h"
#include "exchange/CategoryExport.h"
#include "exchange/DisplayText.h"
#include "ui/ErrorText.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

enum TPage { PageSettings, PageExporting, PageFailed, PageDone };

constexpr int kChoiceWidth = 250;
constexpr int kGapBetweenQuestions = 6;

QLabel* AddText(QWidget* page, const QString& text) {
    auto* label = new QLabel(text, page);
    label->setWordWrap(true);
    TWizardFrame::PageLayout(page)->addWidget(label);
    return label;
}

} // namespace

TExportWizard::TExportWizard(QWidget* parent)
    : TWizardFrame(QStringLiteral("FormExportToExcel"), tr("Export to Excel File"), 318, parent) {
    QWidget* settings = AddPage(tr("Select a category to export:"));
    QVBoxLayout* lines = PageLayout(settings);
    FCategoryList = new QComboBox(settings);
    FCategoryList->setObjectName(QStringLiteral("CBCat"));
    FCategoryList->setEditable(false);
    FCategoryList->setMinimumWidth(kChoiceWidth);
    lines->addWidget(FCategoryList, 0, Qt::AlignLeft);
    FNoCategoryText = AddText(settings, tr("There is no category to export."));
    FNoCategoryText->setObjectName(QStringLiteral("LabelNoCategory"));

    lines->addSpacing(kGapBetweenQuestions);
    auto* fileLabel =
        AddText(settings,
                tr("Specify a destination Excel file: (If the file exists, a new worksheet will be added.)"));
    FileDialogs::TOptions browse;
    browse.Mode = FileDialogs::TMode::ChooseTarget;
    browse.Title = tr("Specify a new Excel file");
    browse.Filter = tr("Excel Workbook (*.xlsx);;CSV (*.csv)");
    browse.DefaultSuffix = QStringLiteral("xlsx");
    FFileNameBox = AddFileNameBox(settings, browse);
    fileLabel->setBuddy(FFileNameBox);

    lines->addSpacing(kGapBetweenQuestions);
    auto* sheetLabel = AddText(settings, tr("Specify the name of worksheet:"));
    FSheetNameBox = new QLineEdit(settings);
    FSheetNameBox->setObjectName(QStringLiteral("LESheetName"));
    FSheetNameBox->setMinimumWidth(kChoiceWidth);
    sheetLabel->setBuddy(FSheetNameBox);
    lines->addWidget(FSheetNameBox, 0, Qt::AlignLeft);
    AddText(settings, tr("Then, click \"Next\"."));
    lines->addStretch(1);

    FProgress = AddProgressPage(tr("Exporting..."));
    QWidget* failed = AddPage(tr("The export failed:"));
    FErrorText = AddText(failed, QString());
    FErrorText->setObjectName(QStringLiteral("LabelError"));
    FErrorText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PageLayout(failed)->addStretch(1);
    AddPage(tr("Done!"));

    FBackButton = AddBackButton();
    connect(FBackButton, &QPushButton::clicked, this, &TExportWizard::GoBack);
    connect(FCategoryList, qOverload<int>(&QComboBox::activated), this, &TExportWizard::ChooseCategory);
}

TExportWizard::~TExportWizard() = default;

void TExportWizard::Run(const TDataFile& dataFile, const TCategory* current) {
    FData = &dataFile;
    FormShow(current);
    exec();
}

void TExportWizard::Open(const TDataFile& dataFile, const TCategory* current) {
    FData = &dataFile;
    FormShow(current);
    OpenModal();
}

void TExportWizard::FormShow(const TCategory* current) {
    StartRun();
    FBackButton->setEnabled(false);
    FFileNameBox->clear();
    FCategoryList->clear();
    for (const auto& category : FData->Categories)
        FCategoryList->addItem(DisplayText(category->Name));
    FCategoryList->setCurrentIndex(FData->IndexOfCategory(current));
    ChooseCategory(FCategoryList->currentIndex());
    FNoCategoryText->setVisible(FData->Categories.empty());
    FCategoryList->setFocus();
}

void TExportWizard::ChooseCategory(int index) {
    FSheetNameBox->setText(index < 0 ? QString() : FCategoryList->itemText(index));
    // The export needs a category: without one "&Next" waits for a choice.
    FNextButton->setEnabled(index >= 0);
}

bool TExportWizard::ConfirmTarget(const TCategoryExportRun& run) {
    run.Check();
    if (run.Target() != TExportTarget::ReplaceCsv)
        return true;
    return MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation,
                              tr("The file \"%1\" is a CSV file, which holds one worksheet only. "
                                 "Do you want to replace it?")
                                  .arg(FFileNameBox->text()),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TExportWizard::GoToNextPage() {
    if (PageIndex() != PageSettings || FCategoryList->currentIndex() < 0)
        return;
    if (FFileNameBox->text().trimmed().isEmpty()) {
        MessageBoxes::Show(this, MessageBoxes::TKind::Warning, tr("Please specify a file name."),
                           QMessageBox::Ok);
        return;
    }
    const TCategory& category = *FData->Categories[static_cast<size_t>(FCategoryList->currentIndex())];
    try {
        auto run =
            std::make_unique<TCategoryExportRun>(category, FFileNameBox->text(), FSheetNameBox->text());
        if (!ConfirmTarget(*run))
            return;
        FExport = std::move(run);
    } catch (const std::exception& e) {
        MessageBoxes::ShowError(this, ErrorText(e));
        return;
    }

    SetWorking(true);
    ShowPage(PageExporting);
    RepaintNow();
    try {
        FExport->Run(ProgressOn(FProgress), WaitOn(FProgress));
    } catch (const std::exception& e) {
        // The page tells what went wrong; the user may go back and change the entries, or close.
        SetWorking(false);
        FErrorText->setText(ErrorText(e));
        ShowPage(PageFailed);
        Finish();
        FBackButton->setEnabled(true);
        FBackButton->setFocus();
        return;
    }
    SetWorking(false);
    ShowPage(PageDone);
    Finish();
}

void TExportWizard::GoBack() {
    // The failed run lets go of the workbook; the next "&Next" starts another.
    CleanUp();
    StartRun();
    FBackButton->setEnabled(false);
    FSheetNameBox->setFocus();
}

void TExportWizard::CleanUp() {
    if (FExport)
        FExport->Close();
    FExport.reset();
}
