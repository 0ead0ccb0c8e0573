#include "core/FileCopy.h"

#include "core/Error.h"
#include "core/FileIO.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The absolute, normalised spelling of a path whose file may not exist yet: its folder resolved
// when it exists, "." and ".." folded otherwise.
std::string AbsolutePath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (::realpath(folder.c_str(), resolved) != nullptr)
        return std::string(resolved) + (std::strcmp(resolved, "/") == 0 ? "" : "/") + name;
    return path;
}

} // namespace

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat statA {};
    struct stat statB {};
    if (::stat(a.c_str(), &statA) == 0 && ::stat(b.c_str(), &statB) == 0)
        return statA.st_dev == statB.st_dev && statA.st_ino == statB.st_ino;
    return AbsolutePath(a) == AbsolutePath(b);
}

void CopyFileReplacing(const std::string& source, const std::string& destination) {
    if (IsSameFile(source, destination))
        throw EFileError("Cannot copy file " + source + " onto itself");
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = fd < 0 ? errno : 0;
        if (fd >= 0)
            ::close(fd);
        throw EFileError("Cannot open file " + source + ": " +
                         (error != 0 ? std::strerror(error) : "it is not a regular file."));
    }
    try {
        WriteFileAtomically(destination, [&](const TByteSink& sink) {
            char buffer[1 << 16];
            for (;;) {
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0)
                    throw EFileError("Cannot read file " + source + ": " + std::strerror(errno));
                if (got == 0)
                    break;
                sink(std::string_view(buffer, static_cast<size_t>(got)));
            }
        });
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}
