// SPDX-License-Identifier: GPL-3.0-or-later
// Backup Data File: refusing the open file under any spelling, copying, remembering the folder.

#include "support/WindowTestSupport.h"

#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/FileDialogs.h"

#include <unistd.h>

using namespace MainTest;

namespace {

const QString kInUse = QStringLiteral("This file is in use. Can not overwrite current data file! Please use "
                                      "another file name, or save it to another folder.");

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TSandbox> FSandbox;
    std::unique_ptr<TMainWindow> FForm;
    QString FPath;

private slots:
    void init() {
        FSandbox = std::make_unique<TSandbox>();
        TDataFile data;
        AddRecord(*AddCategory(data, "Books", {"Title"}), {"Walden"});
        QDir().mkpath(FSandbox->FilePath(QStringLiteral("dir")));
        FPath = FSandbox->FilePath(QStringLiteral("dir/cards.lgd"));
        SaveData(data, FPath);
        WriteSetting(QStringLiteral("DataFile"), FPath);
        FForm = ShowForm();
        QVERIFY(Session(*FForm).Opened());
    }
    void cleanup() {
        if (FForm->isVisible()) {
            QVERIFY(FForm->close());
        }
        FForm.reset();
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void theOpenFileIsRefusedWhateverItsSpelling_data() {
        QTest::addColumn<QString>("spelling");
        QTest::newRow("same text") << QStringLiteral("dir/cards.lgd");
        QTest::newRow("dot folder") << QStringLiteral("dir/./cards.lgd");
        QTest::newRow("parent folder") << QStringLiteral("dir/../dir/cards.lgd");
        QTest::newRow("double slash") << QStringLiteral("dir//cards.lgd");
        QTest::newRow("symbolic link") << QStringLiteral("link.lgd");
        QTest::newRow("linked folder") << QStringLiteral("linkdir/cards.lgd");
        QTest::newRow("hard link") << QStringLiteral("hard.lgd");
    }
    void theOpenFileIsRefusedWhateverItsSpelling() {
        QFETCH(QString, spelling);
        QVERIFY(QFile::link(FPath, FSandbox->FilePath(QStringLiteral("link.lgd"))));
        QVERIFY(QFile::link(FSandbox->FilePath(QStringLiteral("dir")),
                            FSandbox->FilePath(QStringLiteral("linkdir"))));
        QCOMPARE(::link(QFile::encodeName(FPath).constData(),
                        QFile::encodeName(FSandbox->FilePath(QStringLiteral("hard.lgd"))).constData()),
                 0);
        const QByteArray before = FileBytes(FPath);
        FileDialogTesting::QueueResult(FSandbox->FilePath(spelling));
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Trigger(*FForm, "ActionBackupDataFile");
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QCOMPARE(boxes[0].Text, kInUse);
        QCOMPARE(FileBytes(FPath), before);
        QVERIFY(!HasSetting(QStringLiteral("BackupDataFile")));
    }

    void copyIsMadeAndItsFolderRemembered() {
        const QString copy = FSandbox->FilePath(QStringLiteral("copies/first.lgd"));
        QDir().mkpath(QFileInfo(copy).absolutePath());
        FileDialogTesting::QueueResult(copy);
        Trigger(*FForm, "ActionBackupDataFile");
        auto dialogs = FileDialogTesting::TakeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].Mode, FileDialogs::TMode::SaveFile);
        QCOMPARE(dialogs[0].Title, QStringLiteral("Save a Copy of Data File As"));
        QCOMPARE(dialogs[0].Filter, QStringLiteral("Ledgrin files (*.lgd)"));
        QCOMPARE(dialogs[0].DefaultSuffix, QStringLiteral("lgd"));
        QCOMPARE(dialogs[0].FileName, QStringLiteral("cards.lgd"));
        // Nothing remembered yet: the dialog starts in the Backup folder, created for it.
        QCOMPARE(QDir(dialogs[0].Folder).canonicalPath(), QDir(TFolders::BackupFolder()).canonicalPath());
        QCOMPARE(FileBytes(copy), FileBytes(FPath));
        QCOMPARE(ReadSetting(QStringLiteral("BackupDataFile")), copy);

        FileDialogTesting::QueueResult(QString());
        Trigger(*FForm, "ActionBackupDataFile");
        dialogs = FileDialogTesting::TakeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].Folder, QFileInfo(copy).absolutePath());
        QCOMPARE(dialogs[0].FileName, QStringLiteral("cards.lgd"));
    }

    void rememberedFolderThatIsGoneFallsBackToBackup() {
        WriteSetting(QStringLiteral("BackupDataFile"), FSandbox->FilePath(QStringLiteral("gone/old.lgd")));
        FileDialogTesting::QueueResult(QString());
        Trigger(*FForm, "ActionBackupDataFile");
        const auto dialogs = FileDialogTesting::TakeShown();
        QCOMPARE(QDir(dialogs[0].Folder).canonicalPath(), QDir(TFolders::BackupFolder()).canonicalPath());
    }

    void copyReplacesAnExistingFile() {
        const QString copy = FSandbox->FilePath(QStringLiteral("old-copy.lgd"));
        QFile old(copy);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        FileDialogTesting::QueueResult(copy);
        Trigger(*FForm, "ActionBackupDataFile");
        QCOMPARE(FileBytes(copy), FileBytes(FPath));
        // No temporary file is left beside it.
        QCOMPARE(QDir(FSandbox->FilePath(QString())).entryList(QDir::Files),
                 QStringList{QStringLiteral("old-copy.lgd")});
    }

    void failedCopyIsReportedAndNotRemembered() {
        const QString copy = FSandbox->FilePath(QStringLiteral("removed/copy.lgd"));
        FileDialogTesting::QueueResult(copy);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Trigger(*FForm, "ActionBackupDataFile");
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QVERIFY2(boxes[0].Text.contains(copy), qPrintable(boxes[0].Text));
        QVERIFY(!QFileInfo::exists(copy));
        QVERIFY(!HasSetting(QStringLiteral("BackupDataFile")));
    }

    void pendingChangesAreWrittenFirst() {
        AddCategory(Session(*FForm).DataFile(), "Films", {"Title"});
        Session(*FForm).MarkDataChanged();
        const QString copy = FSandbox->FilePath(QStringLiteral("copy.lgd"));
        FileDialogTesting::QueueResult(copy);
        Trigger(*FForm, "ActionBackupDataFile");
        QVERIFY(!Session(*FForm).WritePending());
        QVERIFY(!Session(*FForm).TimerWriteCache.isActive());
        QCOMPARE(LoadData(copy).Categories.size(), size_t(2));
        QCOMPARE(FileBytes(copy), FileBytes(FPath));
    }

    void cancelledDialogChangesNothing() {
        FileDialogTesting::QueueResult(QString());
        Trigger(*FForm, "ActionBackupDataFile");
        QCOMPARE(FileDialogTesting::TakeShown().size(), 1);
        QVERIFY(!HasSetting(QStringLiteral("BackupDataFile")));
        QCOMPARE(QDir(TFolders::BackupFolder()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
