// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCoreApplication;

// Installs the program's translation for the first of the user's languages that has one
// (QLocale::system(), whose languages follow LANGUAGE, LC_ALL, LC_MESSAGES and LANG), and Qt's
// own translation of the same language, so that standard buttons speak it too. folder holds the
// program's quillery_<language>.qm files. Returns the language installed, or an empty string when
// the program stays in English: English comes first, or no language listed has a translation.
QString InstallTranslators(QCoreApplication& application, const QString& folder);
