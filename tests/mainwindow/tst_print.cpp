// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from the main window: the File menu's commands, a record with unsaved edits and a
// filtered list printed to PDF and read back with poppler's pdftotext.

#include "core/EncryptedFile.h"
#include "core/FileIO.h"
#include "core/Password.h"
#include "mainwindow/RecordListModel.h"
#include "print/PageFile.h"
#include "print/PrintDialogs.h"
#include "print/PrintOptionsDialog.h"
#include "print/PrintTestSupport.h"
#include "ui/dialogs/FontDialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

using namespace MainTest;
using namespace PrintTest;

namespace {

// People: a label, Name and Town as list columns, and a memo.
TDataFile People() {
    TDataFile data;
    TCategory* people = AddCategory(data, "People", {"Name", "Town"});
    AddElement(*people, kKindLabel, 10, 10, 60, 15, "Who");
    AddElement(*people, kKindMemo, 100, 80, 300, 80);
    AddRecord(*people, {"Ann Lee", "Oslo", "likes <tea> & \"cake\""});
    AddRecord(*people, {"Bob Berg", "Bergen", ""});
    AddRecord(*people, {"Cid Carlsen", "Oslo", ""});
    return data;
}

QAction* Action(const TMainWindow& form, const char* name) {
    return Child<QAction>(form, name);
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TPrintSandbox> FSandbox;
    QString FPath;

    QString Pdf() const { return FSandbox->FilePath(QStringLiteral("print.pdf")); }

private slots:
    void init() { FSandbox = std::make_unique<TPrintSandbox>(); }
    void cleanup() {
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    // Page setup, preview and print sit together in the File menu and are always offered.
    void fileMenuOffersPrinting() {
        TMainWindow form;
        QMenu* file = Child<QMenu>(form, "MenuFile");
        QStringList captions;
        for (const QAction* action : file->actions()) {
            captions.append(action->text());
        }
        const qsizetype setup = captions.indexOf(QStringLiteral("Page Set&up..."));
        QVERIFY(setup >= 0);
        QCOMPARE(captions.mid(setup, 3), (QStringList{"Page Set&up...", "Print Pre&view...", "&Print..."}));
        for (const char* name : {"ActionPageSetup", "ActionPrintPreview", "ActionPrint"}) {
            QVERIFY2(Action(form, name)->isEnabled(), name);
        }
    }

    // The record as the form shows it, edits not yet saved included.
    void printRecordWithUnsavedEdits() {
        auto form = ShowData(*FSandbox, People(), FPath);
        QCOMPARE(SelectedRow(*form), 0);
        QWidget* name = FormControls(*form).at(0);
        TypeIntoBox(name, QStringLiteral(" Jr"));
        AnswerOptions([](TPrintOptionsDialog& dialog) { QVERIFY(dialog.PrintRecord()); });
        PrintDialogTesting::QueuePrint({true, Pdf(), 0, 0});
        Action(*form, "ActionPrint")->trigger();
        const QString page = PdfPages(Pdf()).value(0);
        QVERIFY2(page.contains(QStringLiteral("Who")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Ann Lee Jr")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("likes <tea> & \"cake\"")), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("Oslo")));
        QVERIFY(!page.contains(QStringLiteral("Bob")));
        QVERIFY(PageFileBytes().contains("likes &lt;tea&gt; &amp; &quot;cake&quot;"));
        QVERIFY(RecordForm(*form).Modified());
    }

    // The list as the filter leaves it, its headings and only the rows it shows.
    void printFilteredList() {
        auto form = ShowData(*FSandbox, People(), FPath);
        auto* box = Child<QLineEdit>(*form, "EditSearchBox");
        box->setFocus();
        TypeText(box, QStringLiteral("oslo"));
        FilterBar(*form).TimerSearchTimer();
        QCOMPARE(ListModel(*form)->rowCount(), 2);
        AnswerOptions([](TPrintOptionsDialog& dialog) {
            QTest::mouseClick(Child<QRadioButton>(dialog, "RBPrintList"), Qt::LeftButton);
        });
        PrintDialogTesting::QueuePrint({true, Pdf(), 0, 0});
        Action(*form, "ActionPrint")->trigger();
        const QStringList lines = TextLines(PdfPages(Pdf()).value(0));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Page 1/1"));
        QVERIFY2(lines[1].contains(QRegularExpression(QStringLiteral("^Name\\s+Town$"))),
                 qPrintable(lines[1]));
        QVERIFY2(lines[2].contains(QRegularExpression(QStringLiteral("^Ann Lee\\s+Oslo$"))),
                 qPrintable(lines[2]));
        QVERIFY2(lines[3].contains(QRegularExpression(QStringLiteral("^Cid Carlsen\\s+Oslo$"))),
                 qPrintable(lines[3]));
    }

    // The list font chosen for printing is the program's from then on and is remembered at exit.
    void chosenFontIsRememberedAtExit() {
        auto form = ShowData(*FSandbox, People(), FPath);
        FontDialogTesting::QueueResult(QFont(QStringLiteral("DejaVu Serif"), 12));
        AnswerOptions(
            [](TPrintOptionsDialog& dialog) {
                QTest::mouseClick(Child<QRadioButton>(dialog, "RBPrintList"), Qt::LeftButton);
                QTest::mouseClick(Child<QPushButton>(dialog, "BtnFont"), Qt::LeftButton);
            },
            false);
        Action(*form, "ActionPrint")->trigger();
        QCOMPARE(FontDialogTesting::TakeShown().size(), 1);
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("PrintListFontName")), QStringLiteral("DejaVu Serif"));
        QCOMPARE(ReadSetting(QStringLiteral("PrintListFontSize")), QStringLiteral("12"));
    }

    // A plain data file's print leaves its page file; an encrypted one's writes none and takes away
    // one an earlier print left, for the record and for the list.
    void pageFileFollowsEncryption_data() {
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<bool>("list");
        QTest::newRow("plain record") << false << false;
        QTest::newRow("plain list") << false << true;
        QTest::newRow("encrypted record") << true << false;
        QTest::newRow("encrypted list") << true << true;
    }
    void pageFileFollowsEncryption() {
        QFETCH(bool, encrypted);
        QFETCH(bool, list);
        TDataFile data = People();
        if (encrypted) {
            data.PasswordDigest = PasswordDigest("pw");
            data.EncryptionKey = TDataFileKey::Derive("pw");
            AnswerCheckPassword(QStringLiteral("pw"));
        }
        WriteFileAtomically(PageFilePath().toStdString(), "<p>an earlier print</p>");
        auto form = ShowData(*FSandbox, data, FPath);
        QCOMPARE(Session(*form).DataFile().IsEncrypted(), encrypted);
        AnswerOptions([list](TPrintOptionsDialog& dialog) {
            QTest::mouseClick(Child<QRadioButton>(dialog, list ? "RBPrintList" : "RBPrintRecord"),
                              Qt::LeftButton);
        });
        Action(*form, "ActionPrintPreview")->trigger();
        QCOMPARE(PrintDialogTesting::TakeShown().size(), 1);
        QCOMPARE(QFile::exists(PageFilePath()), !encrypted);
        if (!encrypted) {
            QVERIFY(PageFileBytes().contains("Ann Lee"));
        }
    }

    // Page setup through the menu's command: the paper of the next print, nothing printed.
    void pageSetupThenPreview() {
        auto form = ShowData(*FSandbox, People(), FPath);
        PrintDialogTesting::QueuePageSetup(A5Landscape());
        Action(*form, "ActionPageSetup")->trigger();
        QCOMPARE(PrintDialogTesting::TakeShown(), QStringList{"Page setup"});
        AnswerOptions([](TPrintOptionsDialog&) {});
        Action(*form, "ActionPrintPreview")->trigger();
        QCOMPARE(PrintDialogTesting::TakeShown(), QStringList{"Preview: 1 pages"});
        QVERIFY(!QFile::exists(Pdf()));
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
