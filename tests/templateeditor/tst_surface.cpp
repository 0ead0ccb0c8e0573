// SPDX-License-Identifier: GPL-3.0-or-later
// The design surface and the element commands, driven with the pointer and the keyboard.
#include "templateeditor/TemplateEditorSupport.h"

#include "templateeditor/DesignGeometry.h"
#include "ui/dialogs/ColorDialogs.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

using namespace TemplateTest;

namespace {

// Sample category ids: 1 label "Name:" at (12, 12), 2 one-line box at (84, 12) with the column
// "Name", 3 memo box at (84, 48) of 185 x 89.
constexpr int32_t kLabel = 1;
constexpr int32_t kEdit = 2;
constexpr int32_t kMemo = 3;

void PickColor(const TEditor& editor, const char* picker, const char* swatch) {
    auto* button = editor.Widget<QToolButton>(picker);
    QTest::mouseClick(button, Qt::LeftButton);
    auto* dropDown = Find<QFrame>(button, "DropDown");
    QVERIFY(dropDown->isVisible());
    QCOMPARE(dropDown->windowTitle(), QStringLiteral("Text Color Window"));
    QTest::mouseClick(Find<QToolButton>(dropDown, swatch), Qt::LeftButton);
    QVERIFY(!dropDown->isVisible());
}

} // namespace

class TestTemplateSurface : public QObject {
    Q_OBJECT
private slots:
    void placeWithTool_data();
    void placeWithTool();
    void doubleClickPlacement_data();
    void doubleClickPlacement();
    void pressWithToolActsOnElement();
    void dragMoves_data();
    void dragMoves();
    void dragResizes_data();
    void dragResizes();
    void fontProperties();
    void backgroundColor();
    void otherColors();
    void deleteKey();
    void duplicate_data();
    void duplicate();
    void endToEnd();
    void sameLookAsRecordForm();
    void gridDots();
};

void TestTemplateSurface::placeWithTool_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("fontColor");
    QTest::newRow("label") << "TBLabel"
                           << "TLabel" << 0x800000;
    QTest::newRow("one-line box") << "TBEdit"
                                  << "TEdit" << int(0x80000008);
    QTest::newRow("memo box") << "TBMemo"
                              << "TMemo" << int(0x80000008);
}

void TestTemplateSurface::placeWithTool() {
    QFETCH(QString, tool);
    QFETCH(QString, kind);
    QFETCH(int, fontColor);
    TEditor editor;
    OpenOnCategory(editor, false);
    editor.Place(tool.toLatin1().constData(), QPoint(100, 47));
    TCategory* category = editor.Current();
    QCOMPARE(category->Elements.size(), size_t(1));
    const TElement& placed = *category->Elements[0];
    QCOMPARE(placed.ID, 1);
    QCOMPARE(QString::fromStdString(placed.Kind), kind);
    // Exactly at the release point, not on the grid.
    QCOMPARE(placed.Left, 100);
    QCOMPARE(placed.Top, 47);
    QCOMPARE(placed.Font.Size, 10);
    QCOMPARE(placed.Font.Style, uint8_t(0));
    QCOMPARE(placed.Font.Color, fontColor);
    // The face actually used, which the font list offers, not a generic name.
    QCOMPARE(QString::fromStdString(placed.Font.Name), QFontInfo(QApplication::font()).family());
    QVERIFY(QFontDatabase::families().contains(QString::fromStdString(placed.Font.Name)));
    QWidget* control = editor.Control(placed.ID);
    QVERIFY(control);
    QCOMPARE(control->geometry(), QRect(placed.Left, placed.Top, placed.Width, placed.Height));
    if (kind == QLatin1String("TLabel")) {
        QCOMPARE(placed.Caption, std::string("New Label"));
        QCOMPARE(QSize(placed.Width, placed.Height), control->sizeHint());
        QCOMPARE(ShownTexts(), QStringList());
    } else {
        QCOMPARE(placed.Caption, std::string());
        QCOMPARE(placed.Color, 15780518);
        const bool memo = kind == QLatin1String("TMemo");
        QCOMPARE(placed.Width, memo ? 185 : 121);
        QCOMPARE(placed.Height, memo ? 89 : TemplateControls::EditHeight(control->font()));
        QCOMPARE(ShownTexts(), QStringList{kQuestion + kNote});
    }
    QVERIFY(editor.Widget<QToolButton>("TBArrow")->isChecked());
    // The new element is selected: the frame surrounds it and the Delete key reaches the editor.
    QCOMPARE(editor.Widget("PBSelectBox")->geometry(), DesignGeometry::SelectBoxRect(control->geometry()));
    QVERIFY(editor.Widget("PBSelectBox")->isVisible());
    QVERIFY(editor.Panel()->hasFocus());
    QVERIFY(editor.Widget("PanelFont")->isVisible());
    QCOMPARE(editor.Widget("CBBGColor")->isVisible(), kind != QLatin1String("TLabel"));
    // A release with the arrow tool places nothing more.
    QTest::mouseClick(editor.Panel(), Qt::LeftButton, {}, QPoint(300, 100));
    QCOMPARE(category->Elements.size(), size_t(1));
    QVERIFY(!editor.Widget("PBSelectBox")->isVisible());
    VerifyAllAnswered();
}

void TestTemplateSurface::doubleClickPlacement_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<bool>("textBox");
    QTest::newRow("label") << "TBLabel" << false;
    QTest::newRow("one-line box") << "TBEdit" << true;
    QTest::newRow("memo box") << "TBMemo" << true;
}

void TestTemplateSurface::doubleClickPlacement() {
    QFETCH(QString, tool);
    QFETCH(bool, textBox);
    TEditor editor;
    OpenOnCategory(editor);
    auto* button = editor.Widget<QToolButton>(tool.toLatin1().constData());
    if (textBox)
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
    // A double click: press, release, double click, release.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(editor.Current()->Elements.size(), size_t(3));
    QTest::mouseDClick(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton);
    QCOMPARE(editor.Current()->Elements.size(), size_t(4));
    const TElement& placed = *editor.Current()->Elements[3];
    QCOMPARE(placed.ID, 4);
    QCOMPARE(QPoint(placed.Left, placed.Top), QPoint(12, 12));
    if (!textBox) {
        QCOMPARE(placed.Caption, std::string("New Label"));
        QCOMPARE(placed.Font.Color, 0x800000);
        QCOMPARE(placed.Font.Size, 10);
    }
    QVERIFY(editor.Widget<QToolButton>("TBArrow")->isChecked());
    // The sample category has a list column: no note.
    QCOMPARE(ShownTexts(), textBox ? QStringList{kQuestion} : QStringList());
    VerifyAllAnswered();
}

void TestTemplateSurface::pressWithToolActsOnElement() {
    TEditor editor;
    OpenOnCategory(editor);
    editor.Click("TBMemo");
    editor.SelectElementAt(kEdit);
    QCOMPARE(editor.Current()->Elements.size(), size_t(3));
    QVERIFY(editor.Widget<QToolButton>("TBMemo")->isChecked());
    QCOMPARE(editor.Widget<QLineEdit>("EditCaption")->text(), QStringLiteral("Name"));
    QCOMPARE(editor.Widget("EditCaption")->toolTip(), QStringLiteral("Column Caption"));
    VerifyAllAnswered();
}

void TestTemplateSurface::dragMoves_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QPoint>("expected");
    // The label sits at (12, 12), the memo box at (84, 48); the press is 2 pixels inside.
    QTest::newRow("snaps down") << kLabel << QPoint(8, 3) << QPoint(18, 12);
    QTest::newRow("beyond the left edge") << kLabel << QPoint(-20, 0) << QPoint(-6, 12);
    QTest::newRow("-1 to -5 land on 0") << kLabel << QPoint(-16, -15) << QPoint(0, 0);
    QTest::newRow("far up") << kMemo << QPoint(0, -70) << QPoint(84, -18);
    QTest::newRow("memo box moves from inside") << kMemo << QPoint(31, 31) << QPoint(114, 78);
}

void TestTemplateSurface::dragMoves() {
    QFETCH(int, id);
    QFETCH(QPoint, delta);
    QFETCH(QPoint, expected);
    TEditor editor;
    OpenOnCategory(editor);
    QWidget* control = editor.Control(id);
    const QSize size = control->size();
    const QPoint from = control->pos() + QPoint(2, 2);
    Hover(editor.Panel(), from);
    QTest::mousePress(editor.Panel(), Qt::LeftButton, {}, from);
    QTest::mouseMove(editor.Panel(), from + delta);
    // The control waits for the release; the move box shows where it goes.
    QCOMPARE(editor.Widget("PBMoveBox")->pos(), expected);
    QVERIFY(editor.Widget("PBMoveBox")->isVisible());
    QVERIFY(!editor.Widget("PBSelectBox")->isVisible());
    QCOMPARE(control->pos(), from - QPoint(2, 2));
    QTest::mouseRelease(editor.Panel(), Qt::LeftButton, {}, from + delta);
    QVERIFY(!editor.Widget("PBMoveBox")->isVisible());
    const TElement& moved = *editor.Current()->ElementByID(id);
    QCOMPARE(QPoint(moved.Left, moved.Top), expected);
    QCOMPARE(QRect(moved.Left, moved.Top, moved.Width, moved.Height), control->geometry());
    QCOMPARE(control->size(), size);
    QCOMPARE(editor.Widget("PBSelectBox")->geometry(), DesignGeometry::SelectBoxRect(control->geometry()));

    // A press and release without motion leaves an element off the grid where it is.
    editor.Current()->UpdateElement(id, 13, 14, moved.Width, moved.Height, moved.Color, moved.Font,
                                    moved.Caption);
    control->move(13, 14);
    editor.SelectElementAt(id);
    QCOMPARE(QPoint(moved.Left, moved.Top), QPoint(13, 14));
    VerifyAllAnswered();
}

void TestTemplateSurface::dragResizes_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QPoint>("hover"); // relative to the control's bottom-right corner
    QTest::addColumn<QPoint>("to");    // relative to the control's top-left corner
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<int>("cursor");
    // The memo box is 185 x 89.
    QTest::newRow("memo both to the minimum")
        << kMemo << QPoint(-3, -3) << QPoint(3, -40) << QSize(15, 15) << int(Qt::SizeFDiagCursor);
    QTest::newRow("memo both larger")
        << kMemo << QPoint(-3, -3) << QPoint(300, 120) << QSize(305, 125) << int(Qt::SizeFDiagCursor);
    QTest::newRow("memo width only") << kMemo << QPoint(-3, -40) << QPoint(9, 300) << QSize(15, 89)
                                     << int(Qt::SizeHorCursor);
    QTest::newRow("memo height only")
        << kMemo << QPoint(-100, -7) << QPoint(400, 50) << QSize(185, 55) << int(Qt::SizeVerCursor);
    QTest::newRow("one-line box width only")
        << kEdit << QPoint(-7, -3) << QPoint(240, 300) << QSize(245, -1) << int(Qt::SizeHorCursor);
}

void TestTemplateSurface::dragResizes() {
    QFETCH(int, id);
    QFETCH(QPoint, hover);
    QFETCH(QPoint, to);
    QFETCH(QSize, expected);
    QFETCH(int, cursor);
    TEditor editor;
    OpenOnCategory(editor);
    QWidget* control = editor.Control(id);
    const QPoint origin = control->pos();
    const int height = control->height();
    const QPoint from = control->geometry().bottomRight() + QPoint(1, 1) + hover;
    Hover(editor.Panel(), from);
    QCOMPARE(int(editor.Panel()->cursor().shape()), cursor);
    Drag(editor.Panel(), from, origin + to);
    if (expected.height() < 0)
        expected.setHeight(height);
    QCOMPARE(control->size(), expected);
    QCOMPARE(control->pos(), origin);
    const TElement& resized = *editor.Current()->ElementByID(id);
    QCOMPARE(QRect(resized.Left, resized.Top, resized.Width, resized.Height), QRect(origin, expected));
    QCOMPARE(editor.Widget("PBSelectBox")->geometry(), DesignGeometry::SelectBoxRect(control->geometry()));
    VerifyAllAnswered();
}

void TestTemplateSurface::fontProperties() {
    TEditor editor;
    OpenOnCategory(editor);
    editor.SelectElementAt(kLabel);
    QVERIFY(!editor.Widget("CBBGColor")->isVisible());
    QCOMPARE(editor.Widget("EditCaption")->toolTip(), QStringLiteral("Caption"));
    QCOMPARE(editor.Widget<QLineEdit>("EditCaption")->text(), QStringLiteral("Name:"));
    auto* bold = editor.Widget<QToolButton>("BtnFontBold");
    QVERIFY(bold->isChecked());
    const TElement* label = editor.Current()->ElementByID(kLabel);

    QTest::mouseClick(editor.Widget("BtnFontItalic"), Qt::LeftButton);
    QCOMPARE(label->Font.Style, uint8_t(fsBold | fsItalic));
    QTest::mouseClick(bold, Qt::LeftButton);
    QCOMPARE(label->Font.Style, uint8_t(fsItalic));
    QVERIFY(editor.Control(kLabel)->font().italic());
    QVERIFY(!editor.Control(kLabel)->font().bold());

    auto* size = editor.Widget<QComboBox>("CBFontSize");
    QCOMPARE(size->currentText(), QStringLiteral("12"));
    QTest::keyClick(size, Qt::Key_Down);
    QCOMPARE(label->Font.Size, 14);
    QCOMPARE(editor.Control(kLabel)->font().pointSize(), 14);

    auto* face = editor.Widget<QComboBox>("CBFontName");
    const int mono = face->findText(QStringLiteral("DejaVu Sans Mono"));
    if (mono > 0) {
        face->setCurrentIndex(mono - 1);
        QTest::keyClick(face, Qt::Key_Down);
        QCOMPARE(label->Font.Name, std::string("DejaVu Sans Mono"));
    }

    PickColor(editor, "CBFontColor", "Red");
    QCOMPARE(label->Font.Color, 0x0000FF);
    QCOMPARE(editor.Control(kLabel)->palette().color(QPalette::WindowText), QColor(Qt::red));

    // The label follows its caption as it is typed; the frame follows the label.
    auto* caption = editor.Widget<QLineEdit>("EditCaption");
    caption->selectAll();
    QTest::keyClicks(caption, QStringLiteral("A much longer caption"));
    QCOMPARE(label->Caption, std::string("A much longer caption"));
    QWidget* control = editor.Control(kLabel);
    QCOMPARE(QSize(label->Width, label->Height), control->size());
    QCOMPARE(editor.Widget("PBSelectBox")->geometry(), DesignGeometry::SelectBoxRect(control->geometry()));
    QCOMPARE(label->Font.Style, uint8_t(fsItalic));
    QCOMPARE(label->Font.Size, 14);
    VerifyAllAnswered();
}

void TestTemplateSurface::backgroundColor() {
    TEditor editor;
    OpenOnCategory(editor);
    // Nothing selected: the whole panel and the category's form colour.
    PickColor(editor, "CBBGColor", "Yellow");
    QCOMPARE(editor.Current()->FormColor, 0x00FFFF);
    QCOMPARE(editor.Panel()->grab().toImage().pixelColor(3, 3), QColor(Qt::yellow));
    // A text box selected: only the box.
    editor.SelectElementAt(kMemo);
    PickColor(editor, "CBBGColor", "Pale Blue");
    QCOMPARE(editor.Current()->ElementByID(kMemo)->Color, 0xFFCC99);
    QCOMPARE(editor.Current()->FormColor, 0x00FFFF);
    // "Automatic" is the window colour.
    PickColor(editor, "CBBGColor", "Automatic");
    QCOMPARE(editor.Current()->ElementByID(kMemo)->Color, int(0x80000005));
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    editor.Data.ApplyWorkingCopy(editor.Copy);
    QCOMPARE(editor.Data.Categories[0]->FormColor, 0x00FFFF);
    VerifyAllAnswered();
}

void TestTemplateSurface::otherColors() {
    ColorDialogTesting::Enable();
    TEditor editor;
    OpenOnCategory(editor);
    editor.SelectElementAt(kEdit);
    auto* picker = editor.Widget<QToolButton>("CBFontColor");
    ColorDialogTesting::QueueResult(QColor(1, 2, 3));
    QTest::mouseClick(picker, Qt::LeftButton);
    QTest::mouseClick(Find<QToolButton>(Find<QFrame>(picker, "DropDown"), "OtherColors"), Qt::LeftButton);
    QCOMPARE(editor.Current()->ElementByID(kEdit)->Font.Color, 0x030201);
    // A cancelled dialog changes nothing.
    ColorDialogTesting::QueueResult(QColor());
    QTest::mouseClick(picker, Qt::LeftButton);
    QTest::mouseClick(Find<QToolButton>(Find<QFrame>(picker, "DropDown"), "OtherColors"), Qt::LeftButton);
    QCOMPARE(editor.Current()->ElementByID(kEdit)->Font.Color, 0x030201);
    QCOMPARE(ColorDialogTesting::TakeShown().size(), 2);
    QCOMPARE(ColorDialogTesting::TakeUnanswered(), QStringList());
    ColorDialogTesting::Disable();
    VerifyAllAnswered();
}

void TestTemplateSurface::deleteKey() {
    TEditor editor;
    OpenOnCategory(editor);
    TCategory* category = editor.Current();
    // Nothing selected, or another key: nothing happens.
    editor.PressKey(Qt::Key_Delete);
    editor.SelectElementAt(kLabel);
    editor.PressKey(Qt::Key_Backspace);
    QCOMPARE(category->Elements.size(), size_t(3));
    // A label goes without a question.
    editor.PressKey(Qt::Key_Delete);
    QCOMPARE(category->Elements.size(), size_t(2));
    QCOMPARE(category->IndexOfElement(kLabel), -1);
    QVERIFY(!editor.Control(kLabel));
    QVERIFY(!editor.Widget("PBSelectBox")->isVisible());
    QVERIFY(!editor.Widget("PanelFont")->isVisible());
    QCOMPARE(ShownTexts(), QStringList());
    // A text box asks; No keeps it and its column.
    editor.SelectElementAt(kEdit);
    MessageBoxTesting::QueueAnswer(QMessageBox::No);
    editor.PressKey(Qt::Key_Delete);
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Warning);
    QCOMPARE(boxes[0].Text,
             QStringLiteral("You will lose all the data in this text box, if you already have data "
                            "stored. Delete it anyway?"));
    QCOMPARE(category->IndexOfElement(kEdit), 0);
    QCOMPARE(PreviewCaptions(editor), QStringList{"Name"});
    // Yes removes both.
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    editor.PressKey(Qt::Key_Delete);
    QCOMPARE(category->IndexOfElement(kEdit), -1);
    QCOMPARE(PreviewCaptions(editor), QStringList());
    QCOMPARE(category->Elements.size(), size_t(1));
    VerifyAllAnswered();
}

void TestTemplateSurface::duplicate_data() {
    QTest::addColumn<int>("source");
    QTest::newRow("bold 12-point label") << kLabel;
    QTest::newRow("one-line box with a column") << kEdit;
    QTest::newRow("memo box") << kMemo;
}

void TestTemplateSurface::duplicate() {
    QFETCH(int, source);
    TEditor editor;
    OpenOnCategory(editor);
    TCategory* category = editor.Current();
    editor.Duplicate(source);
    QCOMPARE(category->Elements.size(), size_t(4));
    const TElement& original = *category->ElementByID(source);
    const TElement& copy = *category->Elements.back();
    const QPoint copyPlace(original.Left + 20, original.Top + 20);
    const int copyValueIndex = original.IsLabel() ? -1 : 2;
    QCOMPARE(copy.ID, 4);
    QCOMPARE(copy.Kind, original.Kind);
    QCOMPARE(QPoint(copy.Left, copy.Top), copyPlace);
    QVERIFY(copy.Font == original.Font);
    QCOMPARE(QSize(copy.Width, copy.Height), editor.Control(source)->size());
    QCOMPARE(copy.Caption, original.Caption);
    if (!original.IsLabel())
        QCOMPARE(copy.Color, original.Color);
    QCOMPARE(editor.Control(copy.ID)->geometry(), QRect(copy.Left, copy.Top, copy.Width, copy.Height));
    // No list column and no question for a copy; the copy is selected.
    QCOMPARE(PreviewCaptions(editor), QStringList{"Name"});
    QCOMPARE(ShownTexts(), QStringList());
    QCOMPARE(editor.Widget("PBSelectBox")->geometry(),
             DesignGeometry::SelectBoxRect(editor.Control(copy.ID)->geometry()));
    QVERIFY(editor.Widget<QToolButton>("TBArrow")->isChecked());

    // Saved and opened again, the copy is still there.
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    editor.Data.ApplyWorkingCopy(editor.Copy);
    editor.Open();
    editor.ClickRow(0);
    QWidget* control = editor.Control(4);
    QVERIFY(control);
    QCOMPARE(control->pos(), copyPlace);
    QCOMPARE(editor.Current()->ElementByID(4)->ValueIndex, copyValueIndex);
    VerifyAllAnswered();
}

void TestTemplateSurface::endToEnd() {
    TEditor editor;
    TCategory* category = editor.Data.AddCategory();
    category->Name = "People";
    const TFont font{"DejaVu Sans", 0, 10, 0};
    category->AddElement(kKindLabel, 6, 6, 40, 16, 0, font, "Who");
    const int32_t first = category->AddElement(kKindEdit, 60, 6, 121, 22, 0xFFFFFF, font, "");
    const int32_t middle = category->AddElement(kKindEdit, 60, 36, 121, 22, 0xFFFFFF, font, "");
    const int32_t last = category->AddElement(kKindMemo, 60, 66, 185, 89, 0xFFFFFF, font, "");
    category->RenumberValueIndexes();
    for (int i = 0; i < 4; ++i) {
        TRecord* record = category->NewRecord();
        for (int v = 0; v < 3; ++v)
            record->SetValue(v, "r" + std::to_string(i) + "v" + std::to_string(v));
    }
    editor.Open();
    editor.ClickRow(0);
    editor.SelectElementAt(middle);
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    editor.PressKey(Qt::Key_Delete);
    editor.Place("TBEdit", QPoint(300, 40), QMessageBox::No);
    const int32_t added = editor.Current()->Elements.back()->ID;
    QCOMPARE(added, 5);
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    QVERIFY(editor.Form->Saved);

    editor.Data.ApplyWorkingCopy(editor.Copy);
    const TCategory& merged = *editor.Data.Categories[0];
    std::vector<int32_t> ids;
    std::vector<int32_t> valueIndexes;
    for (const auto& element : merged.Elements) {
        ids.push_back(element->ID);
        valueIndexes.push_back(element->ValueIndex);
    }
    QCOMPARE(ids, (std::vector<int32_t>{1, first, last, added}));
    QCOMPARE(valueIndexes, (std::vector<int32_t>{-1, 0, 1, 2}));
    QCOMPARE(merged.Records.size(), size_t(4));
    for (size_t i = 0; i < merged.Records.size(); ++i) {
        const TRecord& record = *merged.Records[i];
        const std::string row = "r" + std::to_string(i);
        QCOMPARE(record.Count(), 3);
        QCOMPARE(std::string(record.Value(merged.ValueIndexOf(first))), row + "v0");
        QCOMPARE(std::string(record.Value(merged.ValueIndexOf(last))), row + "v2");
        QCOMPARE(std::string(record.Value(merged.ValueIndexOf(added))), std::string());
    }
    QCOMPARE(merged.ElementByID(added)->Left, 300);
    VerifyAllAnswered();
}

void TestTemplateSurface::sameLookAsRecordForm() {
    TEditor editor;
    TCategory* category = AddSampleCategory(editor.Data, "Books", 0);
    TFont font{"DejaVu Serif", fsItalic | fsUnderline, 14, 0x008000};
    category->AddElement(kKindLabel, 200, 150, 0, 0, 0, font, "Fish && &Chips");
    font.Color = static_cast<int32_t>(0x80000008);
    category->AddElement(kKindEdit, -30, 170, 90, 0, static_cast<int32_t>(0x80000005), font, "");
    editor.Open();
    editor.ClickRow(0);
    QWidget recordForm;
    for (const auto& element : editor.Current()->Elements) {
        QWidget* shown = editor.Control(element->ID);
        QWidget* expected = TemplateControls::Create(*element, &recordForm);
        QVERIFY(shown && expected);
        QCOMPARE(shown->metaObject()->className(), expected->metaObject()->className());
        QCOMPARE(shown->geometry(), expected->geometry());
        QCOMPARE(shown->font(), expected->font());
        QCOMPARE(shown->styleSheet(), expected->styleSheet());
        QCOMPARE(shown->palette().color(QPalette::WindowText),
                 expected->palette().color(QPalette::WindowText));
        if (auto* label = qobject_cast<QLabel*>(shown))
            QCOMPARE(label->text(), static_cast<QLabel*>(expected)->text());
    }
    VerifyAllAnswered();
}

void TestTemplateSurface::gridDots() {
    TEditor editor;
    OpenOnCategory(editor, false);
    const QImage image = editor.Panel()->grab(QRect(0, 0, 40, 40)).toImage();
    const QColor panel(185, 202, 198); // 13028025
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool dot = x % 6 == 0 && y % 6 == 0;
            QCOMPARE(image.pixelColor(x, y), dot ? QColor(Qt::black) : panel);
        }
    }
    VerifyAllAnswered();
}

QTEST_MAIN(TestTemplateSurface)
#include "tst_surface.moc"
