// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HandOver.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {

const char kExchangeProgram[] = "quillery-cli-exchange";

// The folder of this program's file, from the kernel rather than from argv[0], which a caller sets
// as it likes. Empty when it cannot be read, errno telling why.
std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length < 0)
        return {};
    if (static_cast<size_t>(length) == sizeof path) { // cut short
        errno = ENAMETOOLONG;
        return {};
    }
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/'));
}

} // namespace

int HandOverToExchangeProgram(char** argv) {
    const std::string folder = ProgramFolder();
    int error = errno;
    if (!folder.empty()) {
        // Beside quillery-cli in a build tree or a portable copy; in libexec when installed.
        for (const std::string& candidate : {folder + '/' + kExchangeProgram,
                                             folder + "/" QUILLERY_LIBEXEC_FROM_BIN "/" + kExchangeProgram}) {
            execv(candidate.c_str(), argv);
            error = errno;
            if (error != ENOENT)
                break;
        }
    }
    std::cerr << "quillery-cli: cannot start " << kExchangeProgram << ": " << std::strerror(error) << '\n';
    return 1;
}
