// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

const char* const kCliUsage =
    R"(Usage: quillery-cli COMMAND [OPTIONS] ARGUMENTS

Reads Quillery data files (*.lgd) and the template file (Templates/template1.tpl).

Commands:
  info FILE            magic, version, whether a password is set, then one line per category:
                       id, name, and the numbers of elements, text boxes, list columns and
                       records
  dump FILE            the whole file as one JSON object in UTF-8; an icon's "bytes" is the size
                       of its bitmap image in bytes
  check FILE           reports every broken invariant of the file, one line per problem naming
                       its category; the exit status is 0 only when there is none
  resave IN OUT        reads IN and writes it to OUT exactly as the program writes data files:
                       an existing OUT keeps its owner, group and permissions, and one without
                       write permission is refused
                       and an encrypted IN stays encrypted unless --decrypt is given
  list FILE CATEGORY   the record list the program shows for CATEGORY (its name, or its id when
                       no category has that name): a line of column captions, then one line per
                       record, cells separated by tabs, sorted by the category's sort column
  export FILE CATEGORY OUT
                       writes every record of CATEGORY to the workbook OUT as the program's
                       export does: one column per text box, headed by its list column's
                       caption, one row per record. OUT is a .xlsx file (a new worksheet is
                       added when it exists) or a .csv file (replaced when it exists). The data
                       file is never changed
  import FILE WORKBOOK CATEGORY
                       adds the rows of a worksheet of WORKBOOK (.xlsx, .xls, .ods or .csv) to
                       CATEGORY as new records, as the program's import into an existing category
                       does: the title row and the rows below it are found as the import wizard
                       finds them, and each column fills the text box whose list column caption
                       it names, ignoring case; a column that names none is reported on standard
                       error and left out, the other text boxes stay empty. FILE is written as
                       the program writes it, and only when every row has been read: a failure
                       leaves it as it was

Options:
  --filter TEXT        list: only the records that the program's filter keeps for TEXT (one
                       line, as the filter box holds)
  --whole-word         list: with --filter, TEXT must stand as a whole word
  --sheet NAME         export: the worksheet's name (default: the category's name); import: the
                       worksheet to read (default: the workbook's active worksheet)
  --skip-duplicates    import: leave out rows whose values all equal those of a record of
                       CATEGORY, compared box for box
  --encrypt            resave: write OUT encrypted with the file's password; a file without one
                       takes a new password (typed twice on a terminal, never empty)
  --decrypt            resave: write OUT in the plain format; a password stays a gate only
  --password-file PATH read the password from the first line of PATH, a regular file
  -h, --help           show this text

Only regular files are read: a FIFO, a device or a folder is refused at once.

A file with a password needs it for dump, list, export, import and resave; info and check show
no record and never ask; an encrypted file needs it for every command. A password typed as UTF-8 also opens an
older file whose password was set in Windows-1252, as in the program. Without --password-file the
password is asked for on the terminal (not echoed), or
read from the first line of standard input when that is not a terminal.

Stored text is shown as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise. Sorting and
the filter compare the stored bytes, folding only the letters A-Z onto a-z, as the program does.

Exit status: 0 success; 1 an error (its message on standard error), a wrong password, or
problems found by check; 2 a usage error.
)";

namespace {

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

} // namespace

TCliOptions TCliOptions::Parse(const std::vector<std::string>& args) {
    TCliOptions options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        const size_t equals = arg.find('=');
        const bool inlineValue = arg.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (inlineValue) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if ((name == "--help" || name == "-h") && !inlineValue) {
            options.Help = true;
        } else if (name == "--whole-word" && !inlineValue) {
            options.WholeWord = true;
        } else if (name == "--encrypt" && !inlineValue) {
            options.Encrypt = true;
        } else if (name == "--decrypt" && !inlineValue) {
            options.Decrypt = true;
        } else if (name == "--skip-duplicates" && !inlineValue) {
            options.SkipDuplicates = true;
        } else if (name == "--filter" || name == "--password-file" || name == "--sheet") {
            if (!inlineValue) {
                if (i + 1 == args.size())
                    throw ECliUsageError("option " + name + " needs a value");
                value = args[++i];
            }
            // The filter box holds one line.
            if (name == "--filter" && value.find_first_of("\r\n") != std::string::npos)
                throw ECliUsageError("--filter TEXT cannot hold a line break");
            (name == "--filter"  ? options.FilterText
             : name == "--sheet" ? options.SheetName
                                 : options.PasswordFile) = value;
        } else {
            throw ECliUsageError("unknown option " + arg);
        }
    }
    if (positional.empty()) {
        if (!options.Help)
            throw ECliUsageError("no command given");
        return options;
    }
    options.Command = positional.front();
    options.Arguments.assign(positional.begin() + 1, positional.end());
    return options;
}
