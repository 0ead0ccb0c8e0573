// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCoreApplication;

// Installs the program's translation into the first of the user's languages that has one
// (QLocale::system(), whose languages follow LANGUAGE, LC_ALL, LC_MESSAGES and LANG), and Qt's
// own translation of the same language, so that standard buttons speak it too. folder holds the
// program's quillery_<language>.qm files. Returns the language installed, or an empty string when
// none of the user's languages has a translation and the program stays in English.
QString InstallTranslators(QCoreApplication& application, const QString& folder);
