// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving data files on disk: the bytes, the errors, and what a failed save leaves.

#include "core/DataBytes.h"
#include "core/DataFile.h"
#include "core/Error.h"
#include "core/FileEntries.h"
#include "core/ReadAhead.h"
#include "core/Stream.h"
#include "support/ActingUser.h"

#include <QtTest>

#include <atomic>

#include <sys/stat.h>

namespace {

// A file with two categories, unlike whatever a test puts on disk before saving it.
TDataFile SampleData() {
    TDataFile data;
    const QByteArray bytes = Layout::Encode(Layout::SampleFile());
    TStreamReader reader(std::string_view(bytes.constData(), size_t(bytes.size())));
    data.LoadFromStream(reader);
    return data;
}

// Whether the permission bits of a folder are enforced for this process (not so for root).
bool FolderPermissionsEnforced(const QString& folder) {
    QFile probe(folder + "/probe");
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.close();
    probe.remove();
    return false;
}

QString OutcomeOfSave(const TDataFile& data, const QString& path) {
    return ErrorOf([&] { data.SaveToFile(path.toStdString()); });
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT

private slots:
    void fixture();
    void saveAndLoad();
    void loadFailures_data();
    void loadFailures();
    void emptyPath();
    void unreadableFile();
    void saveIntoMissingFolder();
    void saveIntoReadOnlyFolder();
    void saveOverFolder();
    void keepsPermissions_data();
    void keepsPermissions();
    void foreignFileInConstantMemory_data();
    void foreignFileInConstantMemory();
    void dataFileReadThroughAWindow_data();
    void dataFileReadThroughAWindow();
    void readAheadFailures_data();
    void readAheadFailures();
    void bytesBeyondTheFormatAreNotRead_data();
    void bytesBeyondTheFormatAreNotRead();
};

// The committed sample is the layout, byte for byte, and the store reads and writes it unchanged.
void TestDataFile::fixture() {
    const QString path = QStringLiteral(QUILLERY_TEST_DATA "/format/sample.lgd");
    const QByteArray bytes = ReadFile(path);
    QCOMPARE(bytes, Layout::Encode(Layout::SampleFile()));
    TDataFile data;
    QCOMPARE(ErrorOf([&] { data.LoadFromFile(path.toStdString()); }), QString());
    QCOMPARE(data.Categories.size(), size_t(2));
    QCOMPARE(data.Categories[1]->Name, std::string("Books \xC3\xA9"));
    QCOMPARE(QByteArray::fromStdString(data.SaveToBytes()), bytes);
}

void TestDataFile::saveAndLoad() {
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.lgd");
    const TDataFile data = SampleData();
    QCOMPARE(OutcomeOfSave(data, path), QString());
    QCOMPARE(ReadFile(path), Layout::Encode(Layout::SampleFile()));
    QCOMPARE(Entries(dir.path()), QStringList{"cards.lgd"});

    // Saving again replaces the whole file, also when the new one is shorter.
    TDataFile empty;
    QCOMPARE(OutcomeOfSave(empty, path), QString());
    QCOMPARE(ReadFile(path), Layout::Encode(Layout::File()));

    TDataFile loaded;
    QCOMPARE(ErrorOf([&] { loaded.LoadFromFile(path.toStdString()); }), QString());
    QVERIFY(loaded.Categories.empty());
    QCOMPARE(Entries(dir.path()), QStringList{"cards.lgd"});
}

void TestDataFile::loadFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: not created
    QTest::addColumn<QString>("outcome");
    QTest::newRow("missing file") << "missing.lgd" << QByteArray()
                                  << "EFileError: Cannot open file %1: No such file or directory";
    QTest::newRow("missing folder") << "gone/cards.lgd" << QByteArray()
                                    << "EFileError: Cannot open file %1: No such file or directory";
    QTest::newRow("folder") << "folder.lgd" << QByteArray()
                            << "EFileError: Cannot open file %1: it is not a regular file.";
    QTest::newRow("empty file") << "empty.lgd" << QByteArray("") << kStreamReadErrorText;
    QTest::newRow("not a data file")
        << "notes.txt" << QByteArray("hello world\n")
        << "EAssertionFailed: This is not a Quillery file. (DataLedgrin, line 91)";
    QTest::newRow("truncated") << "cut.lgd" << Layout::Encode(Layout::SampleFile()).left(100)
                               << kStreamReadErrorText;
}

void TestDataFile::loadFailures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (name == "folder.lgd")
        QVERIFY(QDir(dir.path()).mkdir(name));
    else if (!content.isNull())
        WriteFile(path, content);
    TDataFile data;
    QCOMPARE(ErrorOf([&] { data.LoadFromFile(path.toStdString()); }), outcome.arg(path));
    if (!content.isNull())
        QCOMPARE(ReadFile(path), content);
}

void TestDataFile::emptyPath() {
    TDataFile data;
    const QString load = ErrorOf([&] { data.LoadFromFile(""); });
    const QString save = ErrorOf([&] { data.SaveToFile(""); });
    QVERIFY2(load.startsWith("EAssertionFailed: Assertion failure (DataLedgrin, line "), qPrintable(load));
    QVERIFY2(save.startsWith("EAssertionFailed: Assertion failure (DataLedgrin, line "), qPrintable(save));
}

void TestDataFile::unreadableFile() {
    const TActingUser plainUser;
    if (!plainUser.Problem().isEmpty())
        QSKIP(qPrintable(plainUser.Problem()));
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.lgd");
    WriteFile(path, Layout::Encode(Layout::File()));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    if (QFile(path).open(QIODevice::ReadOnly))
        QSKIP("file permissions are not enforced for this user");
    TDataFile data;
    QCOMPARE(ErrorOf([&] { data.LoadFromFile(path.toStdString()); }),
             QStringLiteral("EFileError: Cannot open file %1: Permission denied").arg(path));
}

void TestDataFile::saveIntoMissingFolder() {
    QTemporaryDir dir;
    const QString path = dir.filePath("gone/cards.lgd");
    QCOMPARE(OutcomeOfSave(SampleData(), path),
             QStringLiteral("EFileError: Cannot create file %1: No such file or directory").arg(path));
    QCOMPARE(Entries(dir.path()), QStringList());
}

// A folder that takes no new file gets none: the save fails and leaves the folder as it was. (A
// file that is there already is written in place instead, as the crash-safety tests show.)
void TestDataFile::saveIntoReadOnlyFolder() {
    const TActingUser plainUser;
    if (!plainUser.Problem().isEmpty())
        QSKIP(qPrintable(plainUser.Problem()));
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.lgd");
    const QString other = dir.filePath("other.lgd");
    const QByteArray old = Layout::Encode(Layout::File());
    WriteFile(other, old);
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool enforced = FolderPermissionsEnforced(dir.path());
    QString outcome;
    if (enforced)
        outcome = OutcomeOfSave(SampleData(), path);
    QVERIFY(QFile::setPermissions(dir.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    if (!enforced)
        QSKIP("folder permissions are not enforced for this user");
    QCOMPARE(outcome, QStringLiteral("EFileError: Cannot create file %1: Permission denied").arg(path));
    QCOMPARE(ReadFile(other), old);
    QCOMPARE(Entries(dir.path()), QStringList{"other.lgd"});
}

// The rename cannot replace a folder: the save fails, and neither the folder nor a temporary file
// is left changed or behind.
void TestDataFile::saveOverFolder() {
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.lgd");
    QVERIFY(QDir(dir.path()).mkdir("cards.lgd"));
    WriteFile(path + "/inside", "kept");
    const QString outcome = OutcomeOfSave(SampleData(), path);
    QVERIFY2(outcome.startsWith("EFileError: "), qPrintable(outcome));
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(ReadFile(path + "/inside"), QByteArray("kept"));
    QCOMPARE(Entries(dir.path()), QStringList{"cards.lgd"});
}

void TestDataFile::keepsPermissions_data() {
    QTest::addColumn<uint>("mode");
    for (uint mode : {0600u, 0640u, 0604u, 0660u, 0644u, 0755u, 02660u, 0200u})
        QTest::addRow("%o", mode) << mode;
}

void TestDataFile::keepsPermissions() {
    QFETCH(uint, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.lgd");
    WriteFile(path, "old");
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
    QCOMPARE(OutcomeOfSave(SampleData(), path), QString());
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QCOMPARE(uint(info.st_mode & 07777), mode);
    QCOMPARE(ReadFile(path), Layout::Encode(Layout::SampleFile()));
}

void TestDataFile::foreignFileInConstantMemory_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("outcome");
    const QString notOurs = "EAssertionFailed: This is not a Quillery file. (DataLedgrin, line 91)";
    QTest::newRow("1 GB of zeros") << (qint64(1) << 30) << QByteArray() << notOurs;
    QTest::newRow("40 GB of zeros") << (qint64(40) << 30) << QByteArray() << notOurs;
    QTest::newRow("1 GB, a zip package") << (qint64(1) << 30) << QByteArray("PK\x03\x04") << notOurs;
    QTest::newRow("1 GB, a newer version")
        << (qint64(1) << 30) << QByteArray("\x38\x56\x4C\x05\x02\0\0\0", 8)
        << "EAssertionFailed: Data file version incompatible. (DataLedgrin, line 93)";
}

// A large file that is not a data file is refused from its header, without reading the rest.
void TestDataFile::foreignFileInConstantMemory() {
    QFETCH(qint64, size);
    QFETCH(QByteArray, head);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.lgd");
    WriteFile(path, head);
    if (::truncate(Path8(path).constData(), off_t(size)) != 0)
        QSKIP("the file system takes no sparse file this large");
    QString error;
    const size_t largest = LargestAllocationDuring([&] {
        TDataFile data;
        error = ErrorOf([&] { data.LoadFromFile(path.toStdString()); });
    });
    QCOMPARE(error, outcome);
    QVERIFY2(largest < 64 * 1024, qPrintable(QString::number(largest)));
}

void TestDataFile::dataFileReadThroughAWindow_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("valueBytes");
    QTest::addColumn<int>("largeValueBytes");
    // Values that straddle the reads' boundaries in every way, and one larger than a read.
    QTest::newRow("many small records") << 120000 << 97 << 0;
    QTest::newRow("records of a few pages") << 1500 << 9001 << 0;
    QTest::newRow("a value larger than a read") << 1500 << 9001 << (3 << 20) + 5;
}

// A data file is read through a window of a few reads, whose bytes the records copy: no buffer
// near the file's size, the same records as written, and the digest of every byte for the stamp.
void TestDataFile::dataFileReadThroughAWindow() {
    QFETCH(int, records);
    QFETCH(int, valueBytes);
    QFETCH(int, largeValueBytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.lgd");
    TDataFile data = SampleData();
    TCategory& category = *data.Categories[0];
    for (int i = 0; i < records; ++i) {
        TRecord* r = category.NewRecord();
        r->Append(std::to_string(i));
        r->Append(std::string(size_t(valueBytes + i % 7), char('a' + i % 26)));
        if (i == records / 2 && largeValueBytes > 0)
            r->Append(std::string(size_t(largeValueBytes), 'L'));
    }
    QCOMPARE(OutcomeOfSave(data, path), QString());
    const qint64 size = QFileInfo(path).size();
    QVERIFY(size > 12 << 20);
    TDataFile loaded;
    TFileStamp stamp;
    const size_t largest = LargestAllocationDuring(
        [&] { QCOMPARE(ErrorOf([&] { stamp = loaded.LoadFromFile(path.toStdString()); }), QString()); });
    QVERIFY2(largest < size_t(size) / 2,
             qPrintable(QStringLiteral("%1 for %2 bytes").arg(largest).arg(size)));
    QCOMPARE(loaded.SaveToBytes(), data.SaveToBytes());
    const TFileStamp now = StampOf(path.toStdString());
    QCOMPARE(stamp.DigestedSize, uint64_t(size));
    QCOMPARE(stamp.Digest, now.Digest);
    QVERIFY(!ChangedSince(path.toStdString(), stamp));
}

void TestDataFile::readAheadFailures_data() {
    QTest::addColumn<qint64>("stopAt");
    QTest::addColumn<bool>("failing");
    // The file is read on another thread in pieces after its eight-byte header.
    constexpr qint64 kPiece = TReadAheadSource::kPieceBytes;
    QTest::newRow("read error in the first piece") << qint64(1000) << true;
    QTest::newRow("read error at the end of a piece") << 8 + 3 * kPiece << true;
    QTest::newRow("read error in the last piece") << qint64(-10) << true;
    QTest::newRow("file ends early") << 8 + kPiece + 77 << false;
    QTest::newRow("file read whole") << qint64(-1) << false;
}

// The thread that reads ahead hands its read errors, and an end that comes too soon, to the
// loader, which fails with them as a read on its own thread would.
void TestDataFile::readAheadFailures() {
    QFETCH(qint64, stopAt);
    QFETCH(bool, failing);
    TDataFile data = SampleData();
    for (int i = 0; i < 8000; ++i)
        data.Categories[0]->NewRecord()->Append(std::string(size_t(300 + i % 11), char('a' + i % 26)));
    const std::string bytes = data.SaveToBytes();
    const size_t stop = stopAt < 0 ? bytes.size() + 1 + size_t(stopAt) : size_t(stopAt);
    const EFileError readError(kCannotReadFile, {"cards.lgd", "Input/output error"});
    size_t at = TDataFile::kHeaderSize;
    const auto read = [&](char* to, size_t size) -> size_t {
        if (at >= stop && failing)
            throw readError;
        const size_t count = std::min({size, stop - std::min(stop, at), bytes.size() - at});
        std::memcpy(to, bytes.data() + at, count);
        at += count;
        return count;
    };
    // Spare work that says there is more twice in three calls, while the loader is behind.
    std::atomic<size_t> spareCalls{0};
    std::atomic<size_t> mostLeft{0};
    const auto spareWork = [&](size_t left) {
        mostLeft = std::max<size_t>(mostLeft, left);
        return ++spareCalls % 3 != 0;
    };
    const std::string_view header(bytes.data(), TDataFile::kHeaderSize);
    TReadAheadSource source(read, header, bytes.size(), spareWork);
    TStreamReader stream(source, header, source.Total());
    TDataFile loaded;
    const QString error = ErrorOf([&] { loaded.LoadFromStream(stream); });

    TDataFile cut;
    TStreamReader cutStream(std::string_view(bytes).substr(0, stop));
    const QString expected =
        failing ? ErrorOf([&] { throw readError; }) : ErrorOf([&] { cut.LoadFromStream(cutStream); });
    QCOMPARE(expected.isEmpty(), stop >= bytes.size());
    QCOMPARE(error, expected);
    if (expected.isEmpty())
        QCOMPARE(loaded.SaveToBytes(), bytes);
    QVERIFY(mostLeft <= bytes.size());
}

void TestDataFile::bytesBeyondTheFormatAreNotRead_data() {
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<int>("categories");
    QTest::newRow("a whole file") << Layout::Encode(Layout::SampleFile()) << 2;
    QTest::newRow("a header alone") << Layout::Encode(Layout::File()).left(8) << 0;
}

// A file whose valid start is followed by gigabytes the format does not describe is read only as
// far as its counts go: it loads at once and in little memory.
void TestDataFile::bytesBeyondTheFormatAreNotRead() {
    QFETCH(QByteArray, head);
    QFETCH(int, categories);
    QTemporaryDir dir;
    const QString path = dir.filePath("tail.lgd");
    WriteFile(path, head);
    if (::truncate(Path8(path).constData(), off_t(4) << 30) != 0)
        QSKIP("the file system takes no sparse file this large");
    TDataFile data;
    QString error;
    const size_t largest =
        LargestAllocationDuring([&] { error = ErrorOf([&] { data.LoadFromFile(path.toStdString()); }); });
    QCOMPARE(error, QString());
    QCOMPARE(int(data.Categories.size()), categories);
    QVERIFY2(largest < (16 << 20), qPrintable(QString::number(largest)));
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_file.moc"
