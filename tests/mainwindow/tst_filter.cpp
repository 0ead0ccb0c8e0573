// SPDX-License-Identifier: GPL-3.0-or-later
// The record filter: what matches, whole words, the 300 ms wait, which keys start it, and how it
// meets the category bar, the form and the record commands.

#include "support/WindowTestSupport.h"

#include "mainwindow/RecordListModel.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace MainTest;

namespace {

// Books: Title and Author are list columns; Notes (a memo) and Shelf are not.
struct TBooks {
    TDataFile Data;
    TCategory* Books = nullptr;
    int32_t Title = 0;

    TBooks() {
        Books = AddCategory(Data, "Books", {"Title", "Author"});
        Title = Books->Columns[0]->ElementID;
        AddElement(*Books, kKindMemo, 100, 80, 300, 80);
        AddElement(*Books, kKindEdit, 100, 170, 100, 21);
        AddRecord(*Books, {"My booklet", "Ann", "", ""});
        AddRecord(*Books, {"book-keeping", "Bob", "", ""});
        AddRecord(*Books, {"book_2", "Cid", "", ""});
        AddRecord(*Books, {"BOOK7", "Dee", "", ""});
        AddRecord(*Books, {"Notes", "Eve", "first line\r\nhidden treasure", ""});
        AddRecord(*Books, {"Shelved", "Fay", "", "secret shelf"});
        AddRecord(*Books, {"Caf\xc3\xa9", "Gil", "", ""});
        AddRecord(*Books, {"CAF\xc3\x89", "Hal", "", ""});
        AddRecord(*Books, {"ab", "cd", "", ""});
        AddRecord(*Books, {"xa-a-a", "Ivy", "", ""});
    }
};

} // namespace

class TestFilter : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> Show(const TDataFile& data) { return ShowData(*FSandbox, data, FPath); }

    // Types into the filter box as the user does, then lets the waiting filter timer fire.
    static void Filter(TMainWindow& form, const QString& text) {
        auto* box = Child<QLineEdit>(form, "EditSearchBox");
        box->setFocus();
        TypeText(box, text);
        QVERIFY(FilterBar(form).TimerSearch.isActive());
        FilterBar(form).TimerSearchTimer();
    }

    static QString Header(const TMainWindow& form) { return Child<QLabel>(form, "LabelCategory")->text(); }

private slots:
    void filterKeepsMatchingRecords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QStringList>("titles"); // sorted by title
        QTest::newRow("capitals match small letters")
            << QStringLiteral("BOOK") << false
            << QStringList{"book-keeping", "BOOK7", "book_2", "My booklet"};
        QTest::newRow("whole word: hyphen, underscore and digits separate words")
            << QStringLiteral("BOOK") << true << QStringList{"book-keeping", "BOOK7", "book_2"};
        QTest::newRow("a memo's second line") << QStringLiteral("treasure") << false << QStringList{"Notes"};
        QTest::newRow("a value no column shows")
            << QStringLiteral("SECRET") << false << QStringList{"Shelved"};
        QTest::newRow("never across two values") << QStringLiteral("abcd") << false << QStringList{};
        QTest::newRow("accented capitals do not fold")
            << QStringLiteral("caf\u00c9") << false << QStringList{"CAF\u00c9"};
        QTest::newRow("accented small letters do not fold")
            << QStringLiteral("CAF\u00e9") << false << QStringList{"Caf\u00e9"};
        QTest::newRow("whole word after a rejected overlapping occurrence")
            << QStringLiteral("a-a") << true << QStringList{"xa-a-a"};
        QTest::newRow("a blank is filter text")
            << QStringLiteral(" ") << false << QStringList{"My booklet", "Notes", "Shelved"};
    }
    void filterKeepsMatchingRecords() {
        QFETCH(QString, text);
        QFETCH(bool, wholeWord);
        QFETCH(QStringList, titles);
        TBooks books;
        auto form = Show(books.Data);
        auto* box = Child<QLineEdit>(*form, "EditSearchBox");
        box->setFocus();
        TypeText(box, text);
        if (wholeWord) {
            QTest::mouseClick(Child<QCheckBox>(*form, "CBMatchWholeWord"), Qt::LeftButton);
        }
        QVERIFY(FilterBar(*form).TimerSearch.isActive());
        FilterBar(*form).TimerSearchTimer();

        QCOMPARE(ListColumnTexts(*form, 0), titles);
        QCOMPARE(Header(*form), QStringLiteral("Books   (Filtered: %1 record%2)")
                                    .arg(titles.size())
                                    .arg(titles.size() > 1 ? QStringLiteral("s") : QString()));
        QVERIFY(!Child<QAction>(*form, "ActionNewItem")->isEnabled());
        // The key press asked for the first row; the focus is back in the box, caret at its end.
        QCOMPARE(SelectedRow(*form), titles.isEmpty() ? -1 : 0);
        QCOMPARE(form->focusWidget(), box);
        QVERIFY(!box->hasSelectedText());
        QCOMPARE(box->cursorPosition(), text.size());
        QVERIFY(Child<QWidget>(*form, "PanelRight")->isEnabled());
        QVERIFY(box->isEnabled());
        QVERIFY(form->close());
    }

    void quickKeysCauseOneRun() {
        TBooks books;
        auto form = Show(books.Data);
        QCOMPARE(FilterBar(*form).TimerSearch.interval(), 300);
        QVERIFY(FilterBar(*form).TimerSearch.isSingleShot());
        QVERIFY(!FilterBar(*form).TimerSearch.isActive());
        QSignalSpy runs(Child<QAction>(*form, "ActionSearch"), &QAction::triggered);
        auto* box = Child<QLineEdit>(*form, "EditSearchBox");
        box->setFocus();
        TypeText(box, QStringLiteral("boo"));
        QCOMPARE(runs.size(), 0);
        QVERIFY(FilterBar(*form).TimerSearch.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(runs.size(), 1, 2000);
        QTest::qWait(400);
        QCOMPARE(runs.size(), 1);
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"book-keeping", "BOOK7", "book_2", "My booklet"}));
        QVERIFY(form->close());
    }

    void clearingTheBox_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("showsAll");
        QTest::newRow("Backspace") << QStringLiteral("backspace") << true;
        QTest::newRow("Delete key") << QStringLiteral("delete") << false;
        QTest::newRow("Edit menu Cut") << QStringLiteral("cut") << false;
    }
    void clearingTheBox() {
        QFETCH(QString, how);
        QFETCH(bool, showsAll);
        TBooks books;
        auto form = Show(books.Data);
        Filter(*form, QStringLiteral("b"));
        QVERIFY(Header(*form).contains(QStringLiteral("(Filtered: 5 records)")));
        auto* box = Child<QLineEdit>(*form, "EditSearchBox");
        if (how == QStringLiteral("backspace")) {
            QTest::keyClick(box, Qt::Key_Backspace);
        } else if (how == QStringLiteral("delete")) {
            QTest::keyClick(box, Qt::Key_Home);
            QTest::keyClick(box, Qt::Key_Delete);
        } else {
            ClickEditMenuItem(*form, "ActionSelectAll");
            ClickEditMenuItem(*form, "ActionCut");
        }
        QVERIFY(box->text().isEmpty());
        QCOMPARE(FilterBar(*form).TimerSearch.isActive(), showsAll);
        if (!showsAll) {
            // Nothing changes until the next character key or Match Whole Word click.
            QVERIFY(Header(*form).contains(QStringLiteral("(Filtered:")));
            QVERIFY(!Child<QAction>(*form, "ActionNewItem")->isEnabled());
            QTest::mouseClick(Child<QCheckBox>(*form, "CBMatchWholeWord"), Qt::LeftButton);
            QVERIFY(FilterBar(*form).TimerSearch.isActive());
        }
        FilterBar(*form).TimerSearchTimer();
        QCOMPARE(Header(*form), QStringLiteral("Books   (Total: 10 records)"));
        QCOMPARE(ListColumnTexts(*form, 0).size(), 10);
        QVERIFY(Child<QAction>(*form, "ActionNewItem")->isEnabled());
        QCOMPARE(SelectedRow(*form), 0);
        QVERIFY(form->close());
    }

    void otherKeysDoNotStartTheFilter() {
        TBooks books;
        auto form = Show(books.Data);
        auto* box = Child<QLineEdit>(*form, "EditSearchBox");
        box->setFocus();
        box->setText(QStringLiteral("book"));
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Shift}) {
            QTest::keyClick(box, key);
        }
        QVERIFY(!FilterBar(*form).TimerSearch.isActive());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QTest::keyClick(box, key);
            QVERIFY(FilterBar(*form).TimerSearch.isActive());
            FilterBar(*form).TimerSearch.stop();
        }
        QCOMPARE(box->text(), QStringLiteral("book"));
        QVERIFY(form->close());
    }

    void matchWholeWordWithAnEmptyBoxShowsAll() {
        TBooks books;
        auto form = Show(books.Data);
        ClickRow(*form, 3);
        QTest::mouseClick(Child<QCheckBox>(*form, "CBMatchWholeWord"), Qt::LeftButton);
        QVERIFY(Child<QCheckBox>(*form, "CBMatchWholeWord")->isChecked());
        QVERIFY(FilterBar(*form).TimerSearch.isActive());
        QTRY_COMPARE(SelectedRow(*form), 0);
        QCOMPARE(Header(*form), QStringLiteral("Books   (Total: 10 records)"));
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("ab"));
        QVERIFY(form->close());
    }

    void anotherCategoryIsShownFiltered() {
        TBooks books;
        TCategory* people = AddCategory(books.Data, "People", {"Name"});
        for (const char* name : {"Bo", "Al", "Bob"}) {
            AddRecord(*people, {name});
        }
        auto form = Show(books.Data);
        Filter(*form, QStringLiteral("bo"));
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(1).center());
        QVERIFY(!FilterBar(*form).TimerSearch.isActive());
        QCOMPARE(Header(*form), QStringLiteral("People   (Filtered: 2 records)"));
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Bo", "Bob"}));
        QVERIFY(!Child<QAction>(*form, "ActionNewItem")->isEnabled());
        QCOMPARE(form->focusWidget(), Child<QLineEdit>(*form, "EditSearchBox"));
        Browser(*form).TimerClearDataFormTimer();
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("Bo"));
        QCOMPARE(FormControls(*form).size(), 1);
        QVERIFY(form->close());
    }

    void aModifiedRecordIsOfferedBeforeARun() {
        TBooks books;
        auto form = Show(books.Data);
        TypeIntoBox(FormControl(*form, books.Title), QStringLiteral("s"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        Filter(*form, QStringLiteral("abs"));
        QCOMPARE(ShownBoxTexts(), QStringList{"Record modified, would you like to save?"});
        QCOMPARE(ListColumnTexts(*form, 0), QStringList{"abs"});
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(Session(*form).WritePending());
        QVERIFY(form->close());
    }

    void controlsAreDisabledWhileARunGoesOn() {
        TBooks books;
        auto form = Show(books.Data);
        Child<QLineEdit>(*form, "EditSearchBox")->setText(QStringLiteral("book"));
        QStringList enabledDuringRun;
        // Runs when the filter run first lets the window process its messages.
        QTimer::singleShot(0, form.get(), [&form, &enabledDuringRun] {
            for (const char* name : {"PanelLeft", "PanelRight", "EditSearchBox", "CBMatchWholeWord"}) {
                if (Child<QWidget>(*form, name)->isEnabled()) {
                    enabledDuringRun.append(QString::fromLatin1(name));
                }
            }
            for (const char* name : {"ActionEditTemplates", "ActionNewItem", "ActionChooseDataFile"}) {
                if (Child<QAction>(*form, name)->isEnabled()) {
                    enabledDuringRun.append(QString::fromLatin1(name));
                }
            }
        });
        QVERIFY(Child<QAction>(*form, "ActionEditTemplates")->isEnabled());
        FilterBar(*form).TimerSearchTimer();
        QCOMPARE(enabledDuringRun, QStringList());
        for (const char* name : {"PanelLeft", "PanelRight", "EditSearchBox", "CBMatchWholeWord"}) {
            QVERIFY2(Child<QWidget>(*form, name)->isEnabled(), name);
        }
        QVERIFY(Child<QAction>(*form, "ActionEditTemplates")->isEnabled());
        QVERIFY(Child<QAction>(*form, "ActionChooseDataFile")->isEnabled());
        QVERIFY(form->close());
    }

    void aHundredThousandRecords() {
        TDataFile data;
        TCategory* big = AddCategory(data, "Big", {"Key", "Text"});
        big->Records.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            AddRecord(*big, {std::to_string(i), i % 7 == 0 ? "a Needle here" : "hay needles"});
        }
        auto form = Show(data);
        Child<QCheckBox>(*form, "CBMatchWholeWord")->setChecked(true);
        Filter(*form, QStringLiteral("NEEDLE"));
        QCOMPARE(ListModel(*form)->rowCount(), 14286);
        QCOMPARE(Header(*form), QStringLiteral("Big   (Filtered: 14286 records)"));
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("0"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestFilter)
#include "tst_filter.moc"
