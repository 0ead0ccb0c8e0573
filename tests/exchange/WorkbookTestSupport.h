// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/Workbook.h"

#include <QFile>
#include <QString>
#include <QTest>

// Fixture workbooks that spreadsheet programs wrote (tests/data/workbooks/make-fixtures.sh).
inline QString WorkbookFixture(const QString& name) {
    return QStringLiteral(QUILLERY_TEST_DATA "/workbooks/") + name;
}

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

// The text of the engine's error for the call, or an empty text when it succeeded.
template <typename Call> QString WorkbookErrorOf(Call call) {
    try {
        call();
    } catch (const EWorkbookError& error) {
        return error.Text();
    }
    return QString();
}
