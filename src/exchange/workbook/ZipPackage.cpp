// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/ZipPackage.h"

#include <QSaveFile>

#include <zip.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr int kPieceBytes = 256 * 1024;
constexpr int kFastCompressionFrom = 1 << 20; // parts this large are deflated at the fastest level

zip_t* OpenFromSource(zip_source_t* source, int flags) {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* archive = zip_open_from_source(source, flags, &error);
    zip_error_fini(&error);
    return archive;
}
} // namespace

TZipReader::TZipReader(const QByteArray& bytes, int64_t maxPartBytes)
    : FBytes(bytes), FMaxPartBytes(maxPartBytes) {
    zip_source_t* source =
        zip_source_buffer_create(FBytes.constData(), zip_uint64_t(FBytes.size()), 0, nullptr);
    if (!source)
        throw EDamagedPackage();
    FArchive = OpenFromSource(source, ZIP_RDONLY | ZIP_CHECKCONS);
    if (!FArchive) {
        zip_source_free(source);
        throw EDamagedPackage();
    }
}

TZipReader::~TZipReader() {
    zip_discard(FArchive);
}

int TZipReader::EntryCount() const {
    const zip_int64_t count = zip_get_num_entries(FArchive, 0);
    return count < 0 || count > 1000000 ? 0 : int(count);
}

QString TZipReader::EntryName(int index) const {
    const char* name = zip_get_name(FArchive, zip_uint64_t(index), ZIP_FL_ENC_GUESS);
    return name ? QString::fromUtf8(name) : QString();
}

int TZipReader::Find(const QString& name) const {
    const zip_int64_t index =
        zip_name_locate(FArchive, name.toUtf8().constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    return index < 0 ? -1 : int(index);
}

QByteArray TZipReader::Read(int index) const {
    TStream stream(*this, index);
    // One buffer of the size the entry declares (pages untouched until written), grown only for
    // an entry that holds more than it said; the byte beyond lets the end show without a resize.
    QByteArray bytes(qsizetype(stream.DeclaredSize()) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const qsizetype read = stream.ReadInto(bytes.data() + filled, bytes.size() - filled);
        if (read == 0)
            break;
        filled += read;
    }
    bytes.truncate(filled);
    return bytes;
}

TZipReader::TStream::TStream(const TZipReader& zip, int index) : FMaxBytes(zip.FMaxPartBytes) {
    zip_stat_t stat;
    // An entry that claims more than any real part is refused before a byte is inflated.
    if (zip_stat_index(zip.FArchive, zip_uint64_t(index), 0, &stat) != 0 ||
        ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(FMaxBytes)))
        throw EDamagedPackage();
    if (stat.valid & ZIP_STAT_SIZE)
        FDeclaredSize = int64_t(stat.size);
    FFile = zip_fopen_index(zip.FArchive, zip_uint64_t(index), 0);
    if (!FFile)
        throw EDamagedPackage();
}

TZipReader::TStream::~TStream() {
    zip_fclose(FFile);
}

qsizetype TZipReader::TStream::ReadInto(char* data, qsizetype size) {
    const zip_int64_t read = zip_fread(FFile, data, zip_uint64_t(size));
    if (read < 0)
        throw EDamagedPackage();
    FTotal += read;
    if (FTotal > FMaxBytes)
        throw EDamagedPackage();
    return qsizetype(read);
}

QByteArray TZipReader::TStream::Next() {
    QByteArray piece(kPieceBytes, Qt::Uninitialized);
    piece.truncate(ReadInto(piece.data(), piece.size()));
    return piece;
}

// Where libzip writes a package into a file: a writable source over the save file, which holds no
// archive yet. libzip seeks back to complete each entry's header, so the file must allow seeking.
struct TZipWriter::TTarget {
    QSaveFile& File;
    zip_error_t Error;

    explicit TTarget(QSaveFile& file) : File(file) { zip_error_init(&Error); }
    ~TTarget() { zip_error_fini(&Error); }

    zip_int64_t Fail(int code) {
        zip_error_set(&Error, code, 0);
        return -1;
    }

    // A write may end short (at the file-size limit, say): the rest is tried, which fails with the
    // reason.
    zip_int64_t Write(const char* data, qint64 length) {
        for (qint64 done = 0; done < length;) {
            const qint64 written = File.write(data + done, length - done);
            if (written <= 0)
                return Fail(ZIP_ER_WRITE);
            done += written;
        }
        return length;
    }

    zip_int64_t Seek(void* data, zip_uint64_t length) {
        const auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &Error);
        if (!args)
            return -1;
        const qint64 base = args->whence == SEEK_SET   ? 0
                            : args->whence == SEEK_CUR ? File.pos()
                                                       : File.size();
        return File.seek(base + args->offset) ? 0 : Fail(ZIP_ER_SEEK);
    }

    static zip_int64_t Callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
        auto& target = *static_cast<TTarget*>(self);
        switch (command) {
        case ZIP_SOURCE_OPEN:
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_READ: // the file holds no archive to read
        case ZIP_SOURCE_SEEK:
        case ZIP_SOURCE_TELL:
        case ZIP_SOURCE_FREE:
        case ZIP_SOURCE_REMOVE: // a package always has entries
        // The save file, never committed, removes what was written when it goes, and keeps the
        // error that stopped the write for the message.
        case ZIP_SOURCE_ROLLBACK_WRITE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &target.Error);
            if (!stat)
                return -1;
            zip_stat_init(stat);
            stat->size = 0;
            stat->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_BEGIN_WRITE:
            // Unbuffered, so that a failing write reports its own reason at once.
            return target.File.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ? 0
                                                                                  : target.Fail(ZIP_ER_OPEN);
        case ZIP_SOURCE_WRITE:
            return target.Write(static_cast<const char*>(data), qint64(length));
        case ZIP_SOURCE_SEEK_WRITE:
            return target.Seek(data, length);
        case ZIP_SOURCE_TELL_WRITE:
            return target.File.pos();
        case ZIP_SOURCE_COMMIT_WRITE:
            return target.File.commit() ? 0 : target.Fail(ZIP_ER_WRITE);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&target.Error, data, length);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR,
                ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
                ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_SEEK_WRITE,
                ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, ZIP_SOURCE_SUPPORTS, -1);
        default:
            return target.Fail(ZIP_ER_OPNOTSUPP);
        }
    }
};

namespace {
// libzip reads a streamed entry through this: the source's pieces, handed on as libzip asks. An
// exception of the source must not cross libzip: it is kept for Finish to throw.
struct TStreamedEntry {
    TPartSource& Source;
    int64_t Size;
    std::exception_ptr& Failure;
    std::string Pending;
    size_t Given = 0;
    zip_error_t Error;

    TStreamedEntry(TPartSource& source, int64_t size, std::exception_ptr& failure)
        : Source(source), Size(size), Failure(failure) {
        zip_error_init(&Error);
    }
    ~TStreamedEntry() { zip_error_fini(&Error); }

    zip_int64_t Read(char* into, zip_uint64_t length) {
        while (Given == Pending.size()) {
            Pending.clear();
            Given = 0;
            if (!Source.Next(Pending))
                return 0;
        }
        const size_t count = std::min(size_t(length), Pending.size() - Given);
        std::memcpy(into, Pending.data() + Given, count);
        Given += count;
        return zip_int64_t(count);
    }

    static zip_int64_t Callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
        auto* entry = static_cast<TStreamedEntry*>(self);
        try {
            switch (command) {
            case ZIP_SOURCE_OPEN:
                entry->Pending.clear();
                entry->Given = 0;
                entry->Source.Rewind(true);
                return 0;
            case ZIP_SOURCE_READ:
                return entry->Read(static_cast<char*>(data), length);
            case ZIP_SOURCE_CLOSE:
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &entry->Error);
                if (!stat)
                    return -1;
                zip_stat_init(stat);
                stat->size = zip_uint64_t(entry->Size);
                stat->valid |= ZIP_STAT_SIZE;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&entry->Error, data, length);
            case ZIP_SOURCE_FREE:
                delete entry;
                return 0;
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                      ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                      ZIP_SOURCE_SUPPORTS, -1);
            default:
                break;
            }
        } catch (...) {
            entry->Failure = std::current_exception();
        }
        zip_error_set(&entry->Error, ZIP_ER_INTERNAL, 0);
        return -1;
    }
};
} // namespace

TZipWriter::TZipWriter() {
    FSource = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    if (FSource)
        FArchive = OpenFromSource(FSource, ZIP_TRUNCATE);
    if (!FArchive)
        throw EDamagedPackage();
    zip_source_keep(FSource);
}

TZipWriter::TZipWriter(QSaveFile& file) : FTarget(std::make_unique<TTarget>(file)) {
    zip_error_t error;
    zip_error_init(&error);
    FSource = zip_source_function_create(&TTarget::Callback, FTarget.get(), &error);
    zip_error_fini(&error);
    if (FSource)
        FArchive = OpenFromSource(FSource, ZIP_TRUNCATE);
    if (!FArchive)
        throw EDamagedPackage();
    zip_source_keep(FSource);
}

void TZipWriter::CopyEntries(const QByteArray& base) {
    zip_source_t* source = zip_source_buffer_create(base.constData(), zip_uint64_t(base.size()), 0, nullptr);
    if (source)
        FBaseArchive = OpenFromSource(source, ZIP_RDONLY | ZIP_CHECKCONS);
    if (!FBaseArchive) {
        if (source)
            zip_source_free(source);
        throw EDamagedPackage();
    }
    const zip_int64_t count = zip_get_num_entries(FBaseArchive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        const char* name = zip_get_name(FBaseArchive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        zip_source_t* entry =
            zip_source_zip(FArchive, FBaseArchive, zip_uint64_t(i), ZIP_FL_COMPRESSED, 0, -1);
        const zip_int64_t index = name && entry ? zip_file_add(FArchive, name, entry, ZIP_FL_ENC_RAW) : -1;
        if (index < 0) {
            if (entry)
                zip_source_free(entry);
            throw EDamagedPackage();
        }
        if (zip_stat_index(FBaseArchive, zip_uint64_t(i), 0, &stat) == 0 && (stat.valid & ZIP_STAT_MTIME))
            zip_file_set_mtime(FArchive, zip_uint64_t(index), stat.mtime, 0);
    }
}

TZipWriter::~TZipWriter() {
    if (FArchive)
        zip_discard(FArchive);
    if (FBaseArchive)
        zip_discard(FBaseArchive);
    zip_source_free(FSource);
}

void TZipWriter::Add(const QString& name, zip_source_t* source, int64_t size) {
    const zip_int64_t index = source ? zip_file_add(FArchive, name.toUtf8().constData(), source,
                                                    ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8)
                                     : -1;
    if (index < 0) {
        if (source)
            zip_source_free(source);
        throw EDamagedPackage();
    }
    if (size >= kFastCompressionFrom)
        zip_set_file_compression(FArchive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
}

void TZipWriter::Put(const QString& name, QByteArray data) {
    FData.push_back(std::move(data));
    const QByteArray& kept = FData.back();
    Add(name, zip_source_buffer(FArchive, kept.constData(), zip_uint64_t(kept.size()), 0), kept.size());
}

void TZipWriter::PutStreamed(const QString& name, std::unique_ptr<TPartSource> source) {
    // The size first: libzip needs it to write the entry as small a header as a buffered one gets.
    int64_t size = 0;
    std::string piece;
    source->Rewind(false);
    while (source->Next(piece)) {
        size += int64_t(piece.size());
        piece.clear();
    }
    FStreamed.push_back(std::move(source));
    auto* entry = new TStreamedEntry(*FStreamed.back(), size, FFailure);
    zip_source_t* streamed = zip_source_function(FArchive, &TStreamedEntry::Callback, entry);
    if (!streamed)
        delete entry;
    Add(name, streamed, size);
}

QByteArray TZipWriter::Finish() {
    const int closed = zip_close(FArchive);
    if (closed != 0) {
        if (FFailure)
            std::rethrow_exception(FFailure);
        throw EDamagedPackage();
    }
    FArchive = nullptr;
    if (FTarget)
        return QByteArray();
    QByteArray bytes;
    zip_stat_t stat;
    if (zip_source_stat(FSource, &stat) != 0 || zip_source_open(FSource) != 0)
        throw EDamagedPackage();
    bytes.resize(qsizetype(stat.size));
    const zip_int64_t read = zip_source_read(FSource, bytes.data(), stat.size);
    zip_source_close(FSource);
    if (read != zip_int64_t(stat.size))
        throw EDamagedPackage();
    return bytes;
}
