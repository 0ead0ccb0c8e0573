// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchangewizards/WizardFrame.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class TAppendPage;
class TCategory;
class TDataFile;
class TRecord;
class TWorkbook;
class TWorksheet;
struct TFont;

// The import wizard: a range of one worksheet becomes a new category, its title cells the
// captions of a generated form and list, its rows the records. Or, when the user chooses so on
// the first page, the rows become new records of an existing category.
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

    // Adds the records an import into an existing category read, in one step. By default they
    // go straight into the category; the main window passes them through its record commands.
    using TAddRecords =
        std::function<void(TCategory& category, std::vector<std::unique_ptr<TRecord>> records)>;
    void SetAddRecords(TAddRecords addRecords);

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
    // Adding the rows to an existing category: the choice on the file page, the page of choices
    // after the columns, and the import itself.
    void AddTargetChoice(QWidget* filePage);
    void ShowAppendPage();
    void AppendRows();
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

    TAddRecords FAddRecords;
    QRadioButton* FNewCategoryChoice;
    QRadioButton* FAppendChoice;
    TAppendPage* FAppendPage;
    QLabel* FAppendSummary;
};
