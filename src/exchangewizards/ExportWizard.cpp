// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangewizards/ExportWizard.h"

#include "core/DataFile.h"
#include "exchange/CategoryExport.h"
#include "exchange/DisplayText.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <exception>

namespace {

enum TPage { PageSettings, PageExporting, PageDone };

QLabel* AddText(QWidget* page, const QString& text, int top) {
    auto* label = new QLabel(text, page);
    label->setGeometry(24, top, 426, 20);
    return label;
}

} // namespace

TExportWizard::TExportWizard(QWidget* parent)
    : TWizardFrame(QStringLiteral("FormExportToExcel"), QStringLiteral("Export to Excel File"), 318, parent) {
    QWidget* settings = AddPage(QStringLiteral("Select a category to export:"));
    FCategoryList = new QComboBox(settings);
    FCategoryList->setObjectName(QStringLiteral("CBCat"));
    FCategoryList->setEditable(false);
    FCategoryList->setGeometry(24, 34, 250, 24);
    FNoCategoryText = AddText(settings, QStringLiteral("There is no category to export."), 60);
    FNoCategoryText->setObjectName(QStringLiteral("LabelNoCategory"));

    auto* fileLabel =
        AddText(settings,
                QStringLiteral(
                    "Specify a destination Excel file: (If the file exists, a new worksheet will be added.)"),
                84);
    fileLabel->setWordWrap(true);
    fileLabel->setGeometry(24, 80, 426, 34);
    FileDialogs::TOptions browse;
    browse.Mode = FileDialogs::TMode::ChooseTarget;
    browse.Title = QStringLiteral("Specify a new Excel file");
    browse.Filter = QStringLiteral("Excel Workbook (*.xlsx);;CSV (*.csv)");
    browse.DefaultSuffix = QStringLiteral("xlsx");
    FFileNameBox = AddFileNameBox(settings, 116, browse);
    fileLabel->setBuddy(FFileNameBox);

    AddText(settings, QStringLiteral("Specify the name of worksheet:"), 150);
    FSheetNameBox = new QLineEdit(settings);
    FSheetNameBox->setObjectName(QStringLiteral("LESheetName"));
    FSheetNameBox->setGeometry(24, 172, 250, 24);
    AddText(settings, QStringLiteral("Then, click \"Next\"."), 186 + 4);

    FProgress = AddProgressPage(QStringLiteral("Exporting..."));
    AddPage(QStringLiteral("Done!"));

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
                              QStringLiteral("The file \"%1\" is a CSV file, which holds one worksheet only. "
                                             "Do you want to replace it?")
                                  .arg(FFileNameBox->text()),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TExportWizard::GoToNextPage() {
    if (PageIndex() != PageSettings || FCategoryList->currentIndex() < 0)
        return;
    if (FFileNameBox->text().trimmed().isEmpty()) {
        MessageBoxes::Show(this, MessageBoxes::TKind::Warning, QStringLiteral("Please specify a file name."),
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
        MessageBoxes::ShowError(this, QString::fromUtf8(e.what()));
        return;
    }

    SetWorking(true);
    ShowPage(PageExporting);
    RepaintNow();
    try {
        FExport->Run(ProgressOn(FProgress), WaitOn(FProgress));
    } catch (const std::exception& e) {
        // The buttons stay disabled; the window's close box ends the wizard.
        SetWorking(false);
        MessageBoxes::ShowError(this, QString::fromUtf8(e.what()));
        return;
    }
    SetWorking(false);
    ShowPage(PageDone);
    Finish();
}

void TExportWizard::CleanUp() {
    if (FExport)
        FExport->Close();
    FExport.reset();
}
