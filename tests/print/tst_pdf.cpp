// SPDX-License-Identifier: GPL-3.0-or-later
// Prints through the print host into PDF files, read back with poppler's pdftotext, pdfinfo and
// pdffonts: page numbers, headings on every page, rows on the right pages, records over several
// pages, page setup, preview, failures and cancelling.

#include "PrintTestSupport.h"

#include "core/FileIO.h"
#include "print/ListSource.h"
#include "print/PageFile.h"
#include "print/PrintDialogs.h"
#include "print/PrintFieldsDialog.h"
#include "print/PrintHost.h"
#include "print/PrintOptionsDialog.h"
#include "settings/Settings.h"
#include "ui/dialogs/FontDialogs.h"

#include <QListWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QToolButton>

using namespace MainTest;
using namespace PrintTest;

namespace {

// The rows' first cells in the order the pages show them, "r1c0" read as 1.
QList<int> PrintedRows(const QStringList& pages) {
    QList<int> rows;
    static const QRegularExpression cell(QStringLiteral("\\br(\\d+)c0\\b"));
    for (const QString& page : pages) {
        for (auto it = cell.globalMatch(page); it.hasNext();) {
            rows.append(it.next().captured(1).toInt());
        }
    }
    return rows;
}

// Distinct words "m0001", "m0002", ... that joined by blanks make a text of at least characters.
QStringList DistinctWords(int characters) {
    QStringList words;
    for (int length = -1; length < characters; length += 6) {
        words.append(QStringLiteral("m%1").arg(words.size() + 1, 4, 10, QLatin1Char('0')));
    }
    return words;
}

// The words DistinctWords made, in the order the pages show them.
QStringList PrintedWords(const QStringList& pages) {
    QStringList words;
    static const QRegularExpression word(QStringLiteral("\\bm\\d{4}\\b"));
    for (const QString& page : pages) {
        for (auto it = word.globalMatch(page); it.hasNext();) {
            words.append(it.next().captured());
        }
    }
    return words;
}

QList<int> Range(int first, int last) {
    QList<int> numbers;
    for (int n = first; n <= last; ++n) {
        numbers.append(n);
    }
    return numbers;
}

} // namespace

class TestPdf : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TPrintSandbox> FSandbox;
    std::unique_ptr<QWidget> FWindow;
    TPrintHost* FHost = nullptr;

    QString Pdf(const QString& name = QStringLiteral("print.pdf")) const { return FSandbox->FilePath(name); }

    // Prints the list with the options setup chooses, into the PDF file path.
    void PrintList(const QAbstractItemModel& model, const std::function<void(TPrintOptionsDialog&)>& setup,
                   const QString& path) {
        AnswerOptions(setup);
        PrintDialogTesting::QueuePrint({true, path, 0, 0});
        FHost->Print(std::nullopt, TModelListSource(model));
    }

    void PrintRecord(const TPrintedForm& form, const QString& path) {
        AnswerOptions([](TPrintOptionsDialog& dialog) { QVERIFY(dialog.PrintRecord()); });
        PrintDialogTesting::QueuePrint({true, path, 0, 0});
        const auto model = NumberedList(1, 1);
        FHost->Print(form, TModelListSource(*model));
    }

private slots:
    void init() {
        FSandbox = std::make_unique<TPrintSandbox>();
        FWindow = std::make_unique<QWidget>();
        FHost = new TPrintHost(FWindow.get());
        FWindow->show();
    }
    void cleanup() {
        SetWriteFailureForTesting(-1);
        FWindow.reset();
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    // "Page p/P" at the top of every page, at the bottom, or nowhere.
    void pageNumbers_data() {
        QTest::addColumn<int>("option");
        QTest::newRow("headers") << 0;
        QTest::newRow("footers") << 1;
        QTest::newRow("none") << 2;
    }
    void pageNumbers() {
        QFETCH(int, option);
        const auto model = NumberedList(2, 150);
        PrintList(
            *model, [option](TPrintOptionsDialog& dialog) { ChoosePageNumbers(dialog, option); }, Pdf());
        const QStringList pages = PdfPages(Pdf());
        const int count = PdfInfo(Pdf(), QStringLiteral("Pages")).toInt();
        QVERIFY2(count >= 2, qPrintable(QString::number(count)));
        QCOMPARE(pages.size(), count);
        QCOMPARE(PrintDialogTesting::TakeShown(),
                 QStringList{QStringLiteral("Print: pages 1 to %1").arg(count)});
        for (int page = 1; page <= count; ++page) {
            const QStringList lines = TextLines(pages[page - 1]);
            const QString number = QStringLiteral("Page %1/%2").arg(page).arg(count);
            QCOMPARE(lines.first() == number, option == 0);
            QCOMPARE(lines.last() == number, option == 1);
            QCOMPARE(pages[page - 1].contains(QStringLiteral("Page ")), option != 2);
        }
    }

    // Every page starts with the heading row; each row prints once, in the list's order, and the
    // page count is the one the numbers give.
    void longListHeadingsAndRows() {
        const auto model = NumberedList(3, 1000);
        PrintList(
            *model, [](TPrintOptionsDialog&) {}, Pdf());
        const QStringList pages = PdfPages(Pdf());
        const int count = PdfInfo(Pdf(), QStringLiteral("Pages")).toInt();
        QVERIFY(count >= 10);
        QCOMPARE(pages.size(), count);
        for (int page = 1; page <= count; ++page) {
            const QStringList lines = TextLines(pages[page - 1]);
            QCOMPARE(lines.at(0), QStringLiteral("Page %1/%2").arg(page).arg(count));
            QVERIFY2(lines.at(1).contains(
                         QRegularExpression(QStringLiteral("^Column 0\\s+Column 1\\s+Column 2$"))),
                     qPrintable(lines.at(1)));
            QVERIFY2(
                lines.at(2).contains(QRegularExpression(QStringLiteral("^r\\d+c0\\s+r\\d+c1\\s+r\\d+c2$"))),
                qPrintable(lines.at(2)));
        }
        QCOMPARE(PrintedRows(pages), Range(1, 1000));
        // Full pages hold the same number of rows.
        QCOMPARE(PrintedRows({pages[0]}).size(), PrintedRows({pages[1]}).size());
    }

    // The print list's order and the filter decide what prints: a moved-out column is absent.
    void filteredListWithChosenColumns() {
        const auto model =
            ListModel({"Name", "Town", "Zip"},
                      {{"Cecil", "Oslo", "0150"}, {"Ann", "Bergen", "5003"}, {"Anders", "Tromsø", "9008"}});
        QSortFilterProxyModel shown;
        shown.setSourceModel(model.get());
        shown.setFilterKeyColumn(0);
        shown.setFilterFixedString(QStringLiteral("An"));
        PrintList(
            shown,
            [](TPrintOptionsDialog& dialog) {
                TPrintFieldsDialog& fields = dialog.FieldsDialog();
                auto* left = Child<QListWidget>(fields, "LVPrint");
                left->item(1)->setSelected(true); // Town
                QTest::mouseClick(Child<QToolButton>(fields, "BtnMoveRight"), Qt::LeftButton);
                left->item(1)->setSelected(true); // Zip
                QTest::mouseClick(Child<QToolButton>(fields, "BtnMoveUp"), Qt::LeftButton);
            },
            Pdf());
        const QStringList lines = TextLines(PdfPages(Pdf()).value(0));
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[1].contains(QRegularExpression(QStringLiteral("^Zip\\s+Name$"))),
                 qPrintable(lines[1]));
        QVERIFY2(lines[2].contains(QRegularExpression(QStringLiteral("^5003\\s+Ann$"))),
                 qPrintable(lines[2]));
        QVERIFY2(lines[3].contains(QRegularExpression(QStringLiteral("^9008\\s+Anders$"))),
                 qPrintable(lines[3]));
        QVERIFY(!PdfPages(Pdf()).value(0).contains(QStringLiteral("Cecil")));
        QVERIFY(!PdfPages(Pdf()).value(0).contains(QStringLiteral("Bergen")));
    }

    // A table wider than the page wraps its cells; no word is lost.
    void wideTableWrapsWithoutLosingText() {
        QStringList captions;
        QList<QStringList> rows;
        QStringList words;
        for (int column = 0; column < 8; ++column) {
            captions.append(QStringLiteral("Heading %1").arg(column));
        }
        for (int row = 0; row < 20; ++row) {
            QStringList cells;
            for (int column = 0; column < 8; ++column) {
                QStringList cell;
                for (int word = 0; word < 6; ++word) {
                    cell.append(QStringLiteral("w%1x%2y%3").arg(row).arg(column).arg(word));
                }
                words += cell;
                cells.append(cell.join(QLatin1Char(' ')));
            }
            rows.append(cells);
        }
        const auto model = ListModel(captions, rows);
        PrintList(
            *model, [](TPrintOptionsDialog&) {}, Pdf());
        const QString text = PdfPages(Pdf()).join(QLatin1Char('\n'));
        for (const QString& word : words) {
            QVERIFY2(text.count(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word))) == 1,
                     qPrintable(word));
        }
        for (const QString& caption : captions) {
            QVERIFY2(text.contains(caption.section(QLatin1Char(' '), 1)), qPrintable(caption));
        }
    }

    // Labels, boxes and memos at their places, texts printed as written; a form taller and wider
    // than the paper goes on over further pages, down first, then across.
    void recordOverSeveralPages() {
        const TPrintedForm form{
            Element(TPrintedKind::Label, 20, 30, 40, 15, QStringLiteral("Name")),
            Element(TPrintedKind::TextBox, 120, 27, 200, 21, QStringLiteral("<b>Ann</b> & \"Co\"")),
            Element(TPrintedKind::Memo, 120, 60, 300, 80, QStringLiteral("first line\r\nsecond line")),
            Element(TPrintedKind::Label, 20, 2500, 40, 15, QStringLiteral("Far down")),
            Element(TPrintedKind::Label, 1600, 30, 40, 15, QStringLiteral("Far right")),
        };
        PrintRecord(form, Pdf());
        const QStringList pages = PdfPages(Pdf());
        // The pages of the first column end with the far-down label; the far-right label starts a
        // later column of pages.
        const int down =
            static_cast<int>(pages.indexOf(QRegularExpression(QStringLiteral("(?s).*Far down.*")))) + 1;
        const int right =
            static_cast<int>(pages.indexOf(QRegularExpression(QStringLiteral("(?s).*Far right.*"))));
        QVERIFY2(
            down >= 2 && right >= down && right % down == 0 && pages.size() % down == 0,
            qPrintable(
                QStringLiteral("%1 pages, %2 down, far right on %3").arg(pages.size()).arg(down).arg(right)));
        QCOMPARE(PdfInfo(Pdf(), QStringLiteral("Pages")).toInt(), pages.size());
        QVERIFY(pages[0].contains(QStringLiteral("Name")));
        QVERIFY(pages[0].contains(QStringLiteral("<b>Ann</b> & \"Co\"")));
        QVERIFY2(pages[0].contains(QStringLiteral("first line")), qPrintable(pages[0]));
        QVERIFY(pages[0].contains(QStringLiteral("second line")));
        QCOMPARE(pages.join(QString()).count(QStringLiteral("Far")), 2);
        QVERIFY(PageFileBytes().contains("value=\"&lt;b&gt;Ann&lt;/b&gt; &amp; &quot;Co&quot;\""));
    }

    // A box prints its whole value: a long memo grows down and goes on over the next pages, a
    // text box's value wider than the box wraps inside it. Every word prints once, in order.
    void boxesPrintTheirWholeText_data() {
        QTest::addColumn<TPrintedKind>("kind");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("leastPages");
        QTest::newRow("memo of 3,000 characters") << TPrintedKind::Memo << 3000 << 2;
        QTest::newRow("long single-line value") << TPrintedKind::TextBox << 600 << 1;
    }
    void boxesPrintTheirWholeText() {
        QFETCH(TPrintedKind, kind);
        QFETCH(int, characters);
        QFETCH(int, leastPages);
        const QStringList words = DistinctWords(characters);
        const TPrintedForm form{
            Element(TPrintedKind::Label, 20, 600, 60, 15, QStringLiteral("Notes")),
            Element(kind, 120, 597, 200, kind == TPrintedKind::Memo ? 80 : 21, words.join(QLatin1Char(' '))),
            Element(TPrintedKind::Label, 20, 640, 60, 15, QStringLiteral("Beside")),
        };
        PrintRecord(form, Pdf());
        const QStringList pages = PdfPages(Pdf());
        QVERIFY2(pages.size() >= leastPages, qPrintable(QString::number(pages.size())));
        QCOMPARE(PrintedWords(pages), words);
        // The box goes on at the top of the following pages; the labels stay where they were.
        for (int page = 1; page < pages.size(); ++page) {
            QVERIFY2(!PrintedWords({pages[page]}).isEmpty(), qPrintable(pages[page]));
        }
        QVERIFY(pages[0].contains(QStringLiteral("Notes")));
        QVERIFY(pages[0].contains(QStringLiteral("Beside")));
        QCOMPARE(pages.join(QString()).count(QStringLiteral("Beside")), 1);
    }

    // Records printed one after another each start on their own first page, however many pages
    // the one before took.
    void recordsPrintedOneAfterAnother() {
        const QStringList words = DistinctWords(3000);
        PrintRecord({Element(TPrintedKind::Label, 20, 30, 60, 15, QStringLiteral("First")),
                     Element(TPrintedKind::Memo, 120, 900, 200, 80, words.join(QLatin1Char(' ')))},
                    Pdf(QStringLiteral("first.pdf")));
        PrintRecord({Element(TPrintedKind::Label, 20, 30, 60, 15, QStringLiteral("Second")),
                     Element(TPrintedKind::TextBox, 120, 27, 200, 21, QStringLiteral("only value"))},
                    Pdf(QStringLiteral("second.pdf")));
        const QStringList first = PdfPages(Pdf(QStringLiteral("first.pdf")));
        const QStringList second = PdfPages(Pdf(QStringLiteral("second.pdf")));
        QVERIFY(first.size() >= 2);
        QCOMPARE(PrintedWords(first), words);
        QVERIFY2(TextLines(first[0]).value(1).startsWith(QStringLiteral("First")), qPrintable(first[0]));
        QCOMPARE(second.size(), 1);
        QVERIFY2(TextLines(second[0]).value(1).contains(
                     QRegularExpression(QStringLiteral("^Second\\s+only value$"))),
                 qPrintable(second[0]));
        QCOMPARE(PrintedWords(second), QStringList());
        QCOMPARE(PrintDialogTesting::TakeShown(),
                 QStringList({QStringLiteral("Print: pages 1 to %1").arg(first.size()),
                              QStringLiteral("Print: pages 1 to 1")}));
    }

    // Page setup changes the paper of every later print; it prints nothing and leaves the
    // options as they were; the next print asks the print dialog again.
    void pageSetupServesLaterPrints() {
        const auto model = NumberedList(1, 5);
        PrintList(
            *model, [](TPrintOptionsDialog& dialog) { ChoosePageNumbers(dialog, 1); }, Pdf());
        QFile::remove(PageFilePath());
        PrintDialogTesting::TakeShown();

        PrintDialogTesting::QueuePageSetup(A5Landscape());
        FHost->PageSetup();
        QCOMPARE(PrintDialogTesting::TakeShown(), QStringList{"Page setup"});
        QVERIFY(!QFile::exists(PageFilePath()));
        QCOMPARE(FHost->OptionsDialog().PageNumbers(), TPageNumbers::Footer);

        PrintList(
            *model, [](TPrintOptionsDialog&) {}, Pdf(QStringLiteral("a5.pdf")));
        QCOMPARE(PrintDialogTesting::TakeShown(), QStringList{"Print: pages 1 to 1"});
        QVERIFY2(PdfInfo(Pdf(QStringLiteral("a5.pdf")), QStringLiteral("Page size")).startsWith("595 x 420"),
                 qPrintable(PdfInfo(Pdf(QStringLiteral("a5.pdf")), QStringLiteral("Page size"))));
        QCOMPARE(TextLines(PdfPages(Pdf(QStringLiteral("a5.pdf"))).value(0)).last(),
                 QStringLiteral("Page 1/1"));

        // A cancelled page setup changes nothing.
        PrintDialogTesting::QueuePageSetup(std::nullopt);
        FHost->PageSetup();
        QCOMPARE(FHost->Printer().pageLayout().orientation(), QPageLayout::Landscape);
    }

    // The print dialog offers the pages; a range prints only those, numbered of the whole.
    void pageRange() {
        const auto model = NumberedList(1, 400);
        AnswerOptions([](TPrintOptionsDialog&) {});
        PrintDialogTesting::QueuePrint({true, Pdf(), 2, 3});
        FHost->Print(std::nullopt, TModelListSource(*model));
        const QStringList shown = PrintDialogTesting::TakeShown();
        const int count = shown.value(0).section(QLatin1Char(' '), -1).toInt();
        QVERIFY(count >= 4);
        const QStringList pages = PdfPages(Pdf());
        QCOMPARE(pages.size(), 2);
        QCOMPARE(TextLines(pages[0]).first(), QStringLiteral("Page 2/%1").arg(count));
        QCOMPARE(TextLines(pages[1]).first(), QStringLiteral("Page 3/%1").arg(count));
    }

    // The preview shows the pages that would print.
    void previewShowsWhatWouldPrint() {
        const auto model = NumberedList(2, 150);
        PrintList(
            *model, [](TPrintOptionsDialog&) {}, Pdf());
        const int count = PdfInfo(Pdf(), QStringLiteral("Pages")).toInt();
        PrintDialogTesting::TakeShown();
        AnswerOptions([](TPrintOptionsDialog&) {});
        FHost->Preview(std::nullopt, TModelListSource(*model));
        QCOMPARE(PrintDialogTesting::TakeShown(),
                 QStringList{QStringLiteral("Preview: %1 pages").arg(count)});
    }

    // A page file that cannot be written: the error shows, nothing prints.
    void failedPageFilePrintsNothing() {
        SetWriteFailureForTesting(0);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        const auto model = NumberedList(1, 3);
        AnswerOptions([](TPrintOptionsDialog&) {});
        FHost->Print(std::nullopt, TModelListSource(*model));
        const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QVERIFY2(boxes[0].Text.startsWith("Cannot write file " + PageFilePath()), qPrintable(boxes[0].Text));
        QCOMPARE(PrintDialogTesting::TakeShown(), QStringList());
        QVERIFY(!QFile::exists(Pdf()));
    }

    // Every field moved out, or the options cancelled: nothing is written and nothing prints.
    void nothingToPrint_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("empty print list") << true;
        QTest::newRow("options cancelled") << false;
    }
    void nothingToPrint() {
        QFETCH(bool, accept);
        const auto model = NumberedList(2, 3);
        AnswerOptions(
            [](TPrintOptionsDialog& dialog) {
                Child<QListWidget>(dialog.FieldsDialog(), "LVPrint")->selectAll();
                QTest::mouseClick(Child<QToolButton>(dialog.FieldsDialog(), "BtnMoveRight"), Qt::LeftButton);
            },
            accept);
        FHost->Print(std::nullopt, TModelListSource(*model));
        QCOMPARE(PrintDialogTesting::TakeShown(), QStringList());
        QVERIFY(!QFile::exists(PageFilePath()));
    }

    // A font chosen as bold italic prints upright, in its face.
    void chosenFontPrintsRegular() {
        QFont chosen(QStringLiteral("DejaVu Serif"), 12);
        chosen.setBold(true);
        chosen.setItalic(true);
        FontDialogTesting::QueueResult(chosen);
        const auto model = NumberedList(2, 3);
        PrintList(
            *model,
            [](TPrintOptionsDialog& dialog) {
                QTest::mouseClick(Child<QPushButton>(dialog, "BtnFont"), Qt::LeftButton);
                ChoosePageNumbers(dialog, 2);
            },
            Pdf());
        const QStringList fonts = PdfFonts(Pdf());
        QVERIFY2(fonts.filter(QStringLiteral("DejaVuSerif")).size() >= 1, qPrintable(fonts.join(' ')));
        QVERIFY2(fonts.filter(QRegularExpression(QStringLiteral("Italic|Oblique"))).isEmpty(),
                 qPrintable(fonts.join(' ')));
        QVERIFY(PageFileBytes().contains("font-family:DejaVu Serif;font-size:12pt}"));
    }

    // Cancel on the progress of a long print stops it; the file begun is taken away, nothing is
    // reported, and the next print works.
    void cancelLongPrint() {
        const auto model = NumberedList(2, 60000);
        auto* watcher = new QTimer(this);
        bool cancelled = false;
        connect(watcher, &QTimer::timeout, this, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (progress != nullptr && PrintDialogTesting::PendingAnswers() == 0 && progress->value() > 0) {
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                cancelled = true;
                watcher->stop();
            }
        });
        watcher->start(20);
        PrintList(
            *model, [](TPrintOptionsDialog&) {}, Pdf());
        delete watcher;
        QVERIFY(cancelled);
        QVERIFY(!QFile::exists(Pdf()));
        QCOMPARE(MessageBoxTesting::TakeShown().size(), 0);

        const auto small = NumberedList(1, 2);
        PrintList(
            *small, [](TPrintOptionsDialog&) {}, Pdf());
        QCOMPARE(PrintedRows(PdfPages(Pdf())), Range(1, 2));
    }
};

QTEST_MAIN(TestPdf)
#include "tst_pdf.moc"
