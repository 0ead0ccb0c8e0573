// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs quillery-cli (or a copy of it) as a separate process, as a script would.

#include <QProcess>
#include <QStringList>

#include <functional>

struct TRun {
    int ExitCode = -1; // -1: crashed, hung or never started
    bool TimedOut = false;
    QByteArray Out;
    QByteArray Err;
};

// childSetUp runs in the new process before the tool starts (its user, its limits). A run that
// takes longer than timeoutMs is killed and reported as timed out rather than waited for.
inline TRun RunProgram(const QString& program, const QStringList& arguments,
                       const QByteArray& input = QByteArray(),
                       const std::function<void()>& childSetUp = nullptr, int timeoutMs = 120000) {
    QProcess process;
    if (childSetUp)
        process.setChildProcessModifier(childSetUp);
    process.start(program, arguments);
    TRun run;
    if (!process.waitForStarted()) {
        run.Err = "could not start " + program.toUtf8();
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        run.TimedOut = true;
        process.kill();
        process.waitForFinished();
    }
    run.ExitCode = !run.TimedOut && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

// quillery-cli of the build tree.
inline TRun RunCli(const QStringList& arguments, const QByteArray& input = QByteArray(),
                   const std::function<void()>& childSetUp = nullptr, int timeoutMs = 120000) {
    return RunProgram(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli"), arguments, input, childSetUp,
                      timeoutMs);
}
