// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with the keyboard and at small sizes: the category bar takes the focus and the
// keys, a box reached by Tab scrolls into view, the wheel scrolls the form, the filter stays in
// sight, and destroying answers are never the default.

#include "support/WindowTestSupport.h"

#include "mainwindow/RecordForm.h"
#include "ui/dialogs/FileDialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QWheelEvent>

using namespace MainTest;

class TestKeyboard : public TWindowTest {
    Q_OBJECT
    QString FPath;

    std::unique_ptr<TMainWindow> ShowActive(const TDataFile& data) {
        auto form = ShowData(*FSandbox, data, FPath);
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("window not active");
        return form;
    }

    // Three categories of one record each.
    static TDataFile ThreeCategories() {
        TDataFile data;
        for (const char* name : {"Books", "Films", "Songs"})
            AddRecord(*AddCategory(data, name, {"Title"}), {std::string(name) + " 1"});
        return data;
    }

    // One category whose form is far taller and wider than the window: boxes down and across.
    static TDataFile TallForm(std::vector<int32_t>& ids) {
        TDataFile data;
        TCategory* category = data.AddCategory();
        category->Name = "Tall";
        for (int i = 0; i < 12; ++i)
            ids.push_back(AddElement(*category, kKindEdit, 12 + (i % 2) * 1500, 12 + i * 120, 120, 21));
        category->NewRecord();
        return data;
    }

private slots:
    void categoryBarByKeyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << QStringLiteral("Films");
        QTest::newRow("End") << int(Qt::Key_End) << int(Qt::NoModifier) << QStringLiteral("Songs");
        QTest::newRow("Ctrl+Page Down")
            << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << QStringLiteral("Films");
    }
    void categoryBarByKeyboard() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, shown);
        auto form = ShowActive(ThreeCategories());
        auto* items = Child<QListWidget>(*form, "CategoryBarItems");
        if (modifiers == Qt::NoModifier) {
            // Tab reaches the bar like any other control.
            items->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget(), items);
            QVERIFY(items->focusPolicy() & Qt::TabFocus);
        } else {
            // From anywhere in the window, here the filter box.
            Child<QLineEdit>(*form, "EditSearchBox")->setFocus();
        }
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QCOMPARE(QString::fromStdString(Browser(*form).CurrentCategory()->Name), shown);
        QVERIFY(form->close());
    }

    void categoryChangeByKeyboardAsksAboutEdits_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Cancel stays") << int(QMessageBox::Cancel);
        QTest::newRow("Yes saves and moves") << int(QMessageBox::Yes);
    }
    void categoryChangeByKeyboardAsksAboutEdits() {
        QFETCH(int, answer);
        auto form = ShowActive(ThreeCategories());
        TypeIntoBox(FormControls(*form).constFirst(), QStringLiteral("!"));
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(MessageBoxTesting::TakeShown().size(), 1);
        const bool stays = answer == QMessageBox::Cancel;
        QCOMPARE(Browser(*form).CurrentCategory()->Name, std::string(stays ? "Books" : "Films"));
        QCOMPARE(Session(*form).DataFile().Categories[0]->Records[0]->Value(0),
                 std::string_view(stays ? "Books 1" : "Books 1!"));
        QCOMPARE(RecordForm(*form).Modified(), stays);
        if (stays)
            MessageBoxTesting::QueueAnswer(QMessageBox::No);
        QVERIFY(form->close());
        MessageBoxTesting::TakeShown();
    }

    void tabIntoAHiddenBoxScrollsItIntoView() {
        std::vector<int32_t> ids;
        auto form = ShowActive(TallForm(ids));
        form->resize(800, 600);
        QApplication::processEvents();
        auto* viewport = Child<QWidget>(*form, "PanelDataFormHolder2");
        Child<TRecordForm>(*form, "PanelDataFormArea")->FocusFirstBox();
        for (size_t i = 1; i < ids.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* box = FormControl(*form, ids[i]);
            QCOMPARE(QApplication::focusWidget(), box);
            const QRect shown(box->mapTo(viewport, QPoint(0, 0)), box->size());
            QVERIFY2(viewport->rect().contains(shown),
                     qPrintable(QStringLiteral("box %1 at %2,%3").arg(i).arg(shown.x()).arg(shown.y())));
        }
        QVERIFY(form->close());
    }

    void wheelScrollsTheForm() {
        std::vector<int32_t> ids;
        auto form = ShowActive(TallForm(ids));
        form->resize(800, 600);
        QApplication::processEvents();
        auto* panel = Child<QWidget>(*form, "PanelDataForm");
        auto* bar = Child<QScrollBar>(*form, "SBV");
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->singleStep(), 1); // the arrows keep their step
        const QPoint at(5, 5);
        QWheelEvent down(at, panel->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(panel, &down);
        QVERIFY(bar->value() > 1);
        QCOMPARE(panel->y(), -bar->value());
        QVERIFY(form->close());
    }

    void filterStaysVisibleWhenNarrow() {
        auto form = ShowActive(ThreeCategories());
        form->resize(800, 500);
        QApplication::processEvents();
        auto* box = Child<QLineEdit>(*form, "EditSearchBox");
        QVERIFY(box->isVisible());
        const QRect inWindow(box->mapTo(form.get(), QPoint(0, 0)), box->size());
        QVERIFY(form->rect().contains(inWindow));
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), box);
        QVERIFY(form->close());
    }

    void titleIsExactlyTheDesigned() {
        auto form = ShowActive(ThreeCategories());
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - cards.lgd"));
        // The desktop adds the display name to every title when one is set.
        QVERIFY(QGuiApplication::applicationDisplayName() == QGuiApplication::applicationName());
        QVERIFY(form->close());
    }

    void deleteRecordDefaultsToNo() {
        auto form = ShowActive(ThreeCategories());
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        Trigger(*form, "ActionDeleteItem");
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].DefaultButton, QMessageBox::No);
        QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(1));
        QVERIFY(form->close());
    }

    void chooseDialogSaysItCreatesToo() {
        auto form = ShowActive(ThreeCategories());
        FileDialogTesting::QueueResult(QString());
        Trigger(*form, "ActionChooseDataFile");
        QCOMPARE(FileDialogTesting::TakeShown().constFirst().AcceptLabel, QStringLiteral("&Open or Create"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
