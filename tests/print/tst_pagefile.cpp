// SPDX-License-Identifier: GPL-3.0-or-later
// The page file byte for byte: the record page, the list page, escaping, blanks, failures; and
// the adapters that hand the form and the list to printing.

#include "PrintTestSupport.h"

#include "core/Error.h"
#include "core/FileIO.h"
#include "print/FormSnapshot.h"
#include "print/ListPage.h"
#include "print/ListSource.h"
#include "print/PageFile.h"
#include "print/RecordPage.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/TemplateControls.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>

using namespace PrintTest;

namespace {

// The bytes of a page file: the byte-order mark, then each line ended by CR LF.
QByteArray PageBytes(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

const QString kListHead = QStringLiteral("<html><head><title>Quillery</title></head><body>");
const QString kRecordEnd = QStringLiteral("</body></html>");
const QString kListEnd = QStringLiteral("</table></center></body></html>");

QStringList StyleLines(const QString& font, int size) {
    return {kListHead,
            QStringLiteral("<style>"),
            QStringLiteral("TABLE {border-collapse:collapse;border-color:black;border-width:2px}"),
            QStringLiteral(
                "TH {border-color:black;border-width:1px;font-family:%1;font-size:%2pt;font-weight:bold}")
                .arg(font)
                .arg(size),
            QStringLiteral(
                "TD {border-color:black;border-width:1px;text-align:center;font-family:%1;font-size:%2pt}")
                .arg(font)
                .arg(size),
            QStringLiteral("</style>"),
            QStringLiteral("<center><table border=\"1\"><tr>")};
}

void WriteRecord(const TPrintedForm& form) {
    const TRecordPage page(form);
    WritePageFile(PageFilePath(), [&page](TPageLines& lines) { page.WriteLines(lines); });
}

void WriteList(const TListSource& source, const std::vector<int>& columns, const QString& font = "Arial",
               int size = 9) {
    const TListPage page(source, columns, font, size);
    WritePageFile(PageFilePath(), [&page](TPageLines& lines) { page.WriteLines(lines, [](int) {}); });
}

const QString kBorder = QStringLiteral("border-style:solid;border-width:1px;border-color:#CFCFCF");

} // namespace

class TestPageFile : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TPrintSandbox> FSandbox;

private slots:
    void init() { FSandbox = std::make_unique<TPrintSandbox>(); }
    void cleanup() {
        SetWriteFailureForTesting(-1);
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void pageFileIsInTheTemporaryFolder() {
        QCOMPARE(PageFilePath(), TFolders::TempFolder() + QStringLiteral("Quillery.html"));
        QVERIFY(PageFilePath().contains(QStringLiteral("/appdata/Quillery/Temp/")));
    }

    // A label at (20, 30), a text box at (120, 27) 150 wide and a memo at (120, 60) 200 x 80: the
    // boxes move 3 pixels right and down, the label stays; the memo's lines keep their CR LF.
    void recordPageExample() {
        WriteRecord({Element(TPrintedKind::Label, 20, 30, 31, 15, QStringLiteral("Name")),
                     Element(TPrintedKind::TextBox, 120, 27, 150, 21, QStringLiteral("Ann Lee")),
                     Element(TPrintedKind::Memo, 120, 60, 200, 80, QStringLiteral("line 1\r\nline 2"))});
        QCOMPARE(
            PageFileBytes(),
            PageBytes({kListHead,
                       "<div style=\"position:absolute;left:20px;top:30px;font-family:Arial;font-size:9pt\">",
                       "Name", "</div>", "<div style=\"position:absolute;left:123px;top:30px\">",
                       "<input style=\"font-family:Arial;font-size:9pt;width:150px;" + kBorder +
                           "\" type=\"text\" value=\"Ann Lee\">",
                       "</div>", "<div style=\"position:absolute;left:123px;top:63px\">",
                       "<textarea style=\"font-family:Arial;font-size:9pt;width:200px;height:80px;" +
                           kBorder + ";overflow:auto\">line 1\r\nline 2",
                       "</textarea></div>", kRecordEnd}));
    }

    void emptyFormGivesTheFrameAlone() {
        WriteRecord({});
        QCOMPARE(PageFileBytes(), PageBytes({kListHead, kRecordEnd}));
    }

    // Every text taken from the form or the list prints as written and adds no markup.
    void textsAreEscaped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("markup") << "<b>bold</b>"
                                << "&lt;b&gt;bold&lt;/b&gt;";
        QTest::newRow("reference") << "&amp; Co"
                                   << "&amp;amp; Co";
        QTest::newRow("quote") << "say \"hi\""
                               << "say &quot;hi&quot;";
        QTest::newRow("script") << "\"><script>alert(1)</script>"
                                << "&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;";
        QTest::newRow("closing textarea") << "</textarea><img src=x>"
                                          << "&lt;/textarea&gt;&lt;img src=x&gt;";
        QTest::newRow("accents stay") << "Ærø café 東京"
                                      << "Ærø café 東京";
    }
    void textsAreEscaped() {
        QFETCH(QString, text);
        QFETCH(QString, written);
        TPrintedElement label = Element(TPrintedKind::Label, 1, 2, 10, 10, text);
        label.FontName = text;
        WriteRecord({label, Element(TPrintedKind::TextBox, 1, 2, 10, 10, text),
                     Element(TPrintedKind::Memo, 1, 2, 10, 10, text)});
        QCOMPARE(PageFileBytes(),
                 PageBytes({kListHead,
                            "<div style=\"position:absolute;left:1px;top:2px;font-family:" + written +
                                ";font-size:9pt\">",
                            written, "</div>", "<div style=\"position:absolute;left:4px;top:5px\">",
                            "<input style=\"font-family:Arial;font-size:9pt;width:10px;" + kBorder +
                                "\" type=\"text\" value=\"" + written + "\">",
                            "</div>", "<div style=\"position:absolute;left:4px;top:5px\">",
                            "<textarea style=\"font-family:Arial;font-size:9pt;width:10px;height:10px;" +
                                kBorder + ";overflow:auto\">" + written,
                            "</textarea></div>", kRecordEnd}));

        const auto model = ListModel({text}, {{text}});
        WriteList(TModelListSource(*model), {0});
        QCOMPARE(PageFileBytes(), PageBytes(StyleLines("Arial", 9) +
                                            QStringList{"<th>" + written + "</th>", "</tr>", "<tr>",
                                                        "<td>" + written + "</td>", "</tr>", kListEnd}));
    }

    // Headings keep their blanks, cells lose them; either, when blank, becomes a space.
    void listPageBlanks() {
        const auto model =
            ListModel({"  Name ", "   ", "\tTown"}, {{" Ann ", "  ", "Oslo"}, {"", "x", "\t"}});
        WriteList(TModelListSource(*model), {0, 1, 2}, "Courier New", 11);
        QCOMPARE(
            PageFileBytes(),
            PageBytes(StyleLines("Courier New", 11) +
                      QStringList{"<th>  Name </th>", "<th>&nbsp;</th>", "<th>\tTown</th>", "</tr>", "<tr>",
                                  "<td>Ann</td>", "<td>&nbsp;</td>", "<td>Oslo</td>", "</tr>", "<tr>",
                                  "<td>&nbsp;</td>", "<td>x</td>", "<td>&nbsp;</td>", "</tr>", kListEnd}));
    }

    void listWithoutRowsGivesTheHeadingsAlone() {
        const auto model = ListModel({"Name", "Town"}, {});
        WriteList(TModelListSource(*model), {0, 1});
        QCOMPARE(PageFileBytes(),
                 PageBytes(StyleLines("Arial", 9) +
                           QStringList{"<th>Name</th>", "<th>Town</th>", "</tr>", kListEnd}));
    }

    // The print list's order decides the table's; a column left out is absent.
    void printListOrderAndOmittedColumns() {
        const auto model = ListModel({"A", "B", "C"}, {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}});
        WriteList(TModelListSource(*model), {2, 0});
        QCOMPARE(PageFileBytes(), PageBytes(StyleLines("Arial", 9) +
                                            QStringList{"<th>C</th>", "<th>A</th>", "</tr>", "<tr>",
                                                        "<td>c1</td>", "<td>a1</td>", "</tr>", "<tr>",
                                                        "<td>c2</td>", "<td>a2</td>", "</tr>", kListEnd}));
    }

    // Only the rows the list shows: a filtered list prints its filtered rows, in its order.
    void onlyTheRowsTheListShows() {
        const auto model = ListModel({"Name"}, {{"Cecil"}, {"Ann"}, {"Bob"}, {"Anders"}});
        QSortFilterProxyModel shown;
        shown.setSourceModel(model.get());
        shown.setFilterFixedString(QStringLiteral("An"));
        shown.sort(0);
        WriteList(TModelListSource(shown), {0});
        QCOMPARE(PageFileBytes(), PageBytes(StyleLines("Arial", 9) +
                                            QStringList{"<th>Name</th>", "</tr>", "<tr>", "<td>Anders</td>",
                                                        "</tr>", "<tr>", "<td>Ann</td>", "</tr>", kListEnd}));
    }

    void printingTwiceReplacesThePage() {
        WriteRecord({Element(TPrintedKind::Label, 1, 1, 5, 5, QStringLiteral("first print, a long one"))});
        const auto model = ListModel({"N"}, {});
        WriteList(TModelListSource(*model), {0});
        QCOMPARE(PageFileBytes(),
                 PageBytes(StyleLines("Arial", 9) + QStringList{"<th>N</th>", "</tr>", kListEnd}));
        QCOMPARE(QDir(TFolders::TempFolder()).entryList(QDir::Files), QStringList{"Quillery.html"});
    }

    // A write that fails part way reports the store's error and leaves the old page as it was.
    void failedWriteKeepsTheOldPage() {
        WriteRecord({});
        const QByteArray before = PageFileBytes();
        SetWriteFailureForTesting(20);
        const auto model = NumberedList(3, 50);
        try {
            WriteList(TModelListSource(*model), {0, 1, 2});
            QFAIL("the write did not fail");
        } catch (const EFileError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).startsWith("Cannot write file " + PageFilePath()), e.what());
        }
        QCOMPARE(PageFileBytes(), before);
        QCOMPARE(QDir(TFolders::TempFolder()).entryList(QDir::Files), QStringList{"Quillery.html"});
    }

    void trimBlanks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("none") << "a b"
                              << "a b";
        QTest::newRow("spaces") << "  a b  "
                                << "a b";
        QTest::newRow("tabs and controls") << "\t\x01"
                                              "a\r"
                                           << "a";
        QTest::newRow("only blanks") << " \t "
                                     << "";
        QTest::newRow("non-breaking space stays") << QString(QChar(0xA0)) << QString(QChar(0xA0));
    }
    void trimBlanks() {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(TrimBlanks(text), trimmed);
    }

    // The header's order decides the list's column order; hidden columns are not in the list.
    void listSourceFollowsTheHeader() {
        const auto model = ListModel({"A", "B", "C", "D"}, {{"a", "b", "c", "d"}});
        QHeaderView header(Qt::Horizontal);
        header.setModel(model.get());
        header.moveSection(3, 0); // D A B C
        header.hideSection(1);    // D A C
        const std::vector<int> order = ShownColumnOrder(header);
        QCOMPARE(order, (std::vector<int>{3, 0, 2}));
        const TModelListSource source(*model, order);
        QCOMPARE(source.ColumnCount(), 3);
        QCOMPARE(source.Caption(0), QStringLiteral("D"));
        QCOMPARE(source.Cell(0, 1), QStringLiteral("a"));
        QCOMPARE(source.Cell(0, 2), QStringLiteral("c"));
        QCOMPARE(source.Cell(1, 0), QString()); // a row the list lost since
        QCOMPARE(source.Cell(0, 7), QString());
    }

    // The form as it shows: unsaved text, a memo's lines joined by CR LF, labels as they read,
    // the controls' own sizes and fonts, in the template's order.
    void formSnapshot() {
        TCategory category;
        const TFont font{"DejaVu Sans", 0, 11, 0};
        category.AddElement(kKindLabel, 20, 30, 5, 5, 0, font, "&Name && Co");
        category.AddElement(kKindEdit, 120, 27, 150, 21, 0xFFFFFF, font, "");
        category.AddElement(kKindMemo, 120, 60, 200, 80, 0xFFFFFF, font, "");
        category.RenumberValueIndexes();
        QWidget panel;
        for (const auto& element : category.Elements) {
            TemplateControls::Create(*element, &panel);
        }
        auto* editControl = panel.findChildren<QLineEdit*>().at(0);
        editControl->setText(QStringLiteral("typed <not saved>"));
        panel.findChildren<QPlainTextEdit*>().at(0)->setPlainText(QStringLiteral("one\ntwo"));

        const TPrintedForm form = PrintedFormOf(category, panel);
        QCOMPARE(form.size(), size_t(3));
        QCOMPARE(form[0].Kind, TPrintedKind::Label);
        QCOMPARE(form[0].Text, QStringLiteral("Name & Co"));
        QCOMPARE(form[0].Width, panel.findChildren<QLabel*>().at(0)->width());
        QCOMPARE(form[1].Kind, TPrintedKind::TextBox);
        QCOMPARE(form[1].Text, QStringLiteral("typed <not saved>"));
        QCOMPARE(QRect(form[1].Left, form[1].Top, form[1].Width, form[1].Height), editControl->geometry());
        QCOMPARE(form[2].Kind, TPrintedKind::Memo);
        QCOMPARE(form[2].Text, QStringLiteral("one\r\ntwo"));
        QCOMPARE(QRect(form[2].Left, form[2].Top, form[2].Width, form[2].Height), QRect(120, 60, 200, 80));
        for (const TPrintedElement& element : form) {
            QCOMPARE(element.FontName, QStringLiteral("DejaVu Sans"));
            QCOMPARE(element.FontSize, 11);
        }
    }
};

QTEST_MAIN(TestPageFile)
#include "tst_pagefile.moc"
