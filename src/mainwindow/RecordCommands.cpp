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
const char* const kDeleteRecord = "Delete selected record?";
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
    Insert(FBrowser.CurrentCategory()->NewRecord());
}

void TRecordCommands::DuplicateRecord() {
    if (!CanAct() || FBrowser.CurrentRecord() == nullptr)
        return;
    // The stored values: edits still pending in the form are not part of the copy.
    TRecord* copy = FBrowser.CurrentCategory()->NewRecord();
    copy->Assign(*FBrowser.CurrentRecord());
    Insert(copy);
}

void TRecordCommands::DeleteRecord() {
    if (!CanAct() || FBrowser.CurrentRecord() == nullptr)
        return;
    if (MessageBoxes::Show(FWindow, MessageBoxes::TKind::Confirmation, QString::fromLatin1(kDeleteRecord),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    // The selection as it is after the question.
    if (TRecord* record = FBrowser.CurrentRecord())
        Remove(record);
}

void TRecordCommands::AppendRecords(TCategory& category, std::vector<std::unique_ptr<TRecord>> records) {
    if (records.empty())
        return;
    category.AppendRecords(std::move(records));
    // The bar filled again shows the category anew, through the filter when one is typed.
    FBrowser.SetSelectedCategoryID(category.ID);
    FBrowser.FillCategoryBar();
    FSession.MarkDataChanged();
}

void TRecordCommands::Insert(TRecord* record) {
    FBrowser.ShowAddedRecord(record);
    FSession.MarkDataChanged();
}

void TRecordCommands::Remove(TRecord* record) {
    // The row goes before its record, so the list never refers to a destroyed record.
    if (!FBrowser.RemoveSelectedRow())
        return;
    FBrowser.CurrentCategory()->DeleteRecord(record);
    FSession.MarkDataChanged();
}
