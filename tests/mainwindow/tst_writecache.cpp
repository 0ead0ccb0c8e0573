// SPDX-License-Identifier: GPL-3.0-or-later
// The write cache: one write for many changes, failed writes kept and retried, closing.

#include "support/WindowTestSupport.h"

#include "core/FileIO.h"
#include "ui/dialogs/FileDialogs.h"

#include <QProcess>

#include <sys/stat.h>

using namespace MainTest;

namespace {

// Each write renames a new file over the old one, so the inode tells writes apart.
ino_t Inode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

class TestWriteCache : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TSandbox> FSandbox;
    QString FFolder;
    QString FPath;

private slots:
    void init() {
        FSandbox = std::make_unique<TSandbox>();
        FFolder = FSandbox->FilePath(QStringLiteral("data"));
        QDir().mkpath(FFolder);
        FPath = FFolder + QStringLiteral("/cards.lgd");
        TDataFile data;
        AddRecord(*AddCategory(data, "Books", {"Title"}), {"Walden"});
        SaveData(data, FPath);
        WriteSetting(QStringLiteral("DataFile"), FPath);
    }
    void cleanup() {
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void manyChangesGiveOneWrite() {
        auto form = ShowForm();
        const ino_t opened = Inode(FPath);
        QVERIFY(!Session(*form).TimerWriteCache.isActive());
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        QVERIFY(Session(*form).TimerWriteCache.isActive());
        const int firstDeadline = Session(*form).TimerWriteCache.remainingTime();
        QTest::qWait(30);
        Session(*form).DataFile().Categories[0]->Records[0]->SetValue(0, "Emma");
        Session(*form).MarkDataChanged();
        Session(*form).MarkDataChanged();
        // A running timer keeps its first deadline.
        QVERIFY(Session(*form).TimerWriteCache.remainingTime() < firstDeadline);
        QCOMPARE(Inode(FPath), opened);

        Session(*form).TimerWriteCacheTimer();
        QVERIFY(!Session(*form).TimerWriteCache.isActive());
        QVERIFY(!Session(*form).WritePending());
        const ino_t written = Inode(FPath);
        QVERIFY(written != opened);
        const TDataFile saved = LoadData(FPath);
        QCOMPARE(saved.Categories[0]->Name, std::string("Novels"));
        QCOMPARE(saved.Categories[0]->Records[0]->Value(0), std::string_view("Emma"));
        QCOMPARE(FileBytes(FPath), QByteArray::fromStdString(Session(*form).DataFile().SaveToBytes()));

        // Nothing pending: closing does not write again.
        QVERIFY(form->close());
        QCOMPARE(Inode(FPath), written);
    }

    void failedWriteIsKeptAndRetriedOnClosing() {
        auto form = ShowForm();
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        SetWriteFailureForTesting(0);

        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Session(*form).TimerWriteCacheTimer();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QVERIFY(!boxes[0].Text.isEmpty());
        QVERIFY(Session(*form).WritePending());
        QVERIFY(!Session(*form).TimerWriteCache.isActive());

        // The next change arms the timer again.
        Session(*form).MarkDataChanged();
        QVERIFY(Session(*form).TimerWriteCache.isActive());

        QVERIFY(form->close());
        QVERIFY(!Session(*form).WritePending());
        QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Novels"));
    }

    // A device that fails part way through the write (a full disk): the user reads why, the data
    // file keeps every old byte, and the change waits for the next write.
    void writeFailingPartWayKeepsTheOldFile_data() {
        QTest::addColumn<qint64>("budget");
        QTest::newRow("nothing written") << qint64(0);
        QTest::newRow("inside the header") << qint64(20);
        QTest::newRow("inside a record") << qint64(300);
    }
    void writeFailingPartWayKeepsTheOldFile() {
        QFETCH(qint64, budget);
        auto form = ShowForm();
        const QByteArray before = FileBytes(FPath);
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();

        SetWriteFailureForTesting(budget);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Session(*form).TimerWriteCacheTimer();
        SetWriteFailureForTesting(-1);
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QCOMPARE(boxes[0].Text, QStringLiteral("Cannot write file %1: No space left on device").arg(FPath));
        QCOMPARE(FileBytes(FPath), before);
        QCOMPARE(QDir(FFolder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(FPath).fileName()});
        QVERIFY(Session(*form).WritePending());

        QVERIFY(form->close());
        QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Novels"));
    }

    void closingAsksWhenTheWriteStillFails_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("keep the window") << int(QMessageBox::No) << false;
        QTest::newRow("close anyway") << int(QMessageBox::Yes) << true;
    }
    void closingAsksWhenTheWriteStillFails() {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        auto form = ShowForm();
        Session(*form).MarkDataChanged();
        SetWriteFailureForTesting(0);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        QCOMPARE(form->close(), closes);
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QCOMPARE(boxes[1].Kind, MessageBoxes::TKind::Warning);
        QCOMPARE(boxes[1].Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(form->isVisible(), !closes);
        QVERIFY(Session(*form).WritePending());
        if (!closes) {
            QVERIFY(form->close());
            QVERIFY(QFileInfo::exists(FPath));
        }
    }

    void choosingAnotherFileWritesFirst() {
        TDataFile other;
        AddCategory(other, "Films", {"Title"});
        const QString otherPath = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(other, otherPath);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).SelectedCategoryID(), 1);
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        FileDialogTesting::QueueResult(otherPath);
        Trigger(*form, "ActionChooseDataFile");
        QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Novels"));
        QCOMPARE(Session(*form).Path(), otherPath);
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), otherPath);
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - other.lgd"));
        QCOMPARE(Browser(*form).SelectedCategoryID(), 0);
        QVERIFY(!Session(*form).WritePending());
        // The dialog started in the remembered file's folder.
        QCOMPARE(FileDialogTesting::TakeShown().constFirst().Folder, FFolder);
        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).CurrentCategory()->Name, std::string("Films"));
        QVERIFY(form->close());
    }

    void choosingAnotherFileKeepsUnwrittenChangesOnRequest() {
        const QString otherPath = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(TDataFile(), otherPath);
        auto form = ShowForm();
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        SetWriteFailureForTesting(0);
        FileDialogTesting::QueueResult(otherPath);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok); // the write's error
        MessageBoxTesting::QueueAnswer(QMessageBox::No); // keep them
        Trigger(*form, "ActionChooseDataFile");
        QCOMPARE(Session(*form).Path(), FPath);
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), FPath);
        QVERIFY(Session(*form).WritePending());
        QVERIFY(Session(*form).TimerWriteCache.isActive());
        QCOMPARE(Session(*form).DataFile().Categories[0]->Name, std::string("Novels"));
        MessageBoxTesting::TakeShown();

        Session(*form).TimerWriteCacheTimer();
        QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Novels"));
        QVERIFY(form->close());
    }

    void fileChangedByAnotherProgramIsNeverOverwrittenBlindly_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Cancel keeps both") << int(QMessageBox::Cancel);
        QTest::newRow("Yes opens the other version") << int(QMessageBox::Yes);
        QTest::newRow("No replaces it") << int(QMessageBox::No);
    }
    void fileChangedByAnotherProgramIsNeverOverwrittenBlindly() {
        QFETCH(int, answer);
        auto form = ShowForm();
        Session(*form).DataFile().Categories[0]->Name = "First";
        Session(*form).MarkDataChanged();
        Session(*form).TimerWriteCacheTimer();
        QVERIFY(!Session(*form).WritePending());

        // The command-line tool rewrites the file between two writes of the window.
        TDataFile other;
        AddRecord(*AddCategory(other, "Elsewhere", {"Title"}), {"Moby-Dick"});
        const QString otherPath = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(other, otherPath);
        QProcess cli;
        cli.start(QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli"),
                  {QStringLiteral("resave"), otherPath, FPath});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray written = FileBytes(FPath);

        Session(*form).DataFile().Categories[0]->Name = "Second";
        Session(*form).MarkDataChanged();
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        Session(*form).TimerWriteCacheTimer();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].Text.contains(QStringLiteral("was changed by another program")),
                 qPrintable(boxes[0].Text));
        QCOMPARE(boxes[0].DefaultButton, QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            QCOMPARE(FileBytes(FPath), written);
            QVERIFY(Session(*form).WritePending());
            MessageBoxTesting::QueueAnswer(QMessageBox::Cancel); // asked again on closing
            MessageBoxTesting::QueueAnswer(QMessageBox::Yes);    // and the change is given up
            QVERIFY(form->close());
            MessageBoxTesting::TakeShown();
            QCOMPARE(FileBytes(FPath), written);
        } else if (answer == QMessageBox::Yes) {
            QCOMPARE(FileBytes(FPath), written);
            QVERIFY(!Session(*form).WritePending());
            QCOMPARE(Session(*form).DataFile().Categories[0]->Name, std::string("Elsewhere"));
            QVERIFY(form->close());
        } else {
            QVERIFY(!Session(*form).WritePending());
            QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Second"));
            QVERIFY(form->close());
        }
    }

    void readOnlyFileSaysSoInTheTitle() {
        QVERIFY(QFile::setPermissions(FPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        auto form = ShowForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - cards.lgd (read-only)"));
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Session(*form).TimerWriteCacheTimer();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].Text.endsWith(QStringLiteral("it is read-only.")), qPrintable(boxes[0].Text));
        QVERIFY(Session(*form).WritePending());
        QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Books"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        QVERIFY(form->close());
        MessageBoxTesting::TakeShown();
    }

    void choosingTheOpenFileWritesAndReopensIt() {
        auto form = ShowForm();
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        FileDialogTesting::QueueResult(FPath);
        Trigger(*form, "ActionChooseDataFile");
        QVERIFY(Session(*form).Opened());
        QVERIFY(!Session(*form).WritePending());
        QCOMPARE(Session(*form).DataFile().Categories[0]->Name, std::string("Novels"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestWriteCache)
#include "tst_writecache.moc"
