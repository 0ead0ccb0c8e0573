// SPDX-License-Identifier: GPL-3.0-or-later
// Edit Templates from the main window: the editor works on a copy, and only Save & Close merges
// it back, keeping every record with its text boxes and showing the same category again.

#include "support/WindowTestSupport.h"

#include "templateeditor/TemplateEditor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace MainTest;

namespace {

// Two categories; Books is shown, with two records.
TDataFile SampleData() {
    TDataFile data;
    TCategory* films = AddCategory(data, "Films", {"Title", "Year"});
    AddRecord(*films, {"Alien", "1979"});
    TCategory* books = AddCategory(data, "Books", {"Title", "Author", "Year"});
    AddRecord(*books, {"Emma", "Austen", "1815"});
    AddRecord(*books, {"Dracula", "Stoker", "1897"});
    return data;
}

// Runs action on the editor once it is on screen.
void InEditor(const std::function<void(TTemplateEditor&)>& action) {
    OnNextDialog([action](QWidget* widget) {
        auto* editor = qobject_cast<TTemplateEditor*>(widget);
        if (editor == nullptr)
            return false;
        action(*editor);
        return true;
    });
}

void ClickCategoryRow(TTemplateEditor& editor, int row) {
    auto* list = Child<QTreeWidget>(editor, "ListView1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(row)).center());
}

void CloseEditor(TTemplateEditor& editor, const char* button) {
    MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
    QTest::mouseClick(Child<QPushButton>(editor, button), Qt::LeftButton);
}

std::vector<std::string> Values(const TRecord& record) {
    std::vector<std::string> values;
    for (int32_t i = 0; i < record.Count(); ++i)
        values.emplace_back(record.Value(i));
    return values;
}

} // namespace

class TestTemplates : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> Show(const TDataFile& data, int32_t categoryId) {
        WriteSetting(QStringLiteral("SelectedCategoryID"), QString::number(categoryId));
        return ShowData(*FSandbox, data, FPath);
    }

    static void SettleCategory(TMainWindow& form) {
        // The bar is refilled: its timer shows the category, the clear-form timer its first row.
        QVERIFY(Browser(form).TimerSelectCategory.isActive());
        ShowRememberedCategory(form);
    }

private slots:
    void saveMergesAndShowsTheSameCategory() {
        auto form = Show(SampleData(), 2);
        QCOMPARE(Browser(*form).CurrentCategory()->Name, std::string("Books"));
        QVERIFY(!Session(*form).TimerWriteCache.isActive());

        InEditor([](TTemplateEditor& editor) {
            ClickCategoryRow(editor, 1);
            auto* name = Child<QLineEdit>(editor, "LabeledEditBookName");
            name->selectAll();
            QTest::keyClicks(name, QStringLiteral("Novels"));
            // Films first: the order of the bar changes too.
            QTest::mouseClick(Child<QWidget>(editor, "BtnMoveUp"), Qt::LeftButton);
            CloseEditor(editor, "BtnSave");
        });
        Trigger(*form, "ActionEditTemplates");
        SettleCategory(*form);

        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QCOMPARE(bar->ItemCaption(0), QStringLiteral("Novels"));
        QCOMPARE(bar->ItemCaption(1), QStringLiteral("Films"));
        QCOMPARE(bar->SelectedIndex(), 0);
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 2);
        QCOMPARE(ListColumnTexts(*form, 1),
                 (QStringList{QStringLiteral("Stoker"), QStringLiteral("Austen")}));
        QVERIFY(Session(*form).TimerWriteCache.isActive());

        Session(*form).TimerWriteCacheTimer();
        const TDataFile saved = LoadData(FPath);
        QCOMPARE(saved.Categories[0]->Name, std::string("Novels"));
        QCOMPARE(Values(*saved.Categories[0]->Records[0]),
                 (std::vector<std::string>{"Emma", "Austen", "1815"}));
        QCOMPARE(Values(*saved.Categories[1]->Records[0]), (std::vector<std::string>{"Alien", "1979"}));
        QVERIFY(form->close());
    }

    void cancelChangesNothing() {
        const TDataFile data = SampleData();
        auto form = Show(data, 2);
        const QByteArray before = FileBytes(FPath);
        TCategory* shown = Browser(*form).CurrentCategory();

        InEditor([](TTemplateEditor& editor) {
            QTest::mouseClick(Child<QWidget>(editor, "BtnNewCategory"), Qt::LeftButton);
            ClickCategoryRow(editor, 1);
            QTest::keyClicks(Child<QLineEdit>(editor, "LabeledEditBookName"), QStringLiteral(" and more"));
            CloseEditor(editor, "BtnCancel");
        });
        // A new category asks whether to copy a template when others exist.
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        Trigger(*form, "ActionEditTemplates");

        QCOMPARE(Browser(*form).CurrentCategory(), shown);
        QCOMPARE(Session(*form).DataFile().LastCategoryID, 2);
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(2));
        QCOMPARE(Session(*form).DataFile().Categories[1]->Name, std::string("Books"));
        QVERIFY(!Session(*form).TimerWriteCache.isActive());
        QVERIFY(form->close());
        QCOMPARE(FileBytes(FPath), before);
    }

    void deletingTheShownCategoryShowsTheFirst() {
        auto form = Show(SampleData(), 2);
        InEditor([](TTemplateEditor& editor) {
            ClickCategoryRow(editor, 1);
            MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
            QTest::mouseClick(Child<QWidget>(editor, "BtnDeleteCategory"), Qt::LeftButton);
            CloseEditor(editor, "BtnSave");
        });
        Trigger(*form, "ActionEditTemplates");
        SettleCategory(*form);

        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(1));
        QCOMPARE(Browser(*form).CurrentCategory()->Name, std::string("Films"));
        QCOMPARE(ListColumnTexts(*form, 0), QStringList{QStringLiteral("Alien")});
        Session(*form).TimerWriteCacheTimer();
        QCOMPARE(LoadData(FPath).Categories.size(), size_t(1));
        QVERIFY(form->close());
    }

    void noCategoriesHintOpensTheEditor() {
        RememberData(*FSandbox, TDataFile());
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QVERIFY(Child<QWidget>(*form, "PanelNoCategories")->isVisible());
        bool opened = false;
        InEditor([&opened](TTemplateEditor& editor) {
            opened = true;
            CloseEditor(editor, "BtnCancel");
        });
        Child<QPushButton>(*form, "BtnNoCategoriesEditTemplates")->click();
        QVERIFY(opened);
        MessageBoxTesting::TakeShown();
        QVERIFY(Child<QWidget>(*form, "PanelNoCategories")->isVisible());
        QVERIFY(form->close());
    }

    void refusedWhileARecordIsModified() {
        auto form = Show(SampleData(), 2);
        TypeIntoBox(FormControl(*form, Browser(*form).CurrentCategory()->Columns[0]->ElementID),
                    QStringLiteral("!"));
        QVERIFY(!Child<QAction>(*form, "ActionEditTemplates")->isEnabled());
        Trigger(*form, "ActionEditTemplates");
        QVERIFY(ShownBoxTexts().isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        // Leaving without saving the record.
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestTemplates)
#include "tst_templates.moc"
