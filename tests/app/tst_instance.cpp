// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard: in-process, with a stale lock, and with the real program twice.

#include "support/WindowTestSupport.h"

#include "app/PrivateFolder.h"
#include "app/SingleInstance.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>

#include <sys/stat.h>
#include <unistd.h>

using namespace MainTest;

namespace {

// A copy of the program in a folder of its own, so its settings stay out of the build tree.
QString CopyProgram(const QString& root) {
    const QString folder = root + QStringLiteral("/program-copy");
    QDir().mkpath(folder);
    const QString program = folder + QStringLiteral("/quillery");
    QFile::copy(QStringLiteral(QUILLERY_BIN_DIR "/quillery"), program);
    return program;
}

constexpr uid_t kNobody = 65534;

// Sets an environment variable (or removes it, for a null value) until the end of the scope.
class TEnvironmentVariable {
public:
    TEnvironmentVariable(const char* name, const QString& value)
        : FName(name), FOld(qgetenv(name)), FWasSet(qEnvironmentVariableIsSet(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, QFile::encodeName(value));
    }
    ~TEnvironmentVariable() { FWasSet ? qputenv(FName, FOld) : qunsetenv(FName); }

private:
    const char* FName;
    QByteArray FOld;
    bool FWasSet;
};

// Makes path as kind says: "missing", a mode ("0700", "0755", ...), "link" (to a private folder),
// "file", or "other" (a private folder of another user; needs root). False when it cannot.
bool MakeFolder(const QString& path, const QString& kind) {
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("missing")) {
        return true;
    }
    if (kind == QLatin1String("file")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    }
    if (kind == QLatin1String("link")) {
        return MakeFolder(path + QStringLiteral("-target"), QStringLiteral("0700")) &&
               ::symlink(QFile::encodeName(path + QStringLiteral("-target")).constData(), name.constData()) ==
                   0;
    }
    const bool other = kind == QLatin1String("other");
    const mode_t mode = other ? 0700 : static_cast<mode_t>(kind.toUInt(nullptr, 8));
    return QDir().mkpath(path) && ::chmod(name.constData(), mode) == 0 &&
           (!other || (::geteuid() == 0 && ::chown(name.constData(), kNobody, kNobody) == 0));
}

} // namespace

class TestInstance : public TWindowTest {
    Q_OBJECT

private slots:
    void namesArePerUserInTheGivenFolder() {
        const QString folder = FSandbox->Root() + QStringLiteral("/run");
        QVERIFY(TSingleInstanceGuard::LockFilePath().startsWith(folder + QLatin1Char('/')));
        QVERIFY(TSingleInstanceGuard::LockFilePath().contains(QStringLiteral("App_Quenby-")));
        QVERIFY(
            TSingleInstanceGuard::ServerPath().contains(QStringLiteral("Check For Quenby Previous Inst-")));
        TSingleInstanceGuard::SetFolderForTesting(QString());
        QVERIFY(!TSingleInstanceGuard::Folder().isEmpty());
        QVERIFY(!TSingleInstanceGuard::LockFilePath().startsWith(folder));
    }

    // The names live only in a folder of this user's alone: the runtime folder when it is private,
    // else "quillery-<uid>" in the temporary folder, which is refused when it is not private.
    void privateFolders_data() {
        QTest::addColumn<QString>("runtime"); // the runtime folder's mode, or empty for none
        QTest::addColumn<QString>("own");     // what "quillery-<uid>" in the temporary folder is
        QTest::addColumn<QString>("found");   // "runtime", "own", or the words of the refusal
        QTest::newRow("private runtime folder") << "0700"
                                                << "0777"
                                                << "runtime";
        QTest::newRow("no runtime folder, none of our own yet") << ""
                                                                << "missing"
                                                                << "own";
        QTest::newRow("a runtime folder open to others") << "0755"
                                                         << "missing"
                                                         << "own";
        QTest::newRow("our own folder") << ""
                                        << "0700"
                                        << "own";
        QTest::newRow("open to the group") << ""
                                           << "0770"
                                           << "is open to other users";
        QTest::newRow("open to everyone") << ""
                                          << "1777"
                                          << "is open to other users";
        QTest::newRow("a link") << ""
                                << "link"
                                << "is not a folder";
        QTest::newRow("a file") << ""
                                << "file"
                                << "is not a folder";
        QTest::newRow("another user's") << ""
                                        << "other"
                                        << "belongs to another user";
    }
    void privateFolders() {
        QFETCH(QString, runtime);
        QFETCH(QString, own);
        QFETCH(QString, found);
        if (own == QLatin1String("other") && ::geteuid() != 0) {
            QSKIP("only root can make a folder that belongs to another user");
        }
        const QString temporary = FSandbox->Root() + QStringLiteral("/tmp");
        const QString runtimeFolder = FSandbox->Root() + QStringLiteral("/runtime");
        QVERIFY(QDir().mkpath(temporary));
        const QString ownFolder = temporary + QStringLiteral("/quillery-%1").arg(::getuid());
        QVERIFY(MakeFolder(ownFolder, own));
        QVERIFY(runtime.isEmpty() || MakeFolder(runtimeFolder, runtime));
        const TEnvironmentVariable tmpdir("TMPDIR", temporary);
        const TEnvironmentVariable xdg("XDG_RUNTIME_DIR", runtime.isEmpty() ? QString() : runtimeFolder);
        QString why;
        const QString folder = PrivateFolder::Find(&why);
        if (found == QLatin1String("runtime") || found == QLatin1String("own")) {
            QCOMPARE(folder, found == QLatin1String("runtime") ? runtimeFolder : ownFolder);
            QVERIFY(PrivateFolder::Problem(folder).isEmpty());
        } else {
            QVERIFY(folder.isEmpty());
            QVERIFY2(why.contains(found), qPrintable(why));
            QVERIFY(why.startsWith(ownFolder));
        }
    }

    void theRealProgramRunsAloneWithoutAPrivateFolder() {
        // Another user got to the temporary folder's name first: no names are taken there, and the
        // start runs on its own instead of handing its file to whoever listens.
        const QString program = CopyProgram(FSandbox->Root());
        QProcessEnvironment environment = ProgramEnvironment(FSandbox->Root());
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        const QString temporary = FSandbox->Root() + QStringLiteral("/tmp");
        QVERIFY(QDir().mkpath(temporary));
        environment.insert(QStringLiteral("TMPDIR"), temporary);
        const QString taken = temporary + QStringLiteral("/quillery-%1").arg(::getuid());
        QVERIFY(MakeFolder(taken, ::geteuid() == 0 ? QStringLiteral("other") : QStringLiteral("1777")));

        QProcess start;
        start.setProcessEnvironment(environment);
        start.start(program, {});
        QVERIFY(start.waitForStarted());
        QVERIFY(!start.waitForFinished(2000));
        start.kill();
        QVERIFY(start.waitForFinished());
        QVERIFY(start.readAllStandardError().contains("running without handing files to a running Quillery"));
        QVERIFY(QDir(taken).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    }

    void aStartTellsNothingToAnotherUsersSocket() {
        if (::geteuid() != 0) {
            QSKIP("only root can start a listener as another user here");
        }
        // A folder everyone may enter, where another user listens under the socket's name while
        // this process holds the lock.
        QTemporaryDir shared;
        QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
        TSingleInstanceGuard::SetFolderForTesting(shared.path());
        QLockFile lock(TSingleInstanceGuard::LockFilePath());
        QVERIFY(lock.tryLock());
        const QString received = shared.filePath(QStringLiteral("received"));
        QProcess listener;
        listener.start(QStringLiteral("setpriv"),
                       {QStringLiteral("--reuid=%1").arg(kNobody), QStringLiteral("--regid=%1").arg(kNobody),
                        QStringLiteral("--clear-groups"), QStringLiteral("/usr/bin/python3"),
                        QStringLiteral("-c"),
                        QStringLiteral("import socket, sys\n"
                                       "s = socket.socket(socket.AF_UNIX)\n"
                                       "s.bind(sys.argv[1]); s.listen(1)\n"
                                       "c, _ = s.accept()\n"
                                       "open(sys.argv[2], 'wb').write(c.recv(65536))\n"),
                        TSingleInstanceGuard::ServerPath(), received});
        if (!listener.waitForStarted() ||
            !QTest::qWaitFor([] { return QFileInfo::exists(TSingleInstanceGuard::ServerPath()); }, 5000)) {
            QSKIP("no listener could be started as another user (setpriv and /usr/bin/python3 are needed)");
        }
        QCOMPARE(SecondStart(QStringLiteral("/home/ann/secret.lgd")),
                 TSingleInstanceGuard::TResult::NoAnswer);
        // The start closed whatever it opened, so a listener that was connected to has written what
        // it heard by now; one still waiting in accept() was never told anything.
        if (!listener.waitForFinished(30000)) {
            listener.kill();
            listener.waitForFinished();
        }
        QFile heard(received);
        if (heard.open(QIODevice::ReadOnly)) {
            QCOMPARE(heard.readAll(), QByteArray());
        }
    }

    void aSecondStartWaitsForAFirstThatDoesNotListenYet() {
        // The first start holds the lock but is busy for a while before it listens.
        const QProcessEnvironment environment = ProgramEnvironment(FSandbox->Root());
        TSingleInstanceGuard::SetFolderForTesting(environment.value(QStringLiteral("XDG_RUNTIME_DIR")));
        QLockFile lock(TSingleInstanceGuard::LockFilePath());
        QVERIFY(lock.tryLock());
        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(QStringLiteral(QUILLERY_BIN_DIR "/quillery"), {});
        QVERIFY(second.waitForStarted());
        QVERIFY(!second.waitForFinished(1500));

        QLocalServer first;
        first.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY(first.listen(TSingleInstanceGuard::ServerPath()));
        QByteArray request;
        connect(&first, &QLocalServer::newConnection, &first, [&] {
            QLocalSocket* socket = first.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, socket, [&request, socket] {
                request += socket->readAll();
                if (request.count('\0') == 2) {
                    socket->write(QByteArray(1, TSingleInstanceGuard::kReceived));
                    socket->flush();
                }
            });
        });
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(request, QByteArray("Check For Quenby Previous Inst\0\0", 32));
    }

    void secondGuardNotifiesTheFirst() {
        TSingleInstanceGuard first;
        QCOMPARE(first.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        QSignalSpy activations(&first, &TSingleInstanceGuard::ActivationRequested);
        QCOMPARE(SecondStart(), TSingleInstanceGuard::TResult::HandedOver);
        QCOMPARE(activations.size(), 1);
        QCOMPARE(SecondStart(), TSingleInstanceGuard::TResult::HandedOver);
        QCOMPARE(activations.size(), 2);
    }

    void theMessageBringsTheWindowToTheFront() {
        TDataFile data;
        AddCategory(data, "Books", {"Title"});
        const QString path = FSandbox->FilePath(QStringLiteral("cards.lgd"));
        SaveData(data, path);
        WriteSetting(QStringLiteral("DataFile"), path);
        TSingleInstanceGuard first;
        QCOMPARE(first.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        auto form = ShowForm();
        connect(&first, &TSingleInstanceGuard::ActivationRequested, form.get(), &TMainWindow::BringToFront);
        form->showMinimized();
        QTRY_VERIFY(form->isMinimized());
        QCOMPARE(SecondStart(), TSingleInstanceGuard::TResult::HandedOver);
        QTRY_VERIFY(!form->isMinimized());
        QVERIFY(form->isVisible());
        QVERIFY(form->close());
    }

    void aReleasedLockIsTakenAgain() {
        {
            TSingleInstanceGuard first;
            QCOMPARE(first.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        }
        TSingleInstanceGuard next;
        QCOMPARE(next.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        QVERIFY(QFileInfo::exists(TSingleInstanceGuard::LockFilePath()));
    }

    void aStaleLockIsTakenOver() {
        // A lock and a socket left by a run that crashed: its process no longer exists.
        QProcess gone;
        gone.start(QStringLiteral("/bin/true"));
        QVERIFY(gone.waitForFinished());
        const qint64 deadPid = gone.processId() != 0 ? gone.processId() : 999999;
        QFile lock(TSingleInstanceGuard::LockFilePath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + "\nquillery\n" + QSysInfo::machineHostName().toUtf8() +
                   "\n");
        lock.close();
        QFile socket(TSingleInstanceGuard::ServerPath());
        QVERIFY(socket.open(QIODevice::WriteOnly));
        socket.close();

        TSingleInstanceGuard next;
        QCOMPARE(next.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        QSignalSpy activations(&next, &TSingleInstanceGuard::ActivationRequested);
        QCOMPARE(SecondStart(), TSingleInstanceGuard::TResult::HandedOver);
        QCOMPARE(activations.size(), 1);
    }

    void theRealProgramRunsOnce() {
        const QString program = CopyProgram(FSandbox->Root());
        QVERIFY(QFileInfo(program).isExecutable());
        const QProcessEnvironment environment = ProgramEnvironment(FSandbox->Root());

        // The first start waits in its welcome box with its event loop running.
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(program, {});
        QVERIFY(first.waitForStarted());
        const QString lockFolder = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(lockFolder)
                 .entryList({QStringLiteral("Check For Quenby Previous Inst-*")}, QDir::System)
                 .isEmpty(),
            10000);

        QProcess second;
        second.setProcessEnvironment(environment);
        QElapsedTimer elapsed;
        elapsed.start();
        second.start(program, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(first.state() == QProcess::Running);

        // The first one crashes: its lock is stale and the next start takes over.
        first.kill();
        QVERIFY(first.waitForFinished());
        QProcess third;
        third.setProcessEnvironment(environment);
        third.start(program, {});
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(1500));
        third.kill();
        QVERIFY(third.waitForFinished());
        // Neither start wrote settings beside the copy: it never closed its window.
        QVERIFY(!QFileInfo::exists(QFileInfo(program).absolutePath() + QStringLiteral("/Ledgrin.ini")));
    }
};

QTEST_MAIN(TestInstance)
#include "tst_instance.moc"
