// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/SearchParam.h"

#include <QObject>

class QWidget;
class TFilterBar;
class TMainLayout;
class TRecordBrowser;
struct TMainActions;

// The filter run: once the user paused in the filter bar, the current category's records that
// match the filter take the list's place, or every record shows again when the box is empty.
// While a run goes on, nothing may start another run or change the records it walks.
class TFilterRun : public QObject {
    Q_OBJECT

public:
    TFilterRun(QWidget* window, TRecordBrowser& browser, TMainActions& actions, TMainLayout& layout,
               TFilterBar& filterBar);

    bool Running() const { return FRunning; }
    // A run still waiting for the user's pause runs before any command acts.
    void RunPending();
    // The Search command.
    void Run();

signals:
    void RunningChanged();

private:
    // The pause is over: asks about the form's edits first, as moving to other rows does.
    void RunAsTyped();
    void ShowAllRecords();
    void SetRunning(bool running);

    QWidget* FWindow;
    TRecordBrowser& FBrowser;
    TMainActions& FActions;
    TMainLayout& FLayout;
    TFilterBar& FFilterBar;
    TSearchParam FSearchParam;
    bool FRunning = false;
    // The user typed or clicked: the next run selects its first row.
    bool FSelectFirstAfterRun = false;
};
