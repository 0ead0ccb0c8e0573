// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace {

struct TCommandEntry {
    const char* Name;
    TCliCommand Command;
    const char* Arguments;   // their names, separated by spaces
    const char* Description; // its lines for --help, separated by '\n'
};

const TCommandEntry kCommands[] = {
    {"info", TCliCommand::Info, "FILE",
     "magic, version, whether a password is set, then one line per category:\n"
     "id, name, and the numbers of elements, text boxes, list columns and\n"
     "records"},
    {"dump", TCliCommand::Dump, "FILE",
     "the whole file as one JSON object in UTF-8; an icon's \"bytes\" is the size\n"
     "of its bitmap image in bytes"},
    {"check", TCliCommand::Check, "FILE",
     "reports every broken invariant of the file, one line per problem naming\n"
     "its category; the exit status is 0 only when there is none"},
    {"resave", TCliCommand::Resave, "IN OUT",
     "reads IN and writes it to OUT exactly as the program writes data files.\n"
     "An existing OUT keeps its owner, group and permissions; one without\n"
     "write permission is refused. An encrypted IN stays encrypted unless\n"
     "--decrypt is given"},
    {"list", TCliCommand::List, "FILE CATEGORY",
     "the record list the program shows for CATEGORY (its name, or its id when\n"
     "no category has that name): a line of column captions, then one line per\n"
     "record, cells separated by tabs, sorted by the category's sort column"},
    {"export", TCliCommand::Export, "FILE CATEGORY OUT",
     "writes every record of CATEGORY to the workbook OUT as the program's\n"
     "export does: one column per text box, headed by its list column's\n"
     "caption, one row per record. OUT is a .xlsx file (a new worksheet is\n"
     "added when it exists) or a .csv file (replaced when it exists). The data\n"
     "file is never changed"},
    {"import", TCliCommand::Import, "FILE WORKBOOK CATEGORY",
     "adds the rows of a worksheet of WORKBOOK (.xlsx, .xls, .ods or .csv) to\n"
     "CATEGORY as new records, as the program's import into an existing\n"
     "category does: the title row and the rows below it are found as the\n"
     "import wizard finds them, and each column fills the text box whose list\n"
     "column caption it names, ignoring case; a column that names none is\n"
     "reported on standard error and left out, the other text boxes stay\n"
     "empty. FILE is written as the program writes it, and only when every row\n"
     "has been read: a failure leaves it as it was"},
};

struct TOptionEntry {
    const char* ShortName; // empty for none
    const char* Name;
    const char* ValueName; // empty for a switch
    const char* Description;
};

const TOptionEntry kOptions[] = {
    {"", "filter", "TEXT",
     "list: only the records that the program's filter keeps for TEXT (one\n"
     "line, as the filter box holds)"},
    {"", "whole-word", "", "list: with --filter, TEXT must stand as a whole word"},
    {"", "sheet", "NAME",
     "export: the worksheet's name (default: the category's name); import: the\n"
     "worksheet to read (default: the workbook's active worksheet)"},
    {"", "skip-duplicates", "",
     "import: leave out rows whose values all equal those of a record of\n"
     "CATEGORY, compared box for box"},
    {"", "encrypt", "",
     "resave: write OUT encrypted with the file's password; a file without one\n"
     "takes a new password (typed twice on a terminal, never empty)"},
    {"", "decrypt", "", "resave: write OUT in the plain format; a password stays a gate only"},
    {"", "password-file", "PATH", "read the password from the first line of PATH, a regular file"},
    {"h", "help", "", "show this text"},
    {"v", "version", "", "show the version"},
};

const char* const kUsageIntro = R"(Usage: quillery-cli COMMAND [OPTIONS] ARGUMENTS

Reads Quillery data files (*.lgd) and the template file (Templates/template1.tpl).
)";

const char* const kUsageDetails = R"(
Only regular files are read: a FIFO, a device or a folder is refused at once.

A file with a password needs it for dump, list, export, import and resave; info and check show no
record and do not ask for it. An encrypted file needs its password for every command, info and check included.
A password typed as UTF-8 also opens an older file whose password was set in Windows-1252, as in
the program. Without --password-file the password is asked for on the terminal (not echoed), or
read from the first line of standard input when that is not a terminal.

Stored text is shown as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise. Sorting and
the filter compare the stored bytes, folding only the letters A-Z onto a-z, as the program does.

Exit status: 0 success; 1 an error (its message on standard error), a wrong password, or
problems found by check; 2 a usage error.
)";

// One entry of --help: the head in a column of its own, the description's lines beside it; a head
// too wide for the column puts the description under it.
void WriteEntry(std::ostream& out, const std::string& head, const char* description) {
    constexpr size_t kHeadWidth = 21;
    const std::string indent(2 + kHeadWidth, ' ');
    out << "  " << head;
    if (head.size() < kHeadWidth)
        out << std::string(kHeadWidth - head.size(), ' ');
    else
        out << '\n' << indent;
    for (const char* c = description; *c != '\0'; ++c)
        out << *c << (*c == '\n' ? indent : "");
    out << '\n';
}

std::string OptionHead(const TOptionEntry& option) {
    std::string head = *option.ShortName ? std::string("-") + option.ShortName + ", " : "";
    head += std::string("--") + option.Name;
    if (*option.ValueName)
        head += std::string(" ") + option.ValueName;
    return head;
}

std::vector<std::string> Words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

const TOptionEntry* FindOption(const std::string& name) {
    for (const TOptionEntry& option : kOptions)
        if (name == option.Name || (*option.ShortName && name == option.ShortName))
            return &option;
    return nullptr;
}

// The options found on a command line, and the arguments between them, read as the window
// program's parser reads its command line: options may stand anywhere, "--" ends them, a lone "-"
// is an argument, "-hv" is two short options, and "--h" names -h.
class TArgumentScan {
public:
    explicit TArgumentScan(const std::vector<std::string>& args) : FArgs(args) {
        bool optionsEnded = false;
        for (FNext = 0; FNext < FArgs.size();) {
            const std::string& arg = FArgs[FNext++];
            if (optionsEnded || arg.size() < 2 || arg[0] != '-')
                Positional.push_back(arg);
            else if (arg == "--")
                optionsEnded = true;
            else if (arg[1] == '-')
                ScanLong(arg);
            else
                ScanShort(arg);
        }
    }

    bool IsSet(const char* name) const { return FValues.count(name) > 0; }
    // The last value given; empty when none.
    std::string Value(const char* name) const {
        const auto found = FValues.find(name);
        return found == FValues.end() ? std::string() : found->second;
    }

    std::vector<std::string> Positional;
    std::string Error; // the first unknown option, else the last option with a wrong value

private:
    // "--name", "--name=VALUE" or "--name VALUE".
    void ScanLong(const std::string& arg) {
        const size_t assign = arg.find('=');
        const std::string typed = arg.substr(0, assign);
        const TOptionEntry* option = FindOption(typed.substr(2));
        if (option == nullptr)
            Unknown(typed);
        else if (assign != std::string::npos)
            Take(*option, typed, arg.substr(assign + 1));
        else
            TakeNext(*option, arg);
    }

    // "-hv": one short option after another; one that takes a value takes the rest of the group,
    // after an optional '=', or else the next argument.
    void ScanShort(const std::string& arg) {
        for (size_t pos = 1; pos < arg.size(); ++pos) {
            const TOptionEntry* option = FindOption(arg.substr(pos, 1));
            if (option == nullptr) {
                Unknown(std::string{'-', arg[pos]});
                continue;
            }
            if (*option->ValueName) {
                if (pos + 1 < arg.size())
                    Take(*option, arg.substr(0, pos + 1), arg.substr(pos + 1 + (arg[pos + 1] == '=')));
                else
                    TakeNext(*option, arg);
                return;
            }
            Given(*option);
            if (pos + 1 < arg.size() && arg[pos + 1] == '=') {
                ValueError(*option, "unexpected value after '" + arg.substr(0, pos + 1) + "'");
                return;
            }
        }
    }

    void Take(const TOptionEntry& option, const std::string& typed, const std::string& value) {
        if (*option.ValueName)
            FValues[option.Name] = value;
        else
            ValueError(option, "unexpected value after '" + typed + "'");
    }

    // The option alone in its argument: a switch, or an option whose value is the next argument.
    void TakeNext(const TOptionEntry& option, const std::string& typed) {
        if (!*option.ValueName)
            Given(option);
        else if (FNext < FArgs.size())
            FValues[option.Name] = FArgs[FNext++];
        else
            ValueError(option, "missing value after '" + typed + "'");
    }

    void Given(const TOptionEntry& option) { FValues.emplace(option.Name, std::string()); }

    void Unknown(const std::string& typed) {
        if (!FUnknownFound)
            Error = "unknown option '" + typed + "'";
        FUnknownFound = true;
    }

    // The option still counts as given, so that --help=1 shows the help as --help does.
    void ValueError(const TOptionEntry& option, const std::string& message) {
        Given(option);
        if (!FUnknownFound)
            Error = message;
    }

    const std::vector<std::string>& FArgs;
    size_t FNext = 0;
    bool FUnknownFound = false;
    std::map<std::string, std::string> FValues; // by long name: the options given
};

} // namespace

std::string CliUsage() {
    std::ostringstream out;
    out << kUsageIntro << "\nCommands:\n";
    for (const TCommandEntry& command : kCommands)
        WriteEntry(out, std::string(command.Name) + ' ' + command.Arguments, command.Description);
    out << "\nOptions:\n";
    for (const TOptionEntry& option : kOptions)
        WriteEntry(out, OptionHead(option), option.Description);
    out << kUsageDetails;
    return out.str();
}

bool RunsInExchangeProgram(TCliCommand command) {
    return command == TCliCommand::Dump || command == TCliCommand::Export || command == TCliCommand::Import;
}

std::string CliVersion() {
    return "quillery-cli " QUILLERY_VERSION "\n";
}

TCliOptions TCliOptions::Parse(const std::vector<std::string>& args) {
    const TArgumentScan scan(args);
    const auto isSet = [&](const char* name) { return scan.IsSet(name); };
    const auto value = [&](const char* name) { return scan.Value(name); };
    TCliOptions options;
    options.Help = isSet("help");
    options.Version = isSet("version");
    if (options.Help || options.Version)
        return options;
    if (!scan.Error.empty())
        throw ECliUsageError(scan.Error);

    options.FilterText = value("filter");
    options.WholeWord = isSet("whole-word");
    options.SheetName = value("sheet");
    options.Encrypt = isSet("encrypt");
    options.Decrypt = isSet("decrypt");
    options.SkipDuplicates = isSet("skip-duplicates");
    options.PasswordFile = value("password-file");

    const std::vector<std::string>& positional = scan.Positional;
    if (positional.empty())
        throw ECliUsageError("no command given");
    const std::string& name = positional.front();
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const TCommandEntry& entry) { return name == entry.Name; });
    if (command == std::end(kCommands))
        throw ECliUsageError("unknown command '" + name + "'");
    options.Command = command->Command;
    options.Arguments.assign(positional.begin() + 1, positional.end());
    const std::vector<std::string> argumentNames = Words(command->Arguments);
    if (options.Arguments.size() < argumentNames.size())
        throw ECliUsageError("missing argument " + argumentNames[options.Arguments.size()] + " for '" + name +
                             "'");
    if (options.Arguments.size() > argumentNames.size())
        throw ECliUsageError("unexpected argument '" + options.Arguments[argumentNames.size()] + "' after '" +
                             name + ' ' + command->Arguments + "'");

    // The filter box holds one line.
    if (options.FilterText.find_first_of("\r\n") != std::string::npos)
        throw ECliUsageError("--filter TEXT cannot hold a line break");
    if (options.Command != TCliCommand::List && (options.WholeWord || isSet("filter")))
        throw ECliUsageError("--filter and --whole-word belong to list");
    if (options.Command != TCliCommand::Export && options.Command != TCliCommand::Import && isSet("sheet"))
        throw ECliUsageError("--sheet belongs to export and import");
    if (options.Command != TCliCommand::Import && options.SkipDuplicates)
        throw ECliUsageError("--skip-duplicates belongs to import");
    if (options.Command != TCliCommand::Resave && (options.Encrypt || options.Decrypt))
        throw ECliUsageError("--encrypt and --decrypt belong to resave");
    if (options.Encrypt && options.Decrypt)
        throw ECliUsageError("--encrypt and --decrypt exclude each other");
    return options;
}
