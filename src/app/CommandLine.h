// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the program's command line asks for: "quillery [FILE]", "--help", "--version".
struct TCommandLine {
    enum class TAction {
        Run,         // start (or hand FilePath to the running instance)
        ShowHelp,    // print the usage on standard output and end
        ShowVersion, // print the version on standard output and end
        Fail         // print Error on standard error and end with ExitCode
    };
    TAction Action = TAction::Run;
    // The data file to open as an absolute path, empty for none.
    QString FilePath;
    QString Error;
    int ExitCode = 0;
};

// Parses the arguments (the program's name first). A relative FILE is taken from workingFolder;
// it must name an existing regular file. Help and version win over anything else given.
TCommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder);

QString CommandLineUsage();
QString CommandLineVersion();

// The exit status of a usage error (an unknown option, more than one file).
constexpr int kUsageErrorExit = 2;
// The exit status when the file cannot be opened or the running instance did not answer.
constexpr int kFailureExit = 1;
