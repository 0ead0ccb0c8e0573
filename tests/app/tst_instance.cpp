// The single-instance guard: in-process, with a stale lock, and with the real program twice.

#include "support/WindowTestSupport.h"

#include "app/SingleInstance.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>

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
