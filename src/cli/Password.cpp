#include "cli/Password.h"

#include "core/Error.h"

#include <fstream>
#include <iostream>

#include <termios.h>
#include <unistd.h>

namespace {

std::string FirstLine(std::istream& in) {
    std::string line;
    std::getline(in, line);
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
        std::ifstream in(passwordFile, std::ios::binary);
        if (!in)
            throw EFileError("Cannot open file " + passwordFile);
        return FirstLine(in);
    }
    if (!isatty(STDIN_FILENO))
        return FirstLine(std::cin);
    std::string password;
    {
        // Echo goes off before the prompt shows, so nothing typed after it is ever echoed.
        TNoEcho noEcho;
        std::cerr << prompt << std::flush;
        password = FirstLine(std::cin);
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
