// SPDX-License-Identifier: GPL-3.0-or-later
// The help window on the real help pages: start page and contents, navigation by contents, links,
// back, forward and home, the keys that close it and the size it keeps, search of the page text and
// of every page, the generated shortcut tables, and the page shown when a help page is missing or
// lies outside the help folder.

#include "help/HelpBrowser.h"
#include "help/HelpWindow.h"
#include "settings/Folders.h"
#include "settings/Settings.h"

#include "help/HelpTestSupport.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QScreen>
#include <QSet>
#include <QTextBlock>
#include <QTextTable>

using namespace HelpTest;

namespace {

QListWidget* Contents(const THelpWindow& window) {
    return window.findChild<QListWidget*>(QStringLiteral("HelpContents"));
}

QAction* Action(const THelpWindow& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

QString PageFile(const THelpWindow& window) {
    return window.Browser()->source().fileName();
}

void ClickContentsItem(const THelpWindow& window, const QString& title) {
    QListWidget* contents = Contents(window);
    const QList<QListWidgetItem*> items = contents->findItems(title, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(items.first()).center());
}

// Clicks the first link whose text is linkText, where it is drawn on screen.
void ClickLink(const THelpWindow& window, const QString& linkText) {
    QTextBrowser* browser = window.Browser();
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isAnchor() && fragment.text() == linkText) {
                QTextCursor cursor(browser->document());
                cursor.setPosition(fragment.position() + 1);
                browser->ensureCursorVisible();
                browser->setTextCursor(cursor);
                browser->ensureCursorVisible();
                const QPoint point = browser->cursorRect(cursor).center();
                QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, point);
                return;
            }
        }
    }
    QFAIL(qPrintable(QStringLiteral("no link ") + linkText));
}

void SearchFor(const THelpWindow& window, const QString& text) {
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("FindBox"));
    box->clear();
    QTest::keyClicks(box, text);
}

QString FindStatus(const THelpWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("FindStatus"))->text();
}

QListWidget* FoundPages(const THelpWindow& window) {
    return window.findChild<QListWidget*>(QStringLiteral("FoundPages"));
}

// How often text is in the page's plain text, capitals and small letters alike.
int Occurrences(const QString& pageText, const QString& text) {
    return static_cast<int>(pageText.count(text, Qt::CaseInsensitive));
}

struct TShownTable {
    QString Heading;
    QList<QStringList> Rows; // below the heading row
};

// The tables of the page shown, each with the heading above it.
QList<TShownTable> ShownTables(const QTextDocument& document) {
    QList<TShownTable> tables;
    QString heading;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (it.currentBlock().isValid() && !it.currentBlock().text().trimmed().isEmpty()) {
            heading = it.currentBlock().text().trimmed();
        }
        const auto* table = qobject_cast<QTextTable*>(it.currentFrame());
        if (table == nullptr) {
            continue;
        }
        TShownTable shown{heading, {}};
        for (int row = 1; row < table->rows(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columns(); ++column) {
                QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
                cell.setPosition(table->cellAt(row, column).lastCursorPosition().position(),
                                 QTextCursor::KeepAnchor);
                cells.append(cell.selectedText());
            }
            shown.Rows.append(cells);
        }
        tables.append(shown);
    }
    return tables;
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FRoot;
    QString FHelp;
    std::unique_ptr<THelpWindow> FWindow;

private slots:
    void init() {
        FRoot = std::make_unique<QTemporaryDir>();
        QVERIFY(FRoot->isValid());
        TFolders::InitializeForTesting(FRoot->path());
        FHelp = CopyHelpPages(FRoot->filePath(QStringLiteral("help")));
        FWindow = std::make_unique<THelpWindow>(FHelp);
    }
    void cleanup() {
        FWindow.reset();
        FRoot.reset();
    }

    void opensAtTheStartPageWithContents() {
        FWindow->ShowTopics();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
        QCOMPARE(PageFile(*FWindow), QStringLiteral("index.html"));
        QCOMPARE(FWindow->windowTitle(), QStringLiteral("Quillery Help - Quillery Help"));
        QStringList titles;
        for (int i = 0; i < Contents(*FWindow)->count(); ++i) {
            titles << Contents(*FWindow)->item(i)->text();
        }
        QCOMPARE(titles,
                 QStringList({"Start page", "Getting started and your first data file",
                              "Data files, passwords and backups", "Categories and the template editor",
                              "Records, the list and the filter", "Importing and exporting spreadsheets",
                              "Printing", "Keyboard shortcuts", "The command line and quillery-cli"}));
        QCOMPARE(Contents(*FWindow)->currentRow(), 0);
        QVERIFY(!Action(*FWindow, "ActionHelpBack")->isEnabled());
        QVERIFY(!Action(*FWindow, "ActionHelpForward")->isEnabled());
    }

    void everyContentsPageIsThereWithItsPictures() {
        FWindow->ShowTopics();
        for (int row = 1; row < Contents(*FWindow)->count(); ++row) {
            const QString title = Contents(*FWindow)->item(row)->text();
            ClickContentsItem(*FWindow, title);
            QCOMPARE(Contents(*FWindow)->currentRow(), row);
            QVERIFY2(!FWindow->Browser()->documentTitle().isEmpty(), qPrintable(title));
            QVERIFY2(FWindow->Browser()->documentTitle() != QStringLiteral("Page not found"),
                     qPrintable(title));
            // Each picture a page shows is shipped with it.
            const QString html = FWindow->Browser()->toHtml();
            static const QRegularExpression imageTag(QStringLiteral("<img src=\"([^\"]+)\""));
            for (auto match = imageTag.globalMatch(html); match.hasNext();) {
                const QString picture = match.next().captured(1);
                // Asked for as the page's painting asks for it.
                const QVariant image =
                    FWindow->Browser()->document()->resource(QTextDocument::ImageResource, QUrl(picture));
                // Bytes when first read, a pixmap once the page has been drawn.
                const bool shown = image.userType() == QMetaType::QPixmap
                                       ? !image.value<QPixmap>().isNull()
                                       : !QImage::fromData(image.toByteArray()).isNull();
                QVERIFY2(shown, qPrintable(picture));
            }
        }
    }

    void linksBackForwardAndHome() {
        FWindow->ShowTopics();
        QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
        ClickLink(*FWindow, QStringLiteral("Printing"));
        QCOMPARE(PageFile(*FWindow), QStringLiteral("printing.html"));
        QCOMPARE(FWindow->windowTitle(), QStringLiteral("Quillery Help - Printing"));
        QCOMPARE(Contents(*FWindow)->currentItem()->text(), QStringLiteral("Printing"));
        ClickContentsItem(*FWindow, QStringLiteral("Records, the list and the filter"));
        QCOMPARE(PageFile(*FWindow), QStringLiteral("records.html"));

        QAction* back = Action(*FWindow, "ActionHelpBack");
        QAction* forward = Action(*FWindow, "ActionHelpForward");
        QVERIFY(back->isEnabled());
        back->trigger();
        QCOMPARE(PageFile(*FWindow), QStringLiteral("printing.html"));
        back->trigger();
        QCOMPARE(PageFile(*FWindow), QStringLiteral("index.html"));
        QVERIFY(!back->isEnabled());
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QCOMPARE(PageFile(*FWindow), QStringLiteral("printing.html"));
        // The keys of the toolbar's commands reach them from the page.
        FWindow->Browser()->setFocus();
        QTest::keyClick(FWindow.get(), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(PageFile(*FWindow), QStringLiteral("index.html"));
        QTest::keyClick(FWindow.get(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(PageFile(*FWindow), QStringLiteral("printing.html"));
    }

    void showingAgainReturnsToTheStartPage() {
        FWindow->ShowTopics();
        ClickContentsItem(*FWindow, QStringLiteral("Printing"));
        FWindow->showMinimized();
        FWindow->ShowTopics();
        QCOMPARE(PageFile(*FWindow), QStringLiteral("index.html"));
        QVERIFY(!FWindow->isMinimized());
        QVERIFY(FWindow->isVisible());
    }

    // The page on passwords tells plainly what each choice protects, with the dialog's own words.
    void passwordPageSaysWhatEachChoiceProtects() {
        FWindow->ShowTopics();
        ClickContentsItem(*FWindow, QStringLiteral("Data files, passwords and backups"));
        const QString page = FWindow->Browser()->toPlainText().simplified();
        for (const char* words :
             {"Encrypt the data file with this password", "records themselves are stored as readable text",
              "nobody can read anything in it"}) {
            QVERIFY2(page.contains(QLatin1String(words)), words);
        }
    }

    void searchOfThePageText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("nextPresses");
        QTest::addColumn<int>("previousPresses");
        QTest::addColumn<int>("expectedOccurrence"); // in page order from 0, -1 for none
        // The filter page holds "Match Whole Word" three times: heading, text and table.
        QTest::newRow("first match") << "whole word" << 0 << 0 << 0;
        QTest::newRow("case is ignored") << "WHOLE WORD" << 0 << 0 << 0;
        QTest::newRow("next match") << "whole word" << 1 << 0 << 1;
        QTest::newRow("next wraps to the first") << "Match Whole Word" << 3 << 0 << 0;
        QTest::newRow("previous wraps to the last") << "Match Whole Word" << 0 << 1 << 2;
        QTest::newRow("next then previous") << "Match Whole Word" << 2 << 1 << 1;
        QTest::newRow("not on the page") << "spaceship" << 1 << 0 << -1;
    }
    void searchOfThePageText() {
        QFETCH(QString, text);
        QFETCH(int, nextPresses);
        QFETCH(int, previousPresses);
        QFETCH(int, expectedOccurrence);
        FWindow->ShowTopics();
        ClickContentsItem(*FWindow, QStringLiteral("Records, the list and the filter"));
        QList<int> occurrences;
        for (QTextCursor at = FWindow->Browser()->document()->find(text); !at.isNull();
             at = FWindow->Browser()->document()->find(text, at)) {
            occurrences.append(at.selectionStart());
        }
        SearchFor(*FWindow, text);
        for (int i = 0; i < nextPresses; ++i) {
            QTest::keyClick(FWindow->findChild<QLineEdit*>(QStringLiteral("FindBox")), Qt::Key_Return);
        }
        for (int i = 0; i < previousPresses; ++i) {
            Action(*FWindow, "ActionFindPrevious")->trigger();
        }
        const QTextCursor found = FWindow->Browser()->textCursor();
        if (expectedOccurrence < 0) {
            QCOMPARE(FindStatus(*FWindow), QStringLiteral("Not found"));
            QVERIFY(!found.hasSelection());
            return;
        }
        QCOMPARE(occurrences.size(), 3);
        QCOMPARE(FindStatus(*FWindow), QString());
        QCOMPARE(found.selectedText().toLower(), text.toLower());
        QCOMPARE(found.selectionStart(), occurrences.at(expectedOccurrence));
    }

    void searchKeysAndANewPageClearTheStatus() {
        FWindow->ShowTopics();
        QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
        FWindow->Browser()->setFocus();
        QTest::keyClick(FWindow.get(), Qt::Key_F, Qt::ControlModifier);
        auto* box = FWindow->findChild<QLineEdit*>(QStringLiteral("FindBox"));
        QVERIFY(box->hasFocus());
        QTest::keyClicks(box, QStringLiteral("page"));
        const int first = FWindow->Browser()->textCursor().selectionStart();
        QTest::keyClick(FWindow.get(), Qt::Key_F3);
        QVERIFY(FWindow->Browser()->textCursor().selectionStart() > first);
        QTest::keyClick(FWindow.get(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(FWindow->Browser()->textCursor().selectionStart(), first);
        QTest::keyClicks(box, QStringLiteral("zzz"));
        QCOMPARE(FindStatus(*FWindow), QStringLiteral("Not found"));
        ClickContentsItem(*FWindow, QStringLiteral("Printing"));
        QCOMPARE(FindStatus(*FWindow), QString());
        box->clear();
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!FWindow->Browser()->textCursor().hasSelection());
    }

    // One table for each window, the help window's own last: every key once, each command by its
    // menu name (never by its object name), and only the commands of that window.
    void shortcutTables_data() {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("rows"); // "keys = command", some of the table's rows in order
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("main window") << "Main window" << QStringList{"Ctrl+N = New Record",
                                                                     "Ctrl+O = Create/Choose Data File",
                                                                     "F12 = Create/Choose Data File",
                                                                     "F5 = Run the filter now",
                                                                     "Ctrl+F = Move to the filter box.",
                                                                     "Ctrl+PgDown = Next Category",
                                                                     "F7 = Set Focus To PDF File",
                                                                     "F8 = <b>Fish & Chips</b>",
                                                                     "Ctrl+K = Panel Command"}
                                     << QStringList{"No key", "Also Ctrl+O", "Dialog Command", "Close"};
        QTest::newRow("help window") << "Help window"
                                     << QStringList{"Alt+Left = Back", "Alt+Right = Forward",
                                                    "Alt+Home = Home", "Shift+F3 = Previous",
                                                    "F3 = Next",       "Ctrl+F = Move to the find box.",
                                                    "Esc = Close",     "Ctrl+W = Close"}
                                     << QStringList{"New Record", "Next Category"};
    }
    void shortcutTables() {
        QFETCH(QString, heading);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, absent);
        QMainWindow window;
        auto add = [](QObject* owner, const char* name, const QString& text, const QString& tip,
                      const QList<QKeySequence>& keys) {
            auto* action = new QAction(text, owner);
            action->setObjectName(QString::fromLatin1(name));
            action->setStatusTip(tip);
            action->setShortcuts(keys);
        };
        add(&window, "ActionNewItem", QStringLiteral("&New Record"), QStringLiteral("Create"),
            {QKeySequence(Qt::CTRL | Qt::Key_N)});
        add(&window, "ActionChooseDataFile", QStringLiteral("Create/Choose &Data File..."), QString(),
            {QKeySequence(Qt::CTRL | Qt::Key_O), QKeySequence(Qt::Key_F12)});
        add(&window, "ActionOpenAgain", QStringLiteral("Also Ctrl+O"), QString(),
            {QKeySequence(Qt::CTRL | Qt::Key_O)});
        add(&window, "ActionSearch", QString(), QStringLiteral("Run the filter now"),
            {QKeySequence(Qt::Key_F5)});
        add(&window, "ActionSetFocusToSearchBox", QString(), QStringLiteral("Move to the filter box."),
            {QKeySequence(Qt::CTRL | Qt::Key_F)});
        add(&window, "ActionNextCategory", QString(), QString(), {QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
        add(&window, "ActionSetFocusToPDFFile", QString(), QString(), {QKeySequence(Qt::Key_F7)});
        add(&window, "ActionMarkup", QStringLiteral("<b>Fish && Chips</b>"), QString(),
            {QKeySequence(Qt::Key_F8)});
        add(&window, "ActionNoKey", QStringLiteral("No key"), QString(), {});
        add(new QWidget(&window), "ActionPanelCommand", QString(), QString(),
            {QKeySequence(Qt::CTRL | Qt::Key_K)});
        add(new QDialog(&window), "ActionDialogCommand", QString(), QString(), {QKeySequence(Qt::Key_F9)});
        auto* gone = new QWidget;
        new QAction(QStringLiteral("Vanished"), gone);
        FWindow->AddShortcutSource(QStringLiteral("Main window"), &window);
        FWindow->AddShortcutSource(QStringLiteral("Gone window"), gone);
        delete gone;

        FWindow->ShowTopics();
        ClickContentsItem(*FWindow, QStringLiteral("Keyboard shortcuts"));
        const QString text = FWindow->Browser()->toPlainText();
        QVERIFY(!text.contains(QStringLiteral("shortcut tables")));
        QVERIFY(!text.contains(QStringLiteral("Gone window")));
        QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("Action[A-Z]"))), qPrintable(text));
        const QList<TShownTable> tables = ShownTables(*FWindow->Browser()->document());
        QStringList headings;
        for (const TShownTable& table : tables) {
            headings.append(table.Heading);
        }
        QCOMPARE(headings, QStringList({"Main window", "Help window", "Other keys"}));
        const TShownTable& table = tables.at(static_cast<int>(headings.indexOf(heading)));
        QStringList shown;
        QStringList keys;
        for (const QStringList& row : table.Rows) {
            shown.append(row.value(0) + QStringLiteral(" = ") + row.value(1));
            keys.append(row.value(0));
        }
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
        qsizetype at = 0;
        for (const QString& row : rows) {
            const qsizetype found = shown.indexOf(row, at);
            QVERIFY2(found >= 0,
                     qPrintable(row + QStringLiteral(" in ") + shown.join(QStringLiteral(" | "))));
            at = found + 1;
        }
        for (const QString& command : absent) {
            QVERIFY2(!shown.join(QLatin1Char('|')).contains(command), qPrintable(command));
        }
    }

    // The window closes with Escape and Ctrl+W from the page and from the find box. It opens at the
    // size it had when it was last closed, never larger than the screen's free area, and keeps the
    // size it has on closing.
    void closeKeysAndSize_data() {
        QTest::addColumn<QSize>("remembered"); // empty: none yet
        QTest::addColumn<QSize>("expected");   // before fitting to the screen
        QTest::addColumn<QSize>("resizedTo");  // empty: left as it opened
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<bool>("fromFindBox");
        QTest::newRow("first start, Escape")
            << QSize() << THelpWindow::kFirstSize << QSize(700, 500) << QKeySequence(Qt::Key_Escape) << false;
        QTest::newRow("remembered, Ctrl+W") << QSize(640, 480) << QSize(640, 480) << QSize(720, 560)
                                            << QKeySequence(Qt::CTRL | Qt::Key_W) << false;
        QTest::newRow("Escape in the find box")
            << QSize(600, 450) << QSize(600, 450) << QSize() << QKeySequence(Qt::Key_Escape) << true;
        QTest::newRow("remembered larger than the screen")
            << QSize(3000, 2000) << QSize(3000, 2000) << QSize() << QKeySequence(Qt::CTRL | Qt::Key_W)
            << false;
        QTest::newRow("remembered too small")
            << QSize(10, 10) << QSize(320, 240) << QSize() << QKeySequence(Qt::Key_Escape) << false;
    }
    void closeKeysAndSize() {
        QFETCH(QSize, remembered);
        QFETCH(QSize, expected);
        QFETCH(QSize, resizedTo);
        QFETCH(QKeySequence, key);
        QFETCH(bool, fromFindBox);
        if (remembered.isValid()) {
            TSettingsFile settings;
            settings.WriteInteger(QStringLiteral("HelpWindowWidth"), remembered.width());
            settings.WriteInteger(QStringLiteral("HelpWindowHeight"), remembered.height());
        }
        THelpWindow window(FHelp);
        window.ShowTopics();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QSize screen = window.screen()->availableGeometry().size();
        // The screen of the tests (800 x 600) is smaller than the first size, so fitting is tested.
        QVERIFY(!QRect(QPoint(), screen).contains(QRect(QPoint(), THelpWindow::kFirstSize)));
        QCOMPARE(window.size(), expected.boundedTo(screen));
        if (resizedTo.isValid()) {
            window.resize(resizedTo);
        }
        const QSize closing = window.size();
        QWidget* target = fromFindBox
                              ? static_cast<QWidget*>(window.findChild<QLineEdit*>(QStringLiteral("FindBox")))
                              : window.Browser();
        target->setFocus();
        QTest::keySequence(target, key);
        QVERIFY(!window.isVisible());
        TSettingsFile settings;
        QCOMPARE(QSize(settings.ReadInteger(QStringLiteral("HelpWindowWidth"), 0),
                       settings.ReadInteger(QStringLiteral("HelpWindowHeight"), 0)),
                 closing);
    }

    // The find lists every page that holds the words, most matches first, with how many; choosing
    // one, by mouse or from the find box with Down and Enter, opens it with the first match
    // selected.
    void findInEveryPage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first"); // the page listed first; empty: no page
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("a word of one page") << "_unnamed_"
                                            << "Importing and exporting spreadsheets" << false;
        QTest::newRow("words most on one page") << "print preview"
                                                << "Printing" << true;
        QTest::newRow("capitals ignored") << "PRINT PREVIEW"
                                          << "Printing" << false;
        QTest::newRow("a word of many pages") << "category" << QString() << false;
        QTest::newRow("not on any page") << "spaceship" << QString() << false;
    }
    void findInEveryPage() {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(bool, byKeyboard);
        FWindow->ShowTopics();
        QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
        // What each page holds, read page by page as a reader would.
        QList<QPair<int, QString>> expected;
        for (int row = 0; row < Contents(*FWindow)->count(); ++row) {
            const QString title = Contents(*FWindow)->item(row)->text();
            ClickContentsItem(*FWindow, title);
            const int count = Occurrences(FWindow->Browser()->toPlainText(), text);
            if (count > 0) {
                expected.append({count, title});
            }
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        QStringList expectedItems;
        for (const auto& [count, title] : expected) {
            expectedItems.append(QStringLiteral("%1 (%2)").arg(title).arg(count));
        }
        FWindow->Browser()->setSource(FWindow->Browser()->StartPage());

        SearchFor(*FWindow, text);
        QListWidget* found = FoundPages(*FWindow);
        QVERIFY(found->isVisible());
        QStringList items;
        for (int row = 0; row < found->count(); ++row) {
            items.append(found->item(row)->text());
        }
        QCOMPARE(items, expectedItems);
        if (!first.isEmpty()) {
            QVERIFY2(items.value(0).startsWith(first + QStringLiteral(" (")), qPrintable(items.join('|')));
        } else if (text == QStringLiteral("spaceship")) {
            QCOMPARE(found->count(), 0);
            QCOMPARE(FWindow->findChild<QLabel*>(QStringLiteral("FoundCaption"))->text(),
                     QStringLiteral("No page holds \"spaceship\"."));
            return;
        } else {
            QVERIFY2(found->count() >= 3, qPrintable(items.join('|')));
        }

        // The last page listed, chosen.
        const int chosen = found->count() - 1;
        const QString title = expected.at(chosen).second;
        if (byKeyboard) {
            auto* box = FWindow->findChild<QLineEdit*>(QStringLiteral("FindBox"));
            QTest::keyClick(box, Qt::Key_Down);
            QVERIFY(found->hasFocus());
            for (int row = 0; row < chosen; ++row) {
                QTest::keyClick(found, Qt::Key_Down);
            }
            QTest::keyClick(found, Qt::Key_Return);
        } else {
            QTest::mouseClick(found->viewport(), Qt::LeftButton, {},
                              found->visualItemRect(found->item(chosen)).center());
        }
        QCOMPARE(Contents(*FWindow)->currentItem()->text(), title);
        const QTextCursor selection = FWindow->Browser()->textCursor();
        QCOMPARE(selection.selectedText().toLower(), text.toLower());
        QCOMPARE(selection.selectionStart(), FWindow->Browser()->document()->find(text).selectionStart());
        // Clearing the find box takes the list away.
        auto* box = FWindow->findChild<QLineEdit*>(QStringLiteral("FindBox"));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(!found->isVisible());
    }

    void missingPages_data() {
        QTest::addColumn<QString>("removed");  // file removed from the help folder
        QTest::addColumn<QString>("opened");   // page then opened, relative to the help folder
        QTest::addColumn<QString>("reported"); // the page name the message gives
        QTest::newRow("a contents page") << "printing.html"
                                         << "printing.html"
                                         << "printing.html";
        QTest::newRow("the start page") << "index.html"
                                        << "index.html"
                                        << "index.html";
        QTest::newRow("a page that never was") << ""
                                               << "nowhere.html"
                                               << "nowhere.html";
        QTest::newRow("outside the help folder") << ""
                                                 << "../outside.html"
                                                 << "outside.html";
        QTest::newRow("a symbolic link out of the folder") << ""
                                                           << "linked.html"
                                                           << "linked.html";
        QTest::newRow("a folder named like a page") << ""
                                                    << "images"
                                                    << "images";
    }
    void missingPages() {
        QFETCH(QString, removed);
        QFETCH(QString, opened);
        QFETCH(QString, reported);
        if (!removed.isEmpty()) {
            QVERIFY(QFile::remove(FHelp + QLatin1Char('/') + removed));
        }
        const QString outside = FRoot->filePath(QStringLiteral("outside.html"));
        QFile file(outside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><head><title>Secret</title></head><body>secret</body></html>");
        file.close();
        QVERIFY(QFile::link(outside, FHelp + QStringLiteral("/linked.html")));

        FWindow->ShowTopics();
        FWindow->Browser()->setSource(QUrl::fromLocalFile(FHelp + QLatin1Char('/') + opened));
        QCOMPARE(FWindow->Browser()->documentTitle(), QStringLiteral("Page not found"));
        const QString text = FWindow->Browser()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("\"%1\" could not be found").arg(reported)), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("secret")));
        QCOMPARE(FWindow->windowTitle(), QStringLiteral("Quillery Help - Page not found"));
        // The way back to the start page is offered.
        if (removed != QStringLiteral("index.html")) {
            ClickLink(*FWindow, QStringLiteral("Back to the start page"));
            QCOMPARE(PageFile(*FWindow), QStringLiteral("index.html"));
            QCOMPARE(FWindow->Browser()->documentTitle(), QStringLiteral("Quillery Help"));
        }
    }

    void noHelpFolderAtAll() {
        THelpWindow window(FRoot->filePath(QStringLiteral("no-such-folder")));
        window.ShowTopics();
        QCOMPARE(window.Browser()->documentTitle(), QStringLiteral("Page not found"));
        QVERIFY(window.Browser()->toPlainText().contains(QStringLiteral("no-such-folder")));
        QCOMPARE(Contents(window)->count(), 1);
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
