// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Password.h"

#include "core/Error.h"
#include "core/InputFile.h"

#include <algorithm>
#include <iostream>

#include <termios.h>
#include <unistd.h>

namespace {

// The window's password box holds at most 32767 characters of up to three UTF-8 bytes each; a
// longer line cannot be a password, so reading stops there, whatever the input holds.
constexpr size_t kMaxPasswordLine = 3 * 32767 + 2;

// The first line that fd holds, without its line end; read in small pieces, never past the limit.
// A line longer than the limit fails as a wrong password would.
std::string FirstLine(int fd, const std::string& name) {
    std::string line;
    char chunk[4096];
    while (line.find('\n') == std::string::npos) {
        if (line.size() > kMaxPasswordLine)
            throw EQuilleryError("Password error.");
        const size_t got = ReadFromDescriptor(fd, chunk, sizeof chunk, name);
        if (got == 0)
            break;
        line.append(chunk, got);
    }
    line.erase(std::min(line.find('\n'), line.size()));
    if (line.size() > kMaxPasswordLine)
        throw EQuilleryError("Password error.");
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// Turns the terminal's echo off for its lifetime.
class TNoEcho {
public:
    TNoEcho() : FActive(tcgetattr(STDIN_FILENO, &FSaved) == 0) {
        if (!FActive)
            return;
        termios quiet = FSaved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        FActive = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~TNoEcho() {
        if (FActive)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &FSaved);
    }
    TNoEcho(const TNoEcho&) = delete;
    TNoEcho& operator=(const TNoEcho&) = delete;

private:
    termios FSaved{};
    bool FActive;
};

} // namespace

std::string ReadCliPassword(const std::string& passwordFile, const char* prompt) {
    if (!passwordFile.empty()) {
        const TInputFile file(passwordFile);
        return FirstLine(file.Descriptor(), passwordFile);
    }
    if (!isatty(STDIN_FILENO))
        return FirstLine(STDIN_FILENO, "standard input");
    std::string password;
    {
        // Echo goes off before the prompt shows, so nothing typed after it is ever echoed.
        TNoEcho noEcho;
        std::cerr << prompt << std::flush;
        password = FirstLine(STDIN_FILENO, "standard input");
    }
    std::cerr << '\n';
    return password;
}

std::string ReadNewCliPassword(const std::string& passwordFile) {
    const std::string password = ReadCliPassword(passwordFile, "New password: ");
    if (passwordFile.empty() && isatty(STDIN_FILENO) &&
        ReadCliPassword(passwordFile, "Repeat the new password: ") != password)
        throw EQuilleryError("The passwords do not match.");
    if (password.empty())
        throw EQuilleryError("The password cannot be empty.");
    return password;
}
