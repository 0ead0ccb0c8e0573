// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpCommands.h"

#include "help/AboutBox.h"
#include "help/HelpWindow.h"
#include "help/HomePage.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/RunCommand.h"

#include <QAction>

THelpCommands::THelpCommands(QWidget* window, QAction* helpTopics, QAction* visitHomePage, QAction* about)
    : QObject(window), FWindow(window), FHelpWindow(new THelpWindow(TFolders::HelpFolder(), window)),
      FAboutBox(new TAboutBox(window)) {
    FHelpWindow->AddShortcutSource(tr("Main window"), window);
    ConnectCommand(helpTopics, &QAction::triggered, window, [this] { FHelpWindow->ShowTopics(); });
    ConnectCommand(visitHomePage, &QAction::triggered, window, [this] { OpenHomePage(FWindow); });
    ConnectCommand(about, &QAction::triggered, window, [this] { FAboutBox->exec(); });
}

void THelpCommands::CloseHelpWindow() {
    FHelpWindow->close();
}
