// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The program's translation for the first of the user's languages that has one. English is the
// language of the sources: a user who puts it before any other gets it, with no translation.
QTranslator* ProgramTranslator(QCoreApplication& application, const QString& folder) {
    for (const QString& language : QLocale::system().uiLanguages()) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English) {
            return nullptr;
        }
        auto* translator = new QTranslator(&application);
        if (translator->load(locale, QStringLiteral("quillery"), QStringLiteral("_"), folder)) {
            return translator;
        }
        delete translator;
    }
    return nullptr;
}

} // namespace

QString InstallTranslators(QCoreApplication& application, const QString& folder) {
    QTranslator* program = ProgramTranslator(application, folder);
    if (program == nullptr) {
        return QString();
    }
    QCoreApplication::installTranslator(program);
    // Qt's texts follow the language the program speaks, not merely the first one the user
    // listed, so that buttons and messages never mix two languages.
    auto* qt = new QTranslator(&application);
    if (qt->load(QLocale(program->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
    return program->language();
}
