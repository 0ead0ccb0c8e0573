// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QWidget;
class TAboutBox;
class THelpWindow;

// The Help menu's commands for a main window: "&Help Topics" shows the help window at its start
// page, "Visit Home Page" opens the home page, "&About..." shows the about box. Both windows are
// made once, hidden, and belong to the main window.
class THelpCommands : public QObject {
    Q_OBJECT

public:
    // Connects the three actions; the help's shortcut page lists window's keys.
    THelpCommands(QWidget* window, QAction* helpTopics, QAction* visitHomePage, QAction* about);

    // The main window is closing: the help goes with it.
    void CloseHelpWindow();

    THelpWindow* HelpWindow() const { return FHelpWindow; }
    TAboutBox* AboutBox() const { return FAboutBox; }

private:
    QWidget* FWindow;
    THelpWindow* FHelpWindow;
    TAboutBox* FAboutBox;
};
