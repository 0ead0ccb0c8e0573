// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include <QCommandLineParser>

#include <algorithm>
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

// Latin-1 maps every byte to one character and back, so that arguments in any encoding pass the
// parser unchanged; the option names are ASCII.
QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// The parser's complaint in the tool's words. An unknown option is named as typed, with its dashes.
std::string ParseError(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        // "Missing value after '--filter'." and the like
        QString error = parser.errorText();
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);
        return ToBytes(error.left(1).toLower() + error.mid(1));
    }
    const QString longName = QStringLiteral("--") + unknown.front();
    const bool typedLong = std::any_of(arguments.begin(), arguments.end(), [&](const QString& argument) {
        return argument == longName || argument.startsWith(longName + QLatin1Char('='));
    });
    return "unknown option '" + ToBytes(typedLong ? longName : QLatin1Char('-') + unknown.front()) + "'";
}

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

std::string CliVersion() {
    return "quillery-cli " QUILLERY_VERSION "\n";
}

TCliOptions TCliOptions::Parse(const std::vector<std::string>& args) {
    QStringList arguments{QStringLiteral("quillery-cli")};
    for (const std::string& arg : args)
        arguments << FromBytes(arg);
    QCommandLineParser parser;
    for (const TOptionEntry& option : kOptions) {
        QStringList names{QString::fromLatin1(option.Name)};
        if (*option.ShortName)
            names.prepend(QString::fromLatin1(option.ShortName));
        parser.addOption(QCommandLineOption(names, QString(), QString::fromLatin1(option.ValueName)));
    }
    const bool parsed = parser.parse(arguments);

    const auto isSet = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    const auto value = [&](const char* name) { return ToBytes(parser.value(QString::fromLatin1(name))); };
    TCliOptions options;
    options.Help = isSet("help");
    options.Version = isSet("version");
    if (options.Help || options.Version)
        return options;
    if (!parsed)
        throw ECliUsageError(ParseError(parser, arguments));

    options.FilterText = value("filter");
    options.WholeWord = isSet("whole-word");
    options.SheetName = value("sheet");
    options.Encrypt = isSet("encrypt");
    options.Decrypt = isSet("decrypt");
    options.SkipDuplicates = isSet("skip-duplicates");
    options.PasswordFile = value("password-file");

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        throw ECliUsageError("no command given");
    const std::string name = ToBytes(positional.front());
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const TCommandEntry& entry) { return name == entry.Name; });
    if (command == std::end(kCommands))
        throw ECliUsageError("unknown command '" + name + "'");
    options.Command = command->Command;
    for (qsizetype i = 1; i < positional.size(); ++i)
        options.Arguments.push_back(ToBytes(positional[i]));
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
