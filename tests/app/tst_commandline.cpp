// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: the parser's answers, and the real program answering --help,
// --version and bad arguments on the terminal without a display.

#include "app/CommandLine.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using TAction = TCommandLine::TAction;
Q_DECLARE_METATYPE(TCommandLine::TAction)

namespace {

// The real program with no display to connect to: answers on the terminal must not need one.
QProcess* StartWithoutDisplay(QProcess& process, const QStringList& arguments, const QString& folder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(QUILLERY_BIN_DIR "/quillery"), arguments);
    return &process;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FFolder;

private slots:
    void initTestCase() {
        QVERIFY(FFolder.isValid());
        QDir(FFolder.path()).mkpath(QStringLiteral("sub/folder"));
        for (const char* name : {"cards.lgd", "sub/folder/other.lgd", "-dash.lgd", "blank name.lgd"}) {
            QFile file(FFolder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<TAction>("action");
        QTest::addColumn<QString>("file");  // relative to the test folder; empty for none
        QTest::addColumn<QString>("error"); // a part of the error text
        QTest::addColumn<int>("exitCode");
        QTest::newRow("nothing") << QStringList() << TAction::Run << ""
                                 << "" << 0;
        QTest::newRow("a file") << QStringList{"cards.lgd"} << TAction::Run << "cards.lgd"
                                << "" << 0;
        QTest::newRow("a file in a folder")
            << QStringList{"sub/folder/../folder/other.lgd"} << TAction::Run << "sub/folder/other.lgd"
            << "" << 0;
        QTest::newRow("a file with a blank")
            << QStringList{"blank name.lgd"} << TAction::Run << "blank name.lgd"
            << "" << 0;
        QTest::newRow("a file named like an option")
            << QStringList{"--", "-dash.lgd"} << TAction::Run << "-dash.lgd"
            << "" << 0;
        QTest::newRow("--help") << QStringList{"--help"} << TAction::ShowHelp << ""
                                << "" << 0;
        QTest::newRow("-h") << QStringList{"-h"} << TAction::ShowHelp << ""
                            << "" << 0;
        QTest::newRow("--version") << QStringList{"--version"} << TAction::ShowVersion << ""
                                   << "" << 0;
        QTest::newRow("-v") << QStringList{"-v"} << TAction::ShowVersion << ""
                            << "" << 0;
        QTest::newRow("help wins over a missing file")
            << QStringList{"missing.lgd", "--help"} << TAction::ShowHelp << ""
            << "" << 0;
        QTest::newRow("help wins over an unknown option")
            << QStringList{"--frobnicate", "--version"} << TAction::ShowVersion << ""
            << "" << 0;
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << TAction::Fail << ""
                                        << "Unknown option 'frobnicate'" << kUsageErrorExit;
        QTest::newRow("two files") << QStringList{"cards.lgd", "sub/folder/other.lgd"} << TAction::Fail << ""
                                   << "only one data file" << kUsageErrorExit;
        QTest::newRow("empty name") << QStringList{""} << TAction::Fail << ""
                                    << "empty" << kUsageErrorExit;
        QTest::newRow("missing file") << QStringList{"missing.lgd"} << TAction::Fail << ""
                                      << "missing.lgd: no such file" << kFailureExit;
        QTest::newRow("a folder") << QStringList{"sub"} << TAction::Fail << ""
                                  << "sub: not a regular file" << kFailureExit;
        QTest::newRow("a device") << QStringList{"/dev/null"} << TAction::Fail << ""
                                  << "/dev/null: not a regular file" << kFailureExit;
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(TAction, action);
        QFETCH(QString, file);
        QFETCH(QString, error);
        QFETCH(int, exitCode);
        const TCommandLine parsed =
            ParseCommandLine(QStringList{QStringLiteral("quillery")} + arguments, FFolder.path());
        QCOMPARE(parsed.Action, action);
        QCOMPARE(parsed.FilePath, file.isEmpty() ? QString() : FFolder.filePath(file));
        QVERIFY2(parsed.Error.contains(error), qPrintable(parsed.Error));
        QCOMPARE(parsed.Error.isEmpty(), error.isEmpty());
        QCOMPARE(parsed.ExitCode, exitCode);
    }

    void versionComesFromTheBuild() { QCOMPARE(CommandLineVersion(), QStringLiteral("Quillery 1.1.1\n")); }

    void theProgramAnswersOnTheTerminal_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("standardOutput"); // a part of it
        QTest::addColumn<QString>("standardError");  // a part of it
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: quillery [OPTION] [FILE]"
                                << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "Quillery 1.1.1"
                                   << "";
        QTest::newRow("missing file") << QStringList{"missing.lgd"} << kFailureExit << ""
                                      << "quillery: missing.lgd: no such file.";
        QTest::newRow("two files") << QStringList{"cards.lgd", "blank name.lgd"} << kUsageErrorExit << ""
                                   << "Try 'quillery --help'";
        QTest::newRow("an unknown option") << QStringList{"--bogus"} << kUsageErrorExit << ""
                                           << "quillery: Unknown option 'bogus'.";
        QTest::newRow("an unknown option and a file")
            << QStringList{"-x", "cards.lgd"} << kUsageErrorExit << ""
            << "quillery: Unknown option 'x'.";
    }
    void theProgramAnswersOnTheTerminal() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, standardOutput);
        QFETCH(QString, standardError);
        QProcess process;
        StartWithoutDisplay(process, arguments, FFolder.path());
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(out.contains(standardOutput), qPrintable(out));
        QVERIFY2(err.contains(standardError), qPrintable(err));
        QCOMPARE(out.isEmpty(), standardOutput.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
