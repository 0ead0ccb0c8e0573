// SPDX-License-Identifier: GPL-3.0-or-later
// The template editor's categories: new, copy, delete, rename, reorder, icons, and closing.
#include "templateeditor/TemplateEditorSupport.h"

#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/FileDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace TemplateTest;

class TestTemplateEditor : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensWithNothingSelected();
    void newCategoryDefaults();
    void newCategoryCopy_data();
    void newCategoryCopy();
    void cancelLeavesDataUntouched_data();
    void cancelLeavesDataUntouched();
    void deleteAndSaveRemovesRecords();
    void deleteDeclinedKeepsCategory_data();
    void deleteDeclinedKeepsCategory();
    void reorderAndSave();
    void renameAsYouType();
    void saveQuestionDeclined();
    void selectingResetsSort();
    void chooseIcon_data();
    void chooseIcon();
    void dialogs();
    void listContextMenu();
    void escapeAsksToClose();
};

void TestTemplateEditor::init() {
    FileDialogTesting::Enable();
}

void TestTemplateEditor::cleanup() {
    QCOMPARE(FileDialogTesting::TakeUnanswered(), QStringList());
    FileDialogTesting::Disable();
}

void TestTemplateEditor::opensWithNothingSelected() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 0);
    AddSampleCategory(editor.Data, "Friends", 0);
    editor.Open();
    QCOMPARE(editor.Form->windowTitle(), QStringLiteral("Template Editor"));
    QVERIFY(editor.Form->isMaximized());
    QCOMPARE(editor.Categories()->topLevelItemCount(), 2);
    QCOMPARE(editor.Categories()->topLevelItem(1)->text(0), QStringLiteral("Friends"));
    QCOMPARE(editor.Categories()->headerItem()->text(0), QStringLiteral("      Category List"));
    QCOMPARE(editor.Categories()->columnWidth(0), 117);
    QCOMPARE(editor.SelectedRow(), -1);
    QVERIFY(!editor.Widget("PanelRight")->isVisible());
    QVERIFY(editor.Widget("LabelSelectCategory")->isVisible());
    QVERIFY(!editor.Widget("BtnMoveUp")->isEnabled());
    QVERIFY(!editor.Widget("BtnMoveDown")->isEnabled());
    QVERIFY(!editor.Widget("BtnDeleteCategory")->isEnabled());
    QCOMPARE(editor.Widget<QPushButton>("BtnSave")->text(), QStringLiteral("&Save && Close"));

    editor.ClickRow(1);
    QVERIFY(editor.Widget("PanelRight")->isVisible());
    QCOMPARE(editor.Widget<QLineEdit>("LabeledEditBookName")->text(), QStringLiteral("Friends"));
    QVERIFY(editor.Widget("BtnMoveUp")->isEnabled());
    QVERIFY(!editor.Widget("BtnMoveDown")->isEnabled());
    QVERIFY(editor.Widget("BtnDeleteCategory")->isEnabled());
    // Nothing is selected on the surface: the background picker shows, the font controls do not.
    QVERIFY(editor.Widget("CBBGColor")->isVisible());
    QVERIFY(!editor.Widget("PanelFont")->isVisible());
    QVERIFY(!editor.Widget("EditCaption")->isVisible());
    VerifyAllAnswered();
}

void TestTemplateEditor::newCategoryDefaults() {
    TEditor editor;
    editor.Data.LastCategoryID = 41;
    editor.Open();
    editor.Click("BtnNewCategory"); // the only category: no copy question
    QCOMPARE(ShownTexts(), QStringList());
    QCOMPARE(editor.Copy.Categories.size(), size_t(1));
    const TCategory& created = *editor.Copy.Categories[0];
    QCOMPARE(created.ID, 42);
    QCOMPARE(editor.Copy.LastCategoryID, 42);
    QCOMPARE(created.Name, std::string("New Category"));
    QCOMPARE(created.FormColor, 13028025);
    QVERIFY(created.Elements.empty());
    QVERIFY(created.Columns.empty());
    QVERIFY(created.Icon == TBitmapImage::DefaultIcon());
    QCOMPARE(editor.SelectedRow(), 0);
    QCOMPARE(editor.Categories()->topLevelItem(0)->text(0), QStringLiteral("New Category"));
    QVERIFY(editor.Widget("PanelRight")->isVisible());
    QVERIFY(!editor.Widget<QLabel>("ImageCatIcon")->pixmap().isNull());
    QCOMPARE(editor.Widget<QLabel>("ImageCatIcon")->size(), QSize(32, 32));
    VerifyAllAnswered();
}

void TestTemplateEditor::newCategoryCopy_data() {
    QTest::addColumn<bool>("copy");
    QTest::addColumn<int>("chosen"); // -1 cancels the chooser
    QTest::addColumn<bool>("copied");
    QTest::newRow("copy from the second") << true << 1 << true;
    QTest::newRow("chooser cancelled") << true << -1 << false;
    QTest::newRow("no copy") << false << 0 << false;
}

void TestTemplateEditor::newCategoryCopy() {
    QFETCH(bool, copy);
    QFETCH(int, chosen);
    QFETCH(bool, copied);
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 3);
    TCategory* source = AddSampleCategory(editor.Data, "Friends", 2);
    source->FormColor = 0x123456;
    source->LastElementID = 9;
    source->Icon = TBitmapImage();
    editor.Open();
    MessageBoxTesting::QueueAnswer(copy ? QMessageBox::Yes : QMessageBox::No);
    if (copy)
        AnswerSelectCategory(chosen);
    editor.Click("BtnNewCategory");
    QCOMPARE(ShownTexts(),
             QStringList{QStringLiteral("A new category is created. Do you want to copy template from "
                                        "an existing category?")});
    QCOMPARE(editor.Copy.Categories.size(), size_t(3));
    const TCategory& created = *editor.Copy.Categories[2];
    QCOMPARE(created.ID, 3);
    QVERIFY(created.Records.empty());
    QCOMPARE(editor.SelectedRow(), 2);
    if (copied) {
        QCOMPARE(created.Name, std::string("Copy of Friends"));
        QCOMPARE(created.FormColor, 0x123456);
        QCOMPARE(created.LastElementID, 9);
        QVERIFY(created.Icon == source->Icon);
        CompareElements(created, *editor.Data.Categories[1]);
        QCOMPARE(created.Columns.size(), size_t(1));
        QCOMPARE(created.Columns[0]->Caption, std::string("Name"));
        QCOMPARE(editor.Categories()->topLevelItem(2)->text(0), QStringLiteral("Copy of Friends"));
        QCOMPARE(editor.Widget<QLineEdit>("LabeledEditBookName")->text(), QStringLiteral("Copy of Friends"));
    } else {
        QCOMPARE(created.Name, std::string("New Category"));
        QVERIFY(created.Elements.empty());
        QVERIFY(created.Columns.empty());
        QCOMPARE(created.FormColor, 13028025);
    }
    VerifyAllAnswered();
}

void TestTemplateEditor::cancelLeavesDataUntouched_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel & Close") << false;
    QTest::newRow("close box") << true;
}

void TestTemplateEditor::cancelLeavesDataUntouched() {
    QFETCH(bool, closeBox);
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 3);
    AddSampleCategory(editor.Data, "Friends", 2);
    editor.Data.LastCategoryID = 7;
    const std::string before = editor.Data.SaveToBytes();
    editor.Open();

    MessageBoxTesting::QueueAnswer(QMessageBox::No);
    editor.Click("BtnNewCategory");
    QTest::keyClicks(editor.Widget("LabeledEditBookName"), QStringLiteral("Renamed"));
    editor.Place("TBEdit", QPoint(150, 150));
    editor.ClickRow(0);
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    editor.Click("BtnDeleteCategory");

    // Declining the question keeps the window open and unchanged.
    MessageBoxTesting::QueueAnswer(QMessageBox::No);
    if (closeBox)
        editor.Form->close();
    else
        editor.Click("BtnCancel");
    QVERIFY(editor.Form->isVisible());
    editor.ClickRow(0);
    QCOMPARE(editor.Widget<QLineEdit>("LabeledEditBookName")->text(), QStringLiteral("Friends"));

    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    if (closeBox)
        editor.Form->close();
    else
        editor.Click("BtnCancel");
    QVERIFY(!editor.Form->isVisible());
    QVERIFY(!editor.Form->Saved);
    const QStringList texts = ShownTexts();
    QCOMPARE(texts.mid(texts.size() - 2),
             QStringList(2, QStringLiteral("Close the Template Editor without saving modifications?")));
    QCOMPARE(editor.Data.SaveToBytes(), before);
    QCOMPARE(editor.Data.LastCategoryID, 7);
    VerifyAllAnswered();
}

void TestTemplateEditor::deleteAndSaveRemovesRecords() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 3);
    AddSampleCategory(editor.Data, "Friends", 2);
    editor.Open();
    editor.ClickRow(0);
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    editor.Click("BtnDeleteCategory");
    QCOMPARE(ShownTexts(),
             QStringList{QStringLiteral("You will lose all the data in this category, if you already "
                                        "have data stored. Delete the category \"Books\" anyway?")});
    QCOMPARE(editor.Categories()->topLevelItemCount(), 1);
    QCOMPARE(editor.SelectedRow(), -1);
    QVERIFY(!editor.Widget("PanelRight")->isVisible());
    QVERIFY(!editor.Widget("BtnDeleteCategory")->isEnabled());
    QVERIFY(!editor.Widget("BtnMoveDown")->isEnabled());
    // Nothing is gone from the open data before the editor is saved.
    QCOMPARE(editor.Data.Categories.size(), size_t(2));

    editor.CloseWith("BtnSave", QMessageBox::Yes);
    QVERIFY(editor.Form->Saved);
    QCOMPARE(ShownTexts(), QStringList{QStringLiteral(
                               "Save modifications to the templates and close the Template Editor?")});
    editor.Data.ApplyWorkingCopy(editor.Copy);
    QCOMPARE(editor.Data.Categories.size(), size_t(1));
    const TCategory& kept = *editor.Data.Categories[0];
    QCOMPARE(kept.Name, std::string("Friends"));
    QCOMPARE(kept.Records.size(), size_t(2));
    QCOMPARE(std::string(kept.Records[1]->Value(0)), std::string("Friends edit 1"));
    VerifyAllAnswered();
}

void TestTemplateEditor::deleteDeclinedKeepsCategory_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("No") << int(QMessageBox::No);
    QTest::newRow("Enter answers the default button") << int(QMessageBox::Default);
    QTest::newRow("Escape") << int(QMessageBox::Escape);
}

void TestTemplateEditor::deleteDeclinedKeepsCategory() {
    QFETCH(int, answer);
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 1);
    editor.Open();
    editor.ClickRow(0);
    MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
    editor.Trigger("ActionDeleteCategory");
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].DefaultButton, QMessageBox::No);
    QCOMPARE(boxes[0].Answer, QMessageBox::No);
    QCOMPARE(editor.Copy.Categories.size(), size_t(1));
    QCOMPARE(editor.SelectedRow(), 0);
    QVERIFY(editor.Widget("PanelRight")->isVisible());
    VerifyAllAnswered();
}

void TestTemplateEditor::reorderAndSave() {
    TEditor editor;
    for (const char* name : {"A", "B", "C"})
        AddSampleCategory(editor.Data, name, 1);
    editor.Open();
    editor.ClickRow(2);
    QVERIFY(editor.Widget("BtnMoveUp")->isEnabled());
    QVERIFY(!editor.Widget("BtnMoveDown")->isEnabled());
    editor.Click("BtnMoveUp");
    QCOMPARE(editor.SelectedRow(), 1);
    QVERIFY(editor.Widget("BtnMoveDown")->isEnabled());
    editor.Click("BtnMoveUp");
    QCOMPARE(editor.SelectedRow(), 0);
    QVERIFY(!editor.Widget("BtnMoveUp")->isEnabled());
    QVERIFY(editor.Widget("BtnMoveDown")->isEnabled());
    // The moved category stays on the surface: renaming it now renames "C".
    QTest::keyClicks(editor.Widget("LabeledEditBookName"), QStringLiteral("!"));
    QStringList captions;
    for (int row = 0; row < 3; ++row)
        captions << editor.Categories()->topLevelItem(row)->text(0);
    QCOMPARE(captions, (QStringList{"C!", "A", "B"}));
    editor.Click("BtnMoveDown");
    QCOMPARE(editor.SelectedRow(), 1);

    editor.CloseWith("BtnSave", QMessageBox::Yes);
    editor.Data.ApplyWorkingCopy(editor.Copy);
    std::vector<std::string> names;
    for (const auto& category : editor.Data.Categories)
        names.push_back(category->Name);
    QCOMPARE(names, (std::vector<std::string>{"A", "C!", "B"}));
    QCOMPARE(std::string(editor.Data.Categories[1]->Records[0]->Value(0)), std::string("C edit 0"));
    VerifyAllAnswered();
}

void TestTemplateEditor::renameAsYouType() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 0);
    editor.Open();
    editor.ClickRow(0);
    auto* name = editor.Widget<QLineEdit>("LabeledEditBookName");
    QVERIFY(name->hasFocus());
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    // Empty names are accepted.
    QCOMPARE(editor.Copy.Categories[0]->Name, std::string());
    QTest::keyClick(name, Qt::Key_X);
    QCOMPARE(editor.Categories()->topLevelItem(0)->text(0), QStringLiteral("x"));
    QCOMPARE(editor.Copy.Categories[0]->Name, std::string("x"));
    TypeText(name, QStringLiteral("\u00E9"));
    QCOMPARE(editor.Copy.Categories[0]->Name, std::string("x\xC3\xA9"));
    VerifyAllAnswered();
}

void TestTemplateEditor::saveQuestionDeclined() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 0);
    editor.Open();
    editor.CloseWith("BtnSave", QMessageBox::No);
    QVERIFY(editor.Form->isVisible());
    QVERIFY(!editor.Form->Saved);
    // The close box afterwards asks the cancel question.
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    editor.Form->close();
    QVERIFY(!editor.Form->isVisible());
    QCOMPARE(ShownTexts(),
             (QStringList{QStringLiteral("Save modifications to the templates and close the Template "
                                         "Editor?"),
                          QStringLiteral("Close the Template Editor without saving modifications?")}));
    VerifyAllAnswered();
}

void TestTemplateEditor::selectingResetsSort() {
    TEditor editor;
    TCategory* category = AddSampleCategory(editor.Data, "Books", 0);
    category->SortColumn = 1;
    category->SortAscending = false;
    auto memoColumn = std::make_unique<TListColumn>();
    memoColumn->ElementID = category->Elements[2]->ID;
    memoColumn->Width = 33;
    memoColumn->Caption = "Notes \xE9"; // Windows-1252 bytes stay as they are
    category->Columns.push_back(std::move(memoColumn));
    editor.Open();
    editor.ClickRow(0);
    editor.CloseWith("BtnSave", QMessageBox::Yes);
    const TCategory& stored = *editor.Copy.Categories[0];
    QCOMPARE(stored.SortColumn, 0);
    QVERIFY(stored.SortAscending);
    QCOMPARE(stored.Columns.size(), size_t(2));
    QCOMPARE(stored.Columns[0]->Width, 80);
    QCOMPARE(stored.Columns[1]->Width, 33);
    QCOMPARE(stored.Columns[1]->Caption, std::string("Notes \xE9"));
    QCOMPARE(stored.Columns[1]->ElementID, category->Elements[2]->ID);
    VerifyAllAnswered();
}

void TestTemplateEditor::chooseIcon_data() {
    // What the user picks in turn: "png" a picture, "text" a file named like one, "" cancels.
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<bool>("changed");
    QTest::newRow("transparent picture") << QStringList{"png"} << true;
    QTest::newRow("not a picture, then cancelled") << QStringList{"text", ""} << false;
    QTest::newRow("not a picture, then a picture") << QStringList{"text", "png"} << true;
    QTest::newRow("cancelled") << QStringList{""} << false;
}

void TestTemplateEditor::chooseIcon() {
    QFETCH(QStringList, picks);
    QFETCH(bool, changed);
    QTemporaryDir root;
    TFolders::InitializeForTesting(root.path());
    QImage picture(64, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixelColor(10, 10, Qt::red);
    const QString png = root.filePath(QStringLiteral("wide.png"));
    QVERIFY(picture.save(png));
    const QString text = root.filePath(QStringLiteral("notes.png"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("just some text, named like a picture");
    file.close();

    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 0);
    editor.Open();
    editor.ClickRow(0);
    for (const QString& pick : picks) {
        FileDialogTesting::QueueResult(pick.isEmpty()                 ? QString()
                                       : pick == QLatin1String("png") ? png
                                                                      : text);
        if (pick == QLatin1String("text"))
            MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    }
    editor.Click("BtnSelectIcon");
    const QList<FileDialogs::TOptions> shown = FileDialogTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Folder, TFolders::IconsFolder());
    QCOMPARE(shown[0].Mode, FileDialogs::TMode::OpenFile);
    // Only pictures are offered.
    QVERIFY(shown[0].Filter.contains(QStringLiteral("*.png")));
    QVERIFY(!shown[0].Filter.contains(QStringLiteral("(*)")));
    // A file that is no picture is refused while the chooser is open: the box comes before it closes.
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), int(picks.count(QStringLiteral("text"))));
    for (const MessageBoxTesting::TShownBox& box : boxes) {
        QCOMPARE(box.Kind, MessageBoxes::TKind::Error);
        QCOMPARE(box.Text, QStringLiteral("\"%1\" is not a picture that can be used as an icon.").arg(text));
    }
    const TBitmapImage& icon = editor.Copy.Categories[0]->Icon;
    if (changed) {
        QCOMPARE(icon.Width(), 32);
        QCOMPARE(icon.Height(), 32);
        QCOMPARE(icon.BitsPerPixel(), 24);
        QCOMPARE(icon.Compression(), 0u);
        const QImage shownIcon = editor.Widget<QLabel>("ImageCatIcon")->pixmap().toImage();
        QCOMPARE(shownIcon.size(), QSize(32, 32));
        // The transparent part takes the category bar's colour.
        QCOMPARE(shownIcon.pixelColor(0, 0), QColor(0x2F, 0x4F, 0x6F));
    } else {
        QVERIFY(icon == TBitmapImage::DefaultIcon());
    }
    VerifyAllAnswered();
}

void TestTemplateEditor::dialogs() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 0);
    editor.Open();
    editor.ClickRow(0);
    // What the dialog shows is noted first: a failed check must not leave it open.
    QString title;
    QStringList entries;
    QString chosen;
    bool editable = true;
    bool focused = false;
    WhenShown(QStringLiteral("DlgSelectCategory"), [&](QWidget* dialog) {
        auto* combo = Find<QComboBox>(dialog, "CBCategory");
        title = dialog->windowTitle();
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        chosen = combo->currentText();
        editable = combo->isEditable();
        focused = dialog->focusWidget() == combo;
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    editor.Click("BtnNewCategory");
    QCOMPARE(title, QStringLiteral("Quillery"));
    QCOMPARE(entries, QStringList{"Books"});
    QCOMPARE(chosen, QStringLiteral("Books"));
    QVERIFY(!editable);
    QVERIFY(focused);
    QCOMPARE(editor.Copy.Categories[1]->Name, std::string("New Category"));
    VerifyAllAnswered();
}

void TestTemplateEditor::listContextMenu() {
    TEditor editor;
    editor.Open();
    QWidget* viewport = editor.Categories()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &event);
    auto* menu = editor.Widget<QMenu>("PopupMenu1");
    QTRY_VERIFY(menu->isVisible());
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QStringLiteral("New Category"));
    QCOMPARE(items[0]->toolTip(), QStringLiteral("Add a new category."));
    QCOMPARE(items[1]->text(), QStringLiteral("Delete Category"));
    QVERIFY(!items[1]->isEnabled());
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QCOMPARE(editor.Copy.Categories.size(), size_t(1));
    QCOMPARE(editor.SelectedRow(), 0);
    QVERIFY(items[1]->isEnabled());
    VerifyAllAnswered();
}

void TestTemplateEditor::escapeAsksToClose() {
    TEditor editor;
    AddSampleCategory(editor.Data, "Books", 0);
    editor.Open();
    MessageBoxTesting::QueueAnswer(QMessageBox::No);
    QTest::keyClick(editor.Form.get(), Qt::Key_Escape);
    QVERIFY(editor.Form->isVisible());
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    QTest::keyClick(editor.Form.get(), Qt::Key_Escape);
    QVERIFY(!editor.Form->isVisible());
    QCOMPARE(ShownTexts(),
             QStringList(2, QStringLiteral("Close the Template Editor without saving modifications?")));
    VerifyAllAnswered();
}

QTEST_MAIN(TestTemplateEditor)
#include "tst_editor.moc"
