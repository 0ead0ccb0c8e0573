// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecentFiles.h"

#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

QString KeyOf(int index) {
    return QStringLiteral("RecentFile%1").arg(index + 1);
}

// Two spellings of one file (a link, "..") count as one entry.
bool SameFile(const QString& a, const QString& b) {
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

QStringList TRecentFiles::Read() {
    const TSettingsFile settings;
    QStringList paths;
    for (int index = 0; index < Capacity; ++index) {
        const QString path = settings.ReadString(KeyOf(index));
        // A hand-edited file may leave gaps or repeat a file: each shows once, in order.
        if (!path.isEmpty() &&
            std::none_of(paths.cbegin(), paths.cend(), [&](const QString& p) { return SameFile(p, path); }))
            paths.append(path);
    }
    return paths;
}

void TRecentFiles::Add(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList paths = Read();
    paths.removeIf([&](const QString& p) { return SameFile(p, absolute); });
    paths.prepend(absolute);
    Write(paths.mid(0, Capacity));
}

void TRecentFiles::Remove(const QStringList& removed) {
    QStringList paths = Read();
    paths.removeIf([&](const QString& p) { return removed.contains(p); });
    Write(paths);
}

void TRecentFiles::Clear() {
    Write({});
}

bool TRecentFiles::IsMissing(const QString& path) {
    return !QFileInfo(path).isFile();
}

void TRecentFiles::Write(const QStringList& paths) {
    TSettingsFile settings;
    for (int index = 0; index < Capacity; ++index) {
        if (index < paths.size())
            settings.WriteString(KeyOf(index), paths[index]);
        else
            settings.Remove(KeyOf(index));
    }
}
