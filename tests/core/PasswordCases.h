// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The password rule's cases, shared by the data store's test, the command-line tool's test and the
// window's test, so that all three accept and refuse exactly the same passwords.

#include <QByteArray>
#include <QString>
#include <QTest>

// Columns: the bytes whose digest the file holds, what the user types, whether it opens the file.
inline void AddPasswordRuleCases() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");

    QTest::newRow("ASCII") << QByteArray("S3cret pw") << QStringLiteral("S3cret pw") << true;
    QTest::newRow("letter case counts") << QByteArray("S3cret pw") << QStringLiteral("s3cret pw") << false;
    QTest::newRow("UTF-8 e acute") << QByteArray("caf\xC3\xA9") << QStringLiteral("caf\u00E9") << true;
    QTest::newRow("Windows-1252 e acute") << QByteArray("caf\xE9") << QStringLiteral("caf\u00E9") << true;
    QTest::newRow("Windows-1252 euro sign") << QByteArray("\x80 5") << QStringLiteral("\u20AC 5") << true;
    QTest::newRow("Windows-1252 S caron, oe, quotes")
        << QByteArray("\x8A\x9C\x93q\x94") << QStringLiteral("\u0160\u0153\u201Cq\u201D") << true;
    QTest::newRow("Windows-1252 accent is not its letter")
        << QByteArray("caf\xE9") << QStringLiteral("cafe") << false;
    QTest::newRow("Windows-1252 capital is another byte")
        << QByteArray("caf\xE9") << QStringLiteral("caf\u00C9") << false;
    QTest::newRow("Latin-1 byte of the euro sign is not it")
        << QByteArray("\xA4 5") << QStringLiteral("\u20AC 5") << false;
    QTest::newRow("beyond Windows-1252, UTF-8")
        << QByteArray("\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C")
        << QStringLiteral("\u043F\u0430\u0440\u043E\u043B\u044C") << true;
    QTest::newRow("beyond Windows-1252, question marks are not it")
        << QByteArray("??????") << QStringLiteral("\u043F\u0430\u0440\u043E\u043B\u044C") << false;
    QTest::newRow("mixed: Windows-1252 bytes only for what it has")
        << QByteArray("\xE9\xD0\xBF") << QStringLiteral("\u00E9\u043F") << false;
    QTest::newRow("decomposed accent is other bytes")
        << QByteArray("caf\xC3\xA9") << QStringLiteral("cafe\u0301") << false;
    QTest::newRow("trailing blank counts") << QByteArray("pw ") << QStringLiteral("pw") << false;
}
