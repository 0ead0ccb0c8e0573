// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include "core/RecordHistory.h"

#include <string>

class QWidget;
class TDataFileSession;
class TFilterRun;
class TRecord;
class TRecordBrowser;
struct TMainActions;

// The record commands, New Record, Duplicate Record and Delete Record, on the current category.
// Every record they add or delete goes through Insert or Remove, the one place where such a
// change can be recorded and taken back.
class TRecordCommands : public QObject {
    Q_OBJECT

public:
    TRecordCommands(QWidget* window, TRecordBrowser& browser, const TFilterRun& filterRun,
                    TDataFileSession& session, const TMainActions& actions);

    void NewRecord();
    void DuplicateRecord();
    void DeleteRecord();

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
