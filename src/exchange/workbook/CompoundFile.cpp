// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/CompoundFile.h"

#include "exchange/workbook/ZipPackage.h"

#include <QtEndian>

#include <cstdint>
#include <vector>

namespace {
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr qsizetype kHeaderBytes = 512;
constexpr qsizetype kHeaderFatSectors = 109;
constexpr qsizetype kEntryBytes = 128;
constexpr quint8 kStreamEntry = 2;
constexpr quint8 kRootEntry = 5;

quint16 U16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 U32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

struct TEntry {
    QString Name;
    quint8 Type = 0;
    quint32 Start = kEndOfChain;
    quint64 Size = 0;
};

class TCompoundFile {
public:
    explicit TCompoundFile(const QByteArray& file);
    QByteArray Stream(const QStringList& names) const;
    bool Holds(const QString& name) const;

private:
    // The directory entry of the stream of that name, or nullptr.
    static const TEntry* FindStream(const std::vector<TEntry>& entries, const QString& name);
    // The bytes of a chain of units (sectors, or mini sectors) that `table` links. A size below zero
    // reads up to the end of the chain. Each unit is read once at most, so a loop ends the read.
    template <typename Unit>
    QByteArray Chain(const std::vector<quint32>& table, quint32 start, qint64 size, qsizetype units,
                     Unit unit) const;
    QByteArray BigChain(quint32 start, qint64 size) const;
    QByteArray Sector(quint32 index) const;
    std::vector<TEntry> Directory() const;

    const QByteArray& FFile;
    qsizetype FSectorBytes = 0;
    qsizetype FSectorCount = 0;
    std::vector<quint32> FFat;
};

TCompoundFile::TCompoundFile(const QByteArray& file) : FFile(file) {
    if (file.size() < kHeaderBytes || !file.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw EDamagedPackage();
    const quint16 sectorShift = U16(file, 0x1E);
    if ((sectorShift != 9 && sectorShift != 12) || U16(file, 0x20) != 6)
        throw EDamagedPackage();
    FSectorBytes = qsizetype(1) << sectorShift;
    if (file.size() < FSectorBytes)
        throw EDamagedPackage();
    // The header fills sector -1; a last sector that the file cuts short still counts.
    FSectorCount = (file.size() - 1) / FSectorBytes;

    const quint32 fatSectors = U32(file, 0x2C);
    if (fatSectors > quint32(FSectorCount))
        throw EDamagedPackage();
    std::vector<quint32> fatIndexes;
    for (qsizetype i = 0; i < kHeaderFatSectors && fatIndexes.size() < fatSectors; ++i)
        fatIndexes.push_back(U32(file, 0x4C + 4 * i));
    // Further FAT sectors are listed in a chain of DIFAT sectors, each ending with the next one's index.
    const qsizetype perDifat = FSectorBytes / 4 - 1;
    std::vector<bool> seen(size_t(FSectorCount), false);
    for (quint32 difat = U32(file, 0x44); fatIndexes.size() < fatSectors;) {
        if (difat >= quint32(FSectorCount) || seen[difat])
            throw EDamagedPackage();
        seen[difat] = true;
        const QByteArray sector = Sector(difat);
        for (qsizetype i = 0; i < perDifat && fatIndexes.size() < fatSectors; ++i)
            fatIndexes.push_back(U32(sector, 4 * i));
        difat = U32(sector, 4 * perDifat);
    }
    FFat.reserve(fatIndexes.size() * size_t(FSectorBytes / 4));
    for (const quint32 index : fatIndexes) {
        const QByteArray sector = Sector(index);
        for (qsizetype at = 0; at < FSectorBytes; at += 4)
            FFat.push_back(U32(sector, at));
    }
}

QByteArray TCompoundFile::Sector(quint32 index) const {
    if (index >= quint32(FSectorCount))
        throw EDamagedPackage();
    const qsizetype at = (qsizetype(index) + 1) * FSectorBytes;
    QByteArray sector = FFile.mid(at, FSectorBytes);
    // Some writers cut the file's last sector short; its missing end reads as zeros.
    return sector.append(QByteArray(FSectorBytes - sector.size(), '\0'));
}

template <typename Unit>
QByteArray TCompoundFile::Chain(const std::vector<quint32>& table, quint32 start, qint64 size,
                                qsizetype units, Unit unit) const {
    QByteArray bytes;
    std::vector<bool> seen(size_t(units), false);
    for (quint32 at = start; size < 0 ? at != kEndOfChain : bytes.size() < size; at = table[at]) {
        if (at >= table.size() || at >= quint32(units) || seen[at])
            throw EDamagedPackage();
        seen[at] = true;
        bytes.append(unit(at));
    }
    if (size >= 0)
        bytes.truncate(qsizetype(size));
    return bytes;
}

QByteArray TCompoundFile::BigChain(quint32 start, qint64 size) const {
    return Chain(FFat, start, size, FSectorCount, [this](quint32 index) { return Sector(index); });
}

std::vector<TEntry> TCompoundFile::Directory() const {
    const QByteArray bytes = BigChain(U32(FFile, 0x30), -1);
    std::vector<TEntry> entries;
    for (qsizetype at = 0; at + kEntryBytes <= bytes.size(); at += kEntryBytes) {
        TEntry entry;
        const quint16 nameBytes = U16(bytes, at + 0x40);
        if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0)
            entry.Name = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + at),
                                            nameBytes / 2 - 1);
        entry.Type = quint8(bytes[at + 0x42]);
        entry.Start = U32(bytes, at + 0x74);
        // Version 3 files may leave junk in the size's high half.
        entry.Size = FSectorBytes == 512 ? U32(bytes, at + 0x78)
                                         : qFromLittleEndian<quint64>(bytes.constData() + at + 0x78);
        entries.push_back(entry);
    }
    return entries;
}

const TEntry* TCompoundFile::FindStream(const std::vector<TEntry>& entries, const QString& name) {
    for (const TEntry& entry : entries)
        if (entry.Type == kStreamEntry && entry.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

bool TCompoundFile::Holds(const QString& name) const {
    return FindStream(Directory(), name) != nullptr;
}

QByteArray TCompoundFile::Stream(const QStringList& names) const {
    const std::vector<TEntry> entries = Directory();
    if (entries.empty() || entries[0].Type != kRootEntry)
        throw EDamagedPackage();
    for (const QString& name : names)
        if (const TEntry* found = FindStream(entries, name)) {
            const TEntry& entry = *found;
            if (entry.Size > quint64(FFile.size()))
                throw EDamagedPackage();
            const auto size = qint64(entry.Size);
            if (entry.Size >= U32(FFile, 0x38))
                return BigChain(entry.Start, size);
            // Small streams live in 64-byte mini sectors inside the root entry's stream, linked by
            // the mini FAT.
            const TEntry& root = entries[0];
            const quint32 miniFatSectors = U32(FFile, 0x40);
            if (root.Size > quint64(FFile.size()) || miniFatSectors > quint32(FSectorCount))
                throw EDamagedPackage();
            const QByteArray ministream = BigChain(root.Start, qint64(root.Size));
            const QByteArray miniFatBytes = BigChain(U32(FFile, 0x3C), qint64(miniFatSectors) * FSectorBytes);
            std::vector<quint32> miniFat;
            for (qsizetype at = 0; at + 4 <= miniFatBytes.size(); at += 4)
                miniFat.push_back(U32(miniFatBytes, at));
            return Chain(miniFat, entry.Start, size, ministream.size() / 64,
                         [&ministream](quint32 index) { return ministream.mid(qsizetype(index) * 64, 64); });
        }
    throw EDamagedPackage();
}
} // namespace

QByteArray CompoundFileStream(const QByteArray& file, const QStringList& names) {
    return TCompoundFile(file).Stream(names);
}

bool CompoundFileHoldsStream(const QByteArray& file, const QString& name) {
    try {
        return TCompoundFile(file).Holds(name);
    } catch (const EDamagedPackage&) {
        return false;
    }
}
