#pragma once

// Runs the real quillery-cli as a separate process.

#include <QProcess>
#include <QStringList>

struct TRun {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

inline TRun RunCli(const QStringList& arguments, const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli"), arguments);
    TRun run;
    if (!process.waitForStarted()) {
        run.Err = "could not start quillery-cli";
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}
