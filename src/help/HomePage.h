// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// The home page address chosen at build time; empty while the project has none.
QString ConfiguredHomePage();

// Whether address is a web address (http or https, with a host): only such an address is shown and
// opened as the home page; anything else counts as none.
bool IsWebAddress(const QString& address);

// The project's home page: address when it is a web address, otherwise the start page of the help
// that came with this copy of the program.
QUrl HomePageUrl(const QString& address = ConfiguredHomePage());

// Opens the home page in the user's web browser. A page that cannot be opened (a missing help
// file, no browser) is reported in an error box; false then.
bool OpenHomePage(QWidget* parent, const QString& address = ConfiguredHomePage());
