// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecentFilesMenu.h"

#include "settings/RecentFiles.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace {

// The path as the menu shows it: the home folder as "~", and an "&" that is no access key.
QString MenuPath(const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (shown.startsWith(home + QDir::separator()))
        shown.replace(0, home.size(), QStringLiteral("~"));
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TRecentFilesMenu::TRecentFilesMenu(QWidget* window, QMenu* fileMenu, QAction* choose)
    : QObject(window), FWindow(window), FChoose(choose), FMenu(new QMenu(tr("Open &Recent"), fileMenu)) {
    FMenu->setObjectName(QStringLiteral("MenuOpenRecent"));
    const QList<QAction*> items = fileMenu->actions();
    const qsizetype at = items.indexOf(choose) + 1;
    fileMenu->insertMenu(at > 0 && at < items.size() ? items[at] : nullptr, FMenu);
    connect(fileMenu, &QMenu::aboutToShow, this, &TRecentFilesMenu::Update);
    connect(choose, &QAction::changed, this,
            [this] { FMenu->setEnabled(FChoose->isEnabled() && !FMenu->actions().isEmpty()); });
    Update();
}

void TRecentFilesMenu::Update() {
    // An item may be the one whose command runs now: it goes once that is over.
    for (QAction* item : FMenu->actions()) {
        FMenu->removeAction(item);
        item->setParent(nullptr);
        item->deleteLater();
    }
    const QStringList paths = TRecentFiles::Read();
    bool anyMissing = false;
    for (int index = 0; index < paths.size(); ++index) {
        const QString& path = paths[index];
        QAction* item = FMenu->addAction(tr("&%1 %2").arg(index + 1).arg(MenuPath(path)));
        item->setObjectName(QStringLiteral("ActionRecentFile%1").arg(index + 1));
        item->setStatusTip(path);
        const bool missing = TRecentFiles::IsMissing(path);
        anyMissing = anyMissing || missing;
        item->setEnabled(!missing);
        connect(item, &QAction::triggered, this, [this, path] { Choose(path); });
    }
    if (!paths.isEmpty()) {
        FMenu->addSeparator();
        QAction* removeMissing = FMenu->addAction(tr("Remove &Missing Files"));
        removeMissing->setObjectName(QStringLiteral("ActionRemoveMissingFiles"));
        removeMissing->setStatusTip(tr("Remove the files that no longer exist from the list."));
        removeMissing->setEnabled(anyMissing);
        connect(removeMissing, &QAction::triggered, this, &TRecentFilesMenu::RemoveMissing);
        QAction* clear = FMenu->addAction(tr("&Clear List"));
        clear->setObjectName(QStringLiteral("ActionClearRecentFiles"));
        clear->setStatusTip(tr("Empty the list of recent data files."));
        connect(clear, &QAction::triggered, this, [this] {
            TRecentFiles::Clear();
            Update();
        });
    }
    // An empty list, like choosing itself while it is disabled, offers nothing.
    FMenu->setEnabled(FChoose->isEnabled() && !paths.isEmpty());
}

void TRecentFilesMenu::Choose(const QString& path) {
    if (!TRecentFiles::IsMissing(path)) {
        emit OpenRequested(path);
        return;
    }
    // The file went after the menu was made.
    if (MessageBoxes::Show(FWindow, MessageBoxes::TKind::Confirmation,
                           tr("The data file %1 no longer exists.\r\n\r\nRemove it from the recent files?")
                               .arg(QDir::toNativeSeparators(path)),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes) {
        TRecentFiles::Remove({path});
    }
    Update();
}

void TRecentFilesMenu::RemoveMissing() {
    QStringList missing = TRecentFiles::Read();
    missing.removeIf([](const QString& path) { return !TRecentFiles::IsMissing(path); });
    TRecentFiles::Remove(missing);
    Update();
}
