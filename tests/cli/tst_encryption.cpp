// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-cli on encrypted data files: the same password options open them, resave --encrypt and
// --decrypt convert, and a wrong password or a damaged file shows nothing of the records.

#include "cli/BooksFile.h"
#include "cli/CliRun.h"

#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/Password.h"

#include <QtTest>

namespace {

const QByteArray kMarker = "QMARK-5d1f-unique";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// "Books" with one record whose title holds the marker.
TDataFile MakeMarkedBooks(const std::string& password) {
    TDataFile dataFile = MakeBooks(1, kMarker.toStdString());
    if (!password.empty())
        dataFile.PasswordDigest = DigestOfTypedPassword(password);
    return dataFile;
}

} // namespace

class TestCliEncryption : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(FDir.isValid()); }

    // plain -> encrypted -> plain through the tool gives the original bytes.
    void convertBothWays_data() {
        QTest::addColumn<QByteArray>("gatePassword"); // the plain file's password, empty for none
        QTest::addColumn<QByteArray>("passwordFile");
        QTest::newRow("file with a password keeps it")
            << QByteArray("S3cret pw") << QByteArray("S3cret pw\n");
        QTest::newRow("file without one takes the new one") << QByteArray() << QByteArray("n\xC3\xA9w one\n");
    }
    void convertBothWays() {
        QFETCH(QByteArray, gatePassword);
        QFETCH(QByteArray, passwordFile);
        const QString plain = FDir.filePath(QStringLiteral("plain.lgd"));
        const QString sealed = FDir.filePath(QStringLiteral("sealed.lgd"));
        const QString back = FDir.filePath(QStringLiteral("back.lgd"));
        const QString passwordPath = FDir.filePath(QStringLiteral("pw.txt"));
        WriteAll(passwordPath, passwordFile);
        const std::string password = passwordFile.chopped(1).toStdString();
        MakeMarkedBooks(password).SaveToFile(plain.toStdString());
        const QStringList withPassword{QStringLiteral("--password-file"), passwordPath};

        TRun run = RunCli(QStringList{"resave", plain, sealed, "--encrypt"} + withPassword);
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
        const QByteArray onDisk = ReadAll(sealed);
        QVERIFY(IsEncryptedContainer(onDisk.toStdString()));
        QVERIFY(!onDisk.contains(kMarker));
        QVERIFY(!onDisk.contains("Books"));

        run = RunCli(QStringList{"info", sealed} + withPassword);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY2(run.Out.contains("\nPassword: set, encrypted\n"), run.Out.constData());
        run = RunCli(QStringList{"list", sealed, "Books"} + withPassword);
        QCOMPARE(run.Out, "Title\n" + kMarker + " 0\n");

        // A resave without a choice keeps the file encrypted, under a fresh stream.
        run = RunCli(QStringList{"resave", sealed, back} + withPassword);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY(IsEncryptedContainer(ReadAll(back).toStdString()));
        QVERIFY(ReadAll(back) != onDisk);

        run = RunCli(QStringList{"resave", sealed, back, "--decrypt"} + withPassword);
        QCOMPARE(run.Err, QByteArray());
        QCOMPARE(run.ExitCode, 0);
        TDataFile expected = MakeMarkedBooks(password);
        QCOMPARE(ReadAll(back).toStdString(), expected.SaveToBytes());
        if (!gatePassword.isEmpty())
            QCOMPARE(ReadAll(back), ReadAll(plain));
    }

    void refusals_data() {
        // SEALED and DAMAGED stand for encrypted files, PLAIN for one without a password, PW for
        // the password file, OUT for a file that must not appear.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("passwordText");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("error");
        const QByteArray right("S3cret pw\n");
        QTest::newRow("info, wrong password")
            << QStringList{"info", "SEALED", "--password-file", "PW"} << QByteArray("wrong\n") << 1
            << QByteArray("Password error.\n");
        QTest::newRow("check, nothing on standard input")
            << QStringList{"check", "SEALED"} << QByteArray() << 1 << QByteArray("Password error.\n");
        QTest::newRow("dump, damaged") << QStringList{"dump", "DAMAGED", "--password-file", "PW"} << right
                                       << 1 << QByteArray("The data file is damaged.\n");
        QTest::newRow("empty new password")
            << QStringList{"resave", "PLAIN", "OUT", "--encrypt", "--password-file", "PW"} << QByteArray("\n")
            << 1 << QByteArray("The password cannot be empty.\n");
        QTest::newRow("encrypt on dump")
            << QStringList{"dump", "SEALED", "--encrypt"} << right << 2
            << QByteArray(
                   "quillery-cli: --encrypt and --decrypt belong to resave. Try 'quillery-cli --help'.\n");
        QTest::newRow("both ways at once")
            << QStringList{"resave", "SEALED", "OUT", "--encrypt", "--decrypt"} << right << 2
            << QByteArray(
                   "quillery-cli: --encrypt and --decrypt exclude each other. Try 'quillery-cli --help'.\n");
    }
    void refusals() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, passwordText);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, error);
        QHash<QString, QString> files;
        for (const char* name : {"SEALED", "DAMAGED", "PLAIN", "OUT", "PW"})
            files[QString::fromLatin1(name)] =
                FDir.filePath(QStringLiteral("refusal-") + QString::fromLatin1(name));
        MakeMarkedBooks("").SaveToFile(files["PLAIN"].toStdString());
        TDataFile dataFile = MakeMarkedBooks("S3cret pw");
        dataFile.EncryptionKey = TDataFileKey::Derive("S3cret pw");
        dataFile.SaveToFile(files["SEALED"].toStdString());
        QByteArray changed = ReadAll(files["SEALED"]);
        changed[changed.size() - 3] = char(changed[changed.size() - 3] ^ 0x40);
        WriteAll(files["DAMAGED"], changed);
        WriteAll(files["PW"], passwordText);
        QFile::remove(files["OUT"]);
        for (QString& argument : arguments)
            argument = files.value(argument, argument);

        const TRun run = RunCli(arguments);
        QCOMPARE(run.ExitCode, exitCode);
        QVERIFY2(run.Err.startsWith(error), run.Err.constData());
        QVERIFY(!run.Out.contains(kMarker));
        QVERIFY(!QFileInfo::exists(files["OUT"]));
    }

private:
    QTemporaryDir FDir;
};

QTEST_GUILESS_MAIN(TestCliEncryption)
#include "tst_encryption.moc"
