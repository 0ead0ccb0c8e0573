#include "core/FileIO.h"

#include "core/Error.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int64_t> gBytesBeforeFailure{-1};

std::string Reason(int error) {
    return std::strerror(error);
}

// A file descriptor that is closed however the scope ends.
class TFileHandle {
public:
    explicit TFileHandle(int fd) : FFd(fd) {}
    ~TFileHandle() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Get() const { return FFd; }
    int Release() {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }

private:
    int FFd;
};

// write() with the test seam in front of it.
ssize_t WriteSome(int fd, const char* data, size_t size) {
    int64_t budget = gBytesBeforeFailure.load();
    if (budget >= 0) {
        if (budget == 0) {
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

// Removes the temporary files that saves of target by programs no longer running left behind
// when they were killed part way: named target + ".tmp" + process id + "-" + number.
void RemoveAbandonedTemporaries(const std::string& target, const std::string& folder) {
    const size_t slash = target.rfind('/');
    const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + ".tmp";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || end == nullptr || *end != '-' || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(dir);
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw EFileError("Cannot open file " + path);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw EFileError("Cannot read file " + path + ": " + Reason(errno));
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<size_t>(got));
    }
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    WriteFileAtomically(path, [bytes](const TByteSink& put) { put(bytes); });
}

void WriteFileAtomically(const std::string& path, const std::function<void(const TByteSink&)>& produce) {
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    // A fresh name beside the target; O_EXCL makes sure no other file is taken over.
    std::random_device seed;
    std::mt19937 random(seed());
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw EFileError("Cannot create file " + path);
    TFileHandle file(fd);

    auto discard = [&]() {
        ::close(file.Release());
        ::unlink(temp.c_str());
    };
    auto fail = [&](const std::string& message) {
        discard();
        throw EFileError(message);
    };

    if (replacing)
        ::fchmod(file.Get(), old.st_mode & 07777);
    const TByteSink put = [&](std::string_view bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = WriteSome(file.Get(), bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throw EFileError("Cannot write file " + path + ": " + Reason(written < 0 ? errno : ENOSPC));
            done += static_cast<size_t>(written);
        }
    };
    try {
        produce(put);
    } catch (...) {
        discard();
        throw;
    }
    if (::fsync(file.Get()) != 0)
        fail("Cannot write file " + path + ": " + Reason(errno));
    if (::close(file.Release()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw EFileError("Cannot write file " + path + ": " + Reason(error));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw EFileError("Cannot create file " + path + ": " + Reason(error));
    }
    // Make the rename itself durable.
    TFileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    RemoveAbandonedTemporaries(target, folder);
}

void SetWriteFailureForTesting(int64_t bytesBeforeFailure) {
    gBytesBeforeFailure.store(bytesBeforeFailure);
}
