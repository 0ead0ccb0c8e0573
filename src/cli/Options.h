// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// A command line that does not fit the usage: its message is one line on standard error, with a
// pointer to --help, and the exit status is 2.
class ECliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TCliCommand { Info, Dump, Check, Resave, List, Export, Import };

// Whether the command needs Qt (JSON, the workbook engine), and so runs in quillery-cli-exchange.
bool RunsInExchangeProgram(TCliCommand command);

// The text of --help: every command and option, from the same tables the parser uses.
std::string CliUsage();
// The text of --version.
std::string CliVersion();

// The command line of quillery-cli, as bytes: file names and filter texts are passed on as typed.
struct TCliOptions {
    bool Help = false;    // --help wins over anything else given
    bool Version = false; // --version, unless --help is given too
    TCliCommand Command = TCliCommand::Info;
    std::vector<std::string> Arguments; // as many as the command names
    std::string PasswordFile;           // empty: ask for the password
    std::string FilterText;             // empty: no filter, as with an empty filter box
    bool WholeWord = false;
    std::string SheetName; // export: empty names the worksheet after the category
    bool Encrypt = false;  // resave: write OUT encrypted
    bool Decrypt = false;  // resave: write OUT in the plain format
    // import: SheetName names the worksheet read (empty: the active one); rows equal to a record
    // already there are left out.
    bool SkipDuplicates = false;

    // args without the program name. Fails with ECliUsageError on an unknown command or option, a
    // missing option value, too few or too many arguments, or an option the command does not take.
    static TCliOptions Parse(const std::vector<std::string>& args);
};
