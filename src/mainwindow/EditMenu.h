// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QWidget;
class TFocusedTextBox;
struct TMainActions;

// The Edit menu: Cut, Copy, Paste and Select All act on the focused text box, and each is
// enabled only when it can act there.
class TEditMenu : public QObject {
    Q_OBJECT

public:
    TEditMenu(QWidget* window, const TMainActions& actions);

private:
    void UpdateEnabled();
    // Runs command on the focused box when action is enabled for it now.
    void ActOnFocusedBox(QAction* action, void (TFocusedTextBox::*command)() const);

    QWidget* FWindow;
    const TMainActions& FActions;
};
