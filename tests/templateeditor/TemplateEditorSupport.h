// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the template editor's tests: a running editor on a working copy, and the pointer,
// keyboard and dialog steps a user takes in it.
#pragma once

#include "core/DataFile.h"
#include "core/ElementChecks.h"
#include "templateeditor/TemplateEditor.h"
#include "ui/TemplateControls.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace TemplateTest {

// A label, a one-line box and a memo box at known places; the boxes have values in records.
inline TCategory* AddSampleCategory(TDataFile& data, const std::string& name, int records) {
    TCategory* category = data.AddCategory();
    category->Name = name;
    TFont font{"DejaVu Sans", fsBold, 12, 0x000080};
    category->AddElement(kKindLabel, 12, 12, 60, 20, 0, font, "Name:");
    font.Style = 0;
    font.Size = 10;
    const int32_t edit = category->AddElement(kKindEdit, 84, 12, 121, 22, 0xF0CAA6, font, "");
    category->AddElement(kKindMemo, 84, 48, 185, 89, 0xFFFFFF, font, "");
    category->RenumberValueIndexes();
    auto column = std::make_unique<TListColumn>();
    column->ElementID = edit;
    column->Width = 80;
    column->Caption = "Name";
    category->Columns.push_back(std::move(column));
    for (int i = 0; i < records; ++i) {
        TRecord* record = category->NewRecord();
        record->SetValue(0, name + " edit " + std::to_string(i));
        record->SetValue(1, name + " memo " + std::to_string(i));
    }
    return category;
}

template <class T> T* Find(QWidget* root, const char* name) {
    T* widget = root->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no widget named %s", name);
    return widget;
}

// Moves the pointer over a widget without a button down.
inline void Hover(QWidget* widget, const QPoint& point) {
    QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Types text, letters beyond ASCII included, as key presses carrying the text.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Hovers, presses, moves and releases the left button.
inline void Drag(QWidget* widget, const QPoint& from, const QPoint& to) {
    Hover(widget, from);
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

// Drags the header of the column shown at fromVisual onto the one shown at toVisual with the mouse.
inline void DragHeader(QHeaderView* header, int fromVisual, int toVisual) {
    QWidget* viewport = header->viewport();
    const int y = header->height() / 2;
    const QPoint from(header->sectionViewportPosition(header->logicalIndex(fromVisual)) + 10, y);
    const int target = header->logicalIndex(toVisual);
    // Past the middle of the target section, on the side the section moves to.
    const int toX = header->sectionViewportPosition(target) +
                    (toVisual > fromVisual ? header->sectionSize(target) - 4 : 4);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(viewport, QPoint(from.x() + (toX - from.x()) * step / 4, y));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(toX, y));
}

// Runs act on the modal window named name once it shows (polling the event loop it runs).
inline void WhenShown(const QString& name, std::function<void(QWidget*)> act) {
    // The timer goes with the window that is modal now (the editor), so none outlives its test.
    auto* timer = new QTimer(QApplication::activeModalWidget());
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name, act, ticks] {
        QWidget* modal = QApplication::activeModalWidget();
        if ((modal && modal->objectName() == name && modal->isVisible()) || ++*ticks > 2000) {
            timer->stop();
            timer->deleteLater();
            if (modal && modal->objectName() == name)
                act(modal);
        }
    });
    timer->start();
}

// Chooses a row of the category chooser and answers OK, or Cancel with row -1.
inline void AnswerSelectCategory(int row) {
    WhenShown(QStringLiteral("DlgSelectCategory"), [row](QWidget* dialog) {
        if (row < 0) {
            QTest::mouseClick(Find<QPushButton>(dialog, "BtnCancel"), Qt::LeftButton);
            return;
        }
        auto* combo = Find<QComboBox>(dialog, "CBCategory");
        combo->setCurrentIndex(row);
        QTest::mouseClick(Find<QPushButton>(dialog, "BtnOK"), Qt::LeftButton);
    });
}

// Types caption into the column caption dialog and answers OK, or Cancel when ok is false.
inline void AnswerColumnCaption(const QString& caption, bool ok = true) {
    WhenShown(QStringLiteral("DlgSetColumnCaption"), [caption, ok](QWidget* dialog) {
        QTest::keyClicks(Find<QLineEdit>(dialog, "LabeledEdit1"), caption);
        QTest::mouseClick(Find<QPushButton>(dialog, ok ? "BtnOK" : "BtnCancel"), Qt::LeftButton);
    });
}

// The editor running on a working copy of Data.
class TEditor {
public:
    TDataFile Data;
    TDataFile Copy;
    std::unique_ptr<TTemplateEditor> Form;

    TEditor() { MessageBoxTesting::Enable(); }
    ~TEditor() { MessageBoxTesting::Disable(); }

    void Open() {
        Copy.BuildWorkingCopy(Data);
        Form = std::make_unique<TTemplateEditor>();
        Form->Open(Copy);
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }

    template <class T = QWidget> T* Widget(const char* name) const { return Find<T>(Form.get(), name); }
    QWidget* Panel() const { return Widget("Panel4"); }
    QTreeWidget* Categories() const { return Widget<QTreeWidget>("ListView1"); }
    TCategory* Current() const { return Copy.Categories[static_cast<size_t>(SelectedRow())].get(); }

    int SelectedRow() const {
        const QList<QTreeWidgetItem*> rows = Categories()->selectedItems();
        return rows.isEmpty() ? -1 : Categories()->indexOfTopLevelItem(rows.constFirst());
    }

    void ClickRow(int row) const {
        QTreeWidget* list = Categories();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(row)).center());
    }

    void Click(const char* name) const { QTest::mouseClick(Widget(name), Qt::LeftButton); }

    // Triggers one of the editor's named commands, as its button or menu item would.
    void Trigger(const char* name) const {
        auto* action = Form->findChild<QAction*>(QLatin1String(name));
        if (!action)
            qFatal("no action named %s", name);
        action->trigger();
    }

    // The control showing the element with this id on the design surface.
    QWidget* Control(int32_t id) const {
        for (QWidget* child : Panel()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (TemplateControls::ElementIdOf(child) == id)
                return child;
        }
        return nullptr;
    }

    // The id of the selected element, read from what the user sees: the control inside the frame.
    int32_t SelectedId() const {
        QWidget* frame = Widget("PBSelectBox");
        if (!frame->isVisible())
            return 0;
        for (QWidget* child : Panel()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const int32_t id = TemplateControls::ElementIdOf(child);
            if (id != 0 && frame->geometry().adjusted(4, 4, -5, -5) == child->geometry())
                return id;
        }
        return -1;
    }

    // Presses and releases on an element (without moving) to select it.
    void SelectElementAt(int32_t id) const {
        const QPoint inside = Control(id)->geometry().topLeft() + QPoint(2, 2);
        Hover(Panel(), inside);
        QTest::mouseClick(Panel(), Qt::LeftButton, {}, inside);
    }

    // Presses a key on the design surface, which has the keyboard while an element is selected.
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(Panel(), key, modifiers);
    }

    // Opens the element menu on an element and picks "&Duplicate This Element" by its key.
    void Duplicate(int32_t id) const {
        const QPoint inside = Control(id)->geometry().topLeft() + QPoint(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside, Panel()->mapToGlobal(inside));
        QApplication::sendEvent(Panel(), &event);
        auto* menu = Widget<QMenu>("PopupMenu3");
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_D);
    }

    // Places an element with a tool by a click on the grid; a text box's question gets answer.
    void Place(const char* tool, const QPoint& at,
               QMessageBox::StandardButton answer = QMessageBox::No) const {
        Click(tool);
        if (std::string_view(tool) != "TBLabel")
            MessageBoxTesting::QueueAnswer(answer);
        QTest::mouseClick(Panel(), Qt::LeftButton, {}, at);
    }

    // Closes through a frame button with the close question answered.
    void CloseWith(const char* button, QMessageBox::StandardButton answer) const {
        MessageBoxTesting::QueueAnswer(answer);
        Click(button);
    }
};

// The editor on its first category: the sample one, or an empty one named "Empty".
inline void OpenOnCategory(TEditor& editor, bool sample = true, int records = 0) {
    if (sample)
        AddSampleCategory(editor.Data, "Books", records);
    else
        editor.Data.AddCategory()->Name = "Empty";
    editor.Open();
    editor.ClickRow(0);
}

// The list preview's captions in the order shown.
inline QStringList PreviewCaptions(const TEditor& editor) {
    auto* preview = editor.Widget<QTreeView>("ListView2");
    QStringList captions;
    for (int visual = 0; visual < preview->header()->count(); ++visual)
        captions << preview->model()
                        ->headerData(preview->header()->logicalIndex(visual), Qt::Horizontal)
                        .toString();
    return captions;
}

// The list-column question after a text box is placed, and its note while the list has no column.
inline const QString kQuestion =
    QStringLiteral("Also show the content in this text box in the list view?\r\n\r\n");
inline const QString kNote =
    QStringLiteral("At least one text field should be shown in the list view in each category.\r\n\r\n");

// Fails the test when a box found no queued answer or an answer was left over.
inline void VerifyAllAnswered() {
    QCOMPARE(MessageBoxTesting::TakeUnanswered(), QStringList());
    QCOMPARE(MessageBoxTesting::PendingAnswers(), 0);
}

inline QStringList ShownTexts() {
    QStringList texts;
    for (const MessageBoxTesting::TShownBox& box : MessageBoxTesting::TakeShown())
        texts << box.Text;
    return texts;
}

} // namespace TemplateTest
