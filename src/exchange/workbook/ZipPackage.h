// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>
#include <list>
#include <memory>
#include <string>

class QSaveFile;
struct zip;
struct zip_file;
struct zip_source;

// A package that is damaged, hostile or not a package at all. Callers turn it into the error the
// user reads, which names the file.
class EDamagedPackage : public std::exception {
public:
    const char* what() const noexcept override { return "damaged package"; }
};

// A workbook whose parts are encrypted with a password, which Quillery does not ask for.
class EPasswordProtected : public std::exception {
public:
    const char* what() const noexcept override { return "password-protected workbook"; }
};

// No part is inflated past this, whatever its entry claims: a real worksheet's XML stays far below.
constexpr int64_t kMaxPartBytes = int64_t(512) << 20;

// A zip package read from bytes in memory.
class TZipReader {
public:
    // Throws EDamagedPackage; no entry is inflated past maxPartBytes.
    explicit TZipReader(const QByteArray& bytes, int64_t maxPartBytes = kMaxPartBytes);
    ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    int EntryCount() const;
    QString EntryName(int index) const;
    // The entry of that name ignoring case, or -1.
    int Find(const QString& name) const;
    // The whole entry; throws EDamagedPackage when it is damaged or too large.
    QByteArray Read(int index) const;

    // Reads one entry piece by piece, never past the reader's limit.
    class TStream {
    public:
        TStream(const TZipReader& zip, int index);
        ~TStream();
        TStream(const TStream&) = delete;
        TStream& operator=(const TStream&) = delete;
        // The next piece, empty at the end.
        QByteArray Next();
        // Reads up to size bytes into data; 0 at the end.
        qsizetype ReadInto(char* data, qsizetype size);
        // The size the package states for the entry (0 when it states none).
        int64_t DeclaredSize() const { return FDeclaredSize; }

    private:
        zip_file* FFile;
        int64_t FTotal = 0;
        int64_t FDeclaredSize = 0;
        int64_t FMaxBytes;
    };

private:
    QByteArray FBytes;
    zip* FArchive = nullptr;
    int64_t FMaxPartBytes;
};

// The bytes of an entry made while the package is written, a piece at a time, so that no entry
// is ever held whole.
class TPartSource {
public:
    virtual ~TPartSource() = default;
    // Starts again at the first byte; a pass that is not writing only measures.
    virtual void Rewind(bool writing) = 0;
    // Appends the next piece to out; false when every piece was given.
    virtual bool Next(std::string& out) = 0;
};

// A package built in memory, or written straight into a file. Entries of an existing package may
// be copied into it as they are.
class TZipWriter {
public:
    TZipWriter();
    // The package is written into file, which it opens, commits once the package is complete and
    // leaves uncommitted when writing fails.
    explicit TZipWriter(QSaveFile& file);
    ~TZipWriter();
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    // Every entry of the package base, its stored bytes copied as they are: nothing is inflated or
    // deflated again. base must last until Finish.
    void CopyEntries(const QByteArray& base);
    // Adds the entry, or replaces the entry of that name; fast compression for the large ones.
    void Put(const QString& name, QByteArray data);
    // The same with bytes that source makes while the package is written; measured first, so
    // exceptions of the source come before anything is written.
    void PutStreamed(const QString& name, std::unique_ptr<TPartSource> source);
    // Writes the package: the bytes of a package built in memory, nothing for one written into a
    // file. Throws what a source threw while the package was written, else EDamagedPackage.
    QByteArray Finish();

    struct TTarget;

private:
    void Add(const QString& name, zip_source* source, int64_t size);

    zip_source* FSource = nullptr;
    zip* FArchive = nullptr;
    zip* FBaseArchive = nullptr; // read while the new archive is written
    std::unique_ptr<TTarget> FTarget;
    std::list<QByteArray> FData; // libzip reads the entries' bytes only when the archive is written
    std::list<std::unique_ptr<TPartSource>> FStreamed;
    std::exception_ptr FFailure; // thrown by a source inside libzip
};
