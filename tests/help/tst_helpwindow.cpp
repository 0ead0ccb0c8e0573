// SPDX-License-Identifier: GPL-3.0-or-later
// The help window on the real help pages: start page and contents, navigation by contents, links,
// back, forward and home, search of the page text, the generated shortcut tables, and the page
// shown when a help page is missing or lies outside the help folder.

#include "help/HelpBrowser.h"
#include "help/HelpWindow.h"

#include "help/HelpTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTextBlock>

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

    void shortcutTablesFromTheWindowsCommands() {
        QMainWindow window;
        auto add = [&window](const char* name, const QString& text, const QString& tip,
                             const QList<QKeySequence>& keys) {
            auto* action = new QAction(text, &window);
            action->setObjectName(QString::fromLatin1(name));
            action->setStatusTip(tip);
            action->setShortcuts(keys);
        };
        add("ActionNewItem", QStringLiteral("&New Record"), QStringLiteral("Create"),
            {QKeySequence(Qt::CTRL | Qt::Key_N)});
        add("ActionChooseDataFile", QStringLiteral("Create/Choose &Data File..."), QString(),
            {QKeySequence(Qt::CTRL | Qt::Key_O), QKeySequence(Qt::Key_F12)});
        add("ActionSearch", QString(), QStringLiteral("Run the filter now"), {QKeySequence(Qt::Key_F5)});
        add("ActionSetFocusToSearchBox", QString(), QString(), {QKeySequence(Qt::CTRL | Qt::Key_F)});
        add("ActionMarkup", QStringLiteral("<b>Fish && Chips</b>"), QString(), {QKeySequence(Qt::Key_F8)});
        add("ActionNoKey", QStringLiteral("No key"), QString(), {});
        auto* gone = new QWidget;
        new QAction(QStringLiteral("Vanished"), gone);
        FWindow->AddShortcutSource(QStringLiteral("Main window"), &window);
        FWindow->AddShortcutSource(QStringLiteral("Gone window"), gone);
        delete gone;

        FWindow->ShowTopics();
        ClickContentsItem(*FWindow, QStringLiteral("Keyboard shortcuts"));
        const QString text = FWindow->Browser()->toPlainText();
        QVERIFY(!text.contains(QStringLiteral("shortcut tables")));
        QVERIFY(text.contains(QStringLiteral("Main window")));
        QVERIFY(!text.contains(QStringLiteral("Gone window")));
        const QStringList rows = {
            "Ctrl+N\nNew Record",     "Ctrl+O\nCreate/Choose Data File",   "F12\nCreate/Choose Data File",
            "F5\nRun the filter now", "Ctrl+F\nActionSetFocusToSearchBox", "F8\n<b>Fish & Chips</b>"};
        for (const QString& row : rows) {
            QVERIFY2(text.contains(row), qPrintable(row));
        }
        QVERIFY(!text.contains(QStringLiteral("No key")));
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
