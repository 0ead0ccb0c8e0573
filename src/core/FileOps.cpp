// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileOps.h"

#include "core/Error.h"
#include "core/FileIO.h"
#include "core/InputFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

std::atomic<int64_t> gBytesBeforeFailure{-1};

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

} // namespace

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

int Rewrite(int fd, std::string_view bytes) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int error = WriteAll(fd, bytes))
        return error;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

void ThrowWriteError(const std::string& path, int error) {
    throw EFileError(kCannotWriteFile, {path, std::strerror(error)});
}

void FlushFolder(const std::string& folder) {
    TFileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

std::string StagingFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

void SetWriteFailureForTesting(int64_t bytesBeforeFailure) {
    gBytesBeforeFailure.store(bytesBeforeFailure);
}
