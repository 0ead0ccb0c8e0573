#include "mainwindow/MainWindow.h"

#include "core/Category.h"
#include "core/DataFile.h"
#include "core/FileIO.h"
#include "exchangewizards/ExportWizard.h"
#include "exchangewizards/ImportWizard.h"
#include "help/HelpCommands.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/EditMenu.h"
#include "mainwindow/FilterBar.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordForm.h"
#include "mainwindow/RecordList.h"
#include "mainwindow/RecordListModel.h"
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

const char* const kWelcome =
    "Welcome to use Quillery. "
    "Before you can use this program, please specify a file that will be used to store your data. "
    "\r\n\r\n"
    "Click OK to specify the data file. If the file does not exist, it will be created. "
    "Or click Cancel to exit this program."
    "\r\n\r\n";
const char* const kSaveBeforeTemplates =
    "Please save or cancel your modification to record before editing templates.";
const char* const kSaveBeforeImport =
    "Please save or cancel your modification to record before importing from Excel file.";

} // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), FSession(new TDataFileSession(this)), FWorkingCopy(std::make_unique<TDataFile>()),
      FActions(std::make_unique<TMainActions>(this)), FTemplateEditor(std::make_unique<TTemplateEditor>()),
      FImportWizard(std::make_unique<TImportWizard>()), FExportWizard(std::make_unique<TExportWizard>()),
      FFilterBar(new TFilterBar(this)), FLayout(new TMainLayout(this, FFilterBar)),
      FRecordList(FLayout->RecordList()), FPrintHost(new TPrintHost(this)) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Quillery"));
    resize(1000, 680);

    FActions->CreateMenusAndToolBar(this);
    FBrowser = new TRecordBrowser(this, *FSession, *FActions, *FLayout, *FFilterBar);
    new TEditMenu(this, *FActions);
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
    // The list refers to records of the open data; it lets them go without asking about edits.
    FRecordList->disconnect(FBrowser);
    FRecordList->ShowColumnsOf(nullptr);
}

void TMainWindow::ConnectCommands() {
    const TMainActions& a = *FActions;
    // Every command acts on the filter the user typed, even while its pause is still running.
    const auto connectAfterFilter = [this](QAction* action, std::function<void()> command) {
        ConnectCommand(action, &QAction::triggered, this, [this, command = std::move(command)] {
            FBrowser->RunPendingFilter();
            command();
        });
    };
    connectAfterFilter(a.ChooseDataFile, [this] { ChooseDataFile(); });
    connectAfterFilter(a.SetPassword, [this] { FSession->SetPassword(); });
    connectAfterFilter(a.BackupDataFile, [this] { FSession->Backup(); });
    connectAfterFilter(a.EditTemplates, [this] { EditTemplates(); });
    connectAfterFilter(a.ImportFromExcel, [this] { ImportFromExcel(); });
    connectAfterFilter(a.ExportToExcel, [this] { FExportWizard->Run(DataFile(), CurrentCategory()); });
    connectAfterFilter(a.NewItem, [this] { FBrowser->NewRecord(); });
    connectAfterFilter(a.DuplicateItem, [this] { FBrowser->DuplicateRecord(); });
    connectAfterFilter(a.DeleteItem, [this] { FBrowser->DeleteRecord(); });
    ConnectCommand(a.SetFocusToSearchBox, &QAction::triggered, this, [this] { FBrowser->FocusFilterBox(); });
    ConnectCommand(a.SetFocusToTheListView, &QAction::triggered, this,
                   [this] { FBrowser->FocusRecordList(); });
    ConnectCommand(a.Search, &QAction::triggered, this, [this] { FBrowser->RunFilter(); });
    ConnectCommand(a.NextCategory, &QAction::triggered, this, [this] { FBrowser->StepCategory(1); });
    ConnectCommand(a.PreviousCategory, &QAction::triggered, this, [this] { FBrowser->StepCategory(-1); });
    connect(FLayout, &TMainLayout::EditTemplatesRequested, a.EditTemplates, &QAction::trigger);
    ConnectCommand(a.Print, &QAction::triggered, this, [this] { PrintCurrent(false); });
    ConnectCommand(a.PrintPreview, &QAction::triggered, this, [this] { PrintCurrent(true); });
    ConnectCommand(a.PageSetup, &QAction::triggered, this, [this] { FPrintHost->PageSetup(); });

    connect(FSession, &TDataFileSession::AboutToDiscard, FBrowser, &TRecordBrowser::LetGoOfData);
    connect(FSession, &TDataFileSession::OpenedChanged, this, &TMainWindow::DataFileOpenedChanged);
    connect(FBrowser, &TRecordBrowser::BusyChanged, this, &TMainWindow::UpdateEditTemplatesEnabled);
}

void TMainWindow::PrintCurrent(bool preview) {
    std::optional<TPrintedForm> record;
    if (CurrentRecord() != nullptr && CurrentCategory() != nullptr) {
        record = PrintedFormOf(*CurrentCategory(), FLayout->RecordForm()->FormPanel());
    }
    const TModelListSource list(*RecordListModel(), ShownColumnOrder(*FRecordList->header()));
    FPrintHost->SetSecret(DataFile().IsEncrypted());
    if (preview) {
        FPrintHost->Preview(record, list);
    } else {
        FPrintHost->Print(record, list);
    }
}

// ---- What a user sees ------------------------------------------------------------------------

TDataFile& TMainWindow::DataFile() {
    return FSession->DataFile();
}

const QString& TMainWindow::DataFilePath() const {
    return FSession->Path();
}

bool TMainWindow::DataFileOpened() const {
    return FSession->Opened();
}

bool TMainWindow::WritePending() const {
    return FSession->WritePending();
}

TRecordListModel* TMainWindow::RecordListModel() const {
    return FRecordList->Model();
}

bool TMainWindow::DataFormModified() const {
    return FBrowser->FormModified();
}

TCategory* TMainWindow::CurrentCategory() const {
    return FBrowser->CurrentCategory();
}

TRecord* TMainWindow::CurrentRecord() const {
    return FBrowser->CurrentRecord();
}

int32_t TMainWindow::SelectedCategoryID() const {
    return FBrowser->SelectedCategoryID();
}

void TMainWindow::MarkDataChanged() {
    FSession->MarkDataChanged();
}

QTimer& TMainWindow::TimerWriteCache() {
    return FSession->TimerWriteCache;
}

QTimer& TMainWindow::TimerSearch() {
    return FFilterBar->TimerSearch;
}

void TMainWindow::TimerWriteCacheTimer() {
    FSession->TimerWriteCacheTimer();
}

void TMainWindow::TimerSearchTimer() {
    FBrowser->TimerSearchTimer();
}

QTimer& TMainWindow::TimerSelectCategory() {
    return FBrowser->TimerSelectCategory;
}

QTimer& TMainWindow::TimerClearDataForm() {
    return FBrowser->TimerClearDataForm;
}

void TMainWindow::TimerSelectCategoryTimer() {
    FBrowser->TimerSelectCategoryTimer();
}

void TMainWindow::TimerClearDataFormTimer() {
    FBrowser->TimerClearDataFormTimer();
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
    if (path.isEmpty() &&
        MessageBoxes::Show(this, MessageBoxes::TKind::Information, QString::fromLatin1(kWelcome),
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        ChooseDataFile();
    if (DataFilePath().isEmpty()) {
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
    if (DataFileOpened()) {
        settings.WriteInteger(QStringLiteral("PanelLeftWidth"), FLayout->PanelLeftWidth());
        settings.WriteInteger(QStringLiteral("ListView1Height"), FLayout->ListViewHeight());
        settings.WriteInteger(QStringLiteral("SelectedCategoryID"),
                              CurrentCategory() ? CurrentCategory()->ID : 0);
    }
    settings.WriteString(QStringLiteral("PrintListFontName"), PrintListFont().Name);
    settings.WriteInteger(QStringLiteral("PrintListFontSize"), PrintListFont().Size);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    FHelp->CloseHelpWindow();
    if (!FBrowser->OfferToSaveRecord(false)) {
        event->ignore();
        return;
    }
    WriteSettingsOnClose();
    // A write that fails on closing never drops the changes silently.
    if (!DataFilePath().isEmpty() && FSession->WritePending() && !FSession->FlushWriteCache() &&
        !FSession->ConfirmDiscardUnwritten()) {
        event->ignore();
        return;
    }
    FSession->TimerWriteCache.stop();
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
    const bool readOnly = opened && IsReadOnlyFile(QFile::encodeName(DataFilePath()).toStdString());
    setWindowTitle(opened ? QStringLiteral("Quillery - ") + QFileInfo(DataFilePath()).fileName() +
                                (readOnly ? QStringLiteral(" (read-only)") : QString())
                          : QStringLiteral("Quillery"));
    FBrowser->FillCategoryBar();
    FActions->SetPassword->setEnabled(opened);
    FActions->BackupDataFile->setEnabled(opened);
    FActions->ImportExportMenu->setEnabled(opened);
    FActions->ImportFromExcel->setEnabled(opened);
    FActions->ExportToExcel->setEnabled(opened);
    UpdateEditTemplatesEnabled();
}

void TMainWindow::ChooseDataFile() {
    const bool hadFile = !DataFilePath().isEmpty();
    if (FSession->Choose([this] { return FBrowser->OfferToSaveRecord(true); }) && hadFile)
        FBrowser->SetSelectedCategoryID(0);
}

bool TMainWindow::OpenFile(const QString& path) {
    if (!DataFilePath().isEmpty() && !FBrowser->OfferToSaveRecord(true))
        return false;
    if (!FSession->FlushWriteCache() && !FSession->ConfirmDiscardUnwritten())
        return false;
    TSettingsFile().WriteString(QStringLiteral("DataFile"), path);
    FBrowser->SetSelectedCategoryID(0);
    FSession->SetPath(path);
    FSession->Open();
    return FSession->Opened();
}

void TMainWindow::EditTemplates() {
    if (DataFormModified()) {
        MessageBoxes::ShowError(this, QString::fromLatin1(kSaveBeforeTemplates));
        return;
    }
    FWorkingCopy = std::make_unique<TDataFile>();
    FWorkingCopy->BuildWorkingCopy(DataFile());
    if (!FTemplateEditor->Execute(*FWorkingCopy))
        return;
    // No row may refer to a record while the merge changes it or frees it with its category.
    FBrowser->ReleaseCategories();
    DataFile().ApplyWorkingCopy(*FWorkingCopy);
    FBrowser->FillCategoryBar();
    MarkDataChanged();
}

void TMainWindow::ImportFromExcel() {
    if (DataFormModified()) {
        MessageBoxes::ShowError(this, QString::fromLatin1(kSaveBeforeImport));
        return;
    }
    // No row may refer to a record while the import merges the categories.
    FBrowser->ReleaseCategories();
    FImportWizard->Run(DataFile());
    FBrowser->FillCategoryBar();
    MarkDataChanged();
}

void TMainWindow::UpdateEditTemplatesEnabled() {
    // The template editor rewrites categories: not over unsaved edits or a running filter.
    FActions->EditTemplates->setEnabled(DataFileOpened() && !DataFormModified() &&
                                        !FBrowser->FilterRunning());
}
