#pragma once

#include "core/SearchParam.h"

#include <QItemSelection>
#include <QMainWindow>
#include <QMessageBox>
#include <QPersistentModelIndex>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSplitter;
class QTreeView;
class TCategory;
class TCategoryBar;
class TCheckPasswordDialog;
class TSetPasswordDialog;
class TTemplateEditor;
class TLedgrin;
class TRecord;
class TRecordListModel;

// The main window: the open data file's life, the category bar, the record list, the record form,
// the filter and the record commands.
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    TLedgrin& Data() { return *FData; }
    const QString& DataFilePath() const { return FDataFilePath; }
    bool DataFileOpened() const { return FDataFileOpened; }
    TCategory* CurrentCategory() const { return FCurrentCategory; }
    TRecord* CurrentRecord() const { return FCurrentRecord; }
    int32_t SelectedCategoryID() const { return FSelectedCategoryID; }
    // Changes that have not reached the data file yet (also after a write that failed).
    bool WritePending() const { return FWritePending; }
    TRecordListModel* RecordListModel() const { return FRecordListModel; }

    // Data file.
    void MarkDataChanged();
    // Writes pending changes now; false when the write failed (the error has been shown).
    bool FlushWriteCache();
    void OpenDataFile();
    // The answer to a second start: restore and raise the window.
    void BringToFront();

    // Category bar and record list.
    void FillCategoryBar();
    void FEGXOutlookBar1Change(int index);
    void BuildListColumns();
    void FillRecordList();
    void UpdateRecordCount(bool filtered);
    void SortRecordList();
    void ListView1ColumnClick(int column);
    void ListView1KeyUp(int key);

    // Record form.
    // The form is modified exactly while its Save button is visible.
    bool DataFormModified() const;
    void ListView1SelectItem(const QModelIndex& row, bool selected);
    void BuildDataForm();
    void AssignTabOrder();
    void DataFormChange();
    void BtnSaveDataClick();
    void BtnCancelDataClick();
    void PanelDataFormHolderResize();

    // Record filter.
    void EditSearchBoxKeyPress();
    void CBMatchWholeWordClick();
    void ActionSearchExecute();
    void ShowAllRecords();

    // Timers, one-shot; their handlers are ordinary members so tests can fire them.
    QTimer TimerWriteCache;
    QTimer TimerSelectCategory;
    QTimer TimerClearDataForm;
    QTimer TimerSearch;
    void TimerWriteCacheTimer();
    void TimerSelectCategoryTimer();
    void TimerClearDataFormTimer();
    void TimerSearchTimer();

    // Commands.
    void ActionChooseDataFileExecute();
    void ActionSetPasswordExecute();
    void ActionBackupDataFileExecute();
    void ActionEditTemplatesExecute();
    // The template editor's working copy: the open data's categories without their records, and
    // taking it back with every record kept with its text boxes.
    void BuildWorkingCopy();
    void ApplyWorkingCopy();
    void ActionNewItemExecute();
    void ActionDuplicateItemExecute();
    void ActionDeleteItemExecute();
    void FocusFirstTextBox();
    // Sets the Edit menu's enabled states from the focused control.
    void Edit2Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();
    void ActionSetFocusToSearchBoxExecute();
    void ActionSetFocusToTheListViewExecute();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* NewAction(const char* name, const QString& caption, const QString& hint,
                       const QKeySequence& shortcut = QKeySequence());
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePanels();
    QWidget* CreateRightPane();
    QWidget* CreateDataFormArea();

    void FormShow();
    void ApplyRememberedLayout(const QString& panelLeftWidth, const QString& listViewHeight);
    void ApplyListViewHeight();
    void WriteSettingsOnClose();
    int PanelLeftWidth() const;
    int ListViewHeight() const;

    bool WriteDataFile();
    bool ConfirmDiscardUnwritten();
    void CopyTemplateFile();
    void AcceptDataFile();
    void RefuseDataFile();
    void DiscardOpenData();
    void SetFileCommandsEnabled(bool enabled);
    // Asks whether to save a modified record and saves it on Yes (keepListOrder: without
    // re-sorting). False when the user answered Cancel.
    bool OfferToSaveRecord(QMessageBox::StandardButtons buttons, bool keepListOrder);
    void SetDataFormModified(bool modified);
    void UpdateEditTemplatesEnabled();
    void ShowCategoryPanels(bool visible);
    void ClearListSelection();
    void SelectRow(int row);
    // Appends a row for a record just added to the category and selects it.
    void AppendAndSelect(TRecord* record, bool filteredHeader);
    bool HeaderShowsFiltered() const;
    void ListView1SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void LoadRecordIntoForm();
    // Positions into FFormBoxes in reading order; the first has tab index 0.
    std::vector<int> FormTabOrder() const;
    void SetFormColor(const QColor& color);
    void ClearDataForm();
    void SetFilterRunning(bool running);
    void SBVScroll(int position);
    void SBHScroll(int position);
    void ShowError(const QString& text);

    std::unique_ptr<TLedgrin> FData;
    std::unique_ptr<TLedgrin> FWorkingCopy;
    TSearchParam SearchParam;

    QString FDataFilePath;
    bool FDataFileOpened = false;
    bool FWritePending = false;
    bool FFirstShown = false;
    int32_t FSelectedCategoryID = 0;
    TCategory* FCurrentCategory = nullptr;
    bool FSelectFirstAfterClear = false;
    QPersistentModelIndex FCurrentListItem;
    TRecord* FCurrentRecord = nullptr;
    bool FFormNeedsRebuild = true;
    bool FDeletingRecord = false;
    bool FSavingOnDeselect = false;
    bool FSelectFirstAfterFilter = false;
    bool FFilterRunning = false;
    int32_t FFormRight = 0;
    int32_t FFormBottom = 0;
    // The form's text boxes and memos in creation order, each with the text it showed when the
    // record was loaded: a box whose text is unchanged keeps its stored bytes on Save.
    struct TFormBox {
        QWidget* Control;
        QString Loaded;
    };
    std::vector<TFormBox> FFormBoxes;
    // The record list's height while the right pane is hidden or not laid out yet.
    int FListViewHeight;
    bool FListViewHeightPending = false;

    TSetPasswordDialog* FSetPasswordDialog;
    TCheckPasswordDialog* FCheckPasswordDialog;
    // A window of its own, not a child: its controls share names with the main window's.
    std::unique_ptr<TTemplateEditor> FTemplateEditor;

    QAction* ActionChooseDataFile = nullptr;
    QAction* ActionSetPassword = nullptr;
    QAction* ActionBackupDataFile = nullptr;
    QAction* ActionImportFromExcel = nullptr;
    QAction* ActionExportToExcel = nullptr;
    QAction* ActionPageSetup = nullptr;
    QAction* ActionPrint = nullptr;
    QAction* ActionExit = nullptr;
    QAction* ActionCut = nullptr;
    QAction* ActionCopy = nullptr;
    QAction* ActionPaste = nullptr;
    QAction* ActionSelectAll = nullptr;
    QAction* ActionEditTemplates = nullptr;
    QAction* ActionNewItem = nullptr;
    QAction* ActionDuplicateItem = nullptr;
    QAction* ActionDeleteItem = nullptr;
    QAction* ActionSetFocusToSearchBox = nullptr;
    QAction* ActionSetFocusToTheListView = nullptr;
    QAction* ActionSearch = nullptr;
    QAction* ActionHelpTopics = nullptr;
    QAction* ActionVisitHomePage = nullptr;
    QAction* ActionAbout = nullptr;
    QMenu* MenuImportExport = nullptr;

    QAction* FRecordCommandsItem = nullptr; // the toolbar's places of the two panels
    QAction* FSearchItem = nullptr;
    QLineEdit* EditSearchBox = nullptr;
    QCheckBox* CBMatchWholeWord = nullptr;

    QSplitter* SplitterMain = nullptr;
    QWidget* PanelLeft = nullptr;
    TCategoryBar* FEGXOutlookBar1 = nullptr;
    QWidget* PanelRight = nullptr;
    QLabel* LabelCategory = nullptr;
    QSplitter* SplitterRight = nullptr;
    QTreeView* ListView1 = nullptr;
    TRecordListModel* FRecordListModel = nullptr;
    QFrame* PanelDataFormToolBar = nullptr;
    QLabel* LabelDataFormToolBar = nullptr;
    QPushButton* BtnSaveData = nullptr;
    QPushButton* BtnCancelData = nullptr;
    QFrame* PanelDataFormHolder = nullptr;
    QWidget* PanelDataFormHolder2 = nullptr;
    QWidget* PanelDataForm = nullptr;
    QScrollBar* SBV = nullptr;
    QScrollBar* SBH = nullptr;
};

// Whether the workbook engine for "Import from Excel..." and "Export to Excel..." is available.
bool SpreadsheetProbe();
