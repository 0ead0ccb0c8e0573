// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchangewizards/WizardFrame.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TCategory;
class TCategoryExportRun;
class TDataFile;

// The export wizard: writes every record of one category to a new workbook, or to a worksheet
// added to an existing one. It only reads the data.
class TExportWizard : public TWizardFrame {
    Q_OBJECT

public:
    explicit TExportWizard(QWidget* parent = nullptr);
    ~TExportWizard() override;

    // Runs the wizard modally on data with current (may be null) preselected.
    void Run(const TDataFile& dataFile, const TCategory* current);
    // Starts a run and returns at once; the run ends when the window closes.
    void Open(const TDataFile& dataFile, const TCategory* current);

protected:
    void GoToNextPage() override;
    void CleanUp() override;

private:
    void FormShow(const TCategory* current);
    void ChooseCategory(int index);
    // Refusals and the question about a .csv file, before anything is written.
    bool ConfirmTarget(const TCategoryExportRun& run);
    // From the page of a failed export back to the entries, as they were.
    void GoBack();

    const TDataFile* FData = nullptr;
    std::unique_ptr<TCategoryExportRun> FExport;
    QComboBox* FCategoryList;
    QLineEdit* FFileNameBox;
    QLineEdit* FSheetNameBox;
    QLabel* FNoCategoryText;
    QProgressBar* FProgress;
    QLabel* FErrorText;
    QPushButton* FBackButton;
};
