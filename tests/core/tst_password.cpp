// SPDX-License-Identifier: GPL-3.0-or-later
// The password rule of the data store: what the user types is UTF-8; files from older systems
// hold the digest of the Windows-1252 bytes.

#include "core/PasswordCases.h"

#include "core/Password.h"
#include "core/TextCodec.h"

#include <QtTest>

namespace {

std::string Bytes(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace

class TestPassword : public QObject {
    Q_OBJECT

private slots:
    void rule_data() { AddPasswordRuleCases(); }
    void rule() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        QCOMPARE(PasswordMatches(Bytes(typed), PasswordDigest(stored.toStdString())), matches);
    }

    // New digests come from the UTF-8 bytes, never from the older code page.
    void newDigestIsUtf8() {
        QCOMPARE(DigestOfTypedPassword(Bytes(QStringLiteral("caf\u00E9"))), PasswordDigest("caf\xC3\xA9"));
        QCOMPARE(DigestOfTypedPassword(""), PasswordDigest(""));
        QVERIFY(PasswordMatches("", PasswordDigest("")));
    }

    // Bytes given as they are (a password file written on an older system) match their digest.
    void rawBytesMatchAsGiven() {
        QVERIFY(PasswordMatches("caf\xE9", PasswordDigest("caf\xE9")));
        QVERIFY(!PasswordMatches("caf\xE9", PasswordDigest("caf\xC3\xA9")));
    }

    void encodeWindows1252_data() {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<bool>("encodable");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << QByteArray("abc\r\n") << true << QByteArray("abc\r\n");
        QTest::newRow("Latin-1 letters")
            << QByteArray("\xC3\xA9\xC3\xBF\xC2\xA0") << true << QByteArray("\xE9\xFF\xA0");
        QTest::newRow("euro, trade mark, Z caron")
            << QByteArray("\xE2\x82\xAC\xE2\x84\xA2\xC5\xBD") << true << QByteArray("\x80\x99\x8E");
        QTest::newRow("undefined byte's control") << QByteArray("\xC2\x81") << true << QByteArray("\x81");
        QTest::newRow("C1 control the code page replaced") << QByteArray("\xC2\x80") << false << QByteArray();
        QTest::newRow("Cyrillic") << QByteArray("\xD0\xBF") << false << QByteArray();
        QTest::newRow("emoji") << QByteArray("\xF0\x9F\x94\x91") << false << QByteArray();
        QTest::newRow("not UTF-8") << QByteArray("caf\xE9") << false << QByteArray();
        QTest::newRow("cut sequence") << QByteArray("\xE2\x82") << false << QByteArray();
    }
    void encodeWindows1252() {
        QFETCH(QByteArray, utf8);
        QFETCH(bool, encodable);
        QFETCH(QByteArray, bytes);
        std::string out;
        QCOMPARE(EncodeWindows1252(utf8.toStdString(), out), encodable);
        if (encodable) {
            QCOMPARE(QByteArray::fromStdString(out), bytes);
            // The display turns the bytes back into the same text.
            QCOMPARE(QByteArray::fromStdString(DecodeForDisplay(out)), IsValidUtf8(out) ? bytes : utf8);
        }
    }

    // Every byte the code page defines comes back from its character.
    void everyByteRoundTrips() {
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            std::string back;
            QVERIFY2(EncodeWindows1252(DecodeForDisplay(one), back), qPrintable(QString::number(byte, 16)));
            QCOMPARE(back, one);
        }
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
