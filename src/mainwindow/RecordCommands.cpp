// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecordCommands.h"

#include "core/Category.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/FilterRun.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/RecordBrowser.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>

namespace {
const char* const kDeleteRecordQuestion = QT_TRANSLATE_NOOP("TRecordCommands", "Delete selected record?");
// The commands' names in Undo and Redo.
const char* const kNewRecord = QT_TRANSLATE_NOOP("TUndoCommands", "New Record");
const char* const kDuplicateRecord = QT_TRANSLATE_NOOP("TUndoCommands", "Duplicate Record");
const char* const kDeleteRecord = QT_TRANSLATE_NOOP("TUndoCommands", "Delete Record");
const char* const kImport = QT_TRANSLATE_NOOP("TUndoCommands", "Import");
} // namespace

TRecordCommands::TRecordCommands(QWidget* window, TRecordBrowser& browser, const TFilterRun& filterRun,
                                 TDataFileSession& session, const TMainActions& actions)
    : QObject(window), FWindow(window), FBrowser(browser), FFilterRun(filterRun), FSession(session),
      FActions(actions) {}

bool TRecordCommands::CanAct() const {
    return FBrowser.CurrentCategory() != nullptr && !FFilterRun.Running();
}

void TRecordCommands::NewRecord() {
    // A filter run that was pending may just have disabled the command.
    if (!CanAct() || !FActions.NewItem->isEnabled())
        return;
    const TRecordHistory::TPlace before = FBrowser.CurrentPlace();
    Insert(FBrowser.CurrentCategory()->NewRecord(), kNewRecord, before);
}

void TRecordCommands::DuplicateRecord() {
    if (!CanAct() || FBrowser.CurrentRecord() == nullptr)
        return;
    // The stored values: edits still pending in the form are not part of the copy.
    const TRecordHistory::TPlace before = FBrowser.CurrentPlace();
    TRecord* copy = FBrowser.CurrentCategory()->NewRecord();
    copy->Assign(*FBrowser.CurrentRecord());
    Insert(copy, kDuplicateRecord, before);
}

void TRecordCommands::DeleteRecord() {
    if (!CanAct() || FBrowser.CurrentRecord() == nullptr)
        return;
    if (MessageBoxes::Show(FWindow, MessageBoxes::TKind::Confirmation, tr(kDeleteRecordQuestion),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    // The selection as it is after the question.
    if (TRecord* record = FBrowser.CurrentRecord())
        Remove(record);
}

void TRecordCommands::AppendRecords(TCategory& category, std::vector<std::unique_ptr<TRecord>> records) {
    if (records.empty())
        return;
    const TRecordHistory::TPlace before = FBrowser.CurrentPlace();
    const auto first = static_cast<int32_t>(category.Records.size());
    const auto count = static_cast<int32_t>(records.size());
    category.AppendRecords(std::move(records));
    FSession.History().RecordsAdded(kImport, category, first, count, before);
    // The list shows the category afresh, through the filter when one is typed.
    FBrowser.ReleaseCategories();
    FBrowser.ShowPlace({category.ID, first});
    FSession.MarkDataChanged();
}

void TRecordCommands::Insert(TRecord* record, const std::string& name, const TRecordHistory::TPlace& before) {
    TCategory& category = *FBrowser.CurrentCategory();
    FSession.History().RecordsAdded(name, category, category.IndexOfRecord(record), 1, before);
    FBrowser.ShowAddedRecord(record);
    FSession.MarkDataChanged();
}

void TRecordCommands::Remove(TRecord* record) {
    const TRecordHistory::TPlace before = FBrowser.CurrentPlace();
    // The row goes before its record, so the list never refers to a record that left.
    if (!FBrowser.RemoveSelectedRow())
        return;
    TCategory& category = *FBrowser.CurrentCategory();
    const int32_t index = category.IndexOfRecord(record);
    if (index < 0)
        category.DeleteRecord(record); // fails with the assertion for a record not in the category
    FSession.History().RemoveRecord(kDeleteRecord, category, index, before);
    FSession.MarkDataChanged();
}
