// SPDX-License-Identifier: GPL-3.0-or-later
// List columns: the question after placing a text box, the caption dialog and the caption edit,
// and the preview's column order and widths.
#include "templateeditor/TemplateEditorSupport.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>

using namespace TemplateTest;

namespace {

// The sample category's memo box.
constexpr int32_t kMemo = 3;

} // namespace

class TestTemplateColumns : public QObject {
    Q_OBJECT
private slots:
    void columnCaptionRules();
    void columnCaptionDialog();
    void firstColumnMoves_data();
    void firstColumnMoves();
    void listColumnQuestion_data();
    void listColumnQuestion();
};

void TestTemplateColumns::columnCaptionRules() {
    TEditor editor;
    OpenOnCategory(editor);
    // Yes, then a caption of blanks only: no column.
    AnswerColumnCaption(QStringLiteral("   "));
    editor.Place("TBEdit", QPoint(200, 200), QMessageBox::Yes);
    QCOMPARE(PreviewCaptions(editor), QStringList{"Name"});
    const int32_t id = editor.Current()->Elements.back()->ID;
    // Typed into the caption edit, leading blanks stay; the column goes at the end, 100 wide.
    auto* caption = editor.Widget<QLineEdit>("EditCaption");
    QCOMPARE(caption->text(), QString());
    QTest::keyClicks(caption, QStringLiteral("  Phone"));
    QCOMPARE(PreviewCaptions(editor), (QStringList{"Name", "  Phone"}));
    auto* preview = editor.Widget<QTreeView>("ListView2");
    QCOMPARE(preview->header()->sectionSize(1), 100);
    // Erasing the caption removes the column.
    caption->selectAll();
    QTest::keyClick(caption, Qt::Key_Backspace);
    QCOMPARE(PreviewCaptions(editor), QStringList{"Name"});
    QTest::keyClicks(caption, QStringLiteral(" Tel "));

    // Through the dialog the caption is trimmed.
    AnswerColumnCaption(QStringLiteral("  Mobile \t"));
    editor.Place("TBMemo", QPoint(250, 250), QMessageBox::Yes);
    QCOMPARE(PreviewCaptions(editor), (QStringList{"Name", " Tel ", "Mobile"}));
    QCOMPARE(caption->text(), QStringLiteral("Mobile"));
    // Cancel creates none.
    AnswerColumnCaption(QStringLiteral("Fax"), false);
    editor.Place("TBEdit", QPoint(450, 100), QMessageBox::Yes);
    QCOMPARE(PreviewCaptions(editor).size(), 3);

    // Dragging a header reorders the columns; widths and order are stored.
    DragHeader(preview->header(), 2, 0);
    QCOMPARE(PreviewCaptions(editor), (QStringList{"Mobile", "Name", " Tel "}));
    preview->header()->resizeSection(0, 70);
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    const auto& columns = editor.Copy.Categories[0]->Columns;
    QCOMPARE(columns.size(), size_t(3));
    QCOMPARE(columns[0]->Caption, std::string("Mobile"));
    QCOMPARE(columns[1]->Caption, std::string("Name"));
    QCOMPARE(columns[1]->Width, 70);
    QCOMPARE(columns[2]->Caption, std::string(" Tel "));
    QCOMPARE(columns[2]->ElementID, id);
    QCOMPARE(columns[2]->Width, 100);
    VerifyAllAnswered();
}

void TestTemplateColumns::columnCaptionDialog() {
    TEditor editor;
    OpenOnCategory(editor, false);
    // What the dialog shows is noted first: a failed check must not leave it open.
    QString title;
    QString startText = QStringLiteral("?");
    bool focused = false;
    WhenShown(QStringLiteral("DlgSetColumnCaption"), [&](QWidget* dialog) {
        auto* field = Find<QLineEdit>(dialog, "LabeledEdit1");
        title = dialog->windowTitle();
        startText = field->text();
        focused = dialog->focusWidget() == field;
        QTest::keyClicks(field, QStringLiteral("Title"));
        QTest::keyClick(field, Qt::Key_Return); // OK is the default button
    });
    editor.Place("TBEdit", QPoint(30, 30), QMessageBox::Yes);
    QCOMPARE(title, QStringLiteral("Quillery"));
    QCOMPARE(startText, QString());
    QVERIFY(focused);
    QCOMPARE(PreviewCaptions(editor), QStringList{"Title"});
    QCOMPARE(editor.Widget<QLineEdit>("EditCaption")->text(), QStringLiteral("Title"));
    // The field starts empty each time.
    AnswerColumnCaption(QStringLiteral("Second"));
    editor.Place("TBEdit", QPoint(30, 90), QMessageBox::Yes);
    QCOMPARE(PreviewCaptions(editor), (QStringList{"Title", "Second"}));
    VerifyAllAnswered();
}

void TestTemplateColumns::firstColumnMoves_data() {
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("first to last") << 2 << QStringList{"Memo", "Phone", "Name"};
    QTest::newRow("first to second") << 1 << QStringList{"Memo", "Name", "Phone"};
}

// The first column is the one the list sorts by after a save: the user must be able to move it.
void TestTemplateColumns::firstColumnMoves() {
    QFETCH(int, to);
    QFETCH(QStringList, order);
    TEditor editor;
    TCategory* category = AddSampleCategory(editor.Data, "Books", 0);
    const int32_t phone = category->AddElement(kKindEdit, 84, 160, 121, 22, 0xFFFFFF, TFont{}, "");
    for (const auto& [id, caption] : {std::pair{kMemo, "Memo"}, std::pair{phone, "Phone"}}) {
        auto column = std::make_unique<TListColumn>();
        column->ElementID = id;
        column->Width = 90;
        column->Caption = caption;
        category->Columns.push_back(std::move(column));
    }
    category->RenumberValueIndexes();
    editor.Open();
    editor.ClickRow(0);
    DragHeader(editor.Widget<QTreeView>("ListView2")->header(), 0, to);
    QCOMPARE(PreviewCaptions(editor), order);
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    QStringList stored;
    for (const auto& column : editor.Copy.Categories[0]->Columns)
        stored << QString::fromStdString(column->Caption);
    QCOMPARE(stored, order);
    QCOMPARE(editor.Copy.Categories[0]->SortColumn, 0);
    VerifyAllAnswered();
}

void TestTemplateColumns::listColumnQuestion_data() {
    QTest::addColumn<bool>("sample");
    QTest::addColumn<QString>("text");
    QTest::newRow("category with a column") << true << kQuestion;
    QTest::newRow("category without columns") << false << kQuestion + kNote;
}

void TestTemplateColumns::listColumnQuestion() {
    QFETCH(bool, sample);
    QFETCH(QString, text);
    TEditor editor;
    OpenOnCategory(editor, sample);
    editor.Place("TBMemo", QPoint(60, 200), QMessageBox::No);
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Text, text);
    QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Confirmation);
    QCOMPARE(boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(PreviewCaptions(editor).size(), sample ? 1 : 0);
    VerifyAllAnswered();
}

QTEST_MAIN(TestTemplateColumns)
#include "tst_columns.moc"
