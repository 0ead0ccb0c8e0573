// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;
class TDataFileSession;
class TFilterRun;
class TRecordBrowser;
class TRecordForm;
struct TMainActions;

// Undo and Redo in the Edit menu. While a text box holds unsaved edits they act on its typing, as
// the box's own Ctrl+Z does; otherwise on the record history of the open data file, showing the
// changed record where it was, selected. Their captions name the command they act on.
class TUndoCommands : public QObject {
    Q_OBJECT

public:
    TUndoCommands(QWidget* window, TDataFileSession& session, TRecordBrowser& browser, TRecordForm& form,
                  const TFilterRun& filterRun, const TMainActions& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The focused text box takes Undo and Redo for its own typing.
    bool TypingFocused() const;
    // The record history may act: a file is open and no edit or filter run is under way.
    bool HistoryMayAct() const;
    void UpdateActions();
    void Act(bool undo);

    QWidget* FWindow;
    TDataFileSession& FSession;
    TRecordBrowser& FBrowser;
    TRecordForm& FForm;
    const TFilterRun& FFilterRun;
    const TMainActions& FActions;
};
