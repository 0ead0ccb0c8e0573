// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers learn of the main window: the record form's boxes named after their labels
// or list columns, the toolbar's buttons, the category bar with the category shown, and the
// colour picker's painted face.

#include "support/WindowTestSupport.h"

#include "ui/ColorPicker.h"

#include <QAccessible>
#include <QToolBar>
#include <QToolButton>

using namespace MainTest;

namespace {

// Books: "Book title:" labels its title box; the author box has no label and is named by its
// list column.
TDataFile SampleData() {
    TDataFile data;
    TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
    AddElement(*books, kKindLabel, 20, 12, 70, 16, "Book title:");
    AddRecord(*books, {"Emma", "Austen"});
    AddCategory(data, "Films", {"Title"});
    return data;
}

// The states a user hears of, in words.
QString StateText(const QAccessible::State& state) {
    QStringList words;
    if (state.disabled)
        words << QStringLiteral("disabled");
    if (state.selected)
        words << QStringLiteral("selected");
    if (state.checked)
        words << QStringLiteral("checked");
    if (state.hasPopup)
        words << QStringLiteral("hasPopup");
    if (state.expanded)
        words << QStringLiteral("expanded");
    if (state.collapsed)
        words << QStringLiteral("collapsed");
    return words.join(QLatin1Char(' '));
}

QToolButton* ToolBarButton(const TMainWindow& form, const QString& caption) {
    for (QToolButton* button : Child<QToolBar>(form, "ToolBar1")->findChildren<QToolButton*>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

} // namespace

class TestAccessible : public TWindowTest {
    Q_OBJECT

private slots:
    void namesRolesAndStates_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("recordSelected");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("state");
        QTest::newRow("box after its label")
            << "box 1" << true << "Book title" << int(QAccessible::EditableText) << "Emma"
            << "";
        QTest::newRow("box named by its list column")
            << "box 2" << true << "Author" << int(QAccessible::EditableText) << "Austen"
            << "";
        QTest::newRow("toolbar: print") << "Print" << true << "Print" << int(QAccessible::Button) << ""
                                        << "";
        QTest::newRow("toolbar: new record")
            << "&New Record" << true << "New Record" << int(QAccessible::Button) << ""
            << "";
        QTest::newRow("toolbar: delete record, none selected")
            << "Dele&te Record" << false << "Delete Record" << int(QAccessible::Button) << ""
            << "disabled";
        // A null value: the control has none of its own to tell.
        QTest::newRow("category bar")
            << "bar" << true << "Categories" << int(QAccessible::List) << QString() << "";
        QTest::newRow("category shown") << "bar item 0" << true << "Books" << int(QAccessible::ListItem) << ""
                                        << "selected";
        QTest::newRow("category not shown")
            << "bar item 1" << true << "Films" << int(QAccessible::ListItem) << ""
            << "";
        QTest::newRow("colour picker")
            << "picker" << true << "Font Color" << int(QAccessible::ButtonDropDown) << "Red"
            << "hasPopup collapsed";
    }

    void namesRolesAndStates() {
        QFETCH(QString, control);
        QFETCH(bool, recordSelected);
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, value);
        QFETCH(QString, state);
        QString path;
        auto form = ShowData(*FSandbox, SampleData(), path);
        ClickRow(*form, recordSelected ? 0 : -1);
        TColorPicker picker(QStringLiteral("CBFontColor"), QStringLiteral("Font Color"), 0, nullptr);
        picker.SetColor(0x0000FF);

        QAccessibleInterface* shown = nullptr;
        if (control.startsWith(QLatin1String("box "))) {
            const QList<QWidget*> boxes = FormControls(*form);
            const int index = control.mid(4).toInt() - 1;
            QVERIFY(index < boxes.size());
            shown = QAccessible::queryAccessibleInterface(boxes.at(index));
        } else if (control == QLatin1String("picker")) {
            shown = QAccessible::queryAccessibleInterface(&picker);
        } else if (control.startsWith(QLatin1String("bar"))) {
            shown = QAccessible::queryAccessibleInterface(Child<QWidget>(*form, "CategoryBarItems"));
            if (control.startsWith(QLatin1String("bar item ")))
                shown = shown->child(control.mid(9).toInt());
        } else {
            shown = QAccessible::queryAccessibleInterface(ToolBarButton(*form, control));
        }
        QVERIFY(shown != nullptr);
        QCOMPARE(shown->text(QAccessible::Name), name);
        QCOMPARE(int(shown->role()), role);
        if (!value.isNull())
            QCOMPARE(shown->text(QAccessible::Value), value);
        QCOMPARE(StateText(shown->state()), state);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
