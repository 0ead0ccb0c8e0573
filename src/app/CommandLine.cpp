// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "help/BuildInfo.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

TCommandLine Failure(const QString& error, int exitCode) {
    TCommandLine result;
    result.Action = TCommandLine::TAction::Fail;
    result.Error = QStringLiteral("quillery: ") + error;
    if (exitCode == kUsageErrorExit) {
        result.Error += QStringLiteral("\nTry 'quillery --help' for more information.");
    }
    result.ExitCode = exitCode;
    return result;
}

} // namespace

QString CommandLineUsage() {
    return QStringLiteral("Usage: quillery [OPTION] [FILE]\n"
                          "A card-file database: categories with forms of your own design, records in a\n"
                          "sortable, filtered list, all kept in one data file.\n"
                          "\n"
                          "FILE is a Quillery data file (.lgd) to open; a file with a password asks for it.\n"
                          "When Quillery is already running, that window opens FILE and this start ends.\n"
                          "\n"
                          "  -h, --help     show this help and exit\n"
                          "  -v, --version  show the version and exit\n"
                          "\n"
                          "quillery-cli reads data files without a window; see quillery-cli --help.\n");
}

QString CommandLineVersion() {
    return QStringLiteral("Quillery %1\n").arg(QString::fromLatin1(BuildInfo::kVersion));
}

TCommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QString());
    const bool parsed = parser.parse(arguments);

    TCommandLine result;
    if (parser.isSet(help)) {
        result.Action = TCommandLine::TAction::ShowHelp;
        return result;
    }
    if (parser.isSet(version)) {
        result.Action = TCommandLine::TAction::ShowVersion;
        return result;
    }
    if (!parsed) {
        return Failure(parser.errorText(), kUsageErrorExit);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        return Failure(QStringLiteral("only one data file can be opened at a time."), kUsageErrorExit);
    }
    if (files.isEmpty()) {
        return result;
    }
    if (files.first().isEmpty()) {
        return Failure(QStringLiteral("the file name is empty."), kUsageErrorExit);
    }
    const QFileInfo file(QDir(workingFolder).absoluteFilePath(files.first()));
    if (!file.exists()) {
        return Failure(QStringLiteral("%1: no such file.").arg(files.first()), kFailureExit);
    }
    if (!file.isFile()) {
        return Failure(QStringLiteral("%1: not a regular file.").arg(files.first()), kFailureExit);
    }
    result.FilePath = QDir::cleanPath(file.absoluteFilePath());
    return result;
}
