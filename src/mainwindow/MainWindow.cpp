#include "mainwindow/MainWindow.h"

#include "core/Category.h"
#include "core/FileIO.h"
#include "core/Ledgrin.h"
#include "exchange/ExportWizard.h"
#include "exchange/ImportWizard.h"
#include "help/HelpCommands.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/FilterBar.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/RecordForm.h"
#include "mainwindow/RecordList.h"
#include "mainwindow/RecordListModel.h"
#include "print/FormSnapshot.h"
#include "print/ListSource.h"
#include "print/PrintHost.h"
#include "settings/Settings.h"
#include "templateeditor/TemplateEditor.h"
#include "ui/CategoryBar.h"
#include "ui/DisplayText.h"
#include "ui/FocusedTextBox.h"
#include "ui/PictureConversion.h"
#include "ui/RunCommand.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
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
const char* const kRecordModified = "Record modified, would you like to save?";
const char* const kDeleteRecord = "Delete selected record?";

constexpr int kSelectCategoryMs = 150;
constexpr int kClearDataFormMs = 150;

} // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), FSession(new TDataFileSession(this)), FWorkingCopy(std::make_unique<TLedgrin>()),
      FActions(std::make_unique<TMainActions>(this)), FTemplateEditor(std::make_unique<TTemplateEditor>()),
      FImportWizard(std::make_unique<TImportWizard>()), FExportWizard(std::make_unique<TExportWizard>()),
      FFilterBar(new TFilterBar(this)), FLayout(new TMainLayout(this, FFilterBar)),
      FCategoryBar(FLayout->CategoryBar()), FCategoryLabel(FLayout->CategoryLabel()),
      FRecordList(FLayout->RecordList()), FRecordForm(FLayout->RecordForm()),
      FPrintHost(new TPrintHost(this)) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Quillery"));
    resize(1000, 680);

    TimerSelectCategory.setSingleShot(true);
    TimerSelectCategory.setInterval(kSelectCategoryMs);
    ConnectCommand(&TimerSelectCategory, &QTimer::timeout, this, [this] { TimerSelectCategoryTimer(); });
    TimerClearDataForm.setSingleShot(true);
    TimerClearDataForm.setInterval(kClearDataFormMs);
    ConnectCommand(&TimerClearDataForm, &QTimer::timeout, this, [this] { TimerClearDataFormTimer(); });

    FActions->CreateMenusAndToolBar(this);
    FCategoryBar->setContextMenuPolicy(Qt::ActionsContextMenu);
    FCategoryBar->addAction(FActions->EditTemplates);
    FRecordList->setContextMenuPolicy(Qt::ActionsContextMenu);
    FRecordList->addActions({FActions->NewItem, FActions->DuplicateItem, FActions->DeleteItem});
    ConnectCommands();
    FHelp = new THelpCommands(this, FActions->HelpTopics, FActions->VisitHomePage, FActions->About);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));

    ShowCategoryPanels(false);
    DataFileOpenedChanged(false);
}

TMainWindow::~TMainWindow() {
    // The list refers to records of the open data; it lets them go without asking about edits.
    FRecordList->disconnect(this);
    FRecordList->ShowColumnsOf(nullptr);
}

void TMainWindow::ConnectCommands() {
    const TMainActions& a = *FActions;
    ConnectCommand(a.ChooseDataFile, &QAction::triggered, this, [this] {
        RunPendingFilter();
        ChooseDataFile();
    });
    ConnectCommand(a.SetPassword, &QAction::triggered, this, [this] {
        RunPendingFilter();
        FSession->SetPassword();
    });
    ConnectCommand(a.BackupDataFile, &QAction::triggered, this, [this] {
        RunPendingFilter();
        FSession->Backup();
    });
    ConnectCommand(a.EditTemplates, &QAction::triggered, this, [this] {
        RunPendingFilter();
        EditTemplates();
    });
    ConnectCommand(a.ImportFromExcel, &QAction::triggered, this, [this] {
        RunPendingFilter();
        ImportFromExcel();
    });
    ConnectCommand(a.ExportToExcel, &QAction::triggered, this, [this] {
        RunPendingFilter();
        ExportToExcel();
    });
    ConnectCommand(a.NewItem, &QAction::triggered, this, [this] {
        RunPendingFilter();
        NewRecord();
    });
    ConnectCommand(a.DuplicateItem, &QAction::triggered, this, [this] {
        RunPendingFilter();
        DuplicateRecord();
    });
    ConnectCommand(a.DeleteItem, &QAction::triggered, this, [this] {
        RunPendingFilter();
        DeleteRecord();
    });
    ConnectCommand(a.Cut, &QAction::triggered, this, [this] { CutToClipboard(); });
    ConnectCommand(a.Copy, &QAction::triggered, this, [this] { CopyToClipboard(); });
    ConnectCommand(a.Paste, &QAction::triggered, this, [this] { PasteFromClipboard(); });
    ConnectCommand(a.SelectAll, &QAction::triggered, this, [this] { SelectAllText(); });
    ConnectCommand(a.SetFocusToSearchBox, &QAction::triggered, this, [this] { FocusFilterBox(); });
    ConnectCommand(a.SetFocusToTheListView, &QAction::triggered, this, [this] { FocusRecordList(); });
    ConnectCommand(a.Search, &QAction::triggered, this, [this] { RunFilter(); });
    ConnectCommand(a.NextCategory, &QAction::triggered, this, [this] { StepCategory(1); });
    ConnectCommand(a.PreviousCategory, &QAction::triggered, this, [this] { StepCategory(-1); });
    connect(FLayout, &TMainLayout::EditTemplatesRequested, a.EditTemplates, &QAction::trigger);
    ConnectCommand(a.Print, &QAction::triggered, this, [this] { PrintCurrent(false); });
    ConnectCommand(a.PrintPreview, &QAction::triggered, this, [this] { PrintCurrent(true); });
    ConnectCommand(a.PageSetup, &QAction::triggered, this, [this] { FPrintHost->PageSetup(); });
    connect(a.EditMenu, &QMenu::aboutToShow, this, &TMainWindow::EditMenuAboutToShow);

    connect(FSession, &TDataFileSession::AboutToDiscard, this, &TMainWindow::LetGoOfData);
    connect(FSession, &TDataFileSession::OpenedChanged, this, &TMainWindow::DataFileOpenedChanged);
    ConnectCommand(FFilterBar, &TFilterBar::RunRequested, this, [this] { TimerSearchTimer(); });
    connect(FCategoryBar, &TCategoryBar::SelectedIndexChanged, this,
            [this](int index) { RunCommand(this, [&] { CategoryBarChanged(index); }); });
    connect(FRecordList, &TRecordList::RowSelected, this,
            [this](TRecord* record) { RunCommand(this, [&] { RecordSelected(record); }); });
    ConnectCommand(FRecordList, &TRecordList::RowDeselected, this, [this] { RecordDeselected(); });
    connect(FRecordList, &TRecordList::HeaderClicked, this,
            [this](int column) { RunCommand(this, [&] { HeaderClicked(column); }); });
    connect(FRecordList, &TRecordList::DeleteKeyReleased, this, [this] {
        if (FActions->DeleteItem->isEnabled())
            FActions->DeleteItem->trigger();
    });
    ConnectCommand(FRecordForm, &TRecordForm::SaveRequested, this, [this] {
        RunPendingFilter();
        SaveRecord();
    });
    ConnectCommand(FFilterBar, &TFilterBar::BoxLeft, this, [this] { RunPendingFilter(); });
    FRecordList->CanLeaveRow = [this] { return OfferToSaveRecord(true); };
    ConnectCommand(FRecordForm, &TRecordForm::CancelRequested, this, [this] { CancelRecordEdits(); });
    connect(FRecordForm, &TRecordForm::ModifiedChanged, this, &TMainWindow::UpdateEditTemplatesEnabled);
}

void TMainWindow::PrintCurrent(bool preview) {
    std::optional<TPrintedForm> record;
    if (FCurrentRecord != nullptr && FCurrentCategory != nullptr) {
        record = PrintedFormOf(*FCurrentCategory, FRecordForm->FormPanel());
    }
    const TModelListSource list(*RecordListModel(), ShownColumnOrder(*FRecordList->header()));
    if (preview) {
        FPrintHost->Preview(record, list);
    } else {
        FPrintHost->Print(record, list);
    }
}

// ---- What a user sees ------------------------------------------------------------------------

TLedgrin& TMainWindow::Data() {
    return FSession->Data();
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
    return FRecordForm->Modified();
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
    FFilterBar->TimerSearch.stop();
    // The user typed or clicked: the run selects its first row.
    FSelectFirstAfterFilter = true;
    if (FCurrentCategory == nullptr || !OfferToSaveRecord(true))
        return;
    if (!FFilterBar->IsEmpty())
        FActions->Search->trigger();
    else
        ShowAllRecords();
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
        FSelectedCategoryID = settings.ReadInteger(QStringLiteral("SelectedCategoryID"), 0);
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
                              FCurrentCategory ? FCurrentCategory->ID : 0);
    }
    settings.WriteString(QStringLiteral("PrintListFontName"), PrintListFont().Name);
    settings.WriteInteger(QStringLiteral("PrintListFontSize"), PrintListFont().Size);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    FHelp->CloseHelpWindow();
    if (!OfferToSaveRecord(false)) {
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
    TimerSelectCategory.stop();
    TimerClearDataForm.stop();
    FFilterBar->TimerSearch.stop();
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

void TMainWindow::LetGoOfData() {
    TimerSelectCategory.stop();
    FCategoryBar->SetSelectedIndex(-1);
    FCategoryBar->Clear();
}

void TMainWindow::DataFileOpenedChanged(bool opened) {
    // A file that cannot be written says so once, in the title.
    const bool readOnly = opened && IsReadOnlyFile(QFile::encodeName(DataFilePath()).toStdString());
    setWindowTitle(opened ? QStringLiteral("Quillery - ") + QFileInfo(DataFilePath()).fileName() +
                                (readOnly ? QStringLiteral(" (read-only)") : QString())
                          : QStringLiteral("Quillery"));
    FillCategoryBar();
    FActions->SetPassword->setEnabled(opened);
    FActions->BackupDataFile->setEnabled(opened);
    FActions->ImportExportMenu->setEnabled(opened);
    FActions->ImportFromExcel->setEnabled(opened);
    FActions->ExportToExcel->setEnabled(opened);
    UpdateEditTemplatesEnabled();
}

void TMainWindow::ChooseDataFile() {
    const bool hadFile = !DataFilePath().isEmpty();
    if (FSession->Choose([this] { return OfferToSaveRecord(true); }) && hadFile)
        FSelectedCategoryID = 0;
}

bool TMainWindow::OpenFile(const QString& path) {
    if (!DataFilePath().isEmpty() && !OfferToSaveRecord(true))
        return false;
    if (!FSession->FlushWriteCache() && !FSession->ConfirmDiscardUnwritten())
        return false;
    TSettingsFile().WriteString(QStringLiteral("DataFile"), path);
    FSelectedCategoryID = 0;
    FSession->SetPath(path);
    FSession->Open();
    return FSession->Opened();
}

void TMainWindow::EditTemplates() {
    if (DataFormModified()) {
        MessageBoxes::ShowError(
            this,
            QStringLiteral("Please save or cancel your modification to record before editing templates."));
        return;
    }
    FSelectedCategoryID = FCurrentCategory ? FCurrentCategory->ID : 0;
    FWorkingCopy = std::make_unique<TLedgrin>();
    FWorkingCopy->BuildWorkingCopy(Data());
    if (!FTemplateEditor->Execute(*FWorkingCopy))
        return;
    // No row may refer to a record while the merge changes it or frees it with its category.
    FCategoryBar->SetSelectedIndex(-1);
    Data().ApplyWorkingCopy(*FWorkingCopy);
    FillCategoryBar();
    MarkDataChanged();
}

void TMainWindow::UpdateEditTemplatesEnabled() {
    // The template editor rewrites categories: not over unsaved edits or a running filter.
    FActions->EditTemplates->setEnabled(DataFileOpened() && !DataFormModified() && !FFilterRunning);
}

// ---- Category bar and record list ------------------------------------------------------------

void TMainWindow::FillCategoryBar() {
    FCategoryBar->SetSelectedIndex(-1);
    FCategoryBar->Clear();
    for (const auto& category : Data().Categories)
        FCategoryBar->AddItem(IconPicture::ToBarPixmap(category->Icon), DisplayText(category->Name));
    FLayout->ShowNoCategoriesHint(DataFileOpened() && Data().Categories.empty());
    TimerSelectCategory.start();
}

void TMainWindow::StepCategory(int step) {
    const int count = FCategoryBar->Count();
    if (count == 0 || FFilterRunning)
        return;
    const int index = FCategoryBar->SelectedIndex() < 0 ? 0 : FCategoryBar->SelectedIndex() + step;
    if (index >= 0 && index < count)
        FCategoryBar->SetSelectedIndex(index);
}

void TMainWindow::TimerSelectCategoryTimer() {
    TimerSelectCategory.stop();
    const auto& categories = Data().Categories;
    int index = -1;
    for (size_t i = 0; i < categories.size(); ++i) {
        if (categories[i]->ID == FSelectedCategoryID) {
            index = static_cast<int>(i);
            break;
        }
    }
    if (index < 0 && !categories.empty())
        index = 0;
    if (index >= 0)
        FCategoryBar->SetSelectedIndex(index);
}

void TMainWindow::CategoryBarChanged(int index) {
    // Another category is the user's move; clearing the bar is the program's, and drops edits.
    if (index >= 0 && !OfferToSaveRecord(true)) {
        const QSignalBlocker blocker(FCategoryBar);
        FCategoryBar->SetSelectedIndex(CurrentCategoryIndex());
        return;
    }
    FRecordList->ClearRowSelection();
    // Another category has another template: no record may show in the old form, even when a
    // row is selected before the clear-form timer fires.
    FFormNeedsRebuild = true;
    const auto& categories = Data().Categories;
    if (index < 0 || index >= static_cast<int>(categories.size())) {
        FCurrentCategory = nullptr;
        FRecordList->ShowColumnsOf(nullptr);
        ShowCategoryPanels(false);
        FActions->NewItem->setEnabled(false);
        FSelectFirstAfterClear = false;
        return;
    }
    FCurrentCategory = categories[static_cast<size_t>(index)].get();
    FSelectedCategoryID = FCurrentCategory->ID;
    ShowCategoryPanels(true);
    FRecordList->ShowColumnsOf(FCurrentCategory);
    if (!FFilterBar->IsEmpty()) {
        FActions->Search->trigger();
    } else {
        FillRecordList();
        SortRecordList();
        FActions->NewItem->setEnabled(true);
    }
    FSelectFirstAfterClear = true;
    TimerClearDataForm.start();
}

int TMainWindow::CurrentCategoryIndex() const {
    const auto& categories = FSession->Data().Categories;
    for (size_t i = 0; i < categories.size(); ++i)
        if (categories[i].get() == FCurrentCategory)
            return static_cast<int>(i);
    return -1;
}

void TMainWindow::ShowCategoryPanels(bool visible) {
    FActions->RecordCommandsItem->setVisible(visible);
    // Their targets are hidden with the panels.
    FActions->SetFocusToSearchBox->setEnabled(visible);
    FActions->SetFocusToTheListView->setEnabled(visible);
    FLayout->ShowRightPane(visible);
}

void TMainWindow::FillRecordList() {
    std::vector<TRecord*> rows;
    if (FCurrentCategory != nullptr) {
        rows.reserve(FCurrentCategory->Records.size());
        for (const auto& record : FCurrentCategory->Records)
            rows.push_back(record.get());
    }
    FRecordList->ShowRows(std::move(rows));
    FFiltered = false;
    UpdateRecordCount();
}

void TMainWindow::UpdateRecordCount() {
    if (FCurrentCategory == nullptr) {
        FCategoryLabel->clear();
        return;
    }
    const int count = FRecordList->RowCount();
    FCategoryLabel->setText(DisplayText(FCurrentCategory->Name) +
                            (FFiltered ? QStringLiteral("   (Filtered: ") : QStringLiteral("   (Total: ")) +
                            QString::number(count) + QStringLiteral(" record") +
                            (count > 1 ? QStringLiteral("s") : QString()) + QStringLiteral(")"));
}

void TMainWindow::SortRecordList() {
    // A category without list columns shows one empty column that sorts nothing.
    if (FCurrentCategory != nullptr && RecordListModel()->ListColumnCount() > 0)
        FRecordList->SortAs(*FCurrentCategory);
}

void TMainWindow::HeaderClicked(int column) {
    if (FCurrentCategory == nullptr || column >= RecordListModel()->ListColumnCount())
        return;
    FCurrentCategory->SortAscending =
        column == FCurrentCategory->SortColumn ? !FCurrentCategory->SortAscending : true;
    FCurrentCategory->SortColumn = column;
    SortRecordList();
    FRecordList->ScrollToSelected();
    MarkDataChanged();
}

// ---- Record form -----------------------------------------------------------------------------

void TMainWindow::RecordSelected(TRecord* record) {
    FCurrentRecord = record;
    TimerClearDataForm.stop();
    if (FFormNeedsRebuild) {
        FRecordForm->Build(FCurrentCategory);
        FFormNeedsRebuild = false;
    }
    FActions->DuplicateItem->setEnabled(true);
    FActions->DeleteItem->setEnabled(true);
    FRecordForm->ShowNoRecord(false);
    if (FCurrentCategory != nullptr && record != nullptr)
        FRecordForm->Load(*FCurrentCategory, *record);
}

void TMainWindow::RecordDeselected() {
    // Moves the user makes ask about edits before they happen; what is left is dropped.
    FRecordForm->SetModified(false);
    FActions->DuplicateItem->setEnabled(false);
    FActions->DeleteItem->setEnabled(false);
    FCurrentRecord = nullptr;
    FRecordForm->ShowNoRecord(true);
    TimerClearDataForm.start();
}

bool TMainWindow::OfferToSaveRecord(bool keepListOrder) {
    if (!DataFormModified())
        return true;
    const QMessageBox::StandardButton answer =
        MessageBoxes::Show(this, MessageBoxes::TKind::Warning, QString::fromLatin1(kRecordModified),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        FSavingOnDeselect = keepListOrder;
        SaveRecord();
        FSavingOnDeselect = false;
    } else if (answer == QMessageBox::No) {
        FRecordForm->SetModified(false);
    }
    return answer != QMessageBox::Cancel;
}

void TMainWindow::SaveRecord() {
    if (FCurrentRecord == nullptr || FCurrentCategory == nullptr)
        return;
    FRecordForm->SaveInto(*FCurrentCategory, *FCurrentRecord);
    RecordListModel()->RefreshRow(FRecordList->SelectedRow());
    if (!FSavingOnDeselect) {
        SortRecordList();
        FRecordList->ScrollToSelected();
    }
    MarkDataChanged();
    FRecordForm->SetModified(false);
}

void TMainWindow::CancelRecordEdits() {
    if (FCurrentRecord != nullptr && FCurrentCategory != nullptr)
        FRecordForm->Load(*FCurrentCategory, *FCurrentRecord);
    FRecordForm->SetModified(false);
}

void TMainWindow::TimerClearDataFormTimer() {
    TimerClearDataForm.stop();
    FRecordForm->Clear();
    FFormNeedsRebuild = true;
    FCurrentRecord = nullptr;
    if (FSelectFirstAfterClear && FRecordList->RowCount() > 0) {
        FSelectFirstAfterClear = false;
        FRecordList->SelectRow(0);
    }
}

// ---- Filter ----------------------------------------------------------------------------------

void TMainWindow::ShowAllRecords() {
    FillRecordList();
    SortRecordList();
    QCoreApplication::processEvents();
    if (FRecordList->RowCount() > 0)
        FRecordList->SelectRow(0);
    FActions->NewItem->setEnabled(true);
}

void TMainWindow::SetFilterRunning(bool running) {
    FFilterRunning = running;
    // While a run goes on, nothing may start another run or change the records it walks.
    FLayout->LeftPanel()->setEnabled(!running);
    FLayout->RightPanel()->setEnabled(!running);
    FFilterBar->SetRunning(running);
    FActions->Search->setEnabled(!running);
    FActions->ChooseDataFile->setEnabled(!running);
    if (running)
        FActions->NewItem->setEnabled(false);
    UpdateEditTemplatesEnabled();
}

void TMainWindow::RunPendingFilter() {
    if (FFilterBar->TimerSearch.isActive())
        TimerSearchTimer();
}

void TMainWindow::RunFilter() {
    if (FCurrentCategory == nullptr || FFilterRunning)
        return;
    FSearchParam.WholeWord = FFilterBar->WholeWord();
    FSearchParam.SetFilterText(StoredText(FFilterBar->Text()));
    SetFilterRunning(true);
    FRecordList->ShowRows({});
    QCoreApplication::processEvents();
    std::vector<TRecord*> rows =
        FilterRecords(FCurrentCategory->Records, FSearchParam, [] { QCoreApplication::processEvents(); });
    FRecordList->ShowRows(std::move(rows));
    SortRecordList();
    SetFilterRunning(false);
    FActions->NewItem->setEnabled(false);
    FFiltered = true;
    UpdateRecordCount();
    if (FSelectFirstAfterFilter) {
        FSelectFirstAfterFilter = false;
        if (FRecordList->RowCount() > 0)
            FRecordList->SelectRow(0);
    }
    FFilterBar->PlaceCaretAfterRun();
}

// ---- Record commands and the Edit menu -------------------------------------------------------

void TMainWindow::AppendAndSelect(TRecord* record) {
    // The new row stays last until the list is next sorted.
    const int row = RecordListModel()->AppendRow(record);
    FRecordList->SelectRow(row);
    FRecordList->ScrollToSelected();
    UpdateRecordCount();
    MarkDataChanged();
    FRecordForm->FocusFirstBox();
}

void TMainWindow::NewRecord() {
    // A filter run that was pending may just have disabled the command.
    if (FCurrentCategory == nullptr || FFilterRunning || !FActions->NewItem->isEnabled())
        return;
    AppendAndSelect(FCurrentCategory->NewRecord());
}

void TMainWindow::DuplicateRecord() {
    if (FCurrentCategory == nullptr || FCurrentRecord == nullptr || FFilterRunning)
        return;
    // The stored values: edits still pending in the form are not part of the copy.
    TRecord* copy = FCurrentCategory->NewRecord();
    copy->Assign(*FCurrentRecord);
    AppendAndSelect(copy);
}

void TMainWindow::DeleteRecord() {
    if (FCurrentCategory == nullptr || FCurrentRecord == nullptr || FFilterRunning)
        return;
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, QString::fromLatin1(kDeleteRecord),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    // The selection as it is after the question.
    TRecord* record = FCurrentRecord;
    const int row = FRecordList->SelectedRow();
    if (record == nullptr || row < 0)
        return;
    // The row goes before its record, so the list never refers to a destroyed record; its
    // deselection drops pending edits without asking.
    FRecordList->ClearRowSelection();
    // Without a current row the list selects no neighbour when the row goes.
    FRecordList->selectionModel()->clearCurrentIndex();
    RecordListModel()->RemoveRow(row);
    FCurrentCategory->DeleteRecord(record);
    UpdateRecordCount();
    MarkDataChanged();
}

void TMainWindow::EditMenuAboutToShow() {
    const TFocusedTextBox box(focusWidget());
    FActions->Cut->setEnabled(box.HasSelection());
    FActions->Copy->setEnabled(box.HasSelection());
    FActions->Paste->setEnabled(box.CanPaste());
    FActions->SelectAll->setEnabled(box.HasText());
}

void TMainWindow::CutToClipboard() {
    EditMenuAboutToShow();
    if (FActions->Cut->isEnabled())
        TFocusedTextBox(focusWidget()).Cut();
}

void TMainWindow::CopyToClipboard() {
    EditMenuAboutToShow();
    if (FActions->Copy->isEnabled())
        TFocusedTextBox(focusWidget()).Copy();
}

void TMainWindow::PasteFromClipboard() {
    EditMenuAboutToShow();
    if (FActions->Paste->isEnabled())
        TFocusedTextBox(focusWidget()).Paste();
}

void TMainWindow::SelectAllText() {
    EditMenuAboutToShow();
    if (FActions->SelectAll->isEnabled())
        TFocusedTextBox(focusWidget()).SelectAll();
}

void TMainWindow::FocusFilterBox() {
    if (FCurrentCategory != nullptr)
        FFilterBar->FocusBox();
}

void TMainWindow::FocusRecordList() {
    if (FCurrentCategory != nullptr && FRecordList->isEnabled())
        FRecordList->setFocus(Qt::ShortcutFocusReason);
}
