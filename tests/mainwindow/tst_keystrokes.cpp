// SPDX-License-Identifier: GPL-3.0-or-later
// No keystroke throws work away: Escape and Cancel keep edits, the safe answer is the default, a
// pending filter run never interrupts typing elsewhere, and pasted line breaks are stored as CR LF.

#include "support/WindowTestSupport.h"

#include "core/FileIO.h"
#include "ui/dialogs/FileDialogs.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace MainTest;

class TestKeystrokes : public TWindowTest {
    Q_OBJECT
    QString FPath;

    // Two categories, the first with records "a" and "b".
    std::unique_ptr<TMainWindow> ShowTwoCategories() {
        TDataFile data;
        TCategory* things = AddCategory(data, "Things", {"Word"});
        AddRecord(*things, {"a"});
        AddRecord(*things, {"b"});
        AddRecord(*AddCategory(data, "Others", {"Name"}), {"x"});
        return ShowData(*FSandbox, data, FPath);
    }

private slots:
    void leavingAnEditedRecord_data() {
        QTest::addColumn<QString>("move");
        QTest::newRow("another row") << QStringLiteral("row");
        QTest::newRow("another category") << QStringLiteral("category");
        QTest::newRow("another data file") << QStringLiteral("file");
    }
    void leavingAnEditedRecord() {
        // Escape answers Cancel: the edits stay, and so do the record, the category and the file.
        QFETCH(QString, move);
        auto form = ShowTwoCategories();
        QWidget* box = FormControls(*form).constFirst();
        TypeIntoBox(box, QStringLiteral("zz"));
        const QString other = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(TDataFile(), other);
        MessageBoxTesting::QueueAnswer(QMessageBox::Cancel);
        if (move == QStringLiteral("row")) {
            ClickRow(*form, 1);
        } else if (move == QStringLiteral("category")) {
            Child<TCategoryBar>(*form, "FEGXOutlookBar1")->SetSelectedIndex(1);
        } else {
            FileDialogTesting::QueueResult(other);
            Trigger(*form, "ActionChooseDataFile");
        }
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Text, QStringLiteral("Record modified, would you like to save?"));
        QCOMPARE(MessageBoxes::EscapeAnswer(boxes[0].Buttons), QMessageBox::Cancel);
        QCOMPARE(boxes[0].DefaultButton, QMessageBox::Yes);
        QCOMPARE(Session(*form).Path(), FPath);
        QCOMPARE(Browser(*form).CurrentCategory()->Name, std::string("Things"));
        QCOMPARE(Child<TCategoryBar>(*form, "FEGXOutlookBar1")->SelectedIndex(), 0);
        QCOMPARE(SelectedRow(*form), 0);
        QVERIFY(RecordForm(*form).Modified());
        QCOMPARE(ControlText(box), QStringLiteral("azz"));

        // Saving afterwards keeps what was typed.
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        QCOMPARE(Browser(*form).CurrentRecord()->Value(0), std::string_view("azz"));
        QVERIFY(form->close());
    }

    void unwrittenChangesAreKeptByDefault() {
        auto form = ShowTwoCategories();
        Session(*form).DataFile().Categories[0]->Name = "Novels";
        Session(*form).MarkDataChanged();
        // The next write fails as on a full disk.
        SetWriteFailureForTesting(0);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        QVERIFY(!form->close());
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 2);
        QVERIFY(boxes[1].Text.startsWith(QStringLiteral("The latest changes could not be written")));
        QCOMPARE(boxes[1].DefaultButton, QMessageBox::No);
        QVERIFY(Session(*form).WritePending());
        QVERIFY(form->close());
        QCOMPARE(LoadData(FPath).Categories[0]->Name, std::string("Novels"));
    }

    void pendingFilterRunsBeforeTheNextCommand() {
        // Ctrl+F, "a", Ctrl+N and then typing at once: the filter runs before New Record acts,
        // and no question ever comes up in the middle of the typing.
        auto form = ShowTwoCategories();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        auto* filter = Child<QLineEdit>(*form, "EditSearchBox");
        QCOMPARE(QApplication::focusWidget(), filter);
        QTest::keyClicks(filter, QStringLiteral("a"));
        QVERIFY(FilterBar(*form).TimerSearch.isActive());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!FilterBar(*form).TimerSearch.isActive());
        QCOMPARE(ListColumnTexts(*form, 0), QStringList{QStringLiteral("a")});
        // A filtered list takes no new records; the typing goes on where the focus is.
        QCOMPARE(Browser(*form).CurrentCategory()->Records.size(), size_t(2));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Sunny Day"));
        QVERIFY(MessageBoxTesting::TakeShown().isEmpty());
        QVERIFY(form->close());
    }

    void pendingFilterRunsWhenTheBoxLosesFocus() {
        auto form = ShowTwoCategories();
        auto* filter = Child<QLineEdit>(*form, "EditSearchBox");
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        filter->setFocus();
        QTest::keyClicks(filter, QStringLiteral("b"));
        QVERIFY(FilterBar(*form).TimerSearch.isActive());
        Child<QWidget>(*form, "ListView1")->setFocus();
        QVERIFY(!FilterBar(*form).TimerSearch.isActive());
        QCOMPARE(ListColumnTexts(*form, 0), QStringList{QStringLiteral("b")});
        QVERIFY(form->close());
    }

    void damagedFileNamesTheFileInItsError() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Things", {"Word"}), {"a"});
        const QString path = RememberData(*FSandbox, data);
        QByteArray bytes = FileBytes(path);
        bytes.chop(3);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        auto form = ShowForm();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].Text.startsWith(QStringLiteral("Stream read error")), qPrintable(boxes[0].Text));
        QVERIFY2(boxes[0].Text.endsWith(path), qPrintable(boxes[0].Text));
        QVERIFY(!Session(*form).Opened());
        form->close();
    }

    void pastedLineBreaksAreStoredAsCrLf() {
        auto form = ShowTwoCategories();
        auto* box = qobject_cast<QLineEdit*>(FormControls(*form).constFirst());
        QVERIFY(box != nullptr);
        box->setFocus();
        box->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree\rfour"));
        box->paste();
        QTest::mouseClick(Child<QPushButton>(*form, "BtnSaveData"), Qt::LeftButton);
        const std::string_view stored = Browser(*form).CurrentRecord()->Value(0);
        QVERIFY2(stored.find('\n') == std::string_view::npos || stored.find("\r\n") != std::string_view::npos,
                 std::string(stored).c_str());
        for (size_t i = 0; i < stored.size(); ++i) {
            if (stored[i] == '\n')
                QVERIFY(i > 0 && stored[i - 1] == '\r');
            if (stored[i] == '\r')
                QVERIFY(i + 1 < stored.size() && stored[i + 1] == '\n');
        }
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestKeystrokes)
#include "tst_keystrokes.moc"
