// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/UndoCommands.h"

#include "core/RecordHistory.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/FilterRun.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordForm.h"
#include "ui/FocusedTextBox.h"
#include "ui/RunCommand.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

TUndoCommands::TUndoCommands(QWidget* window, TDataFileSession& session, TRecordBrowser& browser,
                             TRecordForm& form, const TFilterRun& filterRun, const TMainActions& actions)
    : QObject(window), FWindow(window), FSession(session), FBrowser(browser), FForm(form),
      FFilterRun(filterRun), FActions(actions) {
    ConnectCommand(actions.Undo, &QAction::triggered, window, [this] { Act(true); });
    ConnectCommand(actions.Redo, &QAction::triggered, window, [this] { Act(false); });
    connect(actions.EditMenu, &QMenu::aboutToShow, this, &TUndoCommands::UpdateActions);
    connect(&session, &TDataFileSession::DataChanged, this, &TUndoCommands::UpdateActions);
    connect(&session, &TDataFileSession::OpenedChanged, this, &TUndoCommands::UpdateActions);
    connect(&form, &TRecordForm::ModifiedChanged, this, &TUndoCommands::UpdateActions);
    connect(&filterRun, &TFilterRun::RunningChanged, this, &TUndoCommands::UpdateActions);
    connect(qApp, &QApplication::focusChanged, this, &TUndoCommands::UpdateActions);
    // A text box claims Ctrl+Z for itself even with nothing typed: the filter lets the record
    // history have the keys then.
    qApp->installEventFilter(this);
}

bool TUndoCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched == FWindow->focusWidget() &&
        FWindow->isAncestorOf(FWindow->focusWidget())) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undoKey = FActions.Undo->shortcuts().contains(key->keyCombination());
        const bool redoKey = FActions.Redo->shortcuts().contains(key->keyCombination());
        if ((undoKey || redoKey) && !TypingFocused()) {
            UpdateActions();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool TUndoCommands::TypingFocused() const {
    QWidget* focused = FWindow->focusWidget();
    const TFocusedTextBox box(focused);
    if (!box.IsTextBox())
        return false;
    // A box of the record form holds unsaved edits while the form is modified; any other box
    // (the filter box) while it has typing to take back.
    if (FForm.isAncestorOf(focused))
        return FForm.Modified();
    return box.CanUndo() || box.CanRedo();
}

bool TUndoCommands::HistoryMayAct() const {
    return FSession.Opened() && !FForm.Modified() && !FFilterRun.Running();
}

void TUndoCommands::UpdateActions() {
    const TRecordHistory& history = FSession.History();
    if (TypingFocused()) {
        const TFocusedTextBox box(FWindow->focusWidget());
        FActions.Undo->setText(tr("&Undo"));
        FActions.Redo->setText(tr("&Redo"));
        FActions.Undo->setEnabled(box.CanUndo());
        FActions.Redo->setEnabled(box.CanRedo());
        return;
    }
    const bool mayAct = HistoryMayAct();
    FActions.Undo->setText(history.CanUndo() ? tr("&Undo %1").arg(tr(history.UndoName().c_str()))
                                             : tr("&Undo"));
    FActions.Redo->setText(history.CanRedo() ? tr("&Redo %1").arg(tr(history.RedoName().c_str()))
                                             : tr("&Redo"));
    FActions.Undo->setEnabled(mayAct && history.CanUndo());
    FActions.Redo->setEnabled(mayAct && history.CanRedo());
}

void TUndoCommands::Act(bool undo) {
    if (TypingFocused()) {
        const TFocusedTextBox box(FWindow->focusWidget());
        undo ? box.Undo() : box.Redo();
        UpdateActions();
        return;
    }
    if (!HistoryMayAct())
        return;
    TRecordHistory& history = FSession.History();
    // No row may refer to a record while the history moves records in and out.
    FBrowser.ReleaseCategories();
    const std::optional<TRecordHistory::TPlace> place =
        undo ? history.Undo(FSession.DataFile()) : history.Redo(FSession.DataFile());
    FBrowser.ShowPlace(place.value_or(TRecordHistory::TPlace{FBrowser.SelectedCategoryID(), -1}));
    if (place)
        FSession.MarkDataChanged();
    else
        MessageBoxes::ShowError(FWindow,
                                tr("The change cannot be taken back: the records have changed since."));
    UpdateActions();
}
