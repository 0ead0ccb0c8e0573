// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HomePage.h"

#include "help/BuildInfo.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QDesktopServices>
#include <QFileInfo>

QUrl HomePageUrl() {
    const QString address = QString::fromUtf8(BuildInfo::kHomePage);
    if (!address.isEmpty()) {
        return QUrl(address);
    }
    return QUrl::fromLocalFile(TFolders::HelpFolder() + QStringLiteral("index.html"));
}

bool OpenHomePage(QWidget* parent) {
    const QUrl url = HomePageUrl();
    // The desktop's opener reports success as soon as it starts, even for a file that is not
    // there, so a missing local page is caught here.
    const bool missing = url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile();
    if (!missing && QDesktopServices::openUrl(url)) {
        return true;
    }
    MessageBoxes::ShowError(
        parent, QStringLiteral("The page %1 could not be opened.").arg(url.toString(QUrl::PreferLocalFile)));
    return false;
}
