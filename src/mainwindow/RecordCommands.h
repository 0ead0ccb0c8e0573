// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include "core/RecordHistory.h"

#include <memory>
#include <string>
#include <vector>

class QWidget;
class TCategory;
class TDataFileSession;
class TFilterRun;
class TRecord;
class TRecordBrowser;
struct TMainActions;

// The record commands, New Record, Duplicate Record and Delete Record, on the current category.
// Every record they add or delete goes through Insert or Remove, and the rows of an import into an
// existing category through AppendRecords: the places where such a change is recorded to be taken
// back.
class TRecordCommands : public QObject {
    Q_OBJECT

public:
    TRecordCommands(QWidget* window, TRecordBrowser& browser, const TFilterRun& filterRun,
                    TDataFileSession& session, const TMainActions& actions);

    void NewRecord();
    void DuplicateRecord();
    void DeleteRecord();
    // Adds the records an import read to category as one step of the record history, and shows
    // that category with the first of them selected.
    void AppendRecords(TCategory& category, std::vector<std::unique_ptr<TRecord>> records);

private:
    // A command acts on the current category, never while a filter run walks its records.
    bool CanAct() const;
    // record was just added to the current category by the command name, before which the
    // selection was at before: it shows selected in the list.
    void Insert(TRecord* record, const std::string& name, const TRecordHistory::TPlace& before);
    // Deletes record, the selected one, into the record history.
    void Remove(TRecord* record);

    QWidget* FWindow;
    TRecordBrowser& FBrowser;
    const TFilterRun& FFilterRun;
    TDataFileSession& FSession;
    const TMainActions& FActions;
};
