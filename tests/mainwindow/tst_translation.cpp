// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a German user sees it: LANGUAGE=de before the program's own start-up step installs
// the translators, then menus, the record count, a question box with Qt's own buttons, and the
// help window's buttons.

#include "support/WindowTestSupport.h"

#include "app/Translations.h"
#include "help/HelpWindow.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QToolBar>
#include <QToolButton>

using namespace MainTest;

namespace {

// The access key a caption gives, or a null character when it has none.
QChar AccessKey(const QString& caption) {
    for (qsizetype i = caption.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < caption.size();
         i = caption.indexOf(QLatin1Char('&'), i + 2)) {
        if (caption.at(i + 1) != QLatin1Char('&')) {
            return caption.at(i + 1).toLower();
        }
    }
    return QChar();
}

// Captions in menu (and its submenus) whose access key another caption of the same menu has.
QStringList DuplicateAccessKeys(const QMenu& menu) {
    QStringList duplicates;
    QHash<QChar, QString> taken;
    for (const QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            duplicates += DuplicateAccessKeys(*action->menu());
        }
        const QChar key = AccessKey(action->text());
        if (key.isNull() || !action->isVisible()) {
            continue;
        }
        if (taken.contains(key)) {
            duplicates << taken.value(key) + QStringLiteral(" / ") + action->text();
        }
        taken.insert(key, action->text());
    }
    return duplicates;
}

} // namespace

class TestTranslation : public TWindowTest {
    Q_OBJECT

private:
    std::unique_ptr<TMainWindow> ShowBooks(int records) {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        for (int i = 0; i < records; ++i) {
            AddRecord(*books, {"Walden"});
        }
        QString path;
        return ShowData(*FSandbox, data, path);
    }

private slots:
    void initTestCase() {
        const QString language = InstallTranslators(*QCoreApplication::instance(),
                                                    QStringLiteral(QUILLERY_BIN_DIR "/translations/"));
        QVERIFY2(language.startsWith(QStringLiteral("de")), qPrintable(language));
    }

    void menuTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("File menu") << "MenuFile"
                                   << "&Datei";
        QTest::newRow("Edit menu") << "MenuEdit"
                                   << "&Bearbeiten";
        QTest::newRow("Data Operations menu") << "MenuDataOperations"
                                              << "&Datensätze";
        QTest::newRow("Create/Choose Data File") << "ActionChooseDataFile"
                                                 << "Datendatei erstellen/&wählen…";
        QTest::newRow("Delete Record") << "ActionDeleteItem"
                                       << "Datensatz &löschen";
        QTest::newRow("Help Topics") << "ActionHelpTopics"
                                     << "&Hilfethemen";
    }
    void menuTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        auto form = ShowBooks(1);
        QObject* item = form->findChild<QObject*>(name);
        QVERIFY2(item != nullptr, qPrintable(name));
        if (auto* menu = qobject_cast<QMenu*>(item)) {
            QCOMPARE(menu->title(), text);
        } else {
            QCOMPARE(qobject_cast<QAction*>(item)->text(), text);
        }
    }

    void accessKeysAreUniqueInEachMenu() {
        auto form = ShowBooks(1);
        QStringList duplicates;
        QMenu bar;
        for (QAction* action : form->menuBar()->actions()) {
            bar.addAction(action);
            duplicates += DuplicateAccessKeys(*action->menu());
        }
        duplicates += DuplicateAccessKeys(bar);
        QVERIFY2(duplicates.isEmpty(), qPrintable(duplicates.join(QLatin1Char('\n'))));
    }

    void recordCount_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("label");
        QTest::newRow("none") << 0 << "Books   (Gesamt: 0 Datensätze)";
        QTest::newRow("one") << 1 << "Books   (Gesamt: 1 Datensatz)";
        QTest::newRow("two") << 2 << "Books   (Gesamt: 2 Datensätze)";
    }
    void recordCount() {
        QFETCH(int, records);
        QFETCH(QString, label);
        auto form = ShowBooks(records);
        QCOMPARE(Child<QLabel>(*form, "LabelCategory")->text(), label);
    }

    void questionBoxAndItsButtons() {
        auto form = ShowBooks(2);
        ClickRow(*form, 0);
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        Trigger(*form, "ActionDeleteItem");
        const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Text, QStringLiteral("Ausgewählten Datensatz löschen?"));
        QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        // The box's buttons are Qt's own: its translation names them.
        QMessageBox box;
        box.setStandardButtons(boxes[0].Buttons);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
        QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(2));
    }

    void helpWindowButtons_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::newRow("back") << "ActionHelpBack"
                              << "Zurück";
        QTest::newRow("forward") << "ActionHelpForward"
                                 << "Vorwärts";
        QTest::newRow("home") << "ActionHelpHome"
                              << "Startseite";
        QTest::newRow("previous") << "ActionFindPrevious"
                                  << "Vorherige";
        QTest::newRow("next") << "ActionFindNext"
                              << "Nächste";
    }
    void helpWindowButtons() {
        QFETCH(QString, action);
        QFETCH(QString, text);
        auto form = ShowBooks(1);
        Trigger(*form, "ActionHelpTopics");
        auto* help = form->findChild<THelpWindow*>();
        QVERIFY(help != nullptr && help->isVisible());
        // No help pages in the sandbox: the window's own page says so, in German too.
        QCOMPARE(help->windowTitle(), QStringLiteral("Quillery-Hilfe - Seite nicht gefunden"));
        auto* button =
            qobject_cast<QToolButton*>(Child<QToolBar>(*help, "HelpToolBar")
                                           ->widgetForAction(Child<QAction>(*help, qPrintable(action))));
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), text);
    }
};

int main(int argc, char** argv) {
    // Before the application object: the system locale reads the environment when it starts.
    qputenv("LANGUAGE", "de");
    QApplication application(argc, argv);
    TestTranslation test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translation.moc"
