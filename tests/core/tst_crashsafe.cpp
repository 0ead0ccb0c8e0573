// SPDX-License-Identifier: GPL-3.0-or-later
// Saving survives being killed at any moment and failing part way: the data file on disk is always
// either the old content or the new, byte for byte, and a failed save leaves nothing behind.
#include "core/ChildRun.h"
#include "core/DataBytes.h"
#include "core/DataFile.h"
#include "core/Error.h"
#include "core/FileEntries.h"
#include "core/FileIO.h"
#include "core/FileStamp.h"
#include "core/SaveJournal.h"
#include "support/ActingUser.h"

#include <QtTest>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A data file of some size whose content depends on variant, so two variants differ throughout.
TDataFile MakeData(int variant, int records) {
    TDataFile data;
    TCategory* category = data.AddCategory();
    category->Name = "Variant " + std::to_string(variant);
    const TFont font{"MS Sans Serif", 0, 8, 0};
    for (int i = 0; i < 4; ++i)
        category->AddElement(kKindEdit, 6, 6 + 24 * i, 120, 21, 0xFFFFFF, font, "");
    category->RenumberValueIndexes();
    for (int r = 0; r < records; ++r) {
        TRecord* record = category->NewRecord();
        for (int v = 0; v < 4; ++v)
            record->SetValue(v, "value " + std::to_string(variant) + "/" + std::to_string(r) + "/" +
                                    std::to_string(v) + std::string(static_cast<size_t>(r % 40), 'x'));
    }
    return data;
}

QStringList LeftoverFiles(const QString& folder, const QString& keep) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(keep);
    return names;
}

// Users the superuser's tests save as; no account needs to exist for them.
constexpr uid_t kOwner = 61001;
constexpr uid_t kColleague = 61002;

QString SaveOutcome(const TDataFile& data, const QString& path) {
    try {
        data.SaveToFile(path.toStdString());
        return QString();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

// In a child process: becomes user (when the test runs as the superuser) and returns the
// outcome of fn.
QString OutcomeAs(uid_t user, const std::function<QString()>& fn) {
    return OutcomeInChild([&] {
        const TActingUser acting(user, user);
        return acting.Problem().isEmpty() ? fn() : acting.Problem();
    });
}

// Makes a save of the file at path go in place: as a colleague (when the test runs as the
// superuser), saving a file of another user in a folder anyone may write (foreignFile), or the
// saver's own file in a folder that takes no new file. The staging folder is shared as /tmp is.
bool PrepareInPlaceSave(const QString& path, const QString& folder, const QString& staging, bool foreignFile,
                        mode_t fileMode, uid_t& saver) {
    const bool root = ::geteuid() == 0;
    saver = root ? kColleague : ::geteuid();
    const uid_t owner = foreignFile ? kOwner : saver;
    return (!root || (::chown(Path8(path).constData(), owner, 0) == 0 &&
                      ::chown(Path8(folder).constData(), owner, 0) == 0)) &&
           ::chmod(Path8(path).constData(), fileMode) == 0 &&
           ::chmod(Path8(folder).constData(), foreignFile ? 0777 : 0555) == 0 &&
           ::chmod(Path8(staging).constData(), 01777) == 0;
}

} // namespace

class TestCrashSafe : public QObject {
    Q_OBJECT
private slots:
    void killedWhileSaving();
    void failingWrite_data();
    void failingWrite();
    void missingFolder();
    void keepsPermissions();
    void followsLink();
    void inPlace_data();
    void inPlace();
    void killedWhileSavingInPlace_data();
    void killedWhileSavingInPlace();
    void journalOnOpen_data();
    void journalOnOpen();
};

void TestCrashSafe::killedWhileSaving() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("cards.lgd").toStdString();
    const std::string first = MakeData(1, 20000).SaveToBytes();
    const std::string second = MakeData(2, 21000).SaveToBytes();
    QVERIFY(first != second);
    WriteFileAtomically(path, first);

    std::mt19937 random(20261207);
    const int kills = 25;
    int sawFirst = 0;
    int sawSecond = 0;
    for (int round = 0; round < kills; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Save the two contents in turn until killed; leave at once after 200 saves.
            for (int i = 0; i < 200; ++i) {
                try {
                    WriteFileAtomically(path, i % 2 == 0 ? second : first);
                } catch (...) {
                    _exit(3);
                }
            }
            _exit(0);
        }
        usleep(static_cast<useconds_t>(random() % 40000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY2(!WIFEXITED(status) || WEXITSTATUS(status) == 0, "the saving child failed");

        const std::string onDisk = ReadWholeFile(path);
        QVERIFY2(onDisk == first || onDisk == second,
                 qPrintable(
                     QStringLiteral("round %1: %2 bytes of neither content").arg(round).arg(onDisk.size())));
        (onDisk == first ? sawFirst : sawSecond)++;
        TDataFile loaded;
        loaded.LoadFromFile(path);
        QCOMPARE(loaded.SaveToBytes(), onDisk);
    }
    QCOMPARE(sawFirst + sawSecond, kills);

    // The next save clears what killed saves left, and nothing else: not a file of a running
    // process, nor one that only looks alike.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const QString abandoned = dir.filePath(QStringLiteral(".quillery-%1-3.tmp").arg(gone));
    const QString foreign = dir.filePath(QStringLiteral(".quillery-notes.tmp"));
    const QString live = dir.filePath(QStringLiteral(".quillery-%1-7.tmp").arg(getppid()));
    for (const QString& name : {abandoned, foreign, live}) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    WriteFileAtomically(path, first);
    QStringList left = LeftoverFiles(dir.path(), QStringLiteral("cards.lgd"));
    left.sort();
    QCOMPARE(left, (QStringList{QFileInfo(live).fileName(), QFileInfo(foreign).fileName()}));
}

void TestCrashSafe::failingWrite_data() {
    QTest::addColumn<qint64>("budget");
    QTest::newRow("nothing written") << qint64(0);
    QTest::newRow("part of the header") << qint64(10);
    QTest::newRow("most of the file") << qint64(100000);
}

void TestCrashSafe::failingWrite() {
    QFETCH(qint64, budget);
    QTemporaryDir dir;
    const std::string path = dir.filePath("cards.lgd").toStdString();
    const std::string old = MakeData(1, 2000).SaveToBytes();
    WriteFileAtomically(path, old);

    const TDataFile changed = MakeData(2, 2000);
    SetWriteFailureForTesting(budget);
    QString message;
    try {
        changed.SaveToFile(path);
    } catch (const EFileError& e) {
        message = QString::fromStdString(e.what());
    }
    SetWriteFailureForTesting(-1);
    QVERIFY2(message.startsWith(QStringLiteral("Cannot write file ") + QString::fromStdString(path)),
             qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("No space left on device")), qPrintable(message));
    QCOMPARE(ReadWholeFile(path), old);
    QCOMPARE(LeftoverFiles(dir.path(), QStringLiteral("cards.lgd")), QStringList());

    // The same save goes through once the device works again.
    changed.SaveToFile(path);
    QCOMPARE(ReadWholeFile(path), changed.SaveToBytes());
}

void TestCrashSafe::missingFolder() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("gone/cards.lgd").toStdString();
    try {
        TDataFile().SaveToFile(path);
        QFAIL("saving into a missing folder succeeded");
    } catch (const EFileError& e) {
        QCOMPARE(QString::fromStdString(e.what()),
                 QStringLiteral("Cannot create file %1: No such file or directory")
                     .arg(QString::fromStdString(path)));
    }
}

void TestCrashSafe::keepsPermissions() {
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.lgd");
    WriteFileAtomically(path.toStdString(), "old");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    MakeData(1, 3).SaveToFile(path.toStdString());
    // Owner, group and others bits only: the "user" bits describe whoever runs the test.
    QCOMPARE(QFile::permissions(path) & QFileDevice::Permissions(0x7077),
             QFile::ReadOwner | QFile::WriteOwner);
}

void TestCrashSafe::followsLink() {
    QTemporaryDir dir;
    const QString target = dir.filePath("real.lgd");
    const QString link = dir.filePath("link.lgd");
    WriteFileAtomically(target.toStdString(), "old");
    QVERIFY(QFile::link(target, link));
    const TDataFile data = MakeData(1, 3);
    data.SaveToFile(link.toStdString());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadWholeFile(target.toStdString()), data.SaveToBytes());
}

void TestCrashSafe::inPlace_data() {
    QTest::addColumn<bool>("foreignFile"); // else: a folder that takes no new file
    QTest::addColumn<int>("records");      // of the new content; the old one has 300
    QTest::addColumn<QString>("failure");  // "", "staging", "in place" or "size limit"
    for (bool foreign : {false, true}) {
        const char* where = foreign ? "file of another user" : "folder takes no new file";
        for (int records : {900, 100}) {
            const char* size = records > 300 ? "grows" : "shrinks";
            for (const char* failure : {"", "staging", "in place", "size limit"})
                QTest::addRow("%s, %s, %s", where, size, *failure ? failure : "works")
                    << foreign << records << QString::fromLatin1(failure);
        }
    }
}

// Where the new file could not keep the owner or could not be made, the file is written in place:
// only once the whole content is staged and flushed, with room reserved first, and with the old
// bytes put back should the write fail part way.
void TestCrashSafe::inPlace() {
    QFETCH(bool, foreignFile);
    QFETCH(int, records);
    QFETCH(QString, failure);
    const bool root = ::geteuid() == 0;
    if (foreignFile && !root)
        QSKIP("only the superuser can give a file to another user");
    QTemporaryDir dir;
    QTemporaryDir staging;
    const QString path = dir.filePath("cards.lgd");
    const std::string old = MakeData(1, 300).SaveToBytes();
    const TDataFile changed = MakeData(2, records);
    const std::string fresh = changed.SaveToBytes();
    WriteFileAtomically(path.toStdString(), old);
    uid_t saver = 0;
    QVERIFY(
        PrepareInPlaceSave(path, dir.path(), staging.path(), foreignFile, foreignFile ? 0666 : 0640, saver));
    struct stat before {};
    QCOMPARE(::stat(Path8(path).constData(), &before), 0);

    const QString outcome = OutcomeAs(saver, [&] {
        ::setenv("TMPDIR", Path8(staging.path()).constData(), 1);
        if (failure == "staging")
            SetWriteFailureForTesting(100);
        if (failure == "in place")
            SetWriteFailureForTesting(int64_t(fresh.size()) + 100);
        if (failure == "size limit") {
            IgnoreFileSizeSignal();
            const rlimit limit{old.size() + 1000, old.size() + 1000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        return SaveOutcome(changed, path);
    });
    QCOMPARE(::chmod(Path8(dir.path()).constData(), 0700), 0);

    QString expected;
    if (failure == "staging" || failure == "in place")
        expected = QStringLiteral("Cannot write file %1: No space left on device").arg(path);
    if (failure == "size limit" && fresh.size() > old.size())
        expected = QStringLiteral("Cannot write file %1: File too large").arg(path);
    QCOMPARE(outcome, expected);
    QCOMPARE(ReadWholeFile(path.toStdString()), expected.isEmpty() ? fresh : old);
    struct stat after {};
    QCOMPARE(::stat(Path8(path).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(LeftoverFiles(dir.path(), QStringLiteral("cards.lgd")), QStringList());
    QCOMPARE(LeftoverFiles(staging.path(), QString()), QStringList());
}

void TestCrashSafe::killedWhileSavingInPlace_data() {
    QTest::addColumn<bool>("foreignFile"); // else: a folder that takes no new file
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("kills");
    QTest::addColumn<int>("maxDelayMs"); // once the journal is there; a hundred times that from the start
    for (bool foreign : {true, false}) {
        const char* where = foreign ? "file of another user" : "folder takes no new file";
        QTest::addRow("%s, 3 MiB", where) << foreign << 20000 << 14 << 3;
        QTest::addRow("%s, 100 MiB", where) << foreign << 650000 << 3 << 40;
    }
}

// A save that must write in place is killed at random instants: every later open yields exactly
// the old content or the new, finishing the write from the journal where it had begun.
void TestCrashSafe::killedWhileSavingInPlace() {
    QFETCH(bool, foreignFile);
    QFETCH(int, records);
    QFETCH(int, kills);
    QFETCH(int, maxDelayMs);
    const bool root = ::geteuid() == 0;
    if (foreignFile && !root)
        QSKIP("only the superuser can give a file to another user");
    QTemporaryDir dir;
    QTemporaryDir staging;
    const QString path = dir.filePath("cards.lgd");
    const std::string first = MakeData(1, records).SaveToBytes();
    const std::string second = MakeData(2, records + 50).SaveToBytes();
    WriteFileAtomically(path.toStdString(), first);
    uid_t saver = 0;
    QVERIFY(PrepareInPlaceSave(path, dir.path(), staging.path(), foreignFile, 0666, saver));
    const QByteArray tmpdir = Path8(staging.path());
    struct stat info {};
    QCOMPARE(::stat(Path8(path).constData(), &info), 0);
    const QByteArray journal =
        Path8(foreignFile ? dir.path() : staging.path()) +
        QStringLiteral("/.quillery-%1-%2.journal").arg(info.st_dev).arg(info.st_ino).toUtf8();

    std::mt19937 random(20261208);
    int finishedSaves = 0;
    int sawFirst = 0;
    int sawSecond = 0;
    for (int round = 0; round < kills; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::setenv("TMPDIR", tmpdir.constData(), 1);
            const TActingUser acting(saver, saver);
            for (int i = 0; i < 200; ++i) {
                try {
                    WriteFileAtomically(path.toStdString(), i % 2 == 0 ? second : first);
                } catch (...) {
                    _exit(3);
                }
            }
            _exit(0);
        }
        // Every other round waits for the journal, so that many kills land while the file is
        // being overwritten; the others strike anywhere in the first save.
        if (round % 2 == 1) {
            QElapsedTimer waited;
            waited.start();
            while (::access(journal.constData(), F_OK) != 0 && waited.elapsed() < 20000)
                usleep(100);
            QVERIFY2(waited.elapsed() < 20000, "no journal appeared");
        }
        usleep(static_cast<useconds_t>(random() % (uint32_t(maxDelayMs) * (round % 2 == 1 ? 1000 : 100000))));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY2(!WIFEXITED(status) || WEXITSTATUS(status) == 0, "the saving child failed");

        // Opened as the saver, as the window or the command-line tool would.
        bool finished = false;
        const QString opened = OutcomeAs(saver, [&] {
            ::setenv("TMPDIR", tmpdir.constData(), 1);
            TDataFile loaded;
            try {
                loaded.LoadFromFile(path.toStdString(), {}, [&](const TMessage&) { finished = true; });
            } catch (const std::exception& e) {
                return QString::fromUtf8(e.what());
            }
            const std::string onDisk = ReadWholeFile(path.toStdString());
            if (loaded.SaveToBytes() != onDisk)
                return QStringLiteral("loaded other bytes than the file holds");
            const QString finishing = finished ? QStringLiteral(", finished") : QString();
            return onDisk == first    ? QStringLiteral("first") + finishing
                   : onDisk == second ? QStringLiteral("second") + finishing
                                      : QStringLiteral("%1 bytes of neither").arg(onDisk.size());
        });
        QVERIFY2(opened.startsWith("first") || opened.startsWith("second"),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(opened)));
        (opened.startsWith("first") ? sawFirst : sawSecond)++;
        finishedSaves += opened.endsWith(", finished") ? 1 : 0;
        QCOMPARE(QDir(dir.path()).entryList({"*.journal"}, QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(QDir(staging.path()).entryList({"*.journal"}, QDir::Files | QDir::Hidden), QStringList());
    }
    QCOMPARE(sawFirst + sawSecond, kills);
    qInfo("%d of %d kills left a write that the next open finished", finishedSaves, kills);
    QCOMPARE(::chmod(Path8(dir.path()).constData(), 0700), 0);
}

void TestCrashSafe::journalOnOpen_data() {
    QTest::addColumn<QString>("file");    // what the data file holds at the open: "old", "torn", "new"
    QTest::addColumn<QString>("journal"); // "whole", "other file", "changed content", "cut", "another user's"
    QTest::addColumn<bool>("finished");   // the open wrote the new content and said so
    QTest::newRow("killed before the first byte") << "old"
                                                  << "whole" << true;
    QTest::newRow("killed part way") << "torn"
                                     << "whole" << true;
    QTest::newRow("killed after the write") << "new"
                                            << "whole" << false;
    QTest::newRow("a journal of another file") << "old"
                                               << "other file" << false;
    QTest::newRow("a journal whose content changed") << "old"
                                                     << "changed content" << false;
    QTest::newRow("a journal cut short") << "old"
                                         << "cut" << false;
    QTest::newRow("another user's in the staging folder") << "old"
                                                          << "another user's" << false;
}

// What the next open does with a journal that a killed in-place save left, and with journals that
// are not that save's.
void TestCrashSafe::journalOnOpen() {
    QFETCH(QString, file);
    QFETCH(QString, journal);
    QFETCH(bool, finished);
    if (journal == "another user's" && ::geteuid() != 0)
        QSKIP("only the superuser can make a file of another user");
    QTemporaryDir dir;
    QTemporaryDir staging;
    const QString path = dir.filePath("cards.lgd");
    const std::string old = MakeData(1, 300).SaveToBytes();
    const std::string fresh = MakeData(2, 400).SaveToBytes();
    WriteFileAtomically(path.toStdString(), old);
    struct stat info {};
    QCOMPARE(::stat(Path8(path).constData(), &info), 0);
    if (journal == "other file")
        info.st_ino += 1;

    // The staged content, made a journal as a save does it, in the staging folder.
    const bool elsewhere = journal == "another user's";
    const QString stagedPath =
        (elsewhere ? staging.path() : dir.path()) + QStringLiteral("/.quillery-staged.tmp");
    {
        QFile staged(stagedPath);
        QVERIFY(staged.open(QIODevice::ReadWrite));
        staged.write(fresh.data(), qint64(fresh.size()));
        staged.flush();
        TContentDigest oldDigest;
        oldDigest.Add(old);
        TContentDigest newDigest;
        newDigest.Add(fresh);
        SaveJournal::Commit(staged.handle(), stagedPath.toStdString(), path.toStdString(), path.toStdString(),
                            info, oldDigest.Value(), newDigest.Value());
    }
    const QStringList journals =
        QDir(QFileInfo(stagedPath).path()).entryList({"*.journal"}, QDir::Files | QDir::Hidden);
    QCOMPARE(journals.size(), 1);
    const QString journalPath = QFileInfo(stagedPath).path() + QLatin1Char('/') + journals.first();
    if (journal == "changed content") {
        QFile changed(journalPath);
        QVERIFY(changed.open(QIODevice::ReadWrite));
        changed.seek(100);
        changed.write("X");
    }
    if (journal == "cut")
        QVERIFY(QFile::resize(journalPath, QFileInfo(journalPath).size() - 3));
    if (elsewhere)
        QCOMPARE(::chown(Path8(journalPath).constData(), kOwner, 0), 0);
    // In place, as the killed save wrote: the data file keeps its inode.
    if (file != "old") {
        QFile data(path);
        QVERIFY(data.open(QIODevice::ReadWrite));
        const std::string bytes = file == "new" ? fresh : fresh.substr(0, fresh.size() / 2);
        data.write(bytes.data(), qint64(bytes.size()));
    }
    const std::string before = ReadWholeFile(path.toStdString());

    ::setenv("TMPDIR", Path8(staging.path()).constData(), 1);
    QStringList told;
    TDataFile loaded;
    const QString outcome = ErrorOf([&] {
        loaded.LoadFromFile(path.toStdString(), {}, [&](const TMessage& message) {
            told << QString::fromStdString(message.English());
        });
    });
    ::unsetenv("TMPDIR");
    const bool followed = journal == "whole";
    QCOMPARE(outcome, QString());
    QCOMPARE(loaded.SaveToBytes(), ReadWholeFile(path.toStdString()));
    QCOMPARE(ReadWholeFile(path.toStdString()), followed ? fresh : before);
    QCOMPARE(told, finished ? QStringList{QStringLiteral("The last save of %1 was interrupted. Quillery has "
                                                         "finished it from the copy it kept.")
                                              .arg(path)}
                            : QStringList());
    QCOMPARE(QFileInfo::exists(journalPath), !followed);
}

QTEST_GUILESS_MAIN(TestCrashSafe)
#include "tst_crashsafe.moc"
