// SPDX-License-Identifier: GPL-3.0-or-later
// File stamps: the digest of a file's bytes, fed in any pieces, and the check whether a data file
// has changed since it was read or written.

#include "core/DataFile.h"
#include "core/FileEntries.h"
#include "core/FileIO.h"
#include "core/FileStamp.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

uint64_t DigestInPieces(const QByteArray& bytes, const QList<int>& cuts) {
    TContentDigest digest;
    int from = 0;
    for (int cut : cuts) {
        digest.Add(std::string_view(bytes.constData() + from, size_t(cut - from)));
        from = cut;
    }
    digest.Add(std::string_view(bytes.constData() + from, size_t(bytes.size() - from)));
    return digest.Value();
}

// Overwrites the start of the file at path in place, keeping its size.
void Scribble(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QCOMPARE(file.write(bytes), bytes.size());
}

TDataFile Sample(const std::string& name) {
    TDataFile data;
    data.AddCategory()->Name = name;
    return data;
}

using Action = std::function<void(const QString& path)>;

} // namespace

Q_DECLARE_METATYPE(Action)

class TestStamp : public QObject {
    Q_OBJECT

private slots:
    void digestInPieces_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("cuts");
        QByteArray long100(100, 'x');
        for (int i = 0; i < long100.size(); ++i)
            long100[i] = char(i * 7);
        QTest::newRow("empty") << QByteArray() << QList<int>{0};
        QTest::newRow("short, byte by byte") << QByteArray("abcdefg") << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("one block and a tail") << long100.left(41) << QList<int>{32};
        QTest::newRow("across blocks") << long100 << QList<int>{5, 31, 33, 64, 65, 99};
        QTest::newRow("empty pieces") << long100 << QList<int>{0, 0, 50, 50, 100};
    }
    void digestInPieces() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, cuts);
        QCOMPARE(DigestInPieces(bytes, cuts), DigestInPieces(bytes, {}));
    }

    // Every length and every single changed bit gives another digest.
    void digestTellsContentsApart() {
        QByteArray bytes(80, '\0');
        QSet<quint64> seen;
        for (int length = 0; length <= bytes.size(); ++length)
            seen.insert(DigestInPieces(bytes.left(length), {}));
        for (int bit = 0; bit < bytes.size() * 8; ++bit) {
            QByteArray flipped = bytes;
            flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
            seen.insert(DigestInPieces(flipped, {}));
        }
        QCOMPARE(seen.size(), bytes.size() + 1 + bytes.size() * 8);
    }

    // The stamps that loading and saving return are those of the file as it is.
    void loadAndSaveReturnTheFilesStamp() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("cards.lgd").toStdString();
        const TFileStamp saved = Sample("Books").SaveToFile(path);
        TDataFile loaded;
        const TFileStamp read = loaded.LoadFromFile(path);
        const TFileStamp now = StampOf(path);
        for (const TFileStamp& stamp : {saved, read}) {
            QVERIFY(stamp.Exists);
            QCOMPARE(stamp.Size, now.Size);
            QCOMPARE(stamp.Device, now.Device);
            QCOMPARE(stamp.Inode, now.Inode);
            QCOMPARE(stamp.ModifiedNs, now.ModifiedNs);
            QCOMPARE(stamp.ChangedNs, now.ChangedNs);
            QCOMPARE(stamp.Digest, now.Digest);
            QVERIFY(!ChangedSince(path, stamp));
        }
        QCOMPARE(now.Digest, DigestInPieces(QByteArray::fromStdString(Sample("Books").SaveToBytes()), {}));
    }

    void changedSince_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("changed");
        QTest::newRow("nothing") << Action([](const QString&) {}) << false;
        QTest::newRow("the same bytes saved again")
            << Action([](const QString& p) { Sample("Books").SaveToFile(p.toStdString()); }) << false;
        QTest::newRow("touched") << Action([](const QString& p) {
            const timespec later[2] = {{0, UTIME_OMIT}, {time(nullptr) + 5, 0}};
            QCOMPARE(::utimensat(AT_FDCWD, Path8(p).constData(), later, 0), 0);
        }) << false;
        QTest::newRow("permissions changed")
            << Action([](const QString& p) { QCOMPARE(::chmod(Path8(p).constData(), 0640), 0); }) << false;
        QTest::newRow("another content saved")
            << Action([](const QString& p) { Sample("Films").SaveToFile(p.toStdString()); }) << true;
        QTest::newRow("a byte appended") << Action([](const QString& p) {
            QFile file(p);
            QVERIFY(file.open(QIODevice::Append));
            file.write("x");
        }) << true;
        QTest::newRow("same size, other bytes, old times put back") << Action([](const QString& p) {
            struct stat info {};
            QCOMPARE(::stat(Path8(p).constData(), &info), 0);
            Scribble(p, "\x01");
            const timespec times[2] = {info.st_atim, info.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, Path8(p).constData(), times, 0), 0);
        }) << true;
        QTest::newRow("removed") << Action([](const QString& p) { QVERIFY(QFile::remove(p)); }) << true;
        QTest::newRow("a folder in its place") << Action([](const QString& p) {
            QVERIFY(QFile::remove(p));
            QVERIFY(QDir().mkdir(p));
        }) << true;
    }
    void changedSince() {
        QFETCH(Action, action);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString path = dir.filePath("cards.lgd");
        const TFileStamp stamp = Sample("Books").SaveToFile(path.toStdString());
        action(path);
        QCOMPARE(ChangedSince(path.toStdString(), stamp), changed);
    }

    // A file that did not exist yet (a new data file) has changed once one appears.
    void missingFile() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("new.lgd").toStdString();
        const TFileStamp stamp = StampOf(path);
        QVERIFY(!stamp.Exists);
        QVERIFY(!ChangedSince(path, stamp));
        Sample("Books").SaveToFile(path);
        QVERIFY(ChangedSince(path, stamp));
    }

    // A write soon after the stamp may leave every time as it was: the bytes then decide. Only a
    // stamp whose times had settled is trusted on its metadata alone.
    void timesWithinTheirGranularity() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("cards.lgd").toStdString();
        const TFileStamp saved = Sample("Books").SaveToFile(path);
        QVERIFY(!saved.Settled);
        Scribble(QString::fromStdString(path), "\x01");
        // The metadata as the write left it, with the digest of the bytes before it.
        TFileStamp sameTimes = StampOf(path);
        sameTimes.Digest = saved.Digest;
        sameTimes.Settled = false;
        QVERIFY(ChangedSince(path, sameTimes));
        sameTimes.Settled = true;
        QVERIFY(!ChangedSince(path, sameTimes));

        struct stat info {};
        QCOMPARE(::stat(path.c_str(), &info), 0);
        const timespec old[2] = {{info.st_atim.tv_sec - 60, 0}, {info.st_mtim.tv_sec - 60, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);
        QVERIFY(!StampOf(path).Settled); // the status change time is still recent
    }
};

QTEST_GUILESS_MAIN(TestStamp)
#include "tst_stamp.moc"
