// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SaveJournal.h"

#include "core/Error.h"
#include "core/FileIO.h"
#include "core/FileOps.h"
#include "core/FileStamp.h"
#include "core/InputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>

namespace SaveJournal {

namespace {

constexpr std::string_view kStartMagic = "QLGJRNL1";
constexpr std::string_view kEndMagic = "QLGJRNLE";
// The fixed part of the trailer: two magics, six uint64 and two uint32.
constexpr size_t kFixedTrailerSize = 2 * 8 + 6 * 8 + 2 * 4;
// A path longer than any the system takes marks a trailer that is not ours.
constexpr uint32_t kMaxPathSize = 4096;

struct TTrailer {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    uint64_t OldSize = 0;
    uint64_t NewSize = 0;
    uint64_t OldDigest = 0;
    uint64_t NewDigest = 0;
    std::string Path;
};

void AppendUInt(std::string& bytes, uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t ReadUInt(std::string_view bytes, size_t& at, int size) {
    uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= uint64_t(static_cast<unsigned char>(bytes[at + size_t(i)])) << (8 * i);
    at += size_t(size);
    return value;
}

std::string Encode(const TTrailer& trailer) {
    std::string bytes(kStartMagic);
    for (const uint64_t value : {trailer.Device, trailer.Inode, trailer.OldSize, trailer.NewSize,
                                 trailer.OldDigest, trailer.NewDigest})
        AppendUInt(bytes, value, 8);
    AppendUInt(bytes, trailer.Path.size(), 4);
    bytes += trailer.Path;
    AppendUInt(bytes, bytes.size() + 4 + kEndMagic.size(), 4);
    bytes += kEndMagic;
    return bytes;
}

// The trailer at the end of journal, and where the content before it ends; false when the bytes
// are no whole journal.
bool Decode(std::string_view journal, TTrailer& trailer, size_t& contentSize) {
    if (journal.size() < kFixedTrailerSize || journal.substr(journal.size() - kEndMagic.size()) != kEndMagic)
        return false;
    size_t at = journal.size() - kEndMagic.size() - 4;
    const uint64_t trailerSize = ReadUInt(journal, at, 4);
    if (trailerSize < kFixedTrailerSize || trailerSize > kFixedTrailerSize + kMaxPathSize ||
        trailerSize > journal.size())
        return false;
    at = journal.size() - trailerSize;
    contentSize = at;
    if (journal.substr(at, kStartMagic.size()) != kStartMagic)
        return false;
    at += kStartMagic.size();
    for (uint64_t* value : {&trailer.Device, &trailer.Inode, &trailer.OldSize, &trailer.NewSize,
                            &trailer.OldDigest, &trailer.NewDigest})
        *value = ReadUInt(journal, at, 8);
    const uint64_t pathSize = ReadUInt(journal, at, 4);
    if (pathSize != trailerSize - kFixedTrailerSize)
        return false;
    trailer.Path = std::string(journal.substr(at, pathSize));
    return trailer.NewSize == contentSize;
}

uint64_t DigestOf(std::string_view bytes) {
    TContentDigest digest;
    digest.Add(bytes);
    return digest.Value();
}

std::string JournalPath(const std::string& folder, const struct stat& file) {
    return folder + "/.quillery-" + std::to_string(file.st_dev) + "-" + std::to_string(file.st_ino) +
           ".journal";
}

} // namespace

std::string Commit(int fd, const std::string& stagingPath, const std::string& path, const std::string& target,
                   const struct stat& old, uint64_t oldDigest, uint64_t newDigest) {
    struct stat staged {};
    const std::string journalPath = JournalPath(FolderOf(stagingPath), old);
    TTrailer trailer;
    trailer.Device = old.st_dev;
    trailer.Inode = old.st_ino;
    trailer.OldSize = uint64_t(old.st_size);
    trailer.OldDigest = oldDigest;
    trailer.NewDigest = newDigest;
    trailer.Path = target;
    int error = ::fstat(fd, &staged) != 0 ? errno : 0;
    if (error == 0) {
        trailer.NewSize = uint64_t(staged.st_size);
        if (::lseek(fd, 0, SEEK_END) < 0)
            error = errno;
    }
    if (error == 0)
        error = WriteAll(fd, Encode(trailer));
    // Whoever may read the data file may read what it is about to hold.
    if (error == 0 && (::fchmod(fd, old.st_mode & 0666) != 0 || ::fsync(fd) != 0 ||
                       ::rename(stagingPath.c_str(), journalPath.c_str()) != 0))
        error = errno;
    if (error != 0) {
        ::unlink(stagingPath.c_str());
        ThrowWriteError(path, error);
    }
    FlushFolder(FolderOf(journalPath));
    return journalPath;
}

void Remove(const std::string& journalPath) {
    ::unlink(journalPath.c_str());
    FlushFolder(FolderOf(journalPath));
}

std::optional<TMessage> FinishInterruptedSave(const std::string& path) {
    const std::string target = ResolveTarget(path);
    struct stat file {};
    if (::stat(target.c_str(), &file) != 0 || !S_ISREG(file.st_mode))
        return std::nullopt;
    const std::string beside = FolderOf(target);
    const std::string staging = StagingFolder();
    for (const std::string& folder : {beside, staging}) {
        const std::string journalPath = JournalPath(folder, file);
        struct stat info {};
        if (::lstat(journalPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        // Anyone may put a file in a shared temporary folder: only the user's own journals count
        // there. Beside the data file, whoever could make one could replace the file itself.
        if (folder != beside && info.st_uid != ::geteuid())
            continue;
        std::string journal;
        try {
            journal = ReadWholeFile(journalPath);
        } catch (const EFileError&) {
            continue;
        }
        TTrailer trailer;
        size_t contentSize = 0;
        if (!Decode(journal, trailer, contentSize) || trailer.Device != uint64_t(file.st_dev) ||
            trailer.Inode != uint64_t(file.st_ino))
            continue;
        const std::string_view content = std::string_view(journal).substr(0, contentSize);
        if (DigestOf(content) != trailer.NewDigest)
            continue;
        const std::string current = ReadWholeFile(target);
        const bool finished = current.size() == contentSize && DigestOf(current) == trailer.NewDigest;
        if (!finished) {
            TFileHandle out(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
            if (out.Get() < 0)
                ThrowWriteError(path, errno);
            if (const int error = Rewrite(out.Get(), content))
                ThrowWriteError(path, error);
            if (out.Close() != 0)
                ThrowWriteError(path, errno);
        }
        Remove(journalPath);
        if (!finished)
            return TMessage{QT_TRANSLATE_NOOP("Quillery", "The last save of %1 was interrupted. Quillery has "
                                                          "finished it from the copy it kept."),
                            {path}};
    }
    return std::nullopt;
}

} // namespace SaveJournal
