// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>

class QWidget;

// The project's home page: the address chosen at build time, or while there is none, the start
// page of the help that came with this copy of the program.
QUrl HomePageUrl();

// Opens the home page in the user's web browser. A page that cannot be opened (a missing help
// file, no browser) is reported in an error box; false then.
bool OpenHomePage(QWidget* parent);
