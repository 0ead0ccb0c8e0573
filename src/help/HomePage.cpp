// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HomePage.h"

#include "help/BuildInfo.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>

QString ConfiguredHomePage() {
    return QString::fromUtf8(BuildInfo::kHomePage);
}

bool IsWebAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
}

QUrl HomePageUrl(const QString& address) {
    if (IsWebAddress(address)) {
        return QUrl(address);
    }
    return QUrl::fromLocalFile(TFolders::HelpFolder() + QStringLiteral("index.html"));
}

bool OpenHomePage(QWidget* parent, const QString& address) {
    const QUrl url = HomePageUrl(address);
    // The desktop's opener reports success as soon as it starts, even for a file that is not
    // there, so a missing local page is caught here.
    const bool missing = url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile();
    if (!missing && QDesktopServices::openUrl(url)) {
        return true;
    }
    MessageBoxes::ShowError(parent,
                            QCoreApplication::translate("HomePage", "The page %1 could not be opened.")
                                .arg(url.toString(QUrl::PreferLocalFile)));
    return false;
}
