// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/EditMenu.h"

#include "mainwindow/MainActions.h"
#include "ui/FocusedTextBox.h"
#include "ui/RunCommand.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

TEditMenu::TEditMenu(QWidget* window, const TMainActions& actions)
    : QObject(window), FWindow(window), FActions(actions) {
    connect(actions.EditMenu, &QMenu::aboutToShow, this, &TEditMenu::UpdateEnabled);
    ConnectCommand(actions.Cut, &QAction::triggered, window,
                   [this] { ActOnFocusedBox(FActions.Cut, &TFocusedTextBox::Cut); });
    ConnectCommand(actions.Copy, &QAction::triggered, window,
                   [this] { ActOnFocusedBox(FActions.Copy, &TFocusedTextBox::Copy); });
    ConnectCommand(actions.Paste, &QAction::triggered, window,
                   [this] { ActOnFocusedBox(FActions.Paste, &TFocusedTextBox::Paste); });
    ConnectCommand(actions.SelectAll, &QAction::triggered, window,
                   [this] { ActOnFocusedBox(FActions.SelectAll, &TFocusedTextBox::SelectAll); });
}

void TEditMenu::UpdateEnabled() {
    const TFocusedTextBox box(FWindow->focusWidget());
    FActions.Cut->setEnabled(box.HasSelection());
    FActions.Copy->setEnabled(box.HasSelection());
    FActions.Paste->setEnabled(box.CanPaste());
    FActions.SelectAll->setEnabled(box.HasText());
}

void TEditMenu::ActOnFocusedBox(QAction* action, void (TFocusedTextBox::*command)() const) {
    // A shortcut arrives without the menu showing: the state is taken afresh.
    UpdateEnabled();
    if (action->isEnabled())
        (TFocusedTextBox(FWindow->focusWidget()).*command)();
}
