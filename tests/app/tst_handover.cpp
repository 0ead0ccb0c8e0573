// SPDX-License-Identifier: GPL-3.0-or-later
// A data file handed to the running instance: the request on the single-instance socket (also
// broken and hostile ones), the real program as the second start, the real program opening a
// file given at its first start, and when the running instance opens what it was handed.

#include "support/WindowTestSupport.h"

#include "app/OpenFileRequests.h"
#include "app/SecondStarts.h"
#include "app/SingleInstance.h"
#include "core/Password.h"
#include "settings/Settings.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>

#include <stdexcept>

using namespace MainTest;

namespace {

// The real program in environment, started in workingFolder.
void StartProgram(QProcess& process, const QProcessEnvironment& environment, const QStringList& arguments,
                  const QString& workingFolder) {
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(QStringLiteral(QUILLERY_BIN_DIR "/quillery"), arguments);
}

// Sends raw bytes to the running guard in pieces and returns its answer (empty when none).
QByteArray SendRaw(const QList<QByteArray>& pieces) {
    QLocalSocket socket;
    socket.connectToServer(TSingleInstanceGuard::ServerPath());
    if (!socket.waitForConnected(1000)) {
        return "not connected";
    }
    for (const QByteArray& piece : pieces) {
        socket.write(piece);
        socket.flush();
        QTest::qWait(20);
    }
    QByteArray answer;
    QElapsedTimer waited;
    waited.start();
    while (answer.isEmpty() && socket.state() == QLocalSocket::ConnectedState && waited.elapsed() < 1000) {
        QTest::qWait(10);
        answer += socket.readAll();
    }
    return answer;
}

} // namespace

class TestHandOver : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TSandbox> FSandbox;

    // The real program's runtime folder, where its guard looks for a running instance.
    QString Runtime() const { return FSandbox->Root() + QStringLiteral("/xdg-runtime"); }

private slots:
    void init() { FSandbox = std::make_unique<TSandbox>(); }
    void cleanup() {
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void requestsOnTheSocket_data() {
        QTest::addColumn<QList<QByteArray>>("pieces"); // "@" stands for the sandbox's files folder
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("activations");
        QTest::addColumn<QString>("opened"); // empty: no file to open
        const QByteArray message("Check For Quenby Previous Inst");
        const QByteArray nul(1, '\0');
        QTest::newRow("no file") << QList<QByteArray>{message + nul + nul} << true << 1 << "";
        QTest::newRow("a file") << QList<QByteArray>{message + nul + "@/cards.lgd" + nul} << true << 1
                                << "@/cards.lgd";
        QTest::newRow("in pieces") << QList<QByteArray>{message.left(5), message.mid(5) + nul + "@/b",
                                                        ".lgd" + nul}
                                   << true << 1 << "@/b.lgd";
        QTest::newRow("blanks, accents and a line break")
            << QList<QByteArray>{message + nul + QStringLiteral("@/zoë/My cards\n2.lgd").toUtf8() + nul}
            << true << 1 << QStringLiteral("@/zoë/My cards\n2.lgd");
        QTest::newRow("a relative path is not opened")
            << QList<QByteArray>{message + nul + "cards.lgd" + nul} << true << 1 << "";
        // A handed-over path is opened, never created, and only when it is a regular file.
        QTest::newRow("a missing file is not opened")
            << QList<QByteArray>{message + nul + "@/missing.lgd" + nul} << true << 1 << "";
        QTest::newRow("a folder is not opened")
            << QList<QByteArray>{message + nul + "@/zoë" + nul} << true << 1 << "";
        QTest::newRow("another message")
            << QList<QByteArray>{QByteArray("Hello") + nul + "/etc/passwd" + nul} << false << 0 << "";
        QTest::newRow("never finished")
            << QList<QByteArray>{message + nul + "@/cards.lgd"} << false << 0 << "";
        QTest::newRow("endless") << QList<QByteArray>{message + nul + QByteArray(70000, 'x')} << false << 0
                                 << "";
    }
    void requestsOnTheSocket() {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(bool, answered);
        QFETCH(int, activations);
        QFETCH(QString, opened);
        const QString files = QFileInfo(FSandbox->FilePath(QStringLiteral("x.lgd"))).absolutePath();
        for (const QString& name : {QStringLiteral("cards.lgd"), QStringLiteral("b.lgd"),
                                    QStringLiteral("zoë/My cards\n2.lgd"), QStringLiteral("x.lgd")}) {
            QDir().mkpath(QFileInfo(files + QLatin1Char('/') + name).absolutePath());
            SaveData(TDataFile(), files + QLatin1Char('/') + name);
        }
        for (QByteArray& piece : pieces) {
            piece.replace('@', files.toUtf8());
        }
        opened.replace(QLatin1Char('@'), files);
        TSingleInstanceGuard running;
        QCOMPARE(running.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        QSignalSpy activated(&running, &TSingleInstanceGuard::ActivationRequested);
        QSignalSpy openRequested(&running, &TSingleInstanceGuard::OpenFileRequested);
        const QByteArray answer = SendRaw(pieces);
        QCOMPARE(answer == QByteArray(1, TSingleInstanceGuard::kReceived), answered);
        QCOMPARE(activated.size(), activations);
        QCOMPARE(openRequested.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty()) {
            QCOMPARE(openRequested.first().first().toString(), opened);
        }
        // The guard still answers the next start.
        QCOMPARE(SecondStart(files + QStringLiteral("/x.lgd")), TSingleInstanceGuard::TResult::HandedOver);
        QCOMPARE(openRequested.last().first().toString(), files + QStringLiteral("/x.lgd"));
    }

    void theRealProgramHandsItsFileOver_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("opened"); // relative to the sandbox's files; empty for none
        QTest::newRow("a relative file") << QStringList{"cards.lgd"} << "cards.lgd";
        QTest::newRow("a file in another folder") << QStringList{"../files/sub/../cards.lgd"} << "cards.lgd";
        QTest::newRow("no file") << QStringList() << "";
    }
    void theRealProgramHandsItsFileOver() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, opened);
        SaveData(TDataFile(), FSandbox->FilePath(QStringLiteral("cards.lgd")));
        QDir().mkpath(FSandbox->FilePath(QStringLiteral("sub")));
        // This process is the running instance, with the lock and socket the program looks for.
        const QProcessEnvironment environment = ProgramEnvironment(FSandbox->Root());
        TSingleInstanceGuard::SetFolderForTesting(Runtime());
        TSingleInstanceGuard running;
        QCOMPARE(running.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        QSignalSpy activated(&running, &TSingleInstanceGuard::ActivationRequested);
        QSignalSpy openRequested(&running, &TSingleInstanceGuard::OpenFileRequested);

        QProcess second;
        StartProgram(second, environment, arguments, FSandbox->FilePath(QString()));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(openRequested.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty()) {
            QCOMPARE(openRequested.first().first().toString(), FSandbox->FilePath(opened));
        }
    }

    void aRunningInstanceThatDoesNotAnswer() {
        // The lock is held by a live process (this one) that listens on no socket.
        const QProcessEnvironment environment = ProgramEnvironment(FSandbox->Root());
        TSingleInstanceGuard::SetFolderForTesting(Runtime());
        QLockFile lock(TSingleInstanceGuard::LockFilePath());
        QVERIFY(lock.tryLock());
        QProcess second;
        StartProgram(second, environment, {}, FSandbox->Root());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
        QVERIFY(second.readAllStandardError().contains("another Quillery is running but did not answer"));
    }

    void theFirstStartOpensItsFile() {
        // A portable copy, so the settings it writes lie beside it.
        const QString folder = FSandbox->Root() + QStringLiteral("/program-copy");
        QDir().mkpath(folder);
        QVERIFY(
            QFile::copy(QStringLiteral(QUILLERY_BIN_DIR "/quillery"), folder + QStringLiteral("/quillery")));
        const QString path = FSandbox->FilePath(QStringLiteral("given.lgd"));
        TDataFile data;
        AddCategory(data, "Books", {"Title"});
        SaveData(data, path);
        QProcess first;
        first.setProcessEnvironment(ProgramEnvironment(FSandbox->Root()));
        first.setWorkingDirectory(FSandbox->FilePath(QString()));
        first.start(folder + QStringLiteral("/quillery"), {QStringLiteral("given.lgd")});
        QVERIFY(first.waitForStarted());
        // The file given is the one the window opens: it is remembered before the window shows,
        // so no welcome box and no other file come first.
        const QString settings = folder + QStringLiteral("/Ledgrin.ini");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(settings), 10000);
        QSettings written(settings, QSettings::IniFormat);
        QCOMPARE(written.value(QStringLiteral("Ledgrin/DataFile")).toString(), path);
        QVERIFY(!first.waitForFinished(1000));
        first.kill();
        QVERIFY(first.waitForFinished());
    }

    void openingWaitsForModalWindowsAndEarlierOpenings() {
        QStringList opened;
        QStringList modalWhenOpened;
        TOpenFileRequests* requests = nullptr;
        TOpenFileRequests owned([&](const QString& path) {
            opened << path;
            modalWhenOpened << (QApplication::activeModalWidget() ? QStringLiteral("modal") : QString());
            if (path == QStringLiteral("/first.lgd")) {
                // Two more requests arrive while this one still asks for a password.
                requests->Request(QStringLiteral("/second.lgd"));
                requests->Request(QStringLiteral("/third.lgd"));
                QDialog password;
                QTimer::singleShot(50, &password, &QDialog::accept);
                password.exec();
            }
        });
        requests = &owned;

        // Never inside the caller: the socket that delivered it is still on the stack.
        requests->Request(QStringLiteral("/first.lgd"));
        QVERIFY(opened.isEmpty());
        QVERIFY(requests->Waiting());

        // A modal window (a dialog, the template editor) is open: the request waits for it.
        QDialog modal;
        QTimer::singleShot(400, &modal, &QDialog::accept);
        QTimer::singleShot(0, &modal, [&] { QCOMPARE(opened, QStringList()); });
        modal.exec();
        QTRY_COMPARE(opened, QStringList({"/first.lgd", "/third.lgd"}));
        QCOMPARE(modalWhenOpened, QStringList({"", ""}));
        QVERIFY(!requests->Waiting());
    }

    void theRunningWindowOpensWhatIsHandedOver_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer"); // to "Record modified, would you like to save?"
        QTest::addColumn<bool>("opens");
        QTest::newRow("nothing modified") << false << int(QMessageBox::NoButton) << true;
        QTest::newRow("modified, saved") << true << int(QMessageBox::Yes) << true;
        QTest::newRow("modified, not saved") << true << int(QMessageBox::No) << true;
        QTest::newRow("modified, cancelled") << true << int(QMessageBox::Cancel) << false;
    }
    void theRunningWindowOpensWhatIsHandedOver() {
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(bool, opens);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        AddRecord(*books, {"Zen"});
        QString path;
        auto form = ShowData(*FSandbox, data, path);
        TSingleInstanceGuard running;
        QCOMPARE(running.TryAcquire(), TSingleInstanceGuard::TResult::Acquired);
        TSecondStarts secondStarts(running, *form);

        TDataFile other;
        AddCategory(other, "Music", {"Album"});
        other.PasswordDigest = PasswordDigest("pw");
        const QString otherPath = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(other, otherPath);
        if (modified) {
            TypeIntoBox(FormControl(*form, books->Columns[0]->ElementID), QStringLiteral("s"));
            MessageBoxTesting::QueueAnswer(QMessageBox::StandardButton(answer));
        }
        if (opens) {
            AnswerCheckPassword(QStringLiteral("pw"));
        }
        form->showMinimized();
        QCOMPARE(SecondStart(otherPath), TSingleInstanceGuard::TResult::HandedOver);
        QVERIFY(!form->isMinimized());
        QTRY_COMPARE(Session(*form).Path(), opens ? otherPath : path);
        QCOMPARE(form->windowTitle(),
                 opens ? QStringLiteral("Quillery - other.lgd") : QStringLiteral("Quillery - cards.lgd"));
        QCOMPARE(ShownBoxTexts(),
                 modified ? QStringList{"Record modified, would you like to save?"} : QStringList());
        // A saved record reached the first file before the other one was opened.
        const QString title =
            QString::fromStdString(std::string(LoadData(path).Categories[0]->Records[0]->Value(0)));
        QCOMPARE(title, answer == QMessageBox::Yes ? QStringLiteral("Zens") : QStringLiteral("Zen"));
        QCOMPARE(RecordForm(*form).Modified(), !opens);
    }

    void aFailingOpeningIsShown() {
        TOpenFileRequests requests(
            [](const QString&) { throw std::runtime_error("Cannot open file /gone.lgd"); });
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        requests.Request(QStringLiteral("/gone.lgd"));
        QTRY_COMPARE(MessageBoxTesting::PendingAnswers(), 0);
        QCOMPARE(ShownBoxTexts(), QStringList{"Cannot open file /gone.lgd"});
    }
};

QTEST_MAIN(TestHandOver)
#include "tst_handover.moc"
