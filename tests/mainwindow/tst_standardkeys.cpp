// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's standard keys in the main window: open, save, print and quit, each bound once.

#include "support/WindowTestSupport.h"

#include "help/ShortcutTable.h"
#include "ui/dialogs/FileDialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

using namespace MainTest;

class TestStandardKeys : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> ShowActive() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Books", {"Title"}), {"Emma"});
        auto form = ShowData(*FSandbox, data, FPath);
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("window not active");
        return form;
    }

private slots:
    void standardKeys_data() {
        QTest::addColumn<int>("standardKey");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("keys");
        QTest::newRow("open") << int(QKeySequence::Open) << QStringLiteral("ActionChooseDataFile")
                              << QStringLiteral("Ctrl+O");
        QTest::newRow("save") << int(QKeySequence::Save) << QStringLiteral("ActionSaveRecord")
                              << QStringLiteral("Ctrl+S");
        QTest::newRow("print") << int(QKeySequence::Print) << QStringLiteral("ActionPrint")
                               << QStringLiteral("Ctrl+P");
        QTest::newRow("quit") << int(QKeySequence::Quit) << QStringLiteral("ActionExit")
                              << QStringLiteral("Ctrl+Q");
    }
    void standardKeys() {
        QFETCH(int, standardKey);
        QFETCH(QString, action);
        QFETCH(QString, keys);
        auto form = ShowActive();
        // The desktop's own key where it has one for the command.
        const QKeySequence sequence = Child<QAction>(*form, qPrintable(action))->shortcut();
        QCOMPARE(sequence, QKeySequence(keys));
        const QList<QKeySequence> desktop =
            QKeySequence::keyBindings(static_cast<QKeySequence::StandardKey>(standardKey));
        QVERIFY(desktop.isEmpty() || desktop.constFirst() == sequence);

        // The key pressed where a user works: in a box of the record form, edited.
        QWidget* box = FormControls(*form).at(0);
        TypeIntoBox(box, QStringLiteral("!"));
        QVERIFY(RecordForm(*form).Modified());
        auto printOptionsShown = std::make_shared<bool>(false);
        if (action == QStringLiteral("ActionChooseDataFile")) {
            FileDialogTesting::QueueResult(QString());
        } else if (action == QStringLiteral("ActionPrint")) {
            OnNextDialog([printOptionsShown](QWidget* dialog) {
                if (dialog->objectName() != QStringLiteral("FormPrintSel"))
                    return false;
                *printOptionsShown = true;
                dialog->close();
                return true;
            });
        } else if (action == QStringLiteral("ActionExit")) {
            MessageBoxTesting::QueueAnswer(QMessageBox::Cancel); // the edited record: stay
        }
        QTest::keySequence(QApplication::focusWidget(), sequence);

        if (action == QStringLiteral("ActionChooseDataFile")) {
            const auto shown = FileDialogTesting::TakeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].Title, QStringLiteral("Create/Choose a Data File"));
        } else if (action == QStringLiteral("ActionSaveRecord")) {
            QVERIFY(!RecordForm(*form).Modified());
            QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("Emma!"));
            QVERIFY(!Child<QAction>(*form, "ActionSaveRecord")->isEnabled());
        } else if (action == QStringLiteral("ActionPrint")) {
            QTRY_VERIFY(*printOptionsShown);
        } else {
            // Quitting asks about the edited record like closing the window does.
            QCOMPARE(ShownBoxTexts(), QStringList{"Record modified, would you like to save?"});
            QVERIFY(form->isVisible());
            QCOMPARE(ControlText(box), QStringLiteral("Emma!"));
            MessageBoxTesting::QueueAnswer(QMessageBox::No);
            QTest::keySequence(QApplication::focusWidget(), sequence);
            QVERIFY(!form->isVisible());
            QCOMPARE(LoadData(FPath).Categories[0]->Records[0]->Value(0), std::string_view("Emma"));
            MessageBoxTesting::TakeShown();
            return;
        }
        QCOMPARE(ShownBoxTexts(), QStringList());
        if (RecordForm(*form).Modified())
            MessageBoxTesting::QueueAnswer(QMessageBox::No); // the edited record, on closing
        QVERIFY(form->close());
        MessageBoxTesting::TakeShown();
    }

    // Save Record sits with the other record commands and is offered exactly while the form is edited.
    void saveRecordIsOfferedWhileEdited() {
        auto form = ShowActive();
        auto* save = Child<QAction>(*form, "ActionSaveRecord");
        QCOMPARE(Child<QMenu>(*form, "MenuDataOperations")->actions().constLast(), save);
        QCOMPARE(save->text(), QStringLiteral("&Save Record"));
        QVERIFY(!save->isEnabled());
        TypeIntoBox(FormControls(*form).at(0), QStringLiteral("!"));
        QVERIFY(save->isEnabled());
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        Child<QAction>(*form, "ActionNewItem")->trigger();
        QVERIFY(!save->isEnabled());
        MessageBoxTesting::TakeShown();
        QVERIFY(form->close());
    }

    // No key stands for two commands of the window, as the help's table of keys shows them.
    void noKeyIsBoundTwice() {
        auto form = ShowActive();
        QMultiHash<QString, QString> commands;
        for (const TShortcut& shortcut : WindowShortcuts(*form))
            commands.insert(shortcut.Keys, shortcut.Description);
        for (const char* keys : {"Ctrl+O", "Ctrl+S", "Ctrl+P", "Ctrl+Q", "Ctrl+N", "Ctrl+F", "F1"})
            QVERIFY2(commands.contains(QString::fromLatin1(keys)), keys);
        for (const QString& keys : commands.uniqueKeys())
            QVERIFY2(commands.count(keys) == 1, qPrintable(keys + QStringLiteral(": ") +
                                                           commands.values(keys).join(QStringLiteral(", "))));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestStandardKeys)
#include "tst_standardkeys.moc"
