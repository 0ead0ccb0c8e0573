// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and Redo of record changes through the real window: the record commands, a saved edit, and
// typing in a box, which keeps its own undo.

#include "support/CategoryValues.h"
#include "support/WindowTestSupport.h"

#include "mainwindow/RecordListModel.h"
#include "templateeditor/TemplateEditor.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace MainTest;

namespace {

// A key pressed where the focus is, as the user presses it.
void PressKey(TMainWindow& form, const QKeySequence& key) {
    QWidget* target = form.focusWidget() != nullptr ? form.focusWidget() : &form;
    QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
}

const QKeySequence kUndoKey(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedoKeys[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                  QKeySequence(Qt::CTRL | Qt::Key_Y)};

} // namespace

class TestUndo : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> ShowBooks() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
        AddRecord(*books, {"Emma", "Austen"});
        AddRecord(*books, {"Dracula", "Stoker"});
        AddRecord(*books, {"Ulysses", "Joyce"});
        return ShowData(*FSandbox, data, FPath);
    }

    static const TCategory& Books(const TMainWindow& form) { return *Session(form).DataFile().Categories[0]; }

private slots:
    // Each record command is one step: undone, the records are as before with the record that was
    // selected selected again; redone, as after; undone again, the file written on exit holds it.
    void recordCommandUndoneAndRedone_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("undoCaption");
        QTest::addColumn<int>("redoKey");
        QTest::newRow("delete") << "ActionDeleteItem"
                                << "&Undo Delete Record" << 0;
        QTest::newRow("new, focus in the new record's box") << "ActionNewItem"
                                                            << "&Undo New Record" << 1;
        QTest::newRow("duplicate") << "ActionDuplicateItem"
                                   << "&Undo Duplicate Record" << 0;
        QTest::newRow("saved edit") << "edit"
                                    << "&Undo Edit Record" << 1;
    }
    void recordCommandUndoneAndRedone() {
        QFETCH(QString, command);
        QFETCH(QString, undoCaption);
        QFETCH(int, redoKey);
        auto form = ShowBooks();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // The list shows Dracula, Emma, Ulysses; Emma is the first record stored.
        ClickRow(*form, 1);
        const TRecord* emma = Books(*form).Records[0].get();
        QCOMPARE(Browser(*form).CurrentRecord(), emma);
        const TValues before = ValuesOf(Books(*form));
        auto* undo = Child<QAction>(*form, "ActionUndo");
        QVERIFY(!undo->isEnabled());

        if (command == "edit") {
            TypeIntoBox(FormControls(*form).at(0), QStringLiteral(" II"));
            QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        } else {
            if (command == "ActionDeleteItem")
                MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
            Trigger(*form, command.toLatin1().constData());
        }
        const TValues after = ValuesOf(Books(*form));
        QVERIFY(after != before);
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), undoCaption);

        PressKey(*form, kUndoKey);
        QCOMPARE(ValuesOf(Books(*form)), before);
        QCOMPARE(Browser(*form).CurrentRecord(), Books(*form).Records[0].get());
        QCOMPARE(ListColumnTexts(*form, 0).at(SelectedRow(*form)), QStringLiteral("Emma"));
        QVERIFY(Session(*form).WritePending());

        PressKey(*form, kRedoKeys[redoKey]);
        QCOMPARE(ValuesOf(Books(*form)), after);
        QCOMPARE(ListModel(*form)->rowCount(), static_cast<int>(after.size()));

        Trigger(*form, "ActionUndo");
        QVERIFY(form->close());
        QCOMPARE(ValuesOf(*LoadData(FPath).Categories[0]), before);
    }

    // While a box holds unsaved edits, Ctrl+Z takes back its typing and the records stay; once
    // the edits are dropped, Ctrl+Z takes back the record command.
    void typingIsUndoneInItsBox() {
        auto form = ShowBooks();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ClickRow(*form, 0);
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        Trigger(*form, "ActionDeleteItem");
        ClickRow(*form, 0);
        auto* box = qobject_cast<QLineEdit*>(FormControls(*form).at(0));
        const QString stored = box->text();
        TypeIntoBox(box, QStringLiteral("xyz"));
        QCOMPARE(box->text(), stored + "xyz");
        QCOMPARE(Child<QAction>(*form, "ActionUndo")->text(), QStringLiteral("&Undo"));

        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), stored);
        QCOMPARE(Books(*form).Records.size(), size_t(2));

        QTest::mouseClick(Child<QPushButton>(*form, "BtnCancelData"), Qt::LeftButton);
        QVERIFY(!RecordForm(*form).Modified());
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(form->focusWidget(), box);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Books(*form).Records.size(), size_t(3));
        QVERIFY(form->close());
    }

    // A new command after an undo leaves nothing to redo; saved templates and another data file
    // leave nothing to undo either.
    void historyEnds_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("new command") << "new command";
        QTest::newRow("templates saved") << "templates saved";
        QTest::newRow("another data file") << "another data file";
    }
    void historyEnds() {
        QFETCH(QString, how);
        auto form = ShowBooks();
        ClickRow(*form, 0);
        Trigger(*form, "ActionNewItem");
        Trigger(*form, "ActionDuplicateItem");
        Trigger(*form, "ActionUndo");
        auto* redo = Child<QAction>(*form, "ActionRedo");
        QCOMPARE(redo->text(), QStringLiteral("&Redo Duplicate Record"));
        QVERIFY(redo->isEnabled());
        if (how == "another data file") {
            const QString other = FSandbox->FilePath(QStringLiteral("other.lgd"));
            QFile::copy(FPath, other);
            QVERIFY(form->OpenFile(other));
            QVERIFY(!Child<QAction>(*form, "ActionUndo")->isEnabled());
        } else if (how == "templates saved") {
            OnNextDialog([](QWidget* widget) {
                auto* editor = qobject_cast<TTemplateEditor*>(widget);
                if (editor == nullptr)
                    return false;
                auto* list = Child<QTreeWidget>(*editor, "ListView1");
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->topLevelItem(0)).center());
                auto* name = Child<QLineEdit>(*editor, "LabeledEditBookName");
                name->selectAll();
                QTest::keyClicks(name, QStringLiteral("Novels"));
                MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
                QTest::mouseClick(Child<QPushButton>(*editor, "BtnSave"), Qt::LeftButton);
                return true;
            });
            Trigger(*form, "ActionEditTemplates");
            QCOMPARE(Session(*form).DataFile().Categories[0]->Name, std::string("Novels"));
            QVERIFY(!Child<QAction>(*form, "ActionUndo")->isEnabled());
            QCOMPARE(Books(*form).Records.size(), size_t(4));
        } else {
            Trigger(*form, "ActionNewItem");
            QCOMPARE(Child<QAction>(*form, "ActionUndo")->text(), QStringLiteral("&Undo New Record"));
        }
        QVERIFY(!redo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
