// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The low-level pieces of writing files that saving and its journal share.

#include <string>
#include <string_view>
#include <utility>

#include <unistd.h>

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

// Writes all of bytes (through the failure seam of SetWriteFailureForTesting); 0 or the error.
int WriteAll(int fd, std::string_view bytes);
// Reads what fd holds from its start into bytes; 0 or the error.
int ReadAllFrom(int fd, std::string& bytes, const std::string& path);
// Makes the file at fd hold bytes and nothing more, flushed to disk; 0 or the error.
int Rewrite(int fd, std::string_view bytes);
// "Cannot write file PATH: reason", as EFileError.
[[noreturn]] void ThrowWriteError(const std::string& path, int error);
// Flushes a folder, so that names made or removed in it last.
void FlushFolder(const std::string& folder);

// The folder part of path ("." for a bare name).
std::string FolderOf(const std::string& path);
// The file that a write to path really replaces: the target of a link, followed to the end.
std::string ResolveTarget(const std::string& path);
// Where the content waits when the data file's folder takes no new file.
std::string StagingFolder();
