#pragma once

#include "core/SearchParam.h"

#include <QObject>
#include <QTimer>

#include <cstdint>

class QLabel;
class QWidget;
class TCategory;
class TCategoryBar;
class TDataFileSession;
class TFilterBar;
class TMainLayout;
class TRecord;
class TRecordForm;
class TRecordList;
class TRecordListModel;
struct TMainActions;

// Which category and record the main window shows, and every change to them: the category bar,
// the record list with its sorting and filter runs, the record form's load and save, and the
// record commands. Edits in the form are offered for saving before anything moves away from them.
class TRecordBrowser : public QObject {
    Q_OBJECT

public:
    TRecordBrowser(QWidget* window, TDataFileSession& session, TMainActions& actions, TMainLayout& layout,
                   TFilterBar& filterBar);

    TCategory* CurrentCategory() const { return FCurrentCategory; }
    TRecord* CurrentRecord() const { return FCurrentRecord; }
    // The category to show once the bar is filled again.
    int32_t SelectedCategoryID() const { return FSelectedCategoryID; }
    void SetSelectedCategoryID(int32_t id) { FSelectedCategoryID = id; }
    TRecordListModel* RecordListModel() const;
    bool FormModified() const;
    bool FilterRunning() const { return FFilterRunning; }

    // Fills the bar from the data and selects the remembered category shortly after.
    void FillCategoryBar();
    // Clears the bar, so that no row refers to a record of data about to change or go.
    void LetGoOfData();
    // Remembers the current category and clears the bar before a command rewrites categories.
    void ReleaseCategories();
    // Moves to the next (1) or previous (-1) category, asking about edits as a click does.
    void StepCategory(int step);

    // Asks whether to save a modified record and saves it on Yes (keepListOrder: without
    // re-sorting), drops the edits on No. False when the user answered Cancel or Escape: the
    // edits stay and so does the record.
    bool OfferToSaveRecord(bool keepListOrder);
    void SaveRecord();

    // A filter run still waiting for the user's pause runs before any command acts.
    void RunPendingFilter();
    void RunFilter();

    void NewRecord();
    void DuplicateRecord();
    void DeleteRecord();
    void FocusFilterBox();
    void FocusRecordList();

    void StopTimers();

    // One-shot; their handlers are public so tests can fire them.
    QTimer TimerSelectCategory;
    QTimer TimerClearDataForm;
    void TimerSelectCategoryTimer();
    void TimerClearDataFormTimer();
    void TimerSearchTimer();

signals:
    // A filter run started or ended, or the form's edits became pending or went.
    void BusyChanged();

private:
    void ConnectWidgets();
    void CategoryBarChanged(int index);
    // The current category's place in the bar, or -1.
    int CurrentCategoryIndex() const;
    void ShowCategoryPanels(bool visible);
    void FillRecordList();
    void SortRecordList();
    void UpdateRecordCount();
    void HeaderClicked(int column);
    void RecordSelected(TRecord* record);
    void RecordDeselected();
    void CancelRecordEdits();
    void ShowAllRecords();
    void SetFilterRunning(bool running);
    void AppendAndSelect(TRecord* record);

    QWidget* FWindow;
    TDataFileSession& FSession;
    TMainActions& FActions;
    TMainLayout& FLayout;
    TFilterBar& FFilterBar;
    TCategoryBar* FCategoryBar;
    QLabel* FCategoryLabel;
    TRecordList* FRecordList;
    TRecordForm* FRecordForm;

    TSearchParam FSearchParam;
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
};
