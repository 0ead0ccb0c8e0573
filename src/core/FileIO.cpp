// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileIO.h"

#include "core/Error.h"
#include "core/FileOps.h"
#include "core/InputFile.h"
#include "core/SaveJournal.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <random>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace {

// Temporary files are named ".quillery-PID-NUMBER.tmp": short whatever the data file's name, and
// telling which process wrote them.
const std::string kTempPrefix = ".quillery-";
const std::string kTempSuffix = ".tmp";
// How many bytes a save writes before it has the disk start on them.
constexpr off_t kStartWriteBytes = off_t(4) << 20;

std::string Reason(int error) {
    return std::strerror(error);
}

bool IsReadOnly(const std::string& path, const struct stat& info) {
    if ((info.st_mode & 0222) == 0)
        return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM || errno == EROFS);
}

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// A new file in folder under a fresh name; O_EXCL makes sure no other file is taken over. The
// descriptor is negative and errno set when none can be made.
TFileHandle CreateTemporary(const std::string& folder, mode_t mode, std::string& name) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/" + kTempPrefix + std::to_string(::getpid()) + "-" +
               std::to_string(random() % 1000000) + kTempSuffix;
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return TFileHandle(fd);
    }
    return TFileHandle(-1);
}

// Gives the new file the old one's owner, group and permission bits; false when it cannot have
// them (only the superuser may give a file to another user, or to a group they are not in).
bool TakeOwnerAndMode(int fd, const struct stat& old) {
    struct stat mine {};
    if (::fstat(fd, &mine) != 0)
        return false;
    if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // After the owner: changing it clears the set-id bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Removes the temporary files that saves by programs no longer running left in folder when they
// were killed part way.
void RemoveAbandonedTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, kTempPrefix.size(), kTempPrefix) != 0 || name.size() < kTempSuffix.size() ||
            name.compare(name.size() - kTempSuffix.size(), kTempSuffix.size(), kTempSuffix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + kTempPrefix.size(), &end, 10);
        if (pid <= 0 || end == nullptr || *end != '-' || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

// Overwrites the file at target with the content staged in the file stagingPath (open as staging).
// The staged file becomes the save's journal first, so that a kill at any instant leaves what the
// next open needs to finish the write. Reserving the new size makes a full disk fail before a
// byte changes; the old bytes are kept to put back should the write fail after all.
TFileStamp OverwriteInPlace(const std::string& path, const std::string& target, TFileHandle staging,
                            const std::string& stagingPath, uint64_t digest) {
    TFileHandle file(::open(target.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    std::string newBytes;
    std::string oldBytes;
    int error = file.Get() < 0 || ::fstat(file.Get(), &info) != 0 ? errno : 0;
    if (error == 0)
        error = ReadAllFrom(staging.Get(), newBytes, path);
    if (error == 0)
        error = ReadAllFrom(file.Get(), oldBytes, path);
    if (error != 0) {
        ::unlink(stagingPath.c_str());
        ThrowWriteError(path, error);
    }
    TContentDigest oldDigest;
    oldDigest.Add(oldBytes);
    const std::string journal =
        SaveJournal::Commit(staging.Get(), stagingPath, path, target, info, oldDigest.Value(), digest);
    staging.Close();
    if (newBytes.size() > oldBytes.size()) {
        error = ::posix_fallocate(file.Get(), 0, static_cast<off_t>(newBytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            // Best effort: the allocation's error is the one to report.
            std::ignore = ::ftruncate(file.Get(), static_cast<off_t>(oldBytes.size()));
            SaveJournal::Remove(journal);
            ThrowWriteError(path, error);
        }
    }
    if ((error = Rewrite(file.Get(), newBytes)) != 0) {
        // Put back, the old content is whole again; otherwise the journal finishes the write on the
        // next open.
        if (Rewrite(file.Get(), oldBytes) == 0)
            SaveJournal::Remove(journal);
        ThrowWriteError(path, error);
    }
    ::fstat(file.Get(), &info);
    if (file.Close() != 0)
        ThrowWriteError(path, errno);
    SaveJournal::Remove(journal);
    return MakeFileStamp(info, digest);
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    TInputFile file(path);
    std::string bytes;
    file.ReadToEnd(bytes);
    return bytes;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && IsReadOnly(path, info);
}

TFileStamp WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return WriteFileAtomically(path, [bytes](const TByteSink& put) { put(bytes); });
}

TFileStamp WriteFileAtomically(const std::string& path,
                               const std::function<void(const TByteSink&)>& produce) {
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        throw EFileError(QT_TRANSLATE_NOOP("Quillery", "Cannot create file %1: it is not a regular file."),
                         {path});
    if (replacing && IsReadOnly(target, old))
        throw EFileError(QT_TRANSLATE_NOOP("Quillery", "Cannot write file %1: it is read-only."), {path});

    std::string temp;
    TFileHandle file = CreateTemporary(folder, replacing ? 0600 : 0666, temp);
    bool inPlace = false;
    if (file.Get() < 0) {
        // The folder takes no new file while the file itself may be written: the content waits
        // elsewhere and then goes in place.
        const int error = errno;
        if (!replacing || !IsPermissionError(error))
            throw EFileError(kCannotCreateFile, {path, Reason(error)});
        file = CreateTemporary(StagingFolder(), 0600, temp);
        if (file.Get() < 0)
            throw EFileError(kCannotCreateFile, {path, Reason(errno)});
        inPlace = true;
    }
    if (replacing && !inPlace)
        inPlace = !TakeOwnerAndMode(file.Get(), old);
    auto discard = [&]() {
        file.Close();
        ::unlink(temp.c_str());
    };

    TContentDigest digest;
    off_t length = 0;
    off_t started = 0; // where the bytes not yet handed to the disk begin
    const TByteSink put = [&](std::string_view bytes) {
        if (const int error = WriteAll(file.Get(), bytes))
            ThrowWriteError(path, error);
        // The disk starts on every few megabytes while the next are made, so the flush at the end
        // waits for the last ones only; fewer, larger requests keep the disk busier than one per
        // piece. Only a hint: the flush still reports any failure.
        length += static_cast<off_t>(bytes.size());
        if (length - started >= kStartWriteBytes) {
            ::sync_file_range(file.Get(), started, length - started, SYNC_FILE_RANGE_WRITE);
            started = length;
        }
        digest.Add(bytes);
    };
    try {
        produce(put);
    } catch (...) {
        discard();
        throw;
    }
    if (::fsync(file.Get()) != 0) {
        const int error = errno;
        discard();
        ThrowWriteError(path, error);
    }
    if (!inPlace && ::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        // A folder with the sticky bit lets only a file's owner replace it.
        if (!replacing || !IsPermissionError(error)) {
            discard();
            throw EFileError(kCannotCreateFile, {path, Reason(error)});
        }
        inPlace = true;
    }
    if (inPlace) {
        const TFileStamp stamp = OverwriteInPlace(path, target, std::move(file), temp, digest.Value());
        RemoveAbandonedTemporaries(FolderOf(temp));
        return stamp;
    }

    struct stat written {};
    ::fstat(file.Get(), &written);
    // Make the rename itself durable.
    FlushFolder(folder);
    RemoveAbandonedTemporaries(folder);
    return MakeFileStamp(written, digest.Value());
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
