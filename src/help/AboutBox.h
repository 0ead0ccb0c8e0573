// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/HomePage.h"

#include <QDialog>

class QLabel;

// The about box: the program's icon, name and version, the Qt version it runs on, and a line that
// leads to the home page: "Web site:" with its address as a link, or while there is none, "Help:"
// with a link to the start page of the help that came with the program. Made once and reset each
// time it is shown.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // homePage: the project's web address, empty while it has none.
    explicit TAboutBox(QWidget* parent = nullptr, const QString& homePage = ConfiguredHomePage());

    // "Version 1.1.1" for the version of this build.
    static QString VersionText();

    // The caption and the link text of the home page line for homePage.
    struct THomePageLine {
        QString Caption;
        QString Link;
        QString Hint;
    };
    static THomePageLine HomePageLine(const QString& homePage);

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
    QString FHomePage;
};
