// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

// The about box: the program's icon, name and version, the Qt version it runs on, and the home
// page address as a link. Made once and reset each time it is shown.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // "Version 1.1.1" for the version of this build.
    static QString VersionText();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OpenWebSite();

    QLabel* FIcon;
    QLabel* FProductName;
    QLabel* FVersion;
    QLabel* FQtVersion;
    QLabel* FWebSiteCaption;
    QLabel* FWebSite;
};
