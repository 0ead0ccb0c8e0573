// SPDX-License-Identifier: GPL-3.0-or-later
// The three descriptions of quillery-cli name the same commands and options: its --help (made from
// the parser's own tables), the manual page and the help page.

#include "cli/CliRun.h"

#include <QtTest>

#include <map>
#include <set>

namespace {

struct TNames {
    std::set<QString> Commands;
    std::set<QString> Options; // with their dashes, "-h" and "--help" apart
};

QString ReadSource(const QString& relativePath) {
    QFile file(QStringLiteral(QUILLERY_SHARE_SOURCE "/") + relativePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::set<QString> Captures(const QString& text, const QString& pattern) {
    std::set<QString> names;
    const QRegularExpression expression(pattern, QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : expression.globalMatch(text))
        names.insert(match.captured(1));
    return names;
}

// Every option mentioned anywhere in text: a dash or two and a lower-case name, not inside a word
// such as "UTF-8" or "quillery-cli".
std::set<QString> MentionedOptions(const QString& text) {
    return Captures(text, QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
}

// The text from the line that starts with from up to the next line that starts with to.
QString Section(const QString& text, const QString& from, const QString& to) {
    const QRegularExpressionMatch start =
        QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(from),
                           QRegularExpression::MultilineOption)
            .match(text);
    if (!start.hasMatch())
        return QString();
    const qsizetype end =
        text.indexOf(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(to),
                                        QRegularExpression::MultilineOption),
                     start.capturedEnd());
    return text.mid(start.capturedEnd(), end < 0 ? -1 : end - start.capturedEnd());
}

TNames HelpNames() {
    const QString help = QString::fromUtf8(RunCli({QStringLiteral("--help")}).Out);
    return {Captures(Section(help, QStringLiteral("Commands:"), QStringLiteral("Options:")),
                     QStringLiteral("^  ([a-z]+) ")),
            MentionedOptions(help)};
}

TNames ManualNames() {
    QString page = ReadSource(QStringLiteral("man/quillery-cli.1.in"));
    page.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    page.remove(QRegularExpression(QStringLiteral("\\\\f(\\[[^]]*\\]|.)"))); // font changes
    return {Captures(Section(page, QStringLiteral(".SH COMMANDS"), QStringLiteral(".SH ")),
                     QStringLiteral("^\\.TP\\n\\.[BI]+ ([a-z]+)")),
            MentionedOptions(page)};
}

// Only the part on quillery-cli: the page begins with the window program's own --help and --version.
TNames HelpPageNames() {
    const QString page = Section(ReadSource(QStringLiteral("help/command-line.html")),
                                 QStringLiteral("<h2>quillery-cli</h2>"), QStringLiteral("</body>"));
    return {Captures(page, QStringLiteral("<td><code>quillery-cli ([a-z]+)")), MentionedOptions(page)};
}

} // namespace

class TestCliManuals : public QObject {
    Q_OBJECT

private slots:
    void everyNameInEveryDescription_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("missingFrom");
        const std::map<QString, TNames> sources{{QStringLiteral("--help"), HelpNames()},
                                                {QStringLiteral("quillery-cli(1)"), ManualNames()},
                                                {QStringLiteral("command-line.html"), HelpPageNames()}};
        std::map<QString, QStringList> missing; // "command info" or "option --sheet": the sources without it
        for (const auto& [source, names] : sources) {
            // A description that cannot be read or whose layout changed would agree by naming nothing.
            QVERIFY2(!names.Commands.empty() && !names.Options.empty(), qPrintable(source));
            for (const QString& command : names.Commands)
                missing[QStringLiteral("command ") + command];
            for (const QString& option : names.Options)
                missing[QStringLiteral("option ") + option];
        }
        for (auto& [name, without] : missing)
            for (const auto& [source, names] : sources) {
                const QString bare = name.section(QLatin1Char(' '), 1);
                const std::set<QString>& found =
                    name.startsWith(QStringLiteral("command ")) ? names.Commands : names.Options;
                if (found.count(bare) == 0)
                    without << source;
            }
        for (const auto& [name, without] : missing)
            QTest::newRow(qPrintable(name)) << name << without;
    }

    void everyNameInEveryDescription() {
        QFETCH(QString, name);
        QFETCH(QStringList, missingFrom);
        QVERIFY2(
            missingFrom.isEmpty(),
            qPrintable(
                QStringLiteral("%1 is missing from %2").arg(name, missingFrom.join(QStringLiteral(", ")))));
    }
};

QTEST_GUILESS_MAIN(TestCliManuals)
#include "tst_manuals.moc"
