// Saving survives being killed at any moment and failing part way: the data file on disk is always
// either the old content or the new, byte for byte, and a failed save leaves nothing behind.
#include "core/Error.h"
#include "core/FileIO.h"
#include "core/Ledgrin.h"

#include <QtTest>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A data file of some size whose content depends on variant, so two variants differ throughout.
TLedgrin MakeData(int variant, int records) {
    TLedgrin data;
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
        TLedgrin loaded;
        loaded.LoadFromFile(path);
        QCOMPARE(loaded.SaveToBytes(), onDisk);
    }
    QCOMPARE(sawFirst + sawSecond, kills);

    // The next save clears what the killed saves left beside the file, and nothing else.
    const QString foreign = dir.filePath(QStringLiteral("cards.lgd.tmp-notes"));
    const QString live = dir.filePath(QStringLiteral("cards.lgd.tmp%1-7").arg(getppid()));
    for (const QString& name : {foreign, live}) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    WriteFileAtomically(path, first);
    QStringList left = LeftoverFiles(dir.path(), QStringLiteral("cards.lgd"));
    left.sort();
    QCOMPARE(left, (QStringList{QFileInfo(foreign).fileName(), QFileInfo(live).fileName()}));
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

    const TLedgrin changed = MakeData(2, 2000);
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
        TLedgrin().SaveToFile(path);
        QFAIL("saving into a missing folder succeeded");
    } catch (const EFileError& e) {
        QCOMPARE(QString::fromStdString(e.what()),
                 QStringLiteral("Cannot create file ") + QString::fromStdString(path));
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
    const TLedgrin data = MakeData(1, 3);
    data.SaveToFile(link.toStdString());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadWholeFile(target.toStdString()), data.SaveToBytes());
}

QTEST_GUILESS_MAIN(TestCrashSafe)
#include "tst_crashsafe.moc"
