// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

#include "core/RecordHistory.h"
#include "mainwindow/KeptListOrders.h"

#include <cstdint>
#include <vector>

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

// Which category and record the main window shows, and every change to what it shows: the category
// bar, the record list with its sorting, and the record form's load and save. Edits in the form
// are offered for saving before anything moves away from them. Filter runs and the record commands
// show their results through it.
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

    // Every record of the current category, sorted.
    void ShowAllRecords();
    // A filter's result in place of every record, sorted.
    void ShowFilteredRecords(std::vector<TRecord*> rows);
    void SelectFirstRecord();
    // A record just added to the current category: its row goes last (until the list is next
    // sorted), selected, with the focus in the form.
    void ShowAddedRecord(TRecord* record);
    // Takes the selected row out of the list before its record goes; the deselection drops the
    // form's pending edits without asking. False when no row is selected.
    bool RemoveSelectedRow();
    // The current category and the selected record's position in it, for the record history.
    TRecordHistory::TPlace CurrentPlace() const;
    // Shows the category with id categoryID afresh, after its records or the categories changed
    // underneath (ReleaseCategories first), with the record at recordIndex selected (-1: none).
    void ShowPlace(const TRecordHistory::TPlace& place);

    void FocusFilterBox();
    void FocusRecordList();

    void StopTimers();

    // One-shot; their handlers are public so tests can fire them.
    QTimer TimerSelectCategory;
    QTimer TimerClearDataForm;
    void TimerSelectCategoryTimer();
    void TimerClearDataFormTimer();

private:
    void ConnectWidgets();
    void CategoryBarChanged(int index);
    // The current category's place in the bar, or -1.
    int CurrentCategoryIndex() const;
    void ShowCategoryPanels(bool visible);
    void SortRecordList();
    void UpdateRecordCount();
    void HeaderClicked(int column);
    void RecordSelected(TRecord* record);
    void RecordDeselected();
    void CancelRecordEdits();

    QWidget* FWindow;
    TDataFileSession& FSession;
    TMainActions& FActions;
    TMainLayout& FLayout;
    TFilterBar& FFilterBar;
    TCategoryBar* FCategoryBar;
    QLabel* FCategoryLabel;
    TRecordList* FRecordList;
    TRecordForm* FRecordForm;

    int32_t FSelectedCategoryID = 0;
    TCategory* FCurrentCategory = nullptr;
    TRecord* FCurrentRecord = nullptr;
    bool FSelectFirstAfterClear = false;
    bool FFormNeedsRebuild = true;
    bool FSavingOnDeselect = false;
    // The list shows a filter's result rather than every record.
    bool FFiltered = false;
    TKeptListOrders FKeptListOrders;
};
