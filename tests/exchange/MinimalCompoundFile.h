// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Compound files (the container of legacy .xls workbooks) and BIFF records, built byte by byte for
// the tests and the fuzz target of the .xls formula reader.

#include <QByteArray>
#include <QString>
#include <QtEndian>

constexpr quint32 kCompoundEndOfChain = 0xFFFFFFFE;
constexpr qsizetype kMaxCompoundStream = (128 - 3) * 512;

inline void Put32(QByteArray& bytes, qsizetype at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

inline QByteArray Le16(quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray Record(quint16 type, const QByteArray& data) {
    return Le16(type) + Le16(quint16(data.size())) + data;
}

// A version 3 compound file: sector 0 the FAT, 1 the directory, 2 the mini FAT, then the sectors of
// the stream "Workbook", or of the mini stream that holds it when it is under 4096 bytes. One FAT
// sector maps the file, so the stream has kMaxCompoundStream bytes at most.
inline QByteArray CompoundFile(const QByteArray& stream) {
    const bool mini = stream.size() < 4096;
    const auto miniSectors = quint32((stream.size() + 63) / 64);
    const QByteArray data = stream + QByteArray((512 - stream.size() % 512) % 512, '\0');
    const auto sectors = quint32(data.size() / 512);
    QByteArray file(512 * 4, '\xFF');
    file.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    file.replace(8, 0x4C - 8, QByteArray(0x4C - 8, '\0'));
    file.replace(0x18, 10, QByteArray("\x3E\x00\x03\x00\xFE\xFF\x09\x00\x06\x00", 10));
    Put32(file, 0x2C, 1);                   // FAT sectors
    Put32(file, 0x30, 1);                   // first directory sector
    Put32(file, 0x38, 4096);                // mini stream cutoff
    Put32(file, 0x3C, 2);                   // first mini FAT sector
    Put32(file, 0x40, 1);                   // mini FAT sectors
    Put32(file, 0x44, kCompoundEndOfChain); // no DIFAT sectors
    Put32(file, 0x4C, 0);                   // the FAT is sector 0
    const qsizetype fat = 512, directory = 1024, miniFat = 1536;
    Put32(file, fat, 0xFFFFFFFD);
    Put32(file, fat + 4, kCompoundEndOfChain);
    Put32(file, fat + 8, kCompoundEndOfChain);
    for (quint32 i = 0; i < sectors; ++i)
        Put32(file, fat + 12 + 4 * i, i + 1 == sectors ? kCompoundEndOfChain : i + 4);
    for (quint32 i = 0; mini && i < miniSectors; ++i)
        Put32(file, miniFat + 4 * i, i + 1 == miniSectors ? kCompoundEndOfChain : i + 1);
    const auto entry = [&file](qsizetype at, const QString& name, char type, quint32 start, quint32 size) {
        file.replace(at, 128, QByteArray(128, '\0'));
        file.replace(at, name.size() * 2,
                     QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2));
        qToLittleEndian(quint16(name.size() * 2 + 2), file.data() + at + 0x40);
        file[at + 0x42] = type;
        Put32(file, at + 0x74, start);
        Put32(file, at + 0x78, size);
    };
    entry(directory, QStringLiteral("Root Entry"), 5, mini ? 3 : kCompoundEndOfChain,
          mini ? miniSectors * 64 : 0);
    entry(directory + 128, QStringLiteral("Workbook"), 2, mini ? 0 : 3, quint32(stream.size()));
    return file + data;
}
