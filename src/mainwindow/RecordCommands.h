// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>
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
// existing category through AppendRecords: the places where such a change can be recorded and
// taken back.
class TRecordCommands : public QObject {
    Q_OBJECT

public:
    TRecordCommands(QWidget* window, TRecordBrowser& browser, const TFilterRun& filterRun,
                    TDataFileSession& session, const TMainActions& actions);

    void NewRecord();
    void DuplicateRecord();
    void DeleteRecord();
    // Adds the records an import read to category in one step and shows that category with them.
    void AppendRecords(TCategory& category, std::vector<std::unique_ptr<TRecord>> records);

private:
    // A command acts on the current category, never while a filter run walks its records.
    bool CanAct() const;
    // record was just added to the current category: it shows selected in the list.
    void Insert(TRecord* record);
    // Deletes record, the selected one.
    void Remove(TRecord* record);

    QWidget* FWindow;
    TRecordBrowser& FBrowser;
    const TFilterRun& FFilterRun;
    TDataFileSession& FSession;
    const TMainActions& FActions;
};
