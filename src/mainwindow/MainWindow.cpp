// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/MainWindow.h"

#include "core/Category.h"
#include "core/DataFile.h"
#include "core/FileIO.h"
#include "exchangewizards/ExportWizard.h"
#include "exchangewizards/ImportWizard.h"
#include "help/HelpCommands.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/EditMenu.h"
#include "mainwindow/FileDrop.h"
#include "mainwindow/FilterBar.h"
#include "mainwindow/FilterRun.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/RecentFilesMenu.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordCommands.h"
#include "mainwindow/RecordForm.h"
#include "mainwindow/RecordList.h"
#include "mainwindow/RecordListModel.h"
#include "mainwindow/UndoCommands.h"
#include "mainwindow/WindowPlacement.h"
#include "print/FormSnapshot.h"
#include "print/ListSource.h"
#include "print/PrintHost.h"
#include "settings/Settings.h"
#include "templateeditor/TemplateEditor.h"
#include "ui/CategoryBar.h"
#include "ui/RunCommand.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QStatusBar>

namespace {

const char* const kWelcome = QT_TRANSLATE_NOOP(
    "TMainWindow",
    "Welcome to use Quillery. "
    "Before you can use this program, please specify a file that will be used to store your data. "
    "\r\n\r\n"
    "Click OK to specify the data file. If the file does not exist, it will be created. "
    "Or click Cancel to exit this program."
    "\r\n\r\n");
const char* const kSaveBeforeTemplates = QT_TRANSLATE_NOOP(
    "TMainWindow", "Please save or cancel your modification to record before editing templates.");
const char* const kImport = QT_TRANSLATE_NOOP("TUndoCommands", "Import");
const char* const kSaveBeforeImport = QT_TRANSLATE_NOOP(
    "TMainWindow", "Please save or cancel your modification to record before importing from Excel file.");

} // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), FSession(new TDataFileSession(this)), FWorkingCopy(std::make_unique<TDataFile>()),
      FActions(std::make_unique<TMainActions>(this)), FTemplateEditor(std::make_unique<TTemplateEditor>()),
      FImportWizard(std::make_unique<TImportWizard>()), FExportWizard(std::make_unique<TExportWizard>()),
      FFilterBar(new TFilterBar(this)), FLayout(new TMainLayout(this, FFilterBar)),
      FRecordList(FLayout->RecordList()), FPrintHost(new TPrintHost(this)) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(tr("Quillery"));
    resize(1000, 680);

    FActions->CreateMenusAndToolBar(this);
    FBrowser = new TRecordBrowser(this, *FSession, *FActions, *FLayout, *FFilterBar);
    FFilterRun = new TFilterRun(this, *FBrowser, *FActions, *FLayout, *FFilterBar);
    FRecordCommands = new TRecordCommands(this, *FBrowser, *FFilterRun, *FSession, *FActions);
    FImportWizard->SetAddRecords([this](TCategory& category, std::vector<std::unique_ptr<TRecord>> records) {
        FRecordCommands->AppendRecords(category, std::move(records));
    });
    new TEditMenu(this, *FActions);
    FUndoCommands =
        new TUndoCommands(this, *FSession, *FBrowser, *FLayout->RecordForm(), *FFilterRun, *FActions);
    FRecentFiles = new TRecentFilesMenu(this, FActions->FileMenu, FActions->ChooseDataFile);
    FFileDrop = new TFileDrop(this, *FActions->ChooseDataFile, *FActions->ImportFromExcel);
    FLayout->CategoryBar()->setContextMenuPolicy(Qt::ActionsContextMenu);
    FLayout->CategoryBar()->addAction(FActions->EditTemplates);
    FRecordList->setContextMenuPolicy(Qt::ActionsContextMenu);
    FRecordList->addActions({FActions->NewItem, FActions->DuplicateItem, FActions->DeleteItem});
    ConnectCommands();
    FHelp = new THelpCommands(this, FActions->HelpTopics, FActions->VisitHomePage, FActions->About);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));

    DataFileOpenedChanged(false);
}

TMainWindow::~TMainWindow() {
    // It follows the focus, which moves while the children go, after the actions went.
    delete FUndoCommands;
    // The list refers to records of the open data; it lets them go without asking about edits.
    FRecordList->disconnect(FBrowser);
    FRecordList->ShowColumnsOf(nullptr);
}

void TMainWindow::ConnectCommands() {
    const TMainActions& a = *FActions;
    // Every command acts on the filter the user typed, even while its pause is still running.
    const auto connectAfterFilter = [this](QAction* action, std::function<void()> command) {
        ConnectCommand(action, &QAction::triggered, this, [this, command = std::move(command)] {
            FFilterRun->RunPending();
            command();
        });
    };
    connectAfterFilter(a.ChooseDataFile, [this] { ChooseDataFile(); });
    connectAfterFilter(a.SetPassword, [this] { FSession->SetPassword(); });
    connectAfterFilter(a.BackupDataFile, [this] { FSession->Backup(); });
    connectAfterFilter(a.EditTemplates, [this] { EditTemplates(); });
    connectAfterFilter(a.ImportFromExcel, [this] { ImportFromExcel(QString()); });
    connectAfterFilter(a.ExportToExcel,
                       [this] { FExportWizard->Run(FSession->DataFile(), FBrowser->CurrentCategory()); });
    connectAfterFilter(a.NewItem, [this] { FRecordCommands->NewRecord(); });
    connectAfterFilter(a.DuplicateItem, [this] { FRecordCommands->DuplicateRecord(); });
    connectAfterFilter(a.DeleteItem, [this] { FRecordCommands->DeleteRecord(); });
    ConnectCommand(FLayout->RecordForm(), &TRecordForm::SaveRequested, this, [this] {
        FFilterRun->RunPending();
        FBrowser->SaveRecord();
    });
    // Save Record is the Save button's command, offered exactly while the button shows.
    connect(a.SaveRecord, &QAction::triggered, FLayout->RecordForm(), &TRecordForm::SaveRequested);
    a.SaveRecord->setEnabled(FLayout->RecordForm()->Modified());
    connect(FLayout->RecordForm(), &TRecordForm::ModifiedChanged, a.SaveRecord, &QAction::setEnabled);
    // A recent file or a dropped one opens as a chosen one does; a dropped workbook is imported.
    const auto openFile = [this](const QString& path) {
        RunCommand(this, [this, path] {
            FFilterRun->RunPending();
            OpenFile(path);
        });
    };
    connect(FRecentFiles, &TRecentFilesMenu::OpenRequested, this, openFile);
    connect(FFileDrop, &TFileDrop::DataFileDropped, this, openFile);
    connect(FFileDrop, &TFileDrop::WorkbookDropped, this, [this](const QString& path) {
        RunCommand(this, [this, path] {
            FFilterRun->RunPending();
            ImportFromExcel(path);
        });
    });
    ConnectCommand(a.SetFocusToSearchBox, &QAction::triggered, this, [this] { FBrowser->FocusFilterBox(); });
    ConnectCommand(a.SetFocusToTheListView, &QAction::triggered, this,
                   [this] { FBrowser->FocusRecordList(); });
    ConnectCommand(a.Search, &QAction::triggered, this, [this] { FFilterRun->Run(); });
    // A run walks the current category's records: no other category shows meanwhile.
    const auto stepCategory = [this](int step) {
        if (!FFilterRun->Running())
            FBrowser->StepCategory(step);
    };
    ConnectCommand(a.NextCategory, &QAction::triggered, this, [stepCategory] { stepCategory(1); });
    ConnectCommand(a.PreviousCategory, &QAction::triggered, this, [stepCategory] { stepCategory(-1); });
    connect(FLayout, &TMainLayout::EditTemplatesRequested, a.EditTemplates, &QAction::trigger);
    ConnectCommand(a.Print, &QAction::triggered, this, [this] { PrintCurrent(false); });
    ConnectCommand(a.PrintPreview, &QAction::triggered, this, [this] { PrintCurrent(true); });
    ConnectCommand(a.PageSetup, &QAction::triggered, this, [this] { FPrintHost->PageSetup(); });

    connect(FSession, &TDataFileSession::AboutToDiscard, FBrowser, &TRecordBrowser::LetGoOfData);
    connect(FSession, &TDataFileSession::OpenedChanged, this, &TMainWindow::DataFileOpenedChanged);
    connect(FFilterRun, &TFilterRun::RunningChanged, this, &TMainWindow::UpdateEditTemplatesEnabled);
    connect(FLayout->RecordForm(), &TRecordForm::ModifiedChanged, this,
            &TMainWindow::UpdateEditTemplatesEnabled);
}

void TMainWindow::PrintCurrent(bool preview) {
    std::optional<TPrintedForm> record;
    if (FBrowser->CurrentRecord() != nullptr && FBrowser->CurrentCategory() != nullptr) {
        record = PrintedFormOf(*FBrowser->CurrentCategory(), FLayout->RecordForm()->FormPanel());
    }
    const TModelListSource list(*FRecordList->Model(), ShownColumnOrder(*FRecordList->horizontalHeader()));
    FPrintHost->SetSecret(FSession->DataFile().IsEncrypted());
    if (preview) {
        FPrintHost->Preview(record, list);
    } else {
        FPrintHost->Print(record, list);
    }
}

// ---- Start and end ---------------------------------------------------------------------------

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FFirstShown) {
        FFirstShown = true;
        RunCommand(this, [this] { FirstShow(); });
    }
}

void TMainWindow::FirstShow() {
    QString panelLeftWidth;
    QString listViewHeight;
    QString path;
    {
        TSettingsFile settings;
        path = settings.ReadString(QStringLiteral("DataFile"));
        panelLeftWidth = settings.ReadString(QStringLiteral("PanelLeftWidth"));
        listViewHeight = settings.ReadString(QStringLiteral("ListView1Height"));
        FBrowser->SetSelectedCategoryID(settings.ReadInteger(QStringLiteral("SelectedCategoryID"), 0));
        PrintListFont().Name =
            settings.ReadString(QStringLiteral("PrintListFontName"), QStringLiteral("Arial"));
        PrintListFont().Size = settings.ReadInteger(QStringLiteral("PrintListFontSize"), 9);
    }
    if (!path.isEmpty() && !QFileInfo(path).isFile())
        path.clear();
    FSession->SetPath(path);
    if (path.isEmpty() && MessageBoxes::Show(this, MessageBoxes::TKind::Information, tr(kWelcome),
                                             QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        ChooseDataFile();
    if (FSession->Path().isEmpty()) {
        // Without a data file the program ends; the close runs once the showing is over.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (!FSession->Opened())
        FSession->Open();
    FLayout->ApplyRemembered(panelLeftWidth, listViewHeight);
}

void TMainWindow::WriteSettingsOnClose() {
    TSettingsFile settings;
    // Without an open file the window showed no layout of its own: keep the remembered one.
    if (FSession->Opened()) {
        settings.WriteInteger(QStringLiteral("PanelLeftWidth"), FLayout->PanelLeftWidth());
        settings.WriteInteger(QStringLiteral("ListView1Height"), FLayout->ListViewHeight());
        settings.WriteInteger(QStringLiteral("SelectedCategoryID"),
                              FBrowser->CurrentCategory() ? FBrowser->CurrentCategory()->ID : 0);
    }
    settings.WriteString(QStringLiteral("PrintListFontName"), PrintListFont().Name);
    settings.WriteInteger(QStringLiteral("PrintListFontSize"), PrintListFont().Size);
    RememberPlace(*this, settings);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    FHelp->CloseHelpWindow();
    if (!FBrowser->OfferToSaveRecord(false)) {
        event->ignore();
        return;
    }
    WriteSettingsOnClose();
    // A write that fails on closing never drops the changes silently.
    if (!FSession->Path().isEmpty() && FSession->WritePending() && !FSession->FlushWriteCache() &&
        !FSession->ConfirmDiscardUnwritten()) {
        event->ignore();
        return;
    }
    FSession->TimerWriteCache.stop();
    FFilterBar->TimerSearch.stop();
    FBrowser->StopTimers();
    event->accept();
}

void TMainWindow::BringToFront() {
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// ---- The data file ---------------------------------------------------------------------------

void TMainWindow::DataFileOpenedChanged(bool opened) {
    // A file that cannot be written says so once, in the title.
    const bool readOnly = opened && IsReadOnlyFile(QFile::encodeName(FSession->Path()).toStdString());
    const QString fileName = QFileInfo(FSession->Path()).fileName();
    setWindowTitle(!opened    ? tr("Quillery")
                   : readOnly ? tr("Quillery - %1 (read-only)").arg(fileName)
                              : tr("Quillery - %1").arg(fileName));
    FBrowser->FillCategoryBar();
    FActions->SetPassword->setEnabled(opened);
    FActions->BackupDataFile->setEnabled(opened);
    FActions->ImportExportMenu->setEnabled(opened);
    FActions->ImportFromExcel->setEnabled(opened);
    FActions->ExportToExcel->setEnabled(opened);
    UpdateEditTemplatesEnabled();
}

void TMainWindow::ChooseDataFile() {
    const bool hadFile = !FSession->Path().isEmpty();
    if (FSession->Choose([this] { return FBrowser->OfferToSaveRecord(true); }) && hadFile)
        FBrowser->SetSelectedCategoryID(0);
}

bool TMainWindow::OpenFile(const QString& path) {
    if (!FSession->Path().isEmpty() && !FBrowser->OfferToSaveRecord(true))
        return false;
    if (!FSession->FlushWriteCache() && !FSession->ConfirmDiscardUnwritten())
        return false;
    FBrowser->SetSelectedCategoryID(0);
    FSession->SetPath(path);
    FSession->Open();
    return FSession->Opened();
}

void TMainWindow::EditTemplates() {
    if (FLayout->RecordForm()->Modified()) {
        MessageBoxes::ShowError(this, tr(kSaveBeforeTemplates));
        return;
    }
    FWorkingCopy = std::make_unique<TDataFile>();
    FWorkingCopy->BuildWorkingCopy(FSession->DataFile());
    if (!FTemplateEditor->Execute(*FWorkingCopy))
        return;
    // No row may refer to a record while the merge changes it or frees it with its category.
    FBrowser->ReleaseCategories();
    FSession->DataFile().ApplyWorkingCopy(*FWorkingCopy);
    // Record changes before the templates changed no longer fit the records.
    FSession->History().Clear();
    FBrowser->FillCategoryBar();
    FSession->MarkDataChanged();
}

void TMainWindow::ImportFromExcel(const QString& fileName) {
    if (FLayout->RecordForm()->Modified()) {
        MessageBoxes::ShowError(this, tr(kSaveBeforeImport));
        return;
    }
    const TRecordHistory::TPlace before = FBrowser->CurrentPlace();
    // The window shows what it showed while the wizard runs: the import adds a category and
    // leaves every other category and record where it was. The bar is filled again
    // afterwards, with no row referring to a record meanwhile.
    const int32_t created = FImportWizard->Run(FSession->DataFile(), fileName);
    FBrowser->ReleaseCategories();
    if (created != 0)
        FSession->History().CategoryAdded(kImport, FSession->DataFile(), created, before);
    FBrowser->FillCategoryBar();
    FSession->MarkDataChanged();
}

void TMainWindow::UpdateEditTemplatesEnabled() {
    // The template editor rewrites categories: not over unsaved edits or a running filter.
    FActions->EditTemplates->setEnabled(FSession->Opened() && !FLayout->RecordForm()->Modified() &&
                                        !FFilterRun->Running());
}
