// SPDX-License-Identifier: GPL-3.0-or-later
// The design surface without a mouse: Tab selects, arrows move, Shift and arrows resize, Delete
// deletes, the menu key duplicates. Also labels without a caption, the drag outline and commands
// that fail.
#include "templateeditor/TemplateEditorSupport.h"

#include "templateeditor/DesignGeometry.h"

#include <QLabel>

using namespace TemplateTest;

namespace {

// Sample category ids: 1 label "Name:" at (12, 12), 2 one-line box at (84, 12) with the column
// "Name", 3 memo box at (84, 48) of 185 x 89.
constexpr int32_t kLabel = 1;
constexpr int32_t kEdit = 2;
constexpr int32_t kMemo = 3;

// Presses Tab (or Shift+Tab) on whatever has the focus until the design surface has it.
void TabIntoSurface(const TEditor& editor, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (int presses = 0; presses < 20 && !editor.Panel()->hasFocus(); ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    QVERIFY(editor.Panel()->hasFocus());
}

// Selects the element with this id by Tab alone (or Shift+Tab inside the surface).
void TabToElement(const TEditor& editor, int32_t id, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    TabIntoSurface(editor);
    for (int presses = 0; presses < 10 && editor.SelectedId() != id; ++presses)
        editor.PressKey(Qt::Key_Tab, modifiers);
    QCOMPARE(editor.SelectedId(), id);
}

QRect StoredRect(const TElement& element) {
    return QRect(element.Left, element.Top, element.Width, element.Height);
}

} // namespace

class TestTemplateKeyboard : public QObject {
    Q_OBJECT
private slots:
    void tabSelectsInTemplateOrder();
    void tabWithNothingSelected_data();
    void tabWithNothingSelected();
    void arrows_data();
    void arrows();
    void deleteKey_data();
    void deleteKey();
    void menuKeyDuplicates();
    void emptyLabelCaption();
    void emptyLabelFromFile();
    void dragOutlineOnTop();
    void keyboardOnly();
    void failingCommand_data();
    void failingCommand();
};

void TestTemplateKeyboard::tabSelectsInTemplateOrder() {
    TEditor editor;
    OpenOnCategory(editor);
    QCOMPARE(editor.SelectedId(), 0);
    TabIntoSurface(editor);
    QCOMPARE(editor.SelectedId(), kLabel);
    // The property bar follows the selection.
    QCOMPARE(editor.Widget<QLineEdit>("EditCaption")->text(), QStringLiteral("Name:"));
    editor.PressKey(Qt::Key_Tab);
    QCOMPARE(editor.SelectedId(), kEdit);
    QCOMPARE(editor.Widget<QLineEdit>("EditCaption")->text(), QStringLiteral("Name"));
    editor.PressKey(Qt::Key_Tab);
    QCOMPARE(editor.SelectedId(), kMemo);
    // Past the last element the focus moves on and the selection stays.
    editor.PressKey(Qt::Key_Tab);
    QVERIFY(!editor.Panel()->hasFocus());
    QCOMPARE(editor.SelectedId(), kMemo);
    // Shift+Tab comes back to the same element and walks back.
    TabIntoSurface(editor, Qt::ShiftModifier);
    QCOMPARE(editor.SelectedId(), kMemo);
    editor.PressKey(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(editor.SelectedId(), kEdit);
    editor.PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(editor.SelectedId(), kLabel);
    editor.PressKey(Qt::Key_Tab, Qt::ShiftModifier);
    QVERIFY(!editor.Panel()->hasFocus());
    QCOMPARE(editor.SelectedId(), kLabel);
    VerifyAllAnswered();
}

void TestTemplateKeyboard::tabWithNothingSelected_data() {
    QTest::addColumn<bool>("backward");
    QTest::addColumn<int>("selected");
    QTest::newRow("Tab selects the first") << false << int(kLabel);
    QTest::newRow("Shift+Tab selects the last") << true << int(kMemo);
}

void TestTemplateKeyboard::tabWithNothingSelected() {
    QFETCH(bool, backward);
    QFETCH(int, selected);
    TEditor editor;
    OpenOnCategory(editor);
    TabToElement(editor, kEdit);
    // A click on the grid selects nothing and leaves the keyboard on the surface.
    QTest::mouseClick(editor.Panel(), Qt::LeftButton, {}, QPoint(400, 300));
    QCOMPARE(editor.SelectedId(), 0);
    QVERIFY(editor.Panel()->hasFocus());
    editor.PressKey(Qt::Key_Tab, backward ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(editor.SelectedId(), selected);
    VerifyAllAnswered();
}

void TestTemplateKeyboard::arrows_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QPoint>("start"); // where the element is stored before the editor opens
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QRect>("expected"); // a size of -1 keeps the size the control had
    // The memo box is 185 x 89; one grid step is 6 pixels.
    QTest::newRow("right") << kMemo << QPoint(84, 48) << int(Qt::Key_Right) << false
                           << QRect(90, 48, 185, 89);
    QTest::newRow("left") << kMemo << QPoint(84, 48) << int(Qt::Key_Left) << false << QRect(78, 48, 185, 89);
    QTest::newRow("up") << kMemo << QPoint(84, 48) << int(Qt::Key_Up) << false << QRect(84, 42, 185, 89);
    QTest::newRow("down") << kMemo << QPoint(84, 48) << int(Qt::Key_Down) << false << QRect(84, 54, 185, 89);
    QTest::newRow("off the grid, right")
        << kMemo << QPoint(85, 49) << int(Qt::Key_Right) << false << QRect(90, 49, 185, 89);
    QTest::newRow("off the grid, left")
        << kMemo << QPoint(85, 49) << int(Qt::Key_Left) << false << QRect(84, 49, 185, 89);
    QTest::newRow("beyond the left edge")
        << kLabel << QPoint(-6, 12) << int(Qt::Key_Left) << false << QRect(-12, 12, -1, -1);
    QTest::newRow("negative, off the grid")
        << kLabel << QPoint(-7, 12) << int(Qt::Key_Right) << false << QRect(-6, 12, -1, -1);
    QTest::newRow("memo wider") << kMemo << QPoint(84, 48) << int(Qt::Key_Right) << true
                                << QRect(84, 48, 191, 89);
    QTest::newRow("memo narrower") << kMemo << QPoint(84, 48) << int(Qt::Key_Left) << true
                                   << QRect(84, 48, 179, 89);
    QTest::newRow("memo taller") << kMemo << QPoint(84, 48) << int(Qt::Key_Down) << true
                                 << QRect(84, 48, 185, 95);
    QTest::newRow("memo lower") << kMemo << QPoint(84, 48) << int(Qt::Key_Up) << true
                                << QRect(84, 48, 185, 83);
    QTest::newRow("one-line box wider")
        << kEdit << QPoint(84, 12) << int(Qt::Key_Right) << true << QRect(84, 12, 127, -1);
    QTest::newRow("one-line box keeps its height")
        << kEdit << QPoint(84, 12) << int(Qt::Key_Down) << true << QRect(84, 12, 121, -1);
    QTest::newRow("a label sizes itself")
        << kLabel << QPoint(12, 12) << int(Qt::Key_Right) << true << QRect(12, 12, -1, -1);
}

void TestTemplateKeyboard::arrows() {
    QFETCH(int, id);
    QFETCH(QPoint, start);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QRect, expected);
    TEditor editor;
    TCategory* sample = AddSampleCategory(editor.Data, "Books", 0);
    sample->ElementByID(id)->Left = start.x();
    sample->ElementByID(id)->Top = start.y();
    editor.Open();
    editor.ClickRow(0);
    TabToElement(editor, id);
    QWidget* control = editor.Control(id);
    const QSize before = control->size();
    if (expected.width() < 0)
        expected.setWidth(before.width());
    if (expected.height() < 0)
        expected.setHeight(before.height());
    editor.PressKey(static_cast<Qt::Key>(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(control->geometry(), expected);
    QCOMPARE(StoredRect(*editor.Current()->ElementByID(id)), expected);
    QCOMPARE(editor.Widget("PBSelectBox")->geometry(), DesignGeometry::SelectBoxRect(expected));
    QCOMPARE(editor.SelectedId(), id);
    VerifyAllAnswered();
}

void TestTemplateKeyboard::deleteKey_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("answer"); // 0: no question
    QTest::addColumn<bool>("deleted");
    QTest::newRow("label, no question") << kLabel << 0 << true;
    QTest::newRow("text box, Yes") << kEdit << int(QMessageBox::Yes) << true;
    QTest::newRow("text box, No") << kEdit << int(QMessageBox::No) << false;
    QTest::newRow("text box, Enter keeps it") << kEdit << int(QMessageBox::Default) << false;
    QTest::newRow("memo box, Escape") << kMemo << int(QMessageBox::Escape) << false;
}

void TestTemplateKeyboard::deleteKey() {
    QFETCH(int, id);
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    TEditor editor;
    OpenOnCategory(editor);
    TabToElement(editor, id);
    if (answer != 0)
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
    editor.PressKey(Qt::Key_Delete);
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), answer != 0 ? 1 : 0);
    if (answer != 0) {
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Warning);
        QCOMPARE(boxes[0].DefaultButton, QMessageBox::No);
    }
    QCOMPARE(editor.Current()->ElementByID(id) == nullptr, deleted);
    QCOMPARE(editor.Control(id) == nullptr, deleted);
    QCOMPARE(editor.SelectedId(), deleted ? 0 : id);
    // The one-line box takes its list column with it.
    if (id == kEdit)
        QCOMPARE(editor.Widget<QTreeView>("ListView2")->model()->columnCount(), deleted ? 0 : 1);
    VerifyAllAnswered();
}

void TestTemplateKeyboard::menuKeyDuplicates() {
    TEditor editor;
    OpenOnCategory(editor);
    TabToElement(editor, kMemo);
    editor.PressKey(Qt::Key_Menu);
    auto* menu = editor.Widget<QMenu>("PopupMenu3");
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_D);
    const TCategory& category = *editor.Current();
    QCOMPARE(category.Elements.size(), size_t(4));
    const TElement& copy = *category.Elements.back();
    QCOMPARE(copy.Kind, std::string(kKindMemo));
    QCOMPARE(QPoint(copy.Left, copy.Top), QPoint(104, 68));
    QCOMPARE(editor.SelectedId(), copy.ID);
    VerifyAllAnswered();
}

// A label whose caption is erased keeps a size the pointer and the keyboard can find.
void TestTemplateKeyboard::emptyLabelCaption() {
    TEditor editor;
    OpenOnCategory(editor);
    editor.SelectElementAt(kLabel);
    auto* caption = editor.Widget<QLineEdit>("EditCaption");
    caption->selectAll();
    QTest::keyClick(caption, Qt::Key_Backspace);
    const TElement& label = *editor.Current()->ElementByID(kLabel);
    QCOMPARE(label.Caption, std::string());
    QWidget* control = editor.Control(kLabel);
    QVERIFY(control->width() >= 10);
    QVERIFY(control->height() >= 10);
    QCOMPARE(StoredRect(label), control->geometry());
    // It can be found again with the mouse...
    QTest::mouseClick(editor.Panel(), Qt::LeftButton, {}, QPoint(400, 300));
    QCOMPARE(editor.SelectedId(), 0);
    editor.SelectElementAt(kLabel);
    QCOMPARE(editor.SelectedId(), kLabel);
    // ...and once it has a caption again its size follows the text.
    QTest::keyClicks(caption, QStringLiteral("Title:"));
    QCOMPARE(editor.Control(kLabel)->size(), editor.Control(kLabel)->sizeHint());
    QCOMPARE(StoredRect(label), editor.Control(kLabel)->geometry());
    caption->selectAll();
    QTest::keyClick(caption, Qt::Key_Backspace);
    editor.SelectElementAt(kLabel);
    editor.PressKey(Qt::Key_Delete);
    QVERIFY(!editor.Current()->ElementByID(kLabel));
    VerifyAllAnswered();
}

// Older files may hold a label without a caption stored 0 x 0.
void TestTemplateKeyboard::emptyLabelFromFile() {
    TEditor editor;
    TCategory* category = AddSampleCategory(editor.Data, "Books", 0);
    const int32_t empty =
        category->AddElement(kKindLabel, 300, 30, 0, 0, 0, TFont{"DejaVu Sans", 0, 10, 0}, "");
    category->RenumberValueIndexes();
    editor.Open();
    editor.ClickRow(0);
    QWidget* control = editor.Control(empty);
    QVERIFY(control->width() > 0 && control->height() > 0);
    // Its outline shows on the panel where nothing else would.
    const QImage panel = editor.Panel()->grab().toImage();
    int outline = 0;
    for (int x = control->x(); x < control->x() + control->width(); ++x)
        outline += panel.pixelColor(x, control->y()) == QColor(Qt::darkGray) ? 1 : 0;
    QVERIFY(outline > 0);
    editor.SelectElementAt(empty);
    QCOMPARE(editor.SelectedId(), empty);
    editor.PressKey(Qt::Key_Delete);
    QVERIFY(!editor.Current()->ElementByID(empty));
    VerifyAllAnswered();
}

// The outline of an element being dragged is drawn over the element, not hidden under it.
void TestTemplateKeyboard::dragOutlineOnTop() {
    TEditor editor;
    OpenOnCategory(editor);
    const QPoint from = editor.Control(kMemo)->pos() + QPoint(2, 2);
    Hover(editor.Panel(), from);
    QTest::mousePress(editor.Panel(), Qt::LeftButton, {}, from);
    QTest::mouseMove(editor.Panel(), from + QPoint(12, 12));
    const QRect outline = editor.Widget("PBMoveBox")->geometry();
    QCOMPARE(outline.topLeft(), QPoint(96, 60));
    const QImage shown = editor.Panel()->grab().toImage();
    QTest::mouseRelease(editor.Panel(), Qt::LeftButton, {}, from + QPoint(12, 12));
    // The outline's left edge runs through the memo box, in black, over a white fill.
    for (int y = outline.top(); y < outline.bottom() - 1; y += 7) {
        QCOMPARE(shown.pixelColor(outline.left(), y), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(outline.left() + 3, y + 1), QColor(Qt::white));
    }
    VerifyAllAnswered();
}

// Presses key on whatever has the focus until the widget named name has it.
void MoveFocusTo(const char* name, Qt::KeyboardModifiers modifiers) {
    for (int presses = 0; presses < 30 && QApplication::focusWidget()->objectName() != QLatin1String(name);
         ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
}

// Everything but drawing a new element can be done without a mouse.
void TestTemplateKeyboard::keyboardOnly() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 2);
    editor.Open();
    // Choose the category in the list and rename it.
    MoveFocusTo("ListView1", Qt::NoModifier);
    // The list's cursor is on the first row; Space selects it.
    QTest::keyClick(editor.Categories(), Qt::Key_Space);
    QCOMPARE(editor.SelectedRow(), 0);
    auto* name = editor.Widget<QLineEdit>("LabeledEditBookName");
    QVERIFY(name->hasFocus());
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("Library"));
    // Select the memo box, move it, make it taller and duplicate it.
    TabToElement(editor, kMemo);
    editor.PressKey(Qt::Key_Right);
    editor.PressKey(Qt::Key_Down, Qt::ShiftModifier);
    editor.PressKey(Qt::Key_Menu);
    auto* menu = editor.Widget<QMenu>("PopupMenu3");
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_D);
    const int32_t copy = editor.Current()->Elements.back()->ID;
    QCOMPARE(editor.SelectedId(), copy);
    // Give the copy a larger font in the property bar, then come back and delete the label.
    editor.PressKey(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!editor.Panel()->hasFocus());
    QCOMPARE(editor.SelectedId(), copy);
    MoveFocusTo("CBFontSize", Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(editor.Current()->ElementByID(copy)->Font.Size, 12);
    TabToElement(editor, kLabel, Qt::ShiftModifier);
    editor.PressKey(Qt::Key_Delete);
    // Save & Close from the keyboard.
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    MoveFocusTo("BtnSave", Qt::NoModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!editor.Form->isVisible());
    QVERIFY(editor.Form->Saved);

    editor.Data.ApplyWorkingCopy(editor.Copy);
    const TCategory& saved = *editor.Data.Categories[0];
    QCOMPARE(saved.Name, std::string("Library"));
    QVERIFY(!saved.ElementByID(kLabel));
    QCOMPARE(StoredRect(*saved.ElementByID(kMemo)), QRect(90, 48, 185, 95));
    QCOMPARE(StoredRect(*saved.ElementByID(copy)), QRect(110, 68, 185, 95));
    QCOMPARE(saved.ElementByID(copy)->Font.Size, 12);
    QCOMPARE(saved.Records.size(), size_t(2));
    QCOMPARE(std::string(saved.Records[1]->Value(saved.ValueIndexOf(kMemo))), std::string("Books memo 1"));
    VerifyAllAnswered();
}

void TestTemplateKeyboard::failingCommand_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("drag") << "drag";
    QTest::newRow("arrow key") << "key";
    QTest::newRow("bold button") << "bold";
}

// A command that fails shows the store's error and leaves the window working.
void TestTemplateKeyboard::failingCommand() {
    QFETCH(QString, command);
    TEditor editor;
    OpenOnCategory(editor);
    editor.SelectElementAt(kMemo);
    // The memo box leaves the category behind the surface's back: storing it must fail.
    editor.Current()->DeleteElement(kMemo);
    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    if (command == QLatin1String("drag")) {
        const QPoint from = editor.Control(kMemo)->pos() + QPoint(2, 2);
        Drag(editor.Panel(), from, from + QPoint(12, 12));
    } else if (command == QLatin1String("key")) {
        editor.PressKey(Qt::Key_Right);
    } else {
        editor.Click("BtnFontBold");
    }
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
    QCOMPARE(boxes[0].Text, QStringLiteral("Assertion failure (DataCategory, line 456)"));
    QVERIFY(!editor.Widget("PBMoveBox")->isVisible());

    // The window goes on: another element moves by key and by drag, and the editor saves.
    editor.SelectElementAt(kLabel);
    editor.PressKey(Qt::Key_Right);
    QCOMPARE(editor.Current()->ElementByID(kLabel)->Left, 18);
    const QPoint from = editor.Control(kEdit)->pos() + QPoint(2, 2);
    Drag(editor.Panel(), from, from + QPoint(0, 30));
    QCOMPARE(editor.Current()->ElementByID(kEdit)->Top, 42);
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    QVERIFY(editor.Form->Saved);
    QCOMPARE(editor.Copy.Categories[0]->Elements.size(), size_t(2));
    VerifyAllAnswered();
}

QTEST_MAIN(TestTemplateKeyboard)
#include "tst_keyboard.moc"
