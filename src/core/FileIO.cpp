#include "core/FileIO.h"

#include "core/Error.h"
#include "core/InputFile.h"

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

std::atomic<int64_t> gBytesBeforeFailure{-1};

// Temporary files are named ".quillery-PID-NUMBER.tmp": short whatever the data file's name, and
// telling which process wrote them.
const std::string kTempPrefix = ".quillery-";
const std::string kTempSuffix = ".tmp";

std::string Reason(int error) {
    return std::strerror(error);
}

[[noreturn]] void ThrowWriteError(const std::string& path, int error) {
    throw EFileError("Cannot write file " + path + ": " + Reason(error));
}

// A file descriptor that is closed however the scope ends.
class TFileHandle {
public:
    explicit TFileHandle(int fd = -1) : FFd(fd) {}
    ~TFileHandle() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileHandle(TFileHandle&& other) noexcept : FFd(other.FFd) { other.FFd = -1; }
    TFileHandle& operator=(TFileHandle&& other) noexcept {
        std::swap(FFd, other.FFd);
        return *this;
    }
    int Get() const { return FFd; }
    // Closes now, reporting the error a delayed write may only show here.
    int Close() {
        const int result = ::close(FFd);
        FFd = -1;
        return result;
    }

private:
    int FFd;
};

// write() with the test seam in front of it.
ssize_t WriteSome(int fd, const char* data, size_t size) {
    const int64_t budget = gBytesBeforeFailure.load();
    if (budget >= 0) {
        if (budget == 0) {
            gBytesBeforeFailure.store(-1);
            errno = ENOSPC;
            return -1;
        }
        size = std::min<size_t>(size, static_cast<size_t>(budget));
    }
    const ssize_t written = ::write(fd, data, size);
    if (written > 0 && budget >= 0)
        gBytesBeforeFailure.store(budget - written);
    return written;
}

// Writes all of bytes; 0 or the error.
int WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        done += static_cast<size_t>(written);
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a write to path really replaces: the target of a link, followed to the end.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
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

// Where the content waits when the data file's folder takes no new file.
std::string StagingFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
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

// Reads what fd holds from its start; 0 or the error.
int ReadAllFrom(int fd, std::string& bytes, const std::string& path) {
    try {
        if (::lseek(fd, 0, SEEK_SET) != 0)
            return errno;
        char chunk[1 << 16];
        while (const size_t got = ReadFromDescriptor(fd, chunk, sizeof chunk, path))
            bytes.append(chunk, got);
        return 0;
    } catch (const EFileError&) {
        return EIO;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

// Makes the file at fd hold bytes and nothing more, flushed to disk; 0 or the error.
int Rewrite(int fd, std::string_view bytes) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int error = WriteAll(fd, bytes))
        return error;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

// Overwrites the file at target with the content staged in staging. Reserving the new size first
// makes a full disk fail before a byte changes; the old bytes are kept to put back should the
// write fail after all.
TFileStamp OverwriteInPlace(const std::string& path, const std::string& target, int staging,
                            uint64_t digest) {
    TFileHandle file(::open(target.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0)
        ThrowWriteError(path, errno);
    std::string newBytes;
    std::string oldBytes;
    if (const int error = ReadAllFrom(staging, newBytes, path))
        ThrowWriteError(path, error);
    if (const int error = ReadAllFrom(file.Get(), oldBytes, path))
        ThrowWriteError(path, error);
    if (newBytes.size() > oldBytes.size()) {
        const int error = ::posix_fallocate(file.Get(), 0, static_cast<off_t>(newBytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            // Best effort: the allocation's error is the one to report.
            std::ignore = ::ftruncate(file.Get(), static_cast<off_t>(oldBytes.size()));
            ThrowWriteError(path, error);
        }
    }
    if (const int error = Rewrite(file.Get(), newBytes)) {
        Rewrite(file.Get(), oldBytes);
        ThrowWriteError(path, error);
    }
    ::fstat(file.Get(), &info);
    if (file.Close() != 0)
        ThrowWriteError(path, errno);
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
        throw EFileError("Cannot create file " + path + ": it is not a regular file.");
    if (replacing && IsReadOnly(target, old))
        throw EFileError("Cannot write file " + path + ": it is read-only.");

    std::string temp;
    TFileHandle file = CreateTemporary(folder, replacing ? 0600 : 0666, temp);
    bool inPlace = false;
    if (file.Get() < 0) {
        // The folder takes no new file while the file itself may be written: the content waits
        // elsewhere and then goes in place.
        const int error = errno;
        if (!replacing || !IsPermissionError(error))
            throw EFileError("Cannot create file " + path + ": " + Reason(error));
        file = CreateTemporary(StagingFolder(), 0600, temp);
        if (file.Get() < 0)
            throw EFileError("Cannot create file " + path + ": " + Reason(errno));
        inPlace = true;
    }
    if (replacing && !inPlace)
        inPlace = !TakeOwnerAndMode(file.Get(), old);
    // A staged copy needs no name: without one, a killed save leaves nothing behind.
    bool named = !inPlace;
    if (!named)
        ::unlink(temp.c_str());
    auto discard = [&]() {
        file.Close();
        if (named)
            ::unlink(temp.c_str());
    };

    TContentDigest digest;
    const TByteSink put = [&](std::string_view bytes) {
        if (const int error = WriteAll(file.Get(), bytes))
            ThrowWriteError(path, error);
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
    if (named && ::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        named = false;
        // A folder with the sticky bit lets only a file's owner replace it.
        if (!replacing || !IsPermissionError(error)) {
            discard();
            throw EFileError("Cannot create file " + path + ": " + Reason(error));
        }
        inPlace = true;
    }
    if (inPlace)
        return OverwriteInPlace(path, target, file.Get(), digest.Value());

    struct stat written {};
    ::fstat(file.Get(), &written);
    // Make the rename itself durable.
    TFileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    RemoveAbandonedTemporaries(folder);
    return MakeFileStamp(written, digest.Value());
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void SetWriteFailureForTesting(int64_t bytesBeforeFailure) {
    gBytesBeforeFailure.store(bytesBeforeFailure);
}
