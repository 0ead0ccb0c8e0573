// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/SecondStarts.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"
#include "core/FileIO.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowPlacement.h"
#include "settings/Folders.h"
#include "settings/Settings.h"

#include <QDir>
#include <QIcon>
#include <QStyleFactory>

#include <algorithm>
#include <cstdio>

namespace {

int Answer(const QString& text, FILE* stream, int exitCode) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    if (!text.endsWith(QLatin1Char('\n'))) {
        std::fputc('\n', stream);
    }
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with its error instead of killing the program mid-save.
    IgnoreFileSizeSignal();
    // --help and --version answer before the application object exists, so they work on a
    // terminal without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const TCommandLine early = ParseCommandLine(arguments, QDir::currentPath());
    if (early.Action == TCommandLine::TAction::ShowHelp) {
        return Answer(CommandLineUsage(), stdout, 0);
    }
    if (early.Action == TCommandLine::TAction::ShowVersion) {
        return Answer(CommandLineVersion(), stdout, 0);
    }
    // Qt's own options all start with "-"; without any, a file that cannot be opened is answered
    // here too. So is any error when no window could be shown (no display, no -platform): Qt would
    // only abort.
    const bool onlyFiles = std::none_of(arguments.cbegin() + 1, arguments.cend(),
                                        [](const QString& argument) { return argument.startsWith('-'); });
    const bool canShowWindow =
        qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || arguments.contains(QStringLiteral("-platform"));
    if (early.Action == TCommandLine::TAction::Fail && (onlyFiles || !canShowWindow)) {
        return Answer(early.Error, stderr, early.ExitCode);
    }

    TApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillery"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quillery.Quillery"));
    // Parsed again without the options Qt itself took (-platform, -style, ...).
    const TCommandLine commandLine = ParseCommandLine(QCoreApplication::arguments(), QDir::currentPath());
    if (commandLine.Action == TCommandLine::TAction::Fail) {
        return Answer(commandLine.Error, stderr, commandLine.ExitCode);
    }

    TSingleInstanceGuard guard;
    switch (guard.TryAcquire(commandLine.FilePath)) {
    case TSingleInstanceGuard::TResult::HandedOver:
        // Another Quillery runs; it has come to the front and opens the file.
        return 0;
    case TSingleInstanceGuard::TResult::NoAnswer:
        return Answer(QStringLiteral("quillery: another Quillery is running but did not answer."), stderr,
                      kFailureExit);
    case TSingleInstanceGuard::TResult::Unguarded:
        std::fprintf(stderr, "quillery: %s; running without handing files to a running Quillery.\n",
                     guard.UnguardedReason().toLocal8Bit().constData());
        break;
    case TSingleInstanceGuard::TResult::Acquired:
        break;
    }

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillery.png")));
    TFolders::Initialize(QCoreApplication::applicationDirPath());
    // The window speaks the user's language; the messages above, on the terminal, stay English
    // as scripts may read them.
    InstallTranslators(application, TFolders::TranslationsFolder());
    if (!commandLine.FilePath.isEmpty()) {
        // The window's first showing opens the remembered data file with its password check, so
        // the file given is opened instead of the last one, and only once.
        TSettingsFile settings;
        settings.WriteString(QStringLiteral("DataFile"), commandLine.FilePath);
    }

    TMainWindow formMain;
    TSecondStarts secondStarts(guard, formMain);
    ShowAtRememberedPlace(formMain);
    return QApplication::exec();
}
