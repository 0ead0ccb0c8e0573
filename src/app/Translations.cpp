// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString InstallTranslators(QCoreApplication& application, const QString& folder) {
    auto* program = new QTranslator(&application);
    if (!program->load(QLocale::system(), QStringLiteral("quillery"), QStringLiteral("_"), folder)) {
        // English is the language of the sources: nothing to install.
        delete program;
        return QString();
    }
    QCoreApplication::installTranslator(program);
    // Qt's texts follow the language the program speaks, not merely the first one the user
    // listed: a user asking for a language we lack gets English buttons with English texts.
    const QLocale spoken(program->language());
    auto* qt = new QTranslator(&application);
    if (qt->load(spoken, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
    return program->language();
}
