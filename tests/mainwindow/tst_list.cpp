// SPDX-License-Identifier: GPL-3.0-or-later
// The category bar and the record list: showing a category, header counts, cells, sorting.

#include "support/WindowTestSupport.h"

#include "core/TextRules.h"
#include "mainwindow/RecordListModel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

using namespace MainTest;

namespace {

QStringList ColumnTexts(const TMainWindow& form, int column) {
    const QAbstractItemModel* model = Child<QTableView>(form, "ListView1")->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts.append(model->index(row, column).data().toString());
    }
    return texts;
}

void ClickHeader(TMainWindow& form, int column) {
    auto* view = Child<QTableView>(form, "ListView1");
    QHeaderView* header = view->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
}

} // namespace

class TestList : public TWindowTest {
    Q_OBJECT

    QString FPath;

    void Remember(const TDataFile& data) {
        FPath = FSandbox->FilePath(QStringLiteral("cards.lgd"));
        SaveData(data, FPath);
        WriteSetting(QStringLiteral("DataFile"), FPath);
    }

private slots:
    void rememberedCategoryIsShown_data() {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("shown");
        QTest::newRow("third") << QStringLiteral("3") << QStringLiteral("Books");
        QTest::newRow("second") << QStringLiteral("2") << QStringLiteral("Accounts");
        QTest::newRow("deleted id falls back to the first")
            << QStringLiteral("7") << QStringLiteral("Contacts");
        QTest::newRow("none") << QStringLiteral("0") << QStringLiteral("Contacts");
    }
    void rememberedCategoryIsShown() {
        QFETCH(QString, remembered);
        QFETCH(QString, shown);
        TDataFile data;
        AddCategory(data, "Contacts", {"Name"});
        AddCategory(data, "Accounts", {"Site"});
        TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
        AddRecord(*books, {"Zen", "Pirsig"});
        AddRecord(*books, {"Austerlitz", "Sebald"});
        Remember(data);
        WriteSetting(QStringLiteral("SelectedCategoryID"), remembered);

        auto form = ShowForm();
        auto* right = Child<QWidget>(*form, "PanelRight");
        QVERIFY(right->isHidden());
        QVERIFY(Browser(*form).TimerSelectCategory.isActive());
        QCOMPARE(Browser(*form).TimerSelectCategory.interval(), 150);
        Browser(*form).TimerSelectCategoryTimer();
        QCOMPARE(DisplayTextOf(Browser(*form).CurrentCategory()), shown);
        QVERIFY(!right->isHidden());
        QCOMPARE(Child<TCategoryBar>(*form, "FEGXOutlookBar1")
                     ->ItemCaption(Child<TCategoryBar>(*form, "FEGXOutlookBar1")->SelectedIndex()),
                 shown);
        QVERIFY(Browser(*form).TimerClearDataForm.isActive());
        QCOMPARE(Child<QLabel>(*form, "LabelDataFormToolBar")->text(),
                 QStringLiteral("No record is selected."));
        Browser(*form).TimerClearDataFormTimer();
        if (shown == QStringLiteral("Books")) {
            // The first row after sorting is selected.
            QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("Austerlitz"));
            QVERIFY(Child<QLabel>(*form, "LabelDataFormToolBar")->text().isEmpty());
        } else {
            QVERIFY(Browser(*form).CurrentRecord() == nullptr);
        }
        QVERIFY(form->close());
    }

    void fileWithoutCategoriesKeepsThePaneHidden() {
        Remember(TDataFile());
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QVERIFY(Browser(*form).CurrentCategory() == nullptr);
        QVERIFY(Child<QWidget>(*form, "PanelRight")->isHidden());
        QVERIFY(!Child<QWidget>(*form, "PanelSearch")->isVisible());
        QVERIFY(Child<QWidget>(*form, "PanelRecordCommands")->isHidden());
        QCOMPARE(Child<TCategoryBar>(*form, "FEGXOutlookBar1")->Count(), 0);
        QVERIFY(form->close());
    }

    void headerCountsRecords_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("header");
        QTest::newRow("0") << 0 << QStringLiteral("Books   (Total: 0 record)");
        QTest::newRow("1") << 1 << QStringLiteral("Books   (Total: 1 record)");
        QTest::newRow("2") << 2 << QStringLiteral("Books   (Total: 2 records)");
        QTest::newRow("12") << 12 << QStringLiteral("Books   (Total: 12 records)");
    }
    void headerCountsRecords() {
        QFETCH(int, records);
        QFETCH(QString, header);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        for (int i = 0; i < records; ++i) {
            AddRecord(*books, {"T" + std::to_string(i)});
        }
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(Child<QLabel>(*form, "LabelCategory")->text(), header);
        QCOMPARE(Child<QTableView>(*form, "ListView1")->model()->rowCount(), records);
        QVERIFY(form->close());
    }

    void cellsShowTheFirstLineDecoded_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("cell");
        QTest::newRow("CR LF") << QByteArray("first\r\nsecond") << QStringLiteral("first");
        QTest::newRow("lone LF") << QByteArray("one\ntwo") << QStringLiteral("one");
        QTest::newRow("lone CR") << QByteArray("uno\rdos") << QStringLiteral("uno");
        QTest::newRow("starts with a break") << QByteArray("\r\nhidden") << QString();
        QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9") << QStringLiteral("Caf\u00e9");
        QTest::newRow("Windows-1252") << QByteArray("Caf\xe9 \x80") << QStringLiteral("Caf\u00e9 \u20ac");
    }
    void cellsShowTheFirstLineDecoded() {
        QFETCH(QByteArray, value);
        QFETCH(QString, cell);
        TDataFile data;
        TCategory* notes = AddCategory(data, "Not\xe9s", {"Text", "Other"});
        notes->Columns[1]->Caption = "Caf\xe9";
        AddRecord(*notes, {value.toStdString(), "x"});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(ColumnTexts(*form, 0), QStringList{cell});
        QCOMPARE(Child<QTableView>(*form, "ListView1")->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Caf\u00e9"));
        QCOMPARE(Child<TCategoryBar>(*form, "FEGXOutlookBar1")->ItemCaption(0), QStringLiteral("Not\u00e9s"));
        QVERIFY(
            Child<QLabel>(*form, "LabelCategory")->text().startsWith(QStringLiteral("Not\u00e9s   (Total")));
        QVERIFY(form->close());
    }

    void columnsTakeTheirWidthsAndCaptions() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title", "Author", "Year"});
        books->Columns[0]->Width = 200;
        books->Columns[2]->Width = 45;
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QHeaderView* header = Child<QTableView>(*form, "ListView1")->horizontalHeader();
        QCOMPARE(header->count(), 3);
        QCOMPARE(header->sectionSize(0), 200);
        QCOMPARE(header->sectionSize(2), 45);
        QCOMPARE(header->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Author"));
        QCOMPARE(ListModel(*form)->ColumnElementID(1), books->Columns[1]->ElementID);
        QVERIFY(form->close());
    }

    void headerClicksSortAndSurviveReopening() {
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word", "Number"});
        for (const char* word : {"apple", "Banana", "_x", "10", "9"}) {
            AddRecord(*list, {word, std::to_string(std::char_traits<char>::length(word))});
        }
        list->SortColumn = 1;
        list->SortAscending = false;
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(ColumnTexts(*form, 1), (QStringList{"6", "5", "2", "2", "1"}));

        ClickHeader(*form, 0); // another column: ascending
        QCOMPARE(ColumnTexts(*form, 0), (QStringList{"10", "9", "apple", "Banana", "_x"}));
        QCOMPARE(Browser(*form).CurrentCategory()->SortColumn, 0);
        QVERIFY(Browser(*form).CurrentCategory()->SortAscending);
        QVERIFY(Session(*form).WritePending());
        QVERIFY(Session(*form).TimerWriteCache.isActive());

        ClickHeader(*form, 0); // the same column again: reversed
        QCOMPARE(ColumnTexts(*form, 0), (QStringList{"_x", "Banana", "apple", "9", "10"}));
        QVERIFY(!Browser(*form).CurrentCategory()->SortAscending);
        QCOMPARE(Child<QTableView>(*form, "ListView1")->horizontalHeader()->sortIndicatorSection(), 0);
        QVERIFY(form->close());

        const TDataFile saved = LoadData(FPath);
        QCOMPARE(saved.Categories[0]->SortColumn, 0);
        QVERIFY(!saved.Categories[0]->SortAscending);
        auto reopened = ShowForm();
        ShowRememberedCategory(*reopened);
        QCOMPARE(ColumnTexts(*reopened, 0), (QStringList{"_x", "Banana", "apple", "9", "10"}));
        QVERIFY(!Session(*reopened).WritePending());
        QVERIFY(reopened->close());
    }

    void sortingKeepsTheSelectedRecord() {
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word"});
        for (const char* word : {"b", "a", "c"}) {
            AddRecord(*list, {word});
        }
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        auto* view = Child<QTableView>(*form, "ListView1");
        view->setCurrentIndex(view->model()->index(2, 0)); // "c"
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("c"));
        ClickHeader(*form, 0);
        QCOMPARE(ColumnTexts(*form, 0), (QStringList{"c", "b", "a"}));
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(view->selectionModel()->selectedRows().constFirst().row(), 0);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("c"));
        QVERIFY(form->close());
    }

    void savedRecordIsResortedAndStaysSelected() {
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word"});
        for (const char* word : {"a", "b", "c"}) {
            AddRecord(*list, {word});
        }
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("a"));
        qobject_cast<QLineEdit*>(FormControls(*form).constFirst())->setText(QStringLiteral("zz"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(ColumnTexts(*form, 0), (QStringList{"b", "c", "zz"}));
        auto* view = Child<QTableView>(*form, "ListView1");
        QCOMPARE(view->selectionModel()->selectedRows().constFirst().row(), 2);
        QVERIFY(Session(*form).WritePending());
        QVERIFY(form->close());
        QCOMPARE(LoadData(FPath).Categories[0]->Records[0]->Value(0), std::string_view("zz"));
    }

    void modifiedRecordIsOfferedOnDeselection_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes saves, keeps the order") << int(QMessageBox::Yes);
        QTest::newRow("no drops") << int(QMessageBox::No);
    }
    void modifiedRecordIsOfferedOnDeselection() {
        QFETCH(int, answer);
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word"});
        for (const char* word : {"a", "b"}) {
            AddRecord(*list, {word});
        }
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        TypeIntoBox(FormControls(*form).constFirst(), QStringLiteral("!"));
        QVERIFY(RecordForm(*form).Modified());
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        auto* view = Child<QTableView>(*form, "ListView1");
        view->setCurrentIndex(view->model()->index(1, 0));
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Warning);
        QCOMPARE(boxes[0].Text, QStringLiteral("Record modified, would you like to save?"));
        QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QVERIFY(!RecordForm(*form).Modified());
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("b"));
        QCOMPARE(Session(*form).WritePending(), answer == QMessageBox::Yes);
        QVERIFY(form->close());
    }

    void closingWithAModifiedRecordCanBeCancelled() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Things", {"Word"}), {"a"});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        TypeIntoBox(FormControls(*form).constFirst(), QStringLiteral("!"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Cancel);
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QVERIFY(!HasSetting(QStringLiteral("PanelLeftWidth")));
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        QVERIFY(form->close());
        QVERIFY(HasSetting(QStringLiteral("PanelLeftWidth")));
        MessageBoxTesting::TakeShown();
    }

    void deleteKeyRunsDeleteRecordOnlyWhenEnabled() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Things", {"Word"}), {"a"});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QVERIFY(Browser(*form).CurrentRecord() != nullptr);
        auto* action = Child<QAction>(*form, "ActionDeleteItem");
        auto* view = Child<QTableView>(*form, "ListView1");
        QSignalSpy triggered(action, &QAction::triggered);
        QVERIFY(action->isEnabled()); // a row is selected
        view->selectionModel()->clearSelection();
        QVERIFY(!action->isEnabled());
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(triggered.size(), 0);
        QVERIFY(MessageBoxTesting::TakeShown().isEmpty());

        action->setEnabled(true);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(triggered.size(), 1);
        // Other keys and the key press alone do nothing.
        QTest::keyClick(view, Qt::Key_Backspace);
        QTest::keyPress(view, Qt::Key_Delete);
        QCOMPARE(triggered.size(), 1);
        QTest::keyRelease(view, Qt::Key_Delete);
        QCOMPARE(triggered.size(), 2);
        QCOMPARE(Session(*form).DataFile().Categories[0]->Records.size(), size_t(1));
        QVERIFY(form->close());
    }

    // The keys of a list: up and down a row, Home and End to the ends, Left and Right scroll the
    // columns, Tab leaves; none moves the columns in view unasked.
    void listKeysMoveBetweenRows_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("scrolled"); // -1 left, 0 not, 1 right
        QTest::addColumn<bool>("listKeepsFocus");
        QTest::newRow("Down") << int(Qt::Key_Down) << 3 << 0 << true;
        QTest::newRow("Up") << int(Qt::Key_Up) << 1 << 0 << true;
        QTest::newRow("Home") << int(Qt::Key_Home) << 0 << 0 << true;
        QTest::newRow("End") << int(Qt::Key_End) << 4 << 0 << true;
        QTest::newRow("Left") << int(Qt::Key_Left) << 2 << -1 << true;
        QTest::newRow("Right") << int(Qt::Key_Right) << 2 << 1 << true;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 2 << 0 << false;
    }

    void listKeysMoveBetweenRows() {
        QFETCH(int, key);
        QFETCH(int, row);
        QFETCH(int, scrolled);
        QFETCH(bool, listKeepsFocus);
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"One", "Two", "Three"});
        for (const auto& column : list->Columns)
            column->Width = 700;
        for (const char* word : {"a", "b", "c", "d", "e"})
            AddRecord(*list, {word, word, word});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        auto* view = Child<QTableView>(*form, "ListView1");
        view->setCurrentIndex(view->model()->index(2, 1));
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QScrollBar* bar = view->horizontalScrollBar();
        QVERIFY(bar->maximum() > 2 * bar->singleStep());
        bar->setValue(bar->maximum() / 2);
        const int left = bar->value();

        QTest::keyClick(view, Qt::Key(key));
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), list->Records[row]->Value(0));
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE((bar->value() > left) - (bar->value() < left), scrolled);
        QCOMPARE(view->hasFocus(), listKeepsFocus);
        QVERIFY(form->close());
    }

    void switchingCategoriesRebuildsTheList() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Things", {"Word"}), {"a"});
        TCategory* people = AddCategory(data, "People", {"Name", "Phone"});
        AddRecord(*people, {"Ann", "1"});
        AddRecord(*people, {"Bob", "2"});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(1).center());
        QCOMPARE(DisplayTextOf(Browser(*form).CurrentCategory()), QStringLiteral("People"));
        QCOMPARE(Browser(*form).SelectedCategoryID(), 2);
        QVERIFY(Browser(*form).CurrentRecord() == nullptr);
        QCOMPARE(ColumnTexts(*form, 1), (QStringList{"1", "2"}));
        QCOMPARE(Child<QLabel>(*form, "LabelCategory")->text(),
                 QStringLiteral("People   (Total: 2 records)"));
        Browser(*form).TimerClearDataFormTimer();
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("Ann"));
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("SelectedCategoryID")), QStringLiteral("2"));
    }

    // A category shown again takes the order kept from its last sort only while that order holds.
    void categoryShownAgainIsInListOrder_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("nothing") << QString() << QStringList{"apple", "Banana", "cherry"};
        QTest::newRow("header clicked")
            << QStringLiteral("click") << QStringList{"cherry", "Banana", "apple"};
        QTest::newRow("record added")
            << QStringLiteral("add") << QStringList{"", "apple", "Banana", "cherry"};
        QTest::newRow("record edited") << QStringLiteral("edit") << QStringList{"Banana", "cherry", "zz"};
    }
    void categoryShownAgainIsInListOrder() {
        QFETCH(QString, change);
        QFETCH(QStringList, shown);
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word"});
        for (const char* word : {"cherry", "apple", "Banana"})
            AddRecord(*list, {word});
        AddRecord(*AddCategory(data, "People", {"Name"}), {"Ann"});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        if (change == QLatin1String("click")) {
            ClickHeader(*form, 0);
        } else if (change == QLatin1String("add")) {
            Trigger(*form, "ActionNewItem");
        } else if (change == QLatin1String("edit")) {
            qobject_cast<QLineEdit*>(FormControls(*form).constFirst())->setText(QStringLiteral("zz"));
            QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        }
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        for (int index : {1, 0})
            QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(index).center());
        QCOMPARE(DisplayTextOf(Browser(*form).CurrentCategory()), QStringLiteral("Things"));
        QCOMPARE(ColumnTexts(*form, 0), shown);
        QVERIFY(form->close());
    }

    void clickingTheShownCategoryAgainChangesNothing() {
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word"});
        AddRecord(*list, {"a"});
        AddRecord(*list, {"b"});
        AddCategory(data, "Empty", {"Word"});
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        auto* view = Child<QTableView>(*form, "ListView1");
        view->setCurrentIndex(view->model()->index(1, 0));
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QSignalSpy changes(bar, &TCategoryBar::SelectedIndexChanged);
        QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(0).center());
        bar->SetSelectedIndex(0);
        QCOMPARE(changes.size(), 0);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("b"));
        QVERIFY(!Browser(*form).TimerClearDataForm.isActive());

        // An empty category shows its header and keeps the first-row request for later.
        QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(1).center());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(Child<QLabel>(*form, "LabelCategory")->text(), QStringLiteral("Empty   (Total: 0 record)"));
        Browser(*form).TimerClearDataFormTimer();
        QVERIFY(Browser(*form).CurrentRecord() == nullptr);
        QCOMPARE(Child<QLabel>(*form, "LabelDataFormToolBar")->text(),
                 QStringLiteral("No record is selected."));
        QVERIFY(form->close());
    }

    void aHundredThousandRecordsShowAndSort() {
        TDataFile data;
        TCategory* big = AddCategory(data, "Big", {"Key", "Text"});
        big->Records.reserve(100000);
        for (int i = 0; i < 100000; ++i) {
            AddRecord(*big, {std::to_string((i * 7919) % 100000), "row"});
        }
        Remember(data);
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        const TRecordListModel* model = ListModel(*form);
        QCOMPARE(model->rowCount(), 100000);
        for (int row = 1; row < model->rowCount(); ++row) {
            QVERIFY(CompareListText(model->CellBytes(row - 1, 0), model->CellBytes(row, 0)) <= 0);
        }
        ClickHeader(*form, 0);
        QCOMPARE(model->CellBytes(0, 0), std::string_view("99999"));
        QCOMPARE(model->CellBytes(99999, 0), std::string_view("0"));
        QCOMPARE(Child<QLabel>(*form, "LabelCategory")->text(),
                 QStringLiteral("Big   (Total: 100000 records)"));
        QVERIFY(form->close());
    }

private:
    static QString DisplayTextOf(const TCategory* category) {
        return category == nullptr ? QString() : QString::fromStdString(category->Name);
    }
};

QTEST_MAIN(TestList)
#include "tst_list.moc"
