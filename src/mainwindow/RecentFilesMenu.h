// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QWidget;

// The File menu's "Open Recent": the data files opened last, most recent first, those that no
// longer exist greyed out, then "Remove Missing Files" and "Clear List". The items are made afresh
// each time the File menu opens, so a file deleted meanwhile shows as missing.
class TRecentFilesMenu : public QObject {
    Q_OBJECT

public:
    // Puts the submenu into fileMenu right after choose, whose enabled state it follows.
    TRecentFilesMenu(QWidget* window, QMenu* fileMenu, QAction* choose);

    // Reads the list again and remakes the items.
    void Update();

signals:
    // A listed file that exists was chosen.
    void OpenRequested(const QString& path);

private:
    void Choose(const QString& path);
    void RemoveMissing();

    QWidget* FWindow;
    QAction* FChoose;
    QMenu* FMenu;
};
