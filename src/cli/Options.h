// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// A command line that does not fit the usage: reported with the usage text, exit status 2.
class ECliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

extern const char* const kCliUsage;

// The command line of quillery-cli, as bytes: file names and filter texts are passed on as typed.
struct TCliOptions {
    bool Help = false;
    std::string Command;
    std::vector<std::string> Arguments; // the positional arguments after the command
    std::string PasswordFile;           // empty: ask for the password
    std::string FilterText;             // empty: no filter, as with an empty filter box
    bool WholeWord = false;
    std::string SheetName;       // export: empty names the worksheet after the category; import: the
                                 // worksheet read, empty for the workbook's active one
    bool SkipDuplicates = false; // import: leave out rows equal to a record already there
    bool Encrypt = false;        // resave: write OUT encrypted
    bool Decrypt = false;        // resave: write OUT in the plain format

    // args without the program name. Fails with ECliUsageError on an unknown option or a missing
    // option value; the command and its arguments are checked by the command that runs.
    static TCliOptions Parse(const std::vector<std::string>& args);
};
