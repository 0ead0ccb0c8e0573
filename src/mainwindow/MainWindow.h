#pragma once

#include "core/SearchParam.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include <cstdint>
#include <memory>

class QLabel;
class TCategory;
class TCategoryBar;
class TDataFileSession;
class TExportWizard;
class TFilterBar;
class TImportWizard;
class THelpCommands;
class TLedgrin;
class TMainLayout;
class TPrintHost;
class TRecord;
class TRecordForm;
class TRecordList;
class TRecordListModel;
class TTemplateEditor;
struct TMainActions;

// The main window: menus, toolbar and layout around the data file session, the category bar, the
// record list, the record form and the filter bar, and the commands that tie them together.
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    // What a user sees, for tests and the windows that build on this one.
    TLedgrin& Data();
    const QString& DataFilePath() const;
    bool DataFileOpened() const;
    bool WritePending() const;
    TCategory* CurrentCategory() const { return FCurrentCategory; }
    TRecord* CurrentRecord() const { return FCurrentRecord; }
    int32_t SelectedCategoryID() const { return FSelectedCategoryID; }
    TRecordListModel* RecordListModel() const;
    // The record form holds edits that are not saved.
    bool DataFormModified() const;

    void MarkDataChanged();
    // Opens the data file at path as Create/Choose Data File does, after offering to save a
    // modified record; false when the user stayed with the open file.
    bool OpenFile(const QString& path);
    // The answer to a second start: restore and raise the window.
    void BringToFront();

    // Timers, one-shot; their handlers are ordinary members so tests can fire them.
    QTimer TimerSelectCategory;
    QTimer TimerClearDataForm;
    QTimer& TimerWriteCache(); // the session's
    QTimer& TimerSearch();     // the filter bar's
    void TimerWriteCacheTimer();
    void TimerSelectCategoryTimer();
    void TimerClearDataFormTimer();
    void TimerSearchTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectCommands();

    // Start and end.
    void FirstShow();
    void WriteSettingsOnClose();

    // The data file.
    void DataFileOpenedChanged(bool opened);
    void LetGoOfData();
    void ChooseDataFile();
    void EditTemplates();
    void UpdateEditTemplatesEnabled();
    // Spreadsheet exchange.
    void ImportFromExcel();
    void ExportToExcel();

    // Category bar and record list.
    void FillCategoryBar();
    void CategoryBarChanged(int index);
    // Moves to the next (1) or previous (-1) category, asking about edits as a click does.
    void StepCategory(int step);
    // The current category's place in the bar, or -1.
    int CurrentCategoryIndex() const;
    void ShowCategoryPanels(bool visible);
    void FillRecordList();
    void SortRecordList();
    void UpdateRecordCount();
    void HeaderClicked(int column);

    // Record form.
    void RecordSelected(TRecord* record);
    void RecordDeselected();
    // Asks whether to save a modified record and saves it on Yes (keepListOrder: without
    // re-sorting), drops the edits on No. False when the user answered Cancel or Escape: the
    // edits stay and so does the record.
    bool OfferToSaveRecord(bool keepListOrder);
    void SaveRecord();
    void CancelRecordEdits();

    // Filter.
    // A filter run still waiting for the user's pause runs before any command acts.
    void RunPendingFilter();
    void RunFilter();
    void ShowAllRecords();
    void SetFilterRunning(bool running);

    // Printing: the form as it shows while a record is selected, else the list as it shows.
    void PrintCurrent(bool preview);

    // Record commands and the Edit menu.
    void NewRecord();
    void DuplicateRecord();
    void DeleteRecord();
    void AppendAndSelect(TRecord* record);
    void EditMenuAboutToShow();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void SelectAllText();
    void FocusFilterBox();
    void FocusRecordList();

    TDataFileSession* FSession;
    std::unique_ptr<TLedgrin> FWorkingCopy;
    TSearchParam FSearchParam;
    std::unique_ptr<TMainActions> FActions;

    bool FFirstShown = false;
    int32_t FSelectedCategoryID = 0;
    TCategory* FCurrentCategory = nullptr;
    TRecord* FCurrentRecord = nullptr;
    bool FSelectFirstAfterClear = false;
    bool FFormNeedsRebuild = true;
    bool FSavingOnDeselect = false;
    bool FSelectFirstAfterFilter = false;
    bool FFilterRunning = false;
    // The list shows a filter's result rather than every record.
    bool FFiltered = false;

    // A window of its own, not a child: its controls share names with this window's.
    std::unique_ptr<TTemplateEditor> FTemplateEditor;
    std::unique_ptr<TImportWizard> FImportWizard;
    std::unique_ptr<TExportWizard> FExportWizard;
    THelpCommands* FHelp;

    TFilterBar* FFilterBar;
    TMainLayout* FLayout;
    TCategoryBar* FCategoryBar;
    QLabel* FCategoryLabel;
    TRecordList* FRecordList;
    TRecordForm* FRecordForm;
    TPrintHost* FPrintHost;
};
