// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileCopy.h"

#include "core/Error.h"
#include "core/FileIO.h"
#include "core/InputFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

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
        throw EFileError(QT_TRANSLATE_NOOP("Quillery", "Cannot copy file %1 onto itself"), {source});
    TInputFile input(source);
    WriteFileAtomically(destination, [&](const TByteSink& sink) {
        std::string chunk;
        do {
            chunk.clear();
            input.Read(chunk, 1 << 16);
            sink(chunk);
        } while (!chunk.empty());
    });
}
