// The main window's spreadsheet commands: the wizards do the work, the window refreshes around them.

#include "mainwindow/MainWindow.h"

#include "core/Category.h"
#include "exchange/ExportWizard.h"
#include "exchange/ImportWizard.h"
#include "ui/CategoryBar.h"
#include "ui/dialogs/MessageBoxes.h"

void TMainWindow::ImportFromExcel() {
    if (DataFormModified()) {
        MessageBoxes::ShowError(this,
                                QStringLiteral("Please save or cancel your modification to record before "
                                               "importing from Excel file."));
        return;
    }
    FSelectedCategoryID = FCurrentCategory ? FCurrentCategory->ID : 0;
    // No row may refer to a record while the import merges the categories.
    FCategoryBar->SetSelectedIndex(-1);
    FImportWizard->Run(Data());
    FillCategoryBar();
    MarkDataChanged();
}

void TMainWindow::ExportToExcel() {
    FExportWizard->Run(Data(), FCurrentCategory);
}
