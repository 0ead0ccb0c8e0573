// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The data files opened last, most recent first, at most Capacity of them. The list lives in the
// settings file as "RecentFile1" (the latest) to "RecentFile8", each an absolute path.
class TRecentFiles {
public:
    static constexpr int Capacity = 8;

    static QStringList Read();
    // path goes to the top; an earlier entry of the same file goes, and so does the oldest entry
    // beyond Capacity.
    static void Add(const QString& path);
    static void Remove(const QStringList& paths);
    static void Clear();
    // A file that no longer exists as a regular file.
    static bool IsMissing(const QString& path);

private:
    static void Write(const QStringList& paths);
};
