// SPDX-License-Identifier: GPL-3.0-or-later
// The record commands: New, Duplicate and Delete Record, the Edit menu and the focus commands.

#include "support/WindowTestSupport.h"

#include "mainwindow/RecordListModel.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

using namespace MainTest;

namespace {

void ClickToolButton(const TMainWindow& form, const QString& caption) {
    QApplication::processEvents(); // the toolbar lays out the buttons shown with the category
    for (QToolButton* button : form.findChildren<QToolButton*>()) {
        if (button->text() == caption && button->isVisible()) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no button ") + caption));
}

QStringList EnabledEditItems(const TMainWindow& form) {
    // Opening the menu sets its items' states.
    auto* menu = Child<QMenu>(form, "MenuEdit");
    menu->popup(QPoint(0, 0));
    QStringList enabled;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            enabled.append(action->objectName());
        }
    }
    menu->hide();
    return enabled;
}

// Opens the Edit menu and clicks one of its items.
std::vector<std::string> Values(const TRecord& record) {
    std::vector<std::string> values;
    for (int32_t i = 0; i < record.Count(); ++i) {
        values.emplace_back(record.Value(i));
    }
    return values;
}

} // namespace

class TestRecords : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> Show(const TDataFile& data) { return ShowData(*FSandbox, data, FPath); }

    static QString Header(const TMainWindow& form) { return Child<QLabel>(form, "LabelCategory")->text(); }

private slots:
    // A category whose template lists no column still shows its records, one empty cell each,
    // so they can be selected, edited and added.
    void categoryWithoutListColumns() {
        TDataFile data;
        TCategory* notes = AddCategory(data, "Notes", {});
        const int32_t text = AddElement(*notes, kKindEdit, 20, 20, 200, 21);
        AddRecord(*notes, {"second"});
        AddRecord(*notes, {"first"});
        auto form = Show(data);
        QCOMPARE(ListModel(*form)->rowCount(), 2);
        QCOMPARE(SelectedRow(*form), 0);
        QCOMPARE(ControlText(FormControl(*form, text)), QStringLiteral("second"));
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{QString(), QString()}));

        ClickRow(*form, 1);
        QCOMPARE(ControlText(FormControl(*form, text)), QStringLiteral("first"));
        // Nothing to sort by: a click on the empty header changes nothing.
        emit Child<QTableView>(*form, "ListView1")->horizontalHeader()->sectionClicked(0);
        QVERIFY(!Session(*form).TimerWriteCache.isActive());

        Trigger(*form, "ActionNewItem");
        QCOMPARE(SelectedRow(*form), 2);
        QCOMPARE(Header(*form), QStringLiteral("Notes   (Total: 3 records)"));
        TypeIntoBox(FormControl(*form, text), QStringLiteral("third"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(Browser(*form).CurrentCategory()->Records[2]->Value(0), std::string_view("third"));
        QVERIFY(form->close());
    }

    void newRecordAppendsABlankRow_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("header");
        QTest::newRow("empty category") << 0 << QStringLiteral("Books   (Total: 1 record)");
        QTest::newRow("three records") << 3 << QStringLiteral("Books   (Total: 4 records)");
    }
    void newRecordAppendsABlankRow() {
        QFETCH(int, records);
        QFETCH(QString, header);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title", "Author", "Year", "Shelf"});
        // The boxes lie bottom-up in template order, so the top-left one is the last created.
        for (size_t i = 0; i < books->Elements.size(); ++i) {
            books->Elements[i]->Top = 200 - 40 * static_cast<int32_t>(i);
        }
        for (int i = 0; i < records; ++i) {
            AddRecord(*books, {"T" + std::to_string(i), "A", "1999", "S"});
        }
        auto form = Show(data);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(Child<QAction>(*form, "ActionNewItem")->isEnabled());
        ClickToolButton(*form, QStringLiteral("&New Record"));

        const int last = records;
        QCOMPARE(ListModel(*form)->rowCount(), records + 1);
        for (int column = 0; column < 4; ++column) {
            QCOMPARE(ListColumnTexts(*form, column).constLast(), QString());
        }
        // Not sorted into place: the empty title would sort first.
        QCOMPARE(SelectedRow(*form), last);
        QCOMPARE(Header(*form), header);
        QCOMPARE(Browser(*form).CurrentRecord(), Browser(*form).CurrentCategory()->Records.back().get());
        QCOMPARE(Values(*Browser(*form).CurrentRecord()), (std::vector<std::string>(4)));
        for (QWidget* control : FormControls(*form)) {
            QCOMPARE(ControlText(control), QString());
        }
        QCOMPARE(QApplication::focusWidget(), FormControl(*form, books->Columns[3]->ElementID));
        QVERIFY(Child<QAction>(*form, "ActionDuplicateItem")->isEnabled());
        QVERIFY(Child<QAction>(*form, "ActionDeleteItem")->isEnabled());
        QVERIFY(Session(*form).TimerWriteCache.isActive());

        // Typing into the new record and saving it reaches the data file.
        TypeText(QApplication::focusWidget(), QStringLiteral("Shelf 9"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        Session(*form).TimerWriteCacheTimer();
        const TDataFile saved = LoadData(FPath);
        QCOMPARE(saved.Categories[0]->Records.size(), size_t(records + 1));
        QCOMPARE(Values(*saved.Categories[0]->Records.back()),
                 (std::vector<std::string>{"", "", "", "Shelf 9"}));
        QVERIFY(form->close());
    }

    void duplicateCopiesTheStoredValues_data() {
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<QString>("header");
        QTest::newRow("all records") << false << QStringLiteral("Books   (Total: 4 records)");
        QTest::newRow("filtered list keeps the filtered header")
            << true << QStringLiteral("Books   (Filtered: 3 records)");
    }
    void duplicateCopiesTheStoredValues() {
        QFETCH(bool, filtered);
        QFETCH(QString, header);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
        AddElement(*books, kKindMemo, 100, 80, 200, 60);
        AddRecord(*books, {"Austerlitz", "Sebald", "one\r\ntwo"});
        AddRecord(*books, {"Rings", "Tolkien", ""});
        AddRecord(*books, {"Zen", "Pirsig", "x"});
        auto form = Show(data);
        if (filtered) {
            auto* box = Child<QLineEdit>(*form, "EditSearchBox");
            box->setFocus();
            TypeText(box, QStringLiteral("en"));
            FilterBar(*form).TimerSearchTimer();
            QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Rings", "Zen"}));
        }
        ClickRow(*form, 0);
        const std::vector<std::string> source = Values(*Browser(*form).CurrentRecord());
        ClickToolButton(*form, QStringLiteral("&Duplicate Record"));
        QCOMPARE(Header(*form), header);
        const int last = ListModel(*form)->rowCount() - 1;
        QCOMPARE(SelectedRow(*form), last);
        QCOMPARE(ListColumnTexts(*form, 0).constLast(), ListColumnTexts(*form, 0).constFirst());
        QCOMPARE(Values(*Browser(*form).CurrentRecord()), source);
        QVERIFY(Browser(*form).CurrentRecord() != ListModel(*form)->RecordAt(0));
        QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(4));
        QVERIFY(Session(*form).TimerWriteCache.isActive());
        QVERIFY(form->close());
    }

    void duplicatingAModifiedRecord_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes saves into the source only") << int(QMessageBox::Yes);
        QTest::newRow("No drops the edits") << int(QMessageBox::No);
    }
    void duplicatingAModifiedRecord() {
        QFETCH(int, answer);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        AddRecord(*books, {"Zen"});
        auto form = Show(data);
        TRecord* source = Browser(*form).CurrentRecord();
        TypeIntoBox(FormControl(*form, books->Columns[0]->ElementID), QStringLiteral(" edited"));
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        Trigger(*form, "ActionDuplicateItem");
        QCOMPARE(ShownBoxTexts(), QStringList{"Record modified, would you like to save?"});
        QCOMPARE(source->Value(0), answer == QMessageBox::Yes ? std::string_view("Zen edited") : "Zen");
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("Zen"));
        QCOMPARE(ControlText(FormControl(*form, books->Columns[0]->ElementID)), QStringLiteral("Zen"));
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(form->close());
    }

    void deleteRecord_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("header");
        QTest::newRow("Yes on the last remaining row")
            << 1 << int(QMessageBox::Yes) << QStringLiteral("Books   (Total: 0 record)");
        QTest::newRow("Yes among others")
            << 3 << int(QMessageBox::Yes) << QStringLiteral("Books   (Total: 2 records)");
        QTest::newRow("No keeps everything")
            << 3 << int(QMessageBox::No) << QStringLiteral("Books   (Total: 3 records)");
    }
    void deleteRecord() {
        QFETCH(int, records);
        QFETCH(int, answer);
        QFETCH(QString, header);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        for (int i = 0; i < records; ++i) {
            AddRecord(*books, {"T" + std::to_string(i)});
        }
        auto form = Show(data);
        ClickRow(*form, records - 1);
        QWidget* box = FormControl(*form, books->Columns[0]->ElementID);
        TypeIntoBox(box, QStringLiteral(" pending"));
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        ClickToolButton(*form, QStringLiteral("Dele&te Record"));
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1); // pending edits are dropped without a second question
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Confirmation);
        QCOMPARE(boxes[0].Text, QStringLiteral("Delete selected record?"));
        QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(Header(*form), header);

        const std::string lastTitle = "T" + std::to_string(records - 1);
        if (answer == QMessageBox::No) {
            QCOMPARE(SelectedRow(*form), records - 1);
            QVERIFY(RecordForm(*form).Modified());
            QCOMPARE(ControlText(box), QString::fromStdString(lastTitle) + QStringLiteral(" pending"));
            QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(records));
            QVERIFY(!Session(*form).WritePending());
            MessageBoxTesting::QueueAnswer(QMessageBox::No);
            QVERIFY(form->close());
            MessageBoxTesting::TakeShown();
            return;
        }
        QCOMPARE(SelectedRow(*form), -1);
        QVERIFY(Browser(*form).CurrentRecord() == nullptr);
        QVERIFY(!RecordForm(*form).Modified());
        QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(records - 1));
        QVERIFY(!ListColumnTexts(*form, 0).contains(QString::fromStdString(lastTitle)));
        QCOMPARE(Child<QLabel>(*form, "LabelDataFormToolBar")->text(),
                 QStringLiteral("No record is selected."));
        QVERIFY(!Child<QAction>(*form, "ActionDeleteItem")->isEnabled());
        QVERIFY(!Child<QAction>(*form, "ActionDuplicateItem")->isEnabled());
        QTRY_VERIFY(FormControls(*form).isEmpty());
        QCOMPARE(SelectedRow(*form), -1);
        QCOMPARE(Child<QWidget>(*form, "PanelDataForm")->palette().color(QPalette::Window),
                 QColor(0xC0, 0xC0, 0xC0));
        Session(*form).TimerWriteCacheTimer();
        QCOMPARE(LoadData(FPath).Categories[0]->Records.size(), size_t(records - 1));
        QVERIFY(form->close());
    }

    // A command the store refuses shows its error and leaves the window working: records are
    // added, saved and filtered afterwards, and the file is written on closing.
    void storeErrorLeavesTheWindowUsable() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        for (const char* title : {"Austerlitz", "Rings", "Zen"}) {
            AddRecord(*books, {title});
        }
        auto form = Show(data);
        ClickRow(*form, 1);
        // The selected record leaves its category behind the window's back: deleting it must fail.
        auto& records = Browser(*form).CurrentCategory()->Records;
        const std::unique_ptr<TRecord> taken = std::move(records[1]);
        records.erase(records.begin() + 1);
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Trigger(*form, "ActionDeleteItem");
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[1].Kind, MessageBoxes::TKind::Error);
        QCOMPARE(boxes[1].Text, QStringLiteral("Assertion failure (DataCategory, line 328)"));

        Trigger(*form, "ActionNewItem");
        TypeText(FormControl(*form, Browser(*form).CurrentCategory()->Columns[0]->ElementID),
                 QStringLiteral("Walden"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Austerlitz", "Walden", "Zen"}));
        auto* filter = Child<QLineEdit>(*form, "EditSearchBox");
        filter->setFocus();
        TypeText(filter, QStringLiteral("al"));
        FilterBar(*form).TimerSearchTimer();
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Walden"}));
        QVERIFY(form->close());
        const TDataFile saved = LoadData(FPath);
        QCOMPARE(saved.Categories[0]->Records.size(), size_t(3));
        QCOMPARE(std::string(saved.Categories[0]->Records[2]->Value(0)), std::string("Walden"));
    }

    void deleteKeyInTheList() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        AddRecord(*books, {"a"});
        AddRecord(*books, {"b"});
        auto form = Show(data);
        auto* view = Child<QTableView>(*form, "ListView1");
        ClickRow(*form, -1);
        QCOMPARE(SelectedRow(*form), -1);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(SelectedRow(*form), -1);
        QVERIFY(MessageBoxTesting::TakeShown().isEmpty());
        ClickRow(*form, 1);
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(ShownBoxTexts(), QStringList{"Delete selected record?"});
        QCOMPARE(ListColumnTexts(*form, 0), QStringList{"a"});
        // Called without a selection, the command refuses without asking.
        Trigger(*form, "ActionDeleteItem");
        QVERIFY(MessageBoxTesting::TakeShown().isEmpty());
        QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(1));
        QVERIFY(form->close());
    }

    void editMenuFollowsTheFocusedControl_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("selectText");
        QTest::addColumn<bool>("clipboardText");
        QTest::addColumn<QStringList>("enabled");
        const QStringList all{"ActionCut", "ActionCopy", "ActionPaste", "ActionSelectAll"};
        QTest::newRow("record list") << QStringLiteral("list") << QString() << false << true << QStringList{};
        QTest::newRow("empty box") << QStringLiteral("edit") << QString() << false << true
                                   << QStringList{"ActionPaste"};
        QTest::newRow("empty box, empty clipboard")
            << QStringLiteral("edit") << QString() << false << false << QStringList{};
        QTest::newRow("text, nothing selected") << QStringLiteral("edit") << QStringLiteral("abc") << false
                                                << true << QStringList{"ActionPaste", "ActionSelectAll"};
        QTest::newRow("text selected")
            << QStringLiteral("edit") << QStringLiteral("abc") << true << true << all;
        QTest::newRow("memo, text selected")
            << QStringLiteral("memo") << QStringLiteral("abc") << true << false
            << QStringList{"ActionCut", "ActionCopy", "ActionSelectAll"};
        QTest::newRow("filter box") << QStringLiteral("filter") << QStringLiteral("abc") << true << true
                                    << all;
    }
    void editMenuFollowsTheFocusedControl() {
        QFETCH(QString, focus);
        QFETCH(QString, text);
        QFETCH(bool, selectText);
        QFETCH(bool, clipboardText);
        QFETCH(QStringList, enabled);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        const int32_t memo = AddElement(*books, kKindMemo, 100, 80, 200, 60);
        AddRecord(*books, {text.toStdString(), text.toStdString()});
        auto form = Show(data);
        if (clipboardText) {
            QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        } else {
            QGuiApplication::clipboard()->clear();
        }
        QWidget* target = focus == QStringLiteral("list")     ? Child<QWidget>(*form, "ListView1")
                          : focus == QStringLiteral("filter") ? Child<QWidget>(*form, "EditSearchBox")
                          : focus == QStringLiteral("memo")
                              ? FormControl(*form, memo)
                              : FormControl(*form, books->Columns[0]->ElementID);
        if (focus == QStringLiteral("filter")) {
            Child<QLineEdit>(*form, "EditSearchBox")->setText(text);
        }
        target->setFocus();
        if (selectText) {
            QTest::keyClick(target, Qt::Key_Home);
            QTest::keyClick(target, Qt::Key_Right, Qt::ShiftModifier);
        }
        QCOMPARE(form->focusWidget(), target);
        QCOMPARE(EnabledEditItems(*form), enabled);
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(form->close());
    }

    void clipboardCommandsActOnTheFocusedBox_data() {
        QTest::addColumn<bool>("memo");
        QTest::newRow("one-line box") << false;
        QTest::newRow("memo") << true;
    }
    void clipboardCommandsActOnTheFocusedBox() {
        QFETCH(bool, memo);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        const int32_t notes = AddElement(*books, kKindMemo, 100, 80, 200, 60);
        AddRecord(*books, {"Zen", "Motorcycle"});
        auto form = Show(data);
        QWidget* box = FormControl(*form, memo ? notes : books->Columns[0]->ElementID);
        const QString stored = ControlText(box);
        box->setFocus();
        ClickEditMenuItem(*form, "ActionSelectAll");
        ClickEditMenuItem(*form, "ActionCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), stored);
        QVERIFY(!RecordForm(*form).Modified());
        ClickEditMenuItem(*form, "ActionCut");
        QCOMPARE(ControlText(box), QString());
        QVERIFY(RecordForm(*form).Modified());
        ClickEditMenuItem(*form, "ActionPaste");
        ClickEditMenuItem(*form, "ActionPaste");
        QCOMPARE(ControlText(box), stored + stored);
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(std::string(Browser(*form).CurrentRecord()->Value(memo ? 1 : 0))),
                 stored + stored);

        // In the record list the commands do nothing.
        Child<QWidget>(*form, "ListView1")->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        Trigger(*form, "ActionPaste");
        Trigger(*form, "ActionSelectAll");
        Trigger(*form, "ActionCut");
        QCOMPARE(ControlText(box), stored + stored);
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(form->close());
    }

    void focusCommands() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Books", {"Title"}), {"Zen"});
        auto form = Show(data);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(*form, "EditSearchBox"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(*form, "ListView1"));
        QVERIFY(form->close());
    }

    void focusCommandsDoNothingWithoutACategory() {
        auto form = Show(TDataFile());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(Browser(*form).CurrentCategory() == nullptr);
        QWidget* before = QApplication::focusWidget();
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
        Trigger(*form, "ActionSetFocusToSearchBox");
        Trigger(*form, "ActionSetFocusToTheListView");
        QCOMPARE(QApplication::focusWidget(), before);
        QVERIFY(!Child<QWidget>(*form, "EditSearchBox")->isVisible());
        QVERIFY(!Child<QAction>(*form, "ActionNewItem")->isEnabled());
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
