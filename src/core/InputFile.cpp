// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/InputFile.h"

#include "core/HugePages.h"

#include "core/Error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowNotRegular(const std::string& path) {
    throw EFileError(QT_TRANSLATE_NOOP("Quillery", "Cannot open file %1: it is not a regular file."), {path});
}

} // namespace

size_t ReadFromDescriptor(int fd, char* buffer, size_t size, const std::string& name) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0)
            return static_cast<size_t>(got);
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd wait{fd, POLLIN, 0};
            ::poll(&wait, 1, -1);
        } else if (errno != EINTR) {
            throw EFileError(kCannotReadFile, {name, std::strerror(errno)});
        }
    }
}

TInputFile::TInputFile(const std::string& path) : FPath(path) {
    // A device may act on being opened (a tape rewinds), so what is not a regular file is refused
    // from its metadata; the check after the open covers a swap in between.
    if (::stat(path.c_str(), &FInfo) == 0 && !S_ISREG(FInfo.st_mode))
        ThrowNotRegular(path);
    FFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (FFd < 0)
        throw EFileError(kCannotOpenFile, {path, std::strerror(errno)});
    if (::fstat(FFd, &FInfo) != 0) {
        const int error = errno;
        ::close(FFd);
        throw EFileError(kCannotOpenFile, {path, std::strerror(error)});
    }
    if (!S_ISREG(FInfo.st_mode)) {
        ::close(FFd);
        ThrowNotRegular(path);
    }
}

TInputFile::~TInputFile() {
    ::close(FFd);
}

size_t TInputFile::Read(char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        const size_t got = ReadFromDescriptor(FFd, buffer + done, size - done, FPath);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void TInputFile::Read(std::string& bytes, size_t size) {
    const size_t start = bytes.size();
    bytes.resize(start + size);
    bytes.resize(start + Read(&bytes[start], size));
}

void TInputFile::ReadToEnd(std::string& bytes) {
    try {
        // Room for the size the file had when opened and one byte more, so that reaching its end
        // needs no larger buffer; a file that grows meanwhile is still read whole.
        if (FInfo.st_size >= 0) {
            bytes.reserve(std::max(bytes.size(), static_cast<size_t>(FInfo.st_size)) + 1);
            AdviseHugePages(bytes.data() + bytes.size(), bytes.capacity() - bytes.size());
        }
        for (;;) {
            size_t room = bytes.capacity() - bytes.size();
            if (room == 0)
                room = 1 << 20;
            const size_t before = bytes.size();
            Read(bytes, room);
            if (bytes.size() - before < room)
                return;
        }
    } catch (const EFileError&) {
        throw;
    } catch (const std::exception&) {
        // The buffer could not be had (bad_alloc, or length_error for a size beyond any).
        throw EFileError(kCannotReadFile, {FPath, std::strerror(ENOMEM)});
    }
}
