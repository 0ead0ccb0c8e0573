// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files and folders for the tests of reading and saving: their bytes, their entries, and entries
// that are not regular files.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

inline QByteArray Path8(const QString& path) {
    return QFile::encodeName(path);
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry of folder, hidden ones included, by name.
inline QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The kinds MakeEntry makes.
inline const char* const kEntryKinds[] = {"fifo", "socket", "folder", "link to device"};

// Makes an entry of the given kind at path (a link to /dev/zero stands for a device); false when
// it cannot.
inline bool MakeEntry(const QString& kind, const QString& path) {
    const QByteArray name = Path8(path);
    if (kind == "fifo")
        return ::mkfifo(name.constData(), 0666) == 0;
    if (kind == "folder")
        return QDir().mkdir(path);
    if (kind == "link to device")
        return QFile::link(QStringLiteral("/dev/zero"), path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}
