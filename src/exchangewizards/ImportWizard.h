// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchangewizards/WizardFrame.h"

#include <cstdint>
#include <memory>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QSpinBox;
class QTableWidget;
class TDataFile;
class TWorkbook;
class TWorksheet;
struct TFont;

// The import wizard: a range of one worksheet becomes a new category, its title cells the
// captions of a generated form and list, its rows the records.
class TImportWizard : public TWizardFrame {
    Q_OBJECT

public:
    explicit TImportWizard(QWidget* parent = nullptr);
    ~TImportWizard() override;

    // Runs the wizard modally on data, fileName filled in; the new category's id, or 0 when
    // nothing was imported.
    int32_t Run(TDataFile& dataFile, const QString& fileName = QString());
    // Starts a run and returns at once; ImportedCategoryID tells the result once it closes.
    void Open(TDataFile& dataFile);
    int32_t ImportedCategoryID() const { return FNewCategoryID; }

    // The font of the generated labels and boxes: the application's family at 8 points in the
    // system's window-text colour.
    static TFont GeneratedFont();

protected:
    void GoToNextPage() override;
    void CleanUp() override;

private:
    QWidget* CreateRangesPage();
    void FormShow();
    // The steps of "&Next" on each page.
    void OpenWorkbook();
    void FindRanges();
    void ListColumns();
    void Import();
    // Lets go of the workbook that could not be read for its size, shows message and starts
    // again from the file page.
    void GiveUpTooLarge(const QString& message);

    TDataFile* FData = nullptr;
    std::unique_ptr<TWorkbook> FWorkbook;
    TWorksheet* FSheet = nullptr;
    int32_t FNewCategoryID = 0;

    QLineEdit* FFileNameBox;
    QComboBox* FSheetList;
    QSpinBox* FTitleRow;
    QSpinBox* FTitleFromColumn;
    QSpinBox* FTitleToColumn;
    QSpinBox* FDataFromRow;
    QSpinBox* FDataToRow;
    QTableWidget* FColumnList;
    QProgressBar* FProgress;
};
