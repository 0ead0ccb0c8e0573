// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/ZipPackage.h"

#include <zip.h>

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

TZipWriter::TZipWriter() {
    FSource = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    if (FSource)
        FArchive = OpenFromSource(FSource, ZIP_TRUNCATE);
    if (!FArchive)
        throw EDamagedPackage();
    zip_source_keep(FSource);
}

TZipWriter::TZipWriter(const QByteArray& base) : TZipWriter() {
    FBase = base;
    zip_source_t* source =
        zip_source_buffer_create(FBase.constData(), zip_uint64_t(FBase.size()), 0, nullptr);
    if (source)
        FBaseArchive = OpenFromSource(source, ZIP_RDONLY | ZIP_CHECKCONS);
    if (!FBaseArchive) {
        if (source)
            zip_source_free(source);
        throw EDamagedPackage();
    }
    // Each entry's stored bytes are copied as they are: nothing is inflated or deflated again.
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

void TZipWriter::Put(const QString& name, QByteArray data) {
    FData.push_back(std::move(data));
    const QByteArray& kept = FData.back();
    zip_source_t* source = zip_source_buffer(FArchive, kept.constData(), zip_uint64_t(kept.size()), 0);
    const zip_int64_t index = source ? zip_file_add(FArchive, name.toUtf8().constData(), source,
                                                    ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8)
                                     : -1;
    if (index < 0) {
        if (source)
            zip_source_free(source);
        throw EDamagedPackage();
    }
    if (kept.size() >= kFastCompressionFrom)
        zip_set_file_compression(FArchive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
}

QByteArray TZipWriter::Finish() {
    const int closed = zip_close(FArchive);
    if (closed != 0)
        throw EDamagedPackage();
    FArchive = nullptr;
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
