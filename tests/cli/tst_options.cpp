// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of quillery-cli as its parser reads it: where options may stand, how values are
// given, which of several faults is reported, and what wins over what.

#include "cli/Options.h"

#include <QtTest>

namespace {

const char* const kCommandNames[] = {"info", "dump", "check", "resave", "list", "export", "import"};

// What the parse found, in a line a test row can spell out; "error: ..." for a usage error.
QString Parsed(const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& argument : arguments)
        args.push_back(argument.toStdString());
    try {
        const TCliOptions options = TCliOptions::Parse(args);
        if (options.Help)
            return QStringLiteral("help");
        if (options.Version)
            return QStringLiteral("version");
        QStringList parts{QString::fromLatin1(kCommandNames[static_cast<int>(options.Command)])};
        for (const std::string& argument : options.Arguments)
            parts << QStringLiteral("[%1]").arg(QString::fromStdString(argument));
        if (!options.FilterText.empty())
            parts << QStringLiteral("filter=") + QString::fromStdString(options.FilterText);
        if (options.WholeWord)
            parts << QStringLiteral("whole-word");
        if (!options.SheetName.empty())
            parts << QStringLiteral("sheet=") + QString::fromStdString(options.SheetName);
        if (!options.PasswordFile.empty())
            parts << QStringLiteral("password-file=") + QString::fromStdString(options.PasswordFile);
        return parts.join(QLatin1Char(' '));
    } catch (const ECliUsageError& e) {
        return QStringLiteral("error: ") + QString::fromStdString(e.what());
    }
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestOptions::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed");

    QTest::newRow("value after =") << QStringList{"list", "f", "c", "--filter=BOOK"}
                                   << QStringLiteral("list [f] [c] filter=BOOK");
    QTest::newRow("value holding =") << QStringList{"export", "f", "c", "o", "--sheet=a=b"}
                                     << QStringLiteral("export [f] [c] [o] sheet=a=b");
    QTest::newRow("options before and between arguments")
        << QStringList{"--whole-word", "list", "--filter", "x", "f", "--password-file", "p", "c"}
        << QStringLiteral("list [f] [c] filter=x whole-word password-file=p");
    QTest::newRow("last value wins") << QStringList{"list", "f", "c", "--filter", "a", "--filter=b"}
                                     << QStringLiteral("list [f] [c] filter=b");
    QTest::newRow("value that starts with dashes") << QStringList{"list", "f", "c", "--filter", "--help"}
                                                   << QStringLiteral("list [f] [c] filter=--help");
    QTest::newRow("lone dash is an argument") << QStringList{"info", "-"} << QStringLiteral("info [-]");
    QTest::newRow("-- ends the options")
        << QStringList{"list", "--", "-f", "--filter"} << QStringLiteral("list [-f] [--filter]");
    QTest::newRow("-- after -- is an argument")
        << QStringList{"--", "info", "--"} << QStringLiteral("info [--]");
    QTest::newRow("-- as a value") << QStringList{"list", "f", "c", "--filter", "--"}
                                   << QStringLiteral("list [f] [c] filter=--");
    QTest::newRow("empty value is given")
        << QStringList{"info", "f", "--filter="}
        << QStringLiteral("error: --filter and --whole-word belong to list");
    QTest::newRow("repeated switch") << QStringList{"list", "f", "c", "--whole-word", "--whole-word"}
                                     << QStringLiteral("list [f] [c] whole-word");

    QTest::newRow("-hv") << QStringList{"-hv"} << QStringLiteral("help");
    QTest::newRow("-vh") << QStringList{"-vh"} << QStringLiteral("help");
    QTest::newRow("-vx") << QStringList{"info", "-vx"} << QStringLiteral("version");
    QTest::newRow("-xh") << QStringList{"-xh"} << QStringLiteral("help");
    QTest::newRow("-help as -h and letters") << QStringList{"-help"} << QStringLiteral("help");
    QTest::newRow("-version as -v and letters") << QStringList{"-version"} << QStringLiteral("version");
    QTest::newRow("--h names -h") << QStringList{"--h"} << QStringLiteral("help");
    QTest::newRow("--help with a value") << QStringList{"--help=1"} << QStringLiteral("help");
    QTest::newRow("-v= ends the group") << QStringList{"-v=h"} << QStringLiteral("version");

    QTest::newRow("long option with one dash")
        << QStringList{"info", "f", "-filter"} << QStringLiteral("error: unknown option '-f'");
    QTest::newRow("three dashes") << QStringList{"info", "f", "---x"}
                                  << QStringLiteral("error: unknown option '---x'");
    QTest::newRow("name left out") << QStringList{"info", "f", "--=x"}
                                   << QStringLiteral("error: unknown option '--'");
    QTest::newRow("option names in capitals")
        << QStringList{"info", "f", "--FILTER", "x"} << QStringLiteral("error: unknown option '--FILTER'");
    QTest::newRow("first unknown option named")
        << QStringList{"info", "f", "-x", "--y"} << QStringLiteral("error: unknown option '-x'");
    QTest::newRow("unknown option before a wrong value")
        << QStringList{"list", "f", "c", "--whole-word=1", "--bogus"}
        << QStringLiteral("error: unknown option '--bogus'");
    QTest::newRow("unknown option before a missing value")
        << QStringList{"--bogus", "list", "f", "c", "--filter"}
        << QStringLiteral("error: unknown option '--bogus'");
    QTest::newRow("value for a switch") << QStringList{"list", "f", "c", "--whole-word", "--encrypt="}
                                        << QStringLiteral("error: unexpected value after '--encrypt'");
    QTest::newRow("last wrong value named") << QStringList{"list", "f", "c", "--whole-word=1", "--filter"}
                                            << QStringLiteral("error: missing value after '--filter'");
}

void TestOptions::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    QCOMPARE(Parsed(arguments), parsed);
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
