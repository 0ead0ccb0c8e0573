// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include <sys/stat.h>

// A regular file open for reading. Only regular files are opened, and the open itself never
// waits: a FIFO, a device or a socket is refused before it is opened ("Cannot open file %s: it is
// not a regular file."), and the open does not block should one appear in its place meanwhile.
// Any other failure names the system's reason ("Cannot open file %s: Permission denied").
class TInputFile {
public:
    explicit TInputFile(const std::string& path);
    ~TInputFile();
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    // Appends up to size more bytes to bytes; fewer only at the end of the file.
    void Read(std::string& bytes, size_t size);
    // Reads up to size bytes into buffer, fewer only at the end of the file; how many it read.
    size_t Read(char* buffer, size_t size);
    // Appends the rest of the file to bytes.
    void ReadToEnd(std::string& bytes);
    // What the file was when it was opened.
    const struct stat& Info() const { return FInfo; }
    int Descriptor() const { return FFd; }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
    int FFd = -1;
    struct stat FInfo {};
};

// Reads at most size bytes from fd into buffer, waiting for them when fd does not block; 0 at the
// end. "Cannot read file %s: reason" (with name) when the read fails.
size_t ReadFromDescriptor(int fd, char* buffer, size_t size, const std::string& name);
