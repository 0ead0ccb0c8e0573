// SPDX-License-Identifier: GPL-3.0-or-later
// The encrypted data file: round trips to the byte, wrong passwords told apart from damage, every
// changed byte and every cut refused whole, hostile key-derivation headers refused before any work.

#include "ChildRun.h"
#include "DataBytes.h"

#include "bench/BenchData.h"
#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/Stream.h"

#include <QtTest>

#include <sodium.h>

#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

const std::string kPassword = "correct horse \xC3\xA9";

// The smallest parameters the reader accepts: the tests derive hundreds of keys.
std::shared_ptr<const TDataFileKey> CheapKey(const std::string& password = kPassword) {
    return TDataFileKey::Derive(password, TKeyDerivation{1, 8, std::string(NEncryptedFile::kSaltSize, 's')});
}

std::string SmallPlainFile() {
    return Layout::Encode(Layout::SampleFile()).toStdString();
}

std::string Open(const std::string& sealed, const std::string& password = kPassword) {
    return OpenDataFile(sealed, password).Plain.Bytes;
}

QString OpenError(const std::string& sealed, const std::string& password = kPassword) {
    return ErrorOf([&] { Open(sealed, password); });
}

const QString kDamaged = QStringLiteral("EQuilleryError: The data file is damaged.");
const QString kWrongPassword = QStringLiteral("EQuilleryError: Password error.");

// Offsets of the header fields, as the container's layout fixes them.
constexpr int kVersionAt = 8;
constexpr int kAlgorithmAt = 12;
constexpr int kPassesAt = 16;
constexpr int kMemoryAt = 20;
constexpr int kChecksumAt = 64 + 16 + crypto_secretstream_xchacha20poly1305_ABYTES;

// The bytes with a uint32 field replaced and the header checksum made to match again, so that only
// the field's own check can refuse it.
std::string WithHeaderField(std::string sealed, int at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        sealed[static_cast<size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    crypto_generichash(reinterpret_cast<unsigned char*>(&sealed[kChecksumAt]), 16,
                       reinterpret_cast<const unsigned char*>(sealed.data()), kChecksumAt, nullptr, 0);
    return sealed;
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<unreadable>");
}

std::unique_ptr<TDataFile> DataFileFromBytes(const std::string& bytes) {
    auto dataFile = std::make_unique<TDataFile>();
    TStreamReader stream(bytes);
    dataFile->LoadFromStream(stream);
    return dataFile;
}

} // namespace

class TestEncryption : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one byte") << 1;
        QTest::newRow("a byte short of a chunk") << int(NEncryptedFile::kChunkSize - 1);
        QTest::newRow("one chunk") << int(NEncryptedFile::kChunkSize);
        QTest::newRow("a byte over a chunk") << int(NEncryptedFile::kChunkSize + 1);
        QTest::newRow("three chunks and some") << int(3 * NEncryptedFile::kChunkSize + 5);
        // The sealing worker takes sixteen chunks at a time.
        QTest::newRow("sixteen chunks") << int(16 * NEncryptedFile::kChunkSize);
        QTest::newRow("a byte over sixteen chunks") << int(16 * NEncryptedFile::kChunkSize + 1);
        QTest::newRow("forty chunks and some") << int(40 * NEncryptedFile::kChunkSize + 7);
    }
    void roundTrip() {
        QFETCH(int, size);
        const std::string plain = Layout::Pattern(size, size).toStdString();
        const std::string sealed = SealDataFile(plain, *CheapKey());
        QVERIFY(IsEncryptedContainer(sealed));
        QCOMPARE(Open(sealed), plain);
        // The chunks themselves are sealed: a second copy under the same key shares no stream.
        const std::string again = SealDataFile(plain, *CheapKey());
        QVERIFY(again != sealed);
        QCOMPARE(Open(again), plain);
    }

    // A save's plain bytes pass through a buffer that is cleared after each piece it hands on:
    // what was cleared is wiped too.
    void wipedBytesWipeWhatWasCleared() {
        TWipedBytes wiped;
        wiped.Bytes.assign(1 << 20, 'p');
        wiped.Bytes.clear();
        wiped.Wipe();
        QVERIFY(wiped.Bytes.size() >= size_t(1 << 20));
        QCOMPARE(wiped.Bytes.find_first_not_of('\0'), std::string::npos);
    }

    void freshSaltWithTheProgramsLimits() {
        const std::string first = SealDataFile("x", kPassword);
        const std::string second = SealDataFile("x", kPassword);
        const TKeyDerivation a = ReadContainerHeader(first);
        const TKeyDerivation b = ReadContainerHeader(second);
        QCOMPARE(a.Passes, uint32_t(crypto_pwhash_OPSLIMIT_INTERACTIVE));
        QCOMPARE(a.MemoryKiB, uint32_t(crypto_pwhash_MEMLIMIT_INTERACTIVE / 1024));
        QVERIFY(a.Salt != b.Salt);
        QCOMPARE(Open(second), std::string("x"));
    }

    void wrongPassword_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("trailing blank") << QByteArray("correct horse \xC3\xA9 ");
        QTest::newRow("other case") << QByteArray("Correct horse \xC3\xA9");
        QTest::newRow("Latin-1 bytes of the same text") << QByteArray("correct horse \xE9");
    }
    void wrongPassword() {
        QFETCH(QByteArray, password);
        QCOMPARE(OpenError(SealDataFile(SmallPlainFile(), *CheapKey()), password.toStdString()),
                 kWrongPassword);
    }

    // Each bit of each byte alone, and the whole byte: every field and every byte position is
    // covered; all 255 changes of each byte cost minutes on a busy machine and find nothing more.
    void everySingleByteChangeIsDamage() {
        const std::string sealed = SealDataFile(SmallPlainFile(), *CheapKey());
        for (size_t at = 0; at < sealed.size(); ++at) {
            for (const int flip : {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0xFF}) {
                std::string changed = sealed;
                changed[at] = static_cast<char>(changed[at] ^ flip);
                const QString error = OpenError(changed);
                if (error != kDamaged)
                    QFAIL(qPrintable(QStringLiteral("byte %1 ^ %2: %3").arg(at).arg(flip).arg(error)));
            }
        }
    }

    void everyCutIsDamage() {
        const std::string small = SealDataFile(SmallPlainFile(), *CheapKey());
        for (size_t size = 0; size < small.size(); ++size)
            QCOMPARE(OpenError(small.substr(0, size)), kDamaged);
        // Cut exactly between chunks, the rest still authenticates: only the missing final mark
        // tells.
        const std::string large =
            SealDataFile(std::string(3 * NEncryptedFile::kChunkSize + 5, 'q'), *CheapKey());
        const size_t sealedChunk = NEncryptedFile::kChunkSize + crypto_secretstream_xchacha20poly1305_ABYTES;
        const size_t body = size_t(kChecksumAt) + 16;
        for (size_t chunks = 0; chunks <= 3; ++chunks)
            QCOMPARE(OpenError(large.substr(0, body + chunks * sealedChunk)), kDamaged);
        QCOMPARE(OpenError(large + '\0'), kDamaged);
        QCOMPARE(OpenError(large + large.substr(body)), kDamaged);
    }

    // A crash while an encrypted file is open writes no core file that would hold its records.
    void noCoreFileOnceAKeyIsDerived_data() {
        QTest::addColumn<bool>("derived");
        QTest::newRow("no key: the core file shows the system writes one here") << false;
        QTest::newRow("a key derived") << true;
    }
    void noCoreFileOnceAKeyIsDerived() {
        QFETCH(bool, derived);
        QFile pattern(QStringLiteral("/proc/sys/kernel/core_pattern"));
        if (!pattern.open(QIODevice::ReadOnly) || !pattern.readAll().startsWith("core")) {
            QSKIP("this system sends core files elsewhere (core_pattern)");
        }
        QTemporaryDir folder;
        const QString outcome = OutcomeInChild([&] {
            // The crash as a process that never derived a key would have it.
            ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
            rlimit limit{};
            ::getrlimit(RLIMIT_CORE, &limit);
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_CORE, &limit);
            if (derived)
                CheapKey();
            // Not the test framework's crash handler: the system's own ending of the process.
            std::signal(SIGSEGV, SIG_DFL);
            if (::chdir(QFile::encodeName(folder.path()).constData()) == 0)
                std::raise(SIGSEGV);
            return QStringLiteral("no crash");
        });
        QCOMPARE(outcome, QStringLiteral("signal %1").arg(SIGSEGV));
        const bool cored = !QDir(folder.path()).entryList({QStringLiteral("core*")}, QDir::Files).isEmpty();
        if (!derived && !cored)
            QSKIP("no core file is written here even without a key (limits or the system's settings)");
        QCOMPARE(cored, !derived);
    }

    void hostileHeader_data() {
        QTest::addColumn<int>("at");
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("error");
        const QString version =
            QStringLiteral("EAssertionFailed: Data file version incompatible. (EncryptedFile, line");
        QTest::newRow("later version") << kVersionAt << 2u << version;
        QTest::newRow("version zero") << kVersionAt << 0u << version;
        QTest::newRow("Argon2i") << kAlgorithmAt << uint(crypto_pwhash_ALG_ARGON2I13) << kDamaged;
        QTest::newRow("no passes") << kPassesAt << 0u << kDamaged;
        QTest::newRow("a pass too many") << kPassesAt << NEncryptedFile::kMaxPasses + 1 << kDamaged;
        QTest::newRow("four billion passes") << kPassesAt << 0xFFFFFFFFu << kDamaged;
        QTest::newRow("below the least memory") << kMemoryAt << 7u << kDamaged;
        QTest::newRow("a KiB too much memory") << kMemoryAt << NEncryptedFile::kMaxMemoryKiB + 1 << kDamaged;
        QTest::newRow("four TiB of memory") << kMemoryAt << 0xFFFFFFFFu << kDamaged;
    }
    void hostileHeader() {
        QFETCH(int, at);
        QFETCH(uint, value);
        QFETCH(QString, error);
        const std::string hostile = WithHeaderField(SealDataFile(SmallPlainFile(), *CheapKey()), at, value);
        QVERIFY(OpenError(hostile).startsWith(error));
    }

    void headerChecksumIsWhatTellsDamageFromPassword() {
        // The same field change with a matching checksum reaches the key check and fails it.
        const std::string sealed = SealDataFile(SmallPlainFile(), *CheapKey());
        QCOMPARE(OpenError(WithHeaderField(sealed, kPassesAt, 2)), kWrongPassword);
        std::string changedSalt = sealed;
        changedSalt[kMemoryAt + 4] ^= 1;
        QCOMPARE(OpenError(changedSalt), kDamaged);
    }

    void dataFilePlainEncryptedPlain() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("cards.lgd"));
        const std::string plain = SmallPlainFile();
        auto dataFile = DataFileFromBytes(plain);
        dataFile->EncryptionKey = CheapKey();
        dataFile->SaveToFile(path.toStdString());
        const std::string onDisk = ReadFile(path);
        QVERIFY(IsEncryptedContainer(onDisk));
        for (const char* marker : {"Ada", "Dune", "Contacts", "line three"})
            QVERIFY2(onDisk.find(marker) == std::string::npos, marker);

        TDataFile reopened;
        reopened.LoadFromFile(path.toStdString(), [] { return kPassword; });
        QVERIFY(reopened.IsEncrypted());
        QCOMPARE(reopened.SaveToBytes(), plain);
        // Saving again keeps the key (no password asked) with a fresh stream.
        reopened.SaveToFile(path.toStdString());
        QVERIFY(ReadFile(path) != onDisk);
        QCOMPARE(Open(ReadFile(path)), plain);

        reopened.EncryptionKey = nullptr;
        reopened.SaveToFile(path.toStdString());
        QCOMPARE(ReadFile(path), plain);
    }

    void dataFileLoadsNothingOfAFileThatDoesNotOpen_data() {
        QTest::addColumn<bool>("askPassword");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("changeAt"); // -2: the last byte; 0 or more: cut to that many bytes
        QTest::addColumn<QString>("error");
        QTest::newRow("no one to ask") << false << QByteArray() << -1 << kWrongPassword;
        QTest::newRow("wrong password") << true << QByteArray("nope") << -1 << kWrongPassword;
        QTest::newRow("last byte changed") << true << QByteArray(kPassword.c_str()) << -2 << kDamaged;
        // Cut inside the magic, the file is still told apart from one that is not ours.
        for (const int size : {1, 4, 7, 8, 60})
            QTest::addRow("cut to %d bytes", size)
                << true << QByteArray(kPassword.c_str()) << size << kDamaged;
    }
    void dataFileLoadsNothingOfAFileThatDoesNotOpen() {
        QFETCH(bool, askPassword);
        QFETCH(QByteArray, password);
        QFETCH(int, changeAt);
        QFETCH(QString, error);
        std::string sealed = SealDataFile(SmallPlainFile(), *CheapKey());
        if (changeAt == -2)
            sealed.back() ^= 0x20;
        if (changeAt >= 0)
            sealed.resize(size_t(changeAt));
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("cards.lgd"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sealed.data(), qint64(sealed.size()));
        file.close();
        TDataFile dataFile;
        TDataFile::TAskPassword ask;
        if (askPassword)
            ask = [&] { return password.toStdString(); };
        QCOMPARE(ErrorOf([&] { dataFile.LoadFromFile(path.toStdString(), ask); }), error);
        QVERIFY(dataFile.Categories.empty());
        QVERIFY(!dataFile.IsEncrypted());
    }

    void hundredThousandRecords() {
        const std::string plain = MakeBenchDataFile(100000, kBenchSeed)->SaveToBytes();
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("big.lgd"));
        auto dataFile = DataFileFromBytes(plain);
        dataFile->EncryptionKey = CheapKey();
        dataFile->SaveToFile(path.toStdString());
        TDataFile reopened;
        reopened.LoadFromFile(path.toStdString(), [] { return kPassword; });
        QCOMPARE(reopened.Categories.front()->Records.size(), size_t(100000));
        QVERIFY(reopened.SaveToBytes() == plain);
    }
};

QTEST_GUILESS_MAIN(TestEncryption)
#include "tst_encryption.moc"
