// SPDX-License-Identifier: GPL-3.0-or-later
// The record form: building it from the template, its scroll bars and tab order, loading,
// the modified state, Save, Cancel and the question on deselection.

#include "support/WindowTestSupport.h"

#include "mainwindow/RecordForm.h"
#include "mainwindow/RecordListModel.h"
#include "ui/TemplateControls.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

using namespace MainTest;

namespace {

QList<QPointer<QWidget>> Pointers(const QList<QWidget*>& widgets) {
    QList<QPointer<QWidget>> pointers;
    for (QWidget* widget : widgets) {
        pointers.append(widget);
    }
    return pointers;
}

void ListColumn(TCategory& category, int32_t elementId) {
    auto column = std::make_unique<TListColumn>();
    column->ElementID = elementId;
    category.Columns.push_back(std::move(column));
}

QColor PixelOf(QWidget* widget, QPoint point) {
    return widget->grab(QRect(point, QSize(1, 1))).toImage().pixelColor(0, 0);
}

// Types text, pressing Return for each "\n".
void TypeLines(QWidget* control, const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(control, Qt::Key_Return);
        }
        TypeText(control, lines[i]);
    }
}

} // namespace

class TestForm : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> Show(const TDataFile& data) { return ShowData(*FSandbox, data, FPath); }

    static void SetHolderWidth(TMainWindow& form, int width) {
        auto* holder = Child<QWidget>(form, "PanelDataFormHolder");
        for (int i = 0; i < 5 && holder->width() != width; ++i) {
            form.resize(form.width() + width - holder->width(), form.height());
            QApplication::processEvents();
        }
        QCOMPARE(holder->width(), width);
    }

private slots:
    void controlsFollowTheTemplate() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        books->FormColor = 0x00FF8000;
        const int32_t title = books->Columns[0]->ElementID;
        const int32_t label = AddElement(*books, kKindLabel, 8, 12, 10, 13, "&Title of the book:");
        const int32_t notes = AddElement(*books, kKindMemo, 40, 60, 300, 90);
        books->ElementByID(notes)->Color = 0x0000FFFF;
        books->ElementByID(notes)->Font = TFont{"Arial", fsBold, 12, 0x000000FF};
        AddRecord(*books, {"Zen", "notes"});
        auto form = Show(data);

        const QList<QWidget*> controls = FormControls(*form);
        QCOMPARE(controls.size(), 3);
        QCOMPARE(controls[0]->property("ElementID").toInt(), title);
        QCOMPARE(controls[1]->property("ElementID").toInt(), label);
        QCOMPARE(controls[2]->property("ElementID").toInt(), notes);

        auto* edit = qobject_cast<QLineEdit*>(controls[0]);
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->geometry(), QRect(100, 8, 200, TemplateControls::EditHeight(edit->font())));
        QCOMPARE(edit->text(), QStringLiteral("Zen"));

        auto* caption = qobject_cast<QLabel*>(controls[1]);
        QVERIFY(caption != nullptr);
        QCOMPARE(caption->pos(), QPoint(8, 12));
        // A caption wider than the element is drawn in full.
        QVERIFY(caption->width() > 10);
        QVERIFY(caption->width() >= caption->sizeHint().width());
        QCOMPARE(caption->focusPolicy(), Qt::NoFocus);

        auto* memo = qobject_cast<QPlainTextEdit*>(controls[2]);
        QVERIFY(memo != nullptr);
        QCOMPARE(memo->geometry(), QRect(40, 60, 300, 90));
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(memo->font().bold());
        QCOMPARE(memo->toPlainText(), QStringLiteral("notes"));

        // What the user sees: the category's colour around the controls, the memo's own inside.
        auto* panel = Child<QWidget>(*form, "PanelDataForm");
        QCOMPARE(PixelOf(panel, QPoint(20, 200)), QColor(0x00, 0x80, 0xFF));
        QCOMPARE(PixelOf(panel, QPoint(44, 140)), QColor(0xFF, 0xFF, 0x00));
        QVERIFY(form->close());
    }

    void movingBetweenRecordsKeepsTheForm_data() {
        QTest::addColumn<bool>("selectAtOnce");
        QTest::newRow("first row selected by the clear-form timer") << false;
        QTest::newRow("row clicked before the timer fires") << true;
    }
    void movingBetweenRecordsKeepsTheForm() {
        QFETCH(bool, selectAtOnce);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
        AddRecord(*books, {"Austerlitz", "Sebald"});
        AddRecord(*books, {"Zen", "Pirsig"});
        TCategory* people = AddCategory(data, "People", {"Name"});
        const int32_t name = people->Columns[0]->ElementID;
        AddRecord(*people, {"Ann"});
        auto form = Show(data);
        QCOMPARE(SelectedRow(*form), 0);
        const QList<QPointer<QWidget>> before = Pointers(FormControls(*form));
        QCOMPARE(before.size(), 2);

        ClickRow(*form, 1);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("Zen"));
        QVERIFY(!Browser(*form).TimerClearDataForm.isActive());
        QCOMPARE(Pointers(FormControls(*form)), before);
        QCOMPARE(ControlText(before[0]), QStringLiteral("Zen"));
        QCOMPARE(ControlText(before[1]), QStringLiteral("Pirsig"));
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(Child<QLabel>(*form, "LabelDataFormToolBar")->text().isEmpty());

        // Another category never shows its records in the old form.
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(1).center());
        QVERIFY(Browser(*form).TimerClearDataForm.isActive());
        if (selectAtOnce) {
            ClickRow(*form, 0);
            QVERIFY(!Browser(*form).TimerClearDataForm.isActive());
        } else {
            Browser(*form).TimerClearDataFormTimer();
        }
        for (const QPointer<QWidget>& control : before) {
            QVERIFY(control.isNull());
        }
        const QList<QWidget*> after = FormControls(*form);
        QCOMPARE(after.size(), 1);
        QCOMPARE(after[0]->property("ElementID").toInt(), name);
        QCOMPARE(ControlText(after[0]), QStringLiteral("Ann"));
        QVERIFY(form->close());
    }

    void clickingEmptyListSpaceClearsTheForm() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        books->FormColor = 0x00FF8000;
        AddRecord(*books, {"Zen"});
        auto form = Show(data);
        QCOMPARE(FormControls(*form).size(), 1);
        ClickRow(*form, -1);
        QCOMPARE(SelectedRow(*form), -1);
        QVERIFY(Browser(*form).CurrentRecord() == nullptr);
        QCOMPARE(Child<QLabel>(*form, "LabelDataFormToolBar")->text(),
                 QStringLiteral("No record is selected."));
        QVERIFY(!Child<QAction>(*form, "ActionDuplicateItem")->isEnabled());
        QVERIFY(!Child<QAction>(*form, "ActionDeleteItem")->isEnabled());
        QVERIFY(Browser(*form).TimerClearDataForm.isActive());
        QCOMPARE(Browser(*form).TimerClearDataForm.interval(), 150);
        QVERIFY(Browser(*form).TimerClearDataForm.isSingleShot());
        QTRY_VERIFY(FormControls(*form).isEmpty());
        auto* panel = Child<QWidget>(*form, "PanelDataForm");
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(PixelOf(panel, QPoint(20, 20)), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(form->close());
    }

    void scrollBarsFollowTheFormSize_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("bottomPastHolder"); // the form's bottom edge minus the form area's height
        QTest::addColumn<bool>("horizontalShown");
        QTest::addColumn<int>("horizontalMax");
        QTest::addColumn<int>("horizontalPage");
        QTest::addColumn<bool>("verticalEnabled");
        QTest::addColumn<int>("verticalMax");
        QTest::addColumn<int>("verticalPage");
        // Form area 700 pixels wide; SBV and SBH are 18 thick.
        QTest::newRow("fits") << 600 << -50 << false << 0 << 0 << false << 0 << 0;
        QTest::newRow("right edge one short of the bar") << 682 << -50 << false << 0 << 0 << false << 0 << 0;
        QTest::newRow("right edge one past") << 683 << -50 << true << 21 << 5 << false << 0 << 0;
        QTest::newRow("controls end at x = 900") << 900 << -50 << true << 238 << 59 << false << 0 << 0;
        QTest::newRow("tall") << 600 << 100 << false << 0 << 0 << true << 120 << 30;
        QTest::newRow("wide and tall") << 900 << 100 << true << 238 << 59 << true << 156 << 39;
        QTest::newRow("bottom fits until the horizontal bar shows")
            << 900 << -10 << true << 238 << 59 << true << 46 << 11;
    }
    void scrollBarsFollowTheFormSize() {
        QFETCH(int, right);
        QFETCH(int, bottomPastHolder);
        QFETCH(bool, horizontalShown);
        QFETCH(int, horizontalMax);
        QFETCH(int, horizontalPage);
        QFETCH(bool, verticalEnabled);
        QFETCH(int, verticalMax);
        QFETCH(int, verticalPage);

        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {});
        const int32_t memo = AddElement(*books, kKindMemo, 0, 0, 100, 50);
        ListColumn(*books, memo);
        AddRecord(*books, {"x"});
        FPath = RememberData(*FSandbox, data);
        auto form = ShowForm();
        Browser(*form).TimerSelectCategoryTimer();
        SetHolderWidth(*form, 700);
        auto* holder = Child<QWidget>(*form, "PanelDataFormHolder");
        // Place the memo so that the form ends where the row says.
        TCategory* shown = Browser(*form).CurrentCategory();
        const int bottom = holder->height() + bottomPastHolder;
        QVERIFY(bottom > 60);
        shown->ElementByID(memo)->Left = right - 100;
        shown->ElementByID(memo)->Top = bottom - 50;
        Browser(*form).TimerClearDataFormTimer();
        QCOMPARE(FormControls(*form).size(), 1);
        QCOMPARE(FormControls(*form)[0]->geometry().right() + 1, right);

        auto* sbh = Child<QScrollBar>(*form, "SBH");
        auto* sbv = Child<QScrollBar>(*form, "SBV");
        QCOMPARE(!sbh->isHidden(), horizontalShown);
        if (horizontalShown) {
            QCOMPARE(sbh->maximum(), horizontalMax);
            QCOMPARE(sbh->pageStep(), horizontalPage);
            QCOMPARE(sbh->height(), 18);
            QVERIFY(sbh->geometry().bottom() < holder->height());
        }
        QVERIFY(!sbv->isHidden());
        QCOMPARE(sbv->isEnabled(), verticalEnabled);
        if (verticalEnabled) {
            QCOMPARE(sbv->maximum(), verticalMax);
            QCOMPARE(sbv->pageStep(), verticalPage);
        }
        QCOMPARE(sbv->width(), 18);
        QVERIFY(sbv->geometry().right() < holder->width());
        QCOMPARE(sbv->focusPolicy(), Qt::NoFocus);
        QCOMPARE(sbh->focusPolicy(), Qt::NoFocus);
        QCOMPARE(sbv->singleStep(), 1);

        // Scrolling moves the form panel and gives it the focus; a resize scrolls back.
        auto* panel = Child<QWidget>(*form, "PanelDataForm");
        QScrollBar* bar = horizontalShown ? sbh : verticalEnabled ? sbv : nullptr;
        if (bar != nullptr) {
            bar->setValue(bar->maximum() / 2);
            QCOMPARE(horizontalShown ? -panel->x() : -panel->y(), bar->maximum() / 2);
            QCOMPARE(form->focusWidget(), panel);
            form->resize(form->width(), form->height() + 10);
            QApplication::processEvents();
            QCOMPARE(bar->value(), 0);
            QCOMPARE(panel->pos(), QPoint(0, 0));
        }
        QVERIFY(form->close());
    }

    void tabOrderFollowsReadingOrder_data() {
        QTest::addColumn<QList<QPoint>>("boxes"); // left, top
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("tops within 12 pixels are one row")
            << QList<QPoint>{{300, 100}, {20, 110}, {20, 112}} << QList<int>{1, 0, 2};
        QTest::newRow("rows top to bottom, each left to right")
            << QList<QPoint>{{200, 50}, {10, 300}, {100, 52}, {5, 61}, {400, 0}} << QList<int>{4, 3, 2, 0, 1};
    }
    void tabOrderFollowsReadingOrder() {
        QFETCH(QList<QPoint>, boxes);
        QFETCH(QList<int>, order);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {});
        AddElement(*books, kKindLabel, 0, 0, 50, 13, "Label");
        QList<int32_t> ids;
        for (int i = 0; i < boxes.size(); ++i) {
            // Memos and one-line boxes take part alike.
            ids.append(
                AddElement(*books, i % 2 == 0 ? kKindEdit : kKindMemo, boxes[i].x(), boxes[i].y(), 60, 30));
        }
        ListColumn(*books, ids[0]);
        AddRecord(*books, {});
        auto form = Show(data);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        Child<TRecordForm>(*form, "PanelDataFormArea")->FocusFirstBox();
        QCOMPARE(QApplication::focusWidget(), FormControl(*form, ids[order[0]]));
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), FormControl(*form, ids[order[i]]));
        }
        QVERIFY(form->close());
    }

    void typingMarksTheFormModified_data() {
        QTest::addColumn<bool>("memo");
        QTest::newRow("one-line box") << false;
        QTest::newRow("memo") << true;
    }
    void typingMarksTheFormModified() {
        QFETCH(bool, memo);
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title"});
        const int32_t notes = AddElement(*books, kKindMemo, 100, 40, 200, 60);
        AddRecord(*books, {"Zen", "Motorcycles"});
        auto form = Show(data);
        auto* save = Child<QPushButton>(*form, "BtnSaveData");
        auto* cancel = Child<QPushButton>(*form, "BtnCancelData");
        auto* editTemplates = Child<QAction>(*form, "ActionEditTemplates");
        QVERIFY(save->isHidden());
        QVERIFY(cancel->isHidden());
        QVERIFY(editTemplates->isEnabled());

        QWidget* box = memo ? FormControl(*form, notes) : FormControl(*form, books->Columns[0]->ElementID);
        const QString stored = ControlText(box);
        TypeIntoBox(box, QStringLiteral("x"));
        QVERIFY(RecordForm(*form).Modified());
        QVERIFY(!cancel->isHidden());
        QVERIFY(!editTemplates->isEnabled());
        // Deleting the character again leaves the form modified.
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(ControlText(box), stored);
        QVERIFY(RecordForm(*form).Modified());

        TypeText(box, QStringLiteral("yz"));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(save->isHidden());
        QVERIFY(cancel->isHidden());
        QVERIFY(editTemplates->isEnabled());
        QCOMPARE(ControlText(box), stored);
        QVERIFY(!Session(*form).WritePending());
        QVERIFY(form->close());
    }

    void cancelRestoresEveryBox() {
        TDataFile data;
        TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
        const int32_t notes = AddElement(*books, kKindMemo, 100, 80, 200, 60);
        AddRecord(*books, {"Zen", "Pirsig", "one\r\ntwo"});
        auto form = Show(data);
        const QList<QWidget*> boxes = {FormControl(*form, books->Columns[0]->ElementID),
                                       FormControl(*form, books->Columns[1]->ElementID),
                                       FormControl(*form, notes)};
        for (QWidget* box : boxes) {
            TypeIntoBox(box, QStringLiteral(" changed"));
        }
        QCOMPARE(ControlText(boxes[1]), QStringLiteral("Pirsig changed"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnCancelData"), Qt::LeftButton);
        QCOMPARE(ControlText(boxes[0]), QStringLiteral("Zen"));
        QCOMPARE(ControlText(boxes[1]), QStringLiteral("Pirsig"));
        QCOMPARE(ControlText(boxes[2]), QStringLiteral("one\ntwo"));
        QVERIFY(!RecordForm(*form).Modified());
        QCOMPARE(Browser(*form).CurrentRecord()->Value(1), std::string_view("Pirsig"));
        QVERIFY(form->close());
    }

    void deselectingAModifiedRecordAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes saves into the old record, unsorted") << int(QMessageBox::Yes);
        QTest::newRow("No drops the edits") << int(QMessageBox::No);
        QTest::newRow("Cancel or Escape keeps the edits and the record") << int(QMessageBox::Cancel);
    }
    void deselectingAModifiedRecordAsks() {
        QFETCH(int, answer);
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word"});
        AddRecord(*list, {"a"});
        AddRecord(*list, {"b"});
        auto form = Show(data);
        QWidget* box = FormControl(*form, list->Columns[0]->ElementID);
        TypeIntoBox(box, QStringLiteral("zz"));
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        ClickRow(*form, 1);
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Warning);
        QCOMPARE(boxes[0].Text, QStringLiteral("Record modified, would you like to save?"));
        QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(MessageBoxes::EscapeAnswer(boxes[0].Buttons), QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            QCOMPARE(SelectedRow(*form), 0);
            QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("a"));
            QCOMPARE(ControlText(box), QStringLiteral("azz"));
            QVERIFY(RecordForm(*form).Modified());
            QVERIFY(!Session(*form).WritePending());
            MessageBoxTesting::QueueAnswer(QMessageBox::No);
            QVERIFY(form->close());
            MessageBoxTesting::TakeShown();
            return;
        }

        const bool yes = answer == QMessageBox::Yes;
        const TCategory* shown = Browser(*form).CurrentCategory();
        QCOMPARE(shown->Records[0]->Value(0), yes ? std::string_view("azz") : std::string_view("a"));
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{yes ? "azz" : "a", "b"}));
        QCOMPARE(SelectedRow(*form), 1);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("b"));
        QCOMPARE(ControlText(box), QStringLiteral("b"));
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(Child<QAction>(*form, "ActionEditTemplates")->isEnabled());
        QCOMPARE(Session(*form).WritePending(), yes);
        QVERIFY(form->close());
    }

    void saveResortsAndKeepsTheRowSelected() {
        TDataFile data;
        TCategory* list = AddCategory(data, "Things", {"Word", "Other"});
        for (const char* word : {"b", "c", "a", "d"}) {
            AddRecord(*list, {word, "same"});
        }
        auto form = Show(data);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("a"));
        auto* word = qobject_cast<QLineEdit*>(FormControl(*form, list->Columns[0]->ElementID));
        TypeIntoBox(word, QString());
        word->selectAll();
        TypeText(word, QStringLiteral("zz\u00e9"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"b", "c", "d", "zz\u00e9"}));
        QCOMPARE(SelectedRow(*form), 3);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("zz\xc3\xa9"));
        QVERIFY(!RecordForm(*form).Modified());
        QVERIFY(Session(*form).TimerWriteCache.isActive());
        auto* view = Child<QTableView>(*form, "ListView1");
        QVERIFY(view->viewport()->rect().contains(view->visualRect(view->model()->index(3, 0))));
        QVERIFY(form->close());
    }

    void memoLineBreaks_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("three lines") << QByteArray("one\r\ntwo\r\nthree") << QStringLiteral("one\ntwo\nthree")
                                     << 3 << QStringLiteral("!") << QByteArray("one\r\ntwo\r\nthree!");
        QTest::newRow("lone LF") << QByteArray("a\nb") << QStringLiteral("a\nb") << 2 << QStringLiteral("!")
                                 << QByteArray("a\r\nb!");
        QTest::newRow("lone CR") << QByteArray("a\rb") << QStringLiteral("a\nb") << 2 << QStringLiteral("!")
                                 << QByteArray("a\r\nb!");
        QTest::newRow("ends with a break") << QByteArray("a\r\n") << QStringLiteral("a\n") << 2
                                           << QStringLiteral("!") << QByteArray("a\r\n!");
        QTest::newRow("lines typed with Enter")
            << QByteArray() << QString() << 1 << QStringLiteral("x\ny\n\nz") << QByteArray("x\r\ny\r\n\r\nz");
        QTest::newRow("no-break space stays")
            << QByteArray("a\xc2\xa0") << QStringLiteral("a\u00a0") << 1 << QStringLiteral("b")
            << QByteArray("a\xc2\xa0"
                          "b");
    }
    void memoLineBreaks() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, shown);
        QFETCH(int, lines);
        QFETCH(QString, typed);
        QFETCH(QByteArray, saved);
        TDataFile data;
        TCategory* notes = AddCategory(data, "Notes", {"Title"});
        const int32_t memoId = AddElement(*notes, kKindMemo, 10, 40, 300, 120);
        AddRecord(*notes, {"t", stored.toStdString()});
        auto form = Show(data);
        auto* memo = qobject_cast<QPlainTextEdit*>(FormControl(*form, memoId));
        QVERIFY(memo != nullptr);
        QCOMPARE(memo->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')), shown);
        QCOMPARE(memo->blockCount(), lines);
        TypeIntoBox(memo, QString());
        TypeLines(memo, typed);
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(QByteArray(Browser(*form).CurrentRecord()->Value(1).data(),
                            static_cast<qsizetype>(Browser(*form).CurrentRecord()->Value(1).size())),
                 saved);
        QVERIFY(form->close());
    }

    void editsReachTheDataFileAndUntouchedBoxesKeepTheirBytes() {
        TDataFile data;
        TCategory* notes = AddCategory(data, "Notes", {"Title", "Place"});
        const int32_t memoId = AddElement(*notes, kKindMemo, 10, 80, 300, 120);
        AddRecord(*notes, {"old", "Caf\xe9", "a\nb\rc"});
        auto form = Show(data);
        QCOMPARE(ControlText(FormControl(*form, notes->Columns[1]->ElementID)), QStringLiteral("Caf\u00e9"));
        QCOMPARE(ControlText(FormControl(*form, memoId)), QStringLiteral("a\nb\nc"));
        QWidget* title = FormControl(*form, notes->Columns[0]->ElementID);
        TypeIntoBox(title, QStringLiteral(" \u00fcber"));
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QVERIFY(Session(*form).TimerWriteCache.isActive());
        Session(*form).TimerWriteCacheTimer();
        QVERIFY(!Session(*form).WritePending());

        const TDataFile saved = LoadData(FPath);
        const TRecord& record = *saved.Categories[0]->Records[0];
        QCOMPARE(record.Value(0), std::string_view("old \xc3\xbc"
                                                   "ber"));
        QCOMPARE(record.Value(1), std::string_view("Caf\xe9"));
        QCOMPARE(record.Value(2), std::string_view("a\nb\rc"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"
