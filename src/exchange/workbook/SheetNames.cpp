// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/SheetNames.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace SheetNames {

namespace {
constexpr int kMaxLength = 31;
const QString kForbidden = QStringLiteral("[]:*?/\\");

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() >= 0xFFFE;
}
} // namespace

QString Problem(const QString& name) {
    if (name.isEmpty())
        return QCoreApplication::translate("Exchange", "a worksheet name cannot be empty");
    if (name.size() > kMaxLength)
        return QCoreApplication::translate("Exchange", "a worksheet name has at most 31 characters");
    for (const QChar c : name) {
        if (kForbidden.contains(c))
            return QCoreApplication::translate("Exchange",
                                               "a worksheet name cannot hold any of [ ] : * ? / \\");
        if (IsControl(c) || c.isSurrogate())
            return QCoreApplication::translate("Exchange", "a worksheet name cannot hold control characters");
    }
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return QCoreApplication::translate("Exchange",
                                           "a worksheet name cannot begin or end with an apostrophe");
    return QString();
}

QString FromFileName(const QString& path) {
    QString name = QFileInfo(path).completeBaseName();
    for (QChar& c : name)
        if (kForbidden.contains(c) || IsControl(c) || c.isSurrogate())
            c = QLatin1Char('_');
    name.truncate(kMaxLength);
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

QString NextDefault(const QStringList& taken) {
    for (qsizetype n = taken.size() + 1;; ++n) {
        const QString name = QStringLiteral("Sheet%1").arg(n);
        if (!taken.contains(name, Qt::CaseInsensitive))
            return name;
    }
}

} // namespace SheetNames
