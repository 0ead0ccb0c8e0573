// SPDX-License-Identifier: GPL-3.0-or-later
// What quillery-cli does with files that are not what they seem, files it may not replace, and
// limits it runs into: refusals that come at once, and files kept as they were.

#include "cli/BooksFile.h"
#include "cli/CliRun.h"

#include "core/DataFile.h"
#include "core/FileEntries.h"
#include "core/FileIO.h"
#include "core/FileStamp.h"
#include "core/Password.h"
#include "core/PasswordCases.h"

#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Users and the group of a shared folder for the superuser's tests; no account needs to exist.
constexpr uid_t kOwner = 61001;
constexpr uid_t kColleague = 61002;
constexpr gid_t kTeam = 61000;
constexpr int kWatchdogMs = 20000;

const QString kCli = QStringLiteral(QUILLERY_BIN_DIR "/quillery-cli");

// Runs the tool as user with the team as its group; the superuser runs it as it is.
std::function<void()> AsUser(uid_t user) {
    return [user] {
        if (user == 0)
            return;
        const gid_t groups[] = {kTeam};
        if (::setgroups(1, groups) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0)
            ::_exit(111);
    };
}

// Runs the tool with stdin from standardInput and returns its exit status, standard error and
// the peak memory it used in KiB; -1 as status when it had to be killed.
int RunMeasured(const QStringList& arguments, const QString& standardInput, QByteArray& err, long& peakKiB) {
    QTemporaryFile errFile;
    if (!errFile.open())
        return -2;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, Path8(standardInput).constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, Path8(errFile.fileName()).constData(), O_WRONLY, 0);
    QList<QByteArray> args{Path8(kCli)};
    for (const QString& argument : arguments)
        args << argument.toUtf8();
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -2;
    int status = 0;
    rusage usage{};
    QElapsedTimer watchdog;
    watchdog.start();
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        if (watchdog.elapsed() > kWatchdogMs) {
            ::kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            return -1;
        }
        QThread::msleep(5);
    }
    err = ReadFile(errFile.fileName());
    peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FBooks; // a data file of 200 records, readable by everyone
    QString
        FSharedCli; // a copy of quillery-cli that the other users can reach, whatever folder the build is in
    QString FProtected; // the same with the password "pw"

    QString Fresh(const QString& name) {
        const QString path = FDir.filePath(name);
        QFile::remove(path);
        return path;
    }

private slots:
    void initTestCase();
    void ownershipAfterSaving_data();
    void ownershipAfterSaving();
    void readOnlyFileIsRefused_data();
    void readOnlyFileIsRefused();
    void longFileName();
    void fileSizeLimit();
    void resaveBetweenTwoWrites_data();
    void resaveBetweenTwoWrites();
    void notRegularFilesReturnAtOnce_data();
    void notRegularFilesReturnAtOnce();
    void largeInputInConstantMemory_data();
    void largeInputInConstantMemory();
    void passwordSpellings_data();
    void passwordSpellings();
};

void TestFileSafety::initTestCase() {
    QVERIFY(FDir.isValid());
    QVERIFY2(QFileInfo::exists(kCli), "quillery-cli is not built");
    QCOMPARE(::chmod(Path8(FDir.path()).constData(), 0755), 0);
    FBooks = FDir.filePath("books.lgd");
    MakeBooks(200).SaveToFile(FBooks.toStdString());
    TDataFile locked = MakeBooks(200);
    locked.PasswordDigest = PasswordDigest("pw");
    FProtected = FDir.filePath("protected.lgd");
    locked.SaveToFile(FProtected.toStdString());
    for (const QString& path : {FBooks, FProtected})
        QCOMPARE(::chmod(Path8(path).constData(), 0644), 0);
    FSharedCli = FDir.filePath("quillery-cli");
    QVERIFY(QFile::copy(kCli, FSharedCli));
    QCOMPARE(::chmod(Path8(FSharedCli).constData(), 0755), 0);
}

void TestFileSafety::ownershipAfterSaving_data() {
    QTest::addColumn<uint>("folderMode"); // the folder belongs to the owner and the team
    QTest::addColumn<uint>("fileOwner");
    QTest::addColumn<uint>("fileMode"); // the file's group is the team
    QTest::addColumn<uint>("saver");
    QTest::addColumn<bool>("refused");
    QTest::newRow("colleague saves the owner's shared file")
        << 0770u << uint(kOwner) << 0660u << uint(kColleague) << false;
    QTest::newRow("colleague saves a shared file of their own")
        << 0770u << uint(kColleague) << 0660u << uint(kColleague) << false;
    QTest::newRow("colleague saves where no new file may be made")
        << 0750u << uint(kOwner) << 0660u << uint(kColleague) << false;
    QTest::newRow("shared folder keeping its group")
        << 02770u << uint(kOwner) << 0640u << uint(kOwner) << false;
    QTest::newRow("superuser saves the owner's file") << 0770u << uint(kOwner) << 0660u << 0u << false;
    QTest::newRow("colleague without group write")
        << 0770u << uint(kOwner) << 0640u << uint(kColleague) << true;
    QTest::newRow("superuser and no write bit") << 0770u << uint(kOwner) << 0444u << 0u << true;
}

// Saving keeps the file's owner, group and mode, whoever saves it; what the saver may not write is
// refused and stays as it was.
void TestFileSafety::ownershipAfterSaving() {
    QFETCH(uint, folderMode);
    QFETCH(uint, fileOwner);
    QFETCH(uint, fileMode);
    QFETCH(uint, saver);
    QFETCH(bool, refused);
    if (::geteuid() != 0)
        QSKIP("files of other users and groups need the superuser to set up");
    const QString folder = FDir.filePath("shared");
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkdir(folder));
    const QString staging = FDir.filePath("staging");
    QDir(staging).removeRecursively();
    QVERIFY(QDir().mkdir(staging));
    QCOMPARE(::chmod(Path8(staging).constData(), 01777), 0);
    const QString path = folder + "/cards.lgd";
    const QByteArray old = QByteArray::fromStdString(MakeBooks(3, "old").SaveToBytes());
    WriteFile(path, old);
    QCOMPARE(::chown(Path8(path).constData(), fileOwner, kTeam), 0);
    QCOMPARE(::chmod(Path8(path).constData(), fileMode), 0);
    QCOMPARE(::chown(Path8(folder).constData(), kOwner, kTeam), 0);
    QCOMPARE(::chmod(Path8(folder).constData(), folderMode), 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    qputenv("TMPDIR", Path8(staging));
    const TRun run =
        RunProgram(FSharedCli, {"resave", FBooks, path}, QByteArray(), AsUser(saver), kWatchdogMs);
    qputenv("TMPDIR", environment.value("TMPDIR").toLocal8Bit());
    if (!environment.contains("TMPDIR"))
        qunsetenv("TMPDIR");

    if (refused) {
        QCOMPARE(run.Err, "Cannot write file " + Path8(path) + ": it is read-only.\n");
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(ReadFile(path), old);
    } else {
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(ReadFile(path), ReadFile(FBooks));
    }
    struct stat info {};
    QCOMPARE(::stat(Path8(path).constData(), &info), 0);
    QCOMPARE(uint(info.st_uid), fileOwner);
    QCOMPARE(uint(info.st_gid), uint(kTeam));
    QCOMPARE(uint(info.st_mode & 07777), fileMode);
    QCOMPARE(Entries(folder), QStringList{"cards.lgd"});
    QCOMPARE(Entries(staging), QStringList());
}

void TestFileSafety::readOnlyFileIsRefused_data() {
    QTest::addColumn<uint>("mode");
    for (uint mode : {0444u, 0400u, 0500u})
        QTest::addRow("%o", mode) << mode;
}

// The file the resave would replace has no write permission: refused, kept, and the refusal holds
// for the superuser too.
void TestFileSafety::readOnlyFileIsRefused() {
    QFETCH(uint, mode);
    const QString out = Fresh("read-only.lgd");
    const QByteArray old = QByteArray::fromStdString(MakeBooks(1, "old").SaveToBytes());
    WriteFile(out, old);
    QVERIFY(!IsReadOnlyFile(out.toStdString()));
    QCOMPARE(::chmod(Path8(out).constData(), mode), 0);
    QVERIFY(IsReadOnlyFile(out.toStdString()));
    const TRun run = RunCli({"resave", FBooks, out});
    QCOMPARE(run.Err, "Cannot write file " + Path8(out) + ": it is read-only.\n");
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(ReadFile(out), old);
    QCOMPARE(::chmod(Path8(out).constData(), 0644), 0);
    QCOMPARE(RunCli({"resave", FBooks, out}).ExitCode, 0);
    QCOMPARE(ReadFile(out), ReadFile(FBooks));
}

// A name of 240 bytes opens and saves, again and again.
void TestFileSafety::longFileName() {
    const QString out = Fresh(QString(236, QLatin1Char('b')) + ".lgd");
    for (int round = 0; round < 2; ++round) {
        const TRun run = RunCli({"resave", FBooks, out});
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
    }
    QCOMPARE(ReadFile(out), ReadFile(FBooks));
    const TRun info = RunCli({"info", out});
    QCOMPARE(info.ExitCode, 0);
    QVERIFY(info.Out.contains("records 200"));
}

// Beyond the file-size limit the write fails with its error instead of killing the tool, and the
// file it was to replace stays.
void TestFileSafety::fileSizeLimit() {
    const QString out = Fresh("limited.lgd");
    const QByteArray old = QByteArray::fromStdString(MakeBooks(1, "old").SaveToBytes());
    WriteFile(out, old);
    QVERIFY(QFileInfo(FBooks).size() > 4096);
    const TRun run = RunCli({"resave", FBooks, out}, QByteArray(), [] {
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    QCOMPARE(run.Err, "Cannot write file " + Path8(out) + ": File too large\n");
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(ReadFile(out), old);
    QCOMPARE(Entries(FDir.path()).filter(".quillery-"), QStringList());
}

void TestFileSafety::resaveBetweenTwoWrites_data() {
    QTest::addColumn<bool>("otherContent");
    QTest::newRow("another file resaved over it") << true;
    QTest::newRow("the file resaved onto itself") << false;
}

// The program loads a file and writes it; the tool resaves it meanwhile; before its next write
// the program finds out whether the file still holds what it wrote.
void TestFileSafety::resaveBetweenTwoWrites() {
    QFETCH(bool, otherContent);
    const QString path = Fresh("shared-edit.lgd");
    MakeBooks(5).SaveToFile(path.toStdString());
    TDataFile window;
    const TFileStamp read = window.LoadFromFile(path.toStdString());
    QVERIFY(!ChangedSince(path.toStdString(), read));
    window.Categories[0]->Name = "Novels";
    const TFileStamp written = window.SaveToFile(path.toStdString());
    QVERIFY(ChangedSince(path.toStdString(), read));
    QVERIFY(!ChangedSince(path.toStdString(), written));

    const TRun run = RunCli({"resave", otherContent ? FBooks : path, path});
    QCOMPARE(run.Err, QByteArray());
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(ChangedSince(path.toStdString(), written), otherContent);

    // Replacing it with the program's data makes the stamp current again.
    const TFileStamp again = window.SaveToFile(path.toStdString());
    QVERIFY(!ChangedSince(path.toStdString(), again));
}

void TestFileSafety::notRegularFilesReturnAtOnce_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("role"); // "data file", "password file" or "resave output"
    // A device is never offered as an output: replacing one is what must not happen.
    for (const char* kind : kEntryKinds)
        for (const char* role : {"data file", "password file", "resave output"})
            if (QByteArray(kind) != "link to device" || QByteArray(role) != "resave output")
                QTest::addRow("%s as %s", kind, role)
                    << QString::fromLatin1(kind) << QString::fromLatin1(role);
}

// Only regular files are read or replaced; the refusal comes at once, also for a FIFO that no
// program writes to.
void TestFileSafety::notRegularFilesReturnAtOnce() {
    QFETCH(QString, kind);
    QFETCH(QString, role);
    const QString path = Fresh("entry-" + QString(kind).replace(' ', '-'));
    QDir(path).removeRecursively();
    QVERIFY(MakeEntry(kind, path));

    QStringList arguments{"info", path};
    QByteArray message = "Cannot open file " + Path8(path) + ": it is not a regular file.\n";
    if (role == "password file") {
        arguments = QStringList{"dump", FProtected, "--password-file", path};
    } else if (role == "resave output") {
        arguments = QStringList{"resave", FBooks, path};
        message = "Cannot create file " + Path8(path) + ": it is not a regular file.\n";
    }
    const TRun run = RunCli(arguments, QByteArray(), nullptr, kWatchdogMs);
    QVERIFY2(!run.TimedOut, "quillery-cli hung");
    QCOMPARE(run.Err, message);
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Out, QByteArray());
    QVERIFY(!QFileInfo(path).isFile() || QFileInfo(path).isSymLink());
    QVERIFY(!IsReadOnlyFile(path.toStdString()));
}

void TestFileSafety::largeInputInConstantMemory_data() {
    QTest::addColumn<QString>("input"); // "data file", "password file" or "standard input"
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("1 GB data file of zeros")
        << "data file" << QByteArray("This is not a Quillery file. (DataLedgrin, line 91)\n");
    QTest::newRow("1 GB password file without a line end")
        << "password file" << QByteArray("Password error.\n");
    QTest::newRow("endless standard input") << "standard input" << QByteArray("Password error.\n");
}

// What is not a data file or a password is refused from its first bytes, however large it is: the
// tool's peak memory stays that of a small file.
void TestFileSafety::largeInputInConstantMemory() {
    QFETCH(QString, input);
    QFETCH(QByteArray, message);
    const QString big = Fresh("big.bin");
    WriteFile(big, QByteArray());
    if (::truncate(Path8(big).constData(), off_t(1) << 30) != 0)
        QSKIP("the file system takes no sparse file this large");

    QByteArray err;
    long baselineKiB = 0;
    QCOMPARE(RunMeasured({"info", FBooks}, "/dev/null", err, baselineKiB), 0);
    QStringList arguments{"info", big};
    QString standardInput = "/dev/null";
    if (input == "password file")
        arguments = QStringList{"dump", FProtected, "--password-file", big};
    if (input == "standard input") {
        arguments = QStringList{"dump", FProtected};
        standardInput = "/dev/zero";
    }
    long peakKiB = 0;
    const int status = RunMeasured(arguments, standardInput, err, peakKiB);
    QVERIFY2(status != -1, "quillery-cli hung");
    QCOMPARE(err, message);
    QCOMPARE(status, 1);
    qDebug("peak %ld KiB, a small file's %ld KiB", peakKiB, baselineKiB);
    QVERIFY2(peakKiB - baselineKiB < 16 * 1024,
             qPrintable(QStringLiteral("peak %1 KiB against %2 KiB").arg(peakKiB).arg(baselineKiB)));
}

void TestFileSafety::passwordSpellings_data() {
    AddPasswordRuleCases();
}

// The tool accepts exactly the passwords the program accepts.
void TestFileSafety::passwordSpellings() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    TDataFile data = MakeBooks(2);
    data.PasswordDigest = PasswordDigest(stored.toStdString());
    const QString path = Fresh("spelling.lgd");
    data.SaveToFile(path.toStdString());
    const QString passwordFile = Fresh("spelling.pw");
    WriteFile(passwordFile, typed.toUtf8() + '\n');
    for (const QStringList& arguments : {QStringList{"list", path, "Books", "--password-file", passwordFile},
                                         QStringList{"list", path, "Books"}}) {
        const TRun run = RunCli(arguments, arguments.size() == 3 ? typed.toUtf8() + '\n' : QByteArray());
        QCOMPARE(run.Err, matches ? QByteArray() : QByteArray("Password error.\n"));
        QCOMPARE(run.ExitCode, matches ? 0 : 1);
        QCOMPARE(run.Out, matches ? QByteArray("Title\ntitle 0\ntitle 1\n") : QByteArray());
    }
}

QTEST_GUILESS_MAIN(TestFileSafety)
#include "tst_filesafety.moc"
