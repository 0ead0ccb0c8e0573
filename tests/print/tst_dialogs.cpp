// SPDX-License-Identifier: GPL-3.0-or-later
// The print options dialog and the field selection dialog, driven through their real controls.

#include "PrintTestSupport.h"

#include "print/PrintFieldsDialog.h"
#include "print/PrintOptionsDialog.h"
#include "settings/Settings.h"
#include "ui/dialogs/FontDialogs.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace MainTest;
using namespace PrintTest;

namespace {

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts.append(list.item(row)->text());
    }
    return texts;
}

QStringList SelectedTexts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected()) {
            texts.append(list.item(row)->text());
        }
    }
    return texts;
}

// Clicks the entries in the order given, the first plainly, the others with Ctrl held.
void ClickEntries(QListWidget& list, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) {
        const QList<QListWidgetItem*> found = list.findItems(texts[i], Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(texts[i]));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                          list.visualItemRect(found.front()).center());
    }
}

std::vector<QString> Captions(const QStringList& texts) {
    return std::vector<QString>(texts.begin(), texts.end());
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TPrintSandbox> FSandbox;
    std::unique_ptr<TPrintOptionsDialog> FDialog;

    QListWidget& LeftList() const { return *Child<QListWidget>(FDialog->FieldsDialog(), "LVPrint"); }
    QListWidget& RightList() const { return *Child<QListWidget>(FDialog->FieldsDialog(), "LVNotPrint"); }
    QString FieldsCaption() const { return Child<QPushButton>(*FDialog, "BtnSelectFields")->text(); }

private slots:
    void init() {
        FSandbox = std::make_unique<TPrintSandbox>();
        FDialog = std::make_unique<TPrintOptionsDialog>();
    }
    void cleanup() {
        FDialog.reset();
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void looksAsDesigned() {
        QCOMPARE(FDialog->windowTitle(), QStringLiteral("Print"));
        QVERIFY(FDialog->width() >= 290 && FDialog->height() >= 224);
        QCOMPARE(FDialog->minimumSize(), FDialog->maximumSize());
        QVERIFY(DialogButton(*FDialog, "BtnOK")->isDefault());
        QVERIFY(DialogButton(FDialog->FieldsDialog(), "BtnOK")->isDefault());
        QCOMPARE(FDialog->FieldsDialog().windowTitle(), QStringLiteral("Select Fields"));
        QVERIFY(!(FDialog->FieldsDialog().windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(FDialog->PageNumbers(), TPageNumbers::Header);
    }

    // Only a selected record can be printed; the list's buttons serve only a list print.
    void recordOptionFollowsTheSelection_data() {
        QTest::addColumn<bool>("recordSelected");
        QTest::newRow("record selected") << true;
        QTest::newRow("no record selected") << false;
    }
    void recordOptionFollowsTheSelection() {
        QFETCH(bool, recordSelected);
        FDialog->Prepare(recordSelected, Captions({"Name"}));
        FDialog->show();
        QVERIFY(QTest::qWaitForWindowActive(FDialog.get()));
        auto* record = Child<QRadioButton>(*FDialog, "RBPrintRecord");
        auto* list = Child<QRadioButton>(*FDialog, "RBPrintList");
        QCOMPARE(record->isEnabled(), recordSelected);
        QCOMPARE(record->isChecked(), recordSelected);
        QCOMPARE(list->isChecked(), !recordSelected);
        QCOMPARE(FDialog->PrintRecord(), recordSelected);
        QCOMPARE((recordSelected ? record : list)->hasFocus(), true);
        QCOMPARE(Child<QPushButton>(*FDialog, "BtnSelectFields")->isEnabled(), !recordSelected);
        QCOMPARE(Child<QPushButton>(*FDialog, "BtnFont")->isEnabled(), !recordSelected);
    }

    void radioButtonsSwitchTheListButtons() {
        FDialog->Prepare(true, Captions({"Name"}));
        FDialog->show();
        auto* fields = Child<QPushButton>(*FDialog, "BtnSelectFields");
        auto* font = Child<QPushButton>(*FDialog, "BtnFont");
        QTest::mouseClick(Child<QRadioButton>(*FDialog, "RBPrintList"), Qt::LeftButton);
        QVERIFY(fields->isEnabled() && font->isEnabled());
        QVERIFY(!FDialog->PrintRecord());
        QTest::mouseClick(Child<QRadioButton>(*FDialog, "RBPrintRecord"), Qt::LeftButton);
        QVERIFY(!fields->isEnabled() && !font->isEnabled());
        QVERIFY(FDialog->PrintRecord());
    }

    void fieldsCaption_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("caption");
        QTest::newRow("none") << QStringList() << "0 Field Selected";
        QTest::newRow("one") << QStringList{"A"} << "1 Field Selected";
        QTest::newRow("two") << QStringList{"A", "B"} << "2 Fields Selected";
        QTest::newRow("five") << QStringList{"A", "B", "C", "D", "E"} << "5 Fields Selected";
    }
    void fieldsCaption() {
        QFETCH(QStringList, captions);
        QFETCH(QString, caption);
        FDialog->Prepare(false, Captions(captions));
        QCOMPARE(FieldsCaption(), caption);
    }

    // Every showing starts with every column to print, captions without their blanks, whatever
    // the last showing left.
    void everyShowingStartsWithAllColumns() {
        FDialog->Prepare(false, Captions({"  Name ", "Town", "Zip"}));
        FDialog->FieldsDialog().show();
        ClickEntries(LeftList(), {"Town"});
        QTest::mouseClick(Child<QToolButton>(FDialog->FieldsDialog(), "BtnMoveRight"), Qt::LeftButton);
        QCOMPARE(Texts(RightList()), QStringList{"Town"});
        FDialog->FieldsDialog().hide();

        FDialog->Prepare(false, Captions({"  Name ", "Town", "Zip"}));
        QCOMPARE(Texts(LeftList()), (QStringList{"Name", "Town", "Zip"}));
        QCOMPARE(Texts(RightList()), QStringList());
        QCOMPARE(FDialog->PrintColumns(), (std::vector<int>{0, 1, 2}));
    }

    void moveButtons_data() {
        QTest::addColumn<QStringList>("clicked");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("right");
        QTest::addColumn<QStringList>("selected");
        const QStringList all{"A", "B", "C", "D"};
        QTest::newRow("up on the first does nothing")
            << QStringList{"A"} << "BtnMoveUp" << all << QStringList() << QStringList{"A"};
        QTest::newRow("down on the last does nothing")
            << QStringList{"D"} << "BtnMoveDown" << all << QStringList() << QStringList{"D"};
        QTest::newRow("up") << QStringList{"C"} << "BtnMoveUp" << QStringList{"A", "C", "B", "D"}
                            << QStringList() << QStringList{"C"};
        QTest::newRow("down") << QStringList{"A"} << "BtnMoveDown" << QStringList{"B", "A", "C", "D"}
                              << QStringList() << QStringList{"A"};
        QTest::newRow("up moves the first selected alone")
            << QStringList{"D", "B"} << "BtnMoveUp" << QStringList{"B", "A", "C", "D"} << QStringList()
            << QStringList{"B"};
        QTest::newRow("right keeps the list's order")
            << QStringList{"D", "A", "C"} << "BtnMoveRight" << QStringList{"B"} << QStringList{"A", "C", "D"}
            << QStringList();
        QTest::newRow("nothing selected")
            << QStringList() << "BtnMoveUp" << all << QStringList() << QStringList();
    }
    void moveButtons() {
        QFETCH(QStringList, clicked);
        QFETCH(QString, button);
        QFETCH(QStringList, left);
        QFETCH(QStringList, right);
        QFETCH(QStringList, selected);
        FDialog->Prepare(false, Captions({"A", "B", "C", "D"}));
        FDialog->FieldsDialog().show();
        ClickEntries(LeftList(), clicked);
        QCOMPARE(SelectedTexts(LeftList()).size(), clicked.size());
        QTest::mouseClick(Child<QToolButton>(FDialog->FieldsDialog(), qPrintable(button)), Qt::LeftButton);
        QCOMPARE(Texts(LeftList()), left);
        QCOMPARE(Texts(RightList()), right);
        QCOMPARE(SelectedTexts(LeftList()), selected);
    }

    // Entries moved back go to the end of the print list, in the other list's order; each keeps
    // its column.
    void moveLeftAppendsWithTheirColumns() {
        FDialog->Prepare(false, Captions({"A", "B", "C", "D"}));
        FDialog->FieldsDialog().show();
        ClickEntries(LeftList(), {"A", "C"});
        QTest::mouseClick(Child<QToolButton>(FDialog->FieldsDialog(), "BtnMoveRight"), Qt::LeftButton);
        ClickEntries(RightList(), {"C", "A"});
        QTest::mouseClick(Child<QToolButton>(FDialog->FieldsDialog(), "BtnMoveLeft"), Qt::LeftButton);
        QCOMPARE(Texts(LeftList()), (QStringList{"B", "D", "A", "C"}));
        QCOMPARE(FDialog->PrintColumns(), (std::vector<int>{1, 3, 0, 2}));
    }

    void moveButtonsAreNamedArrows() {
        for (const char* name : {"BtnMoveRight", "BtnMoveLeft", "BtnMoveUp", "BtnMoveDown"}) {
            const auto* button = Child<QToolButton>(FDialog->FieldsDialog(), name);
            QVERIFY2(!button->icon().isNull(), name);
            QVERIFY2(!button->toolTip().isEmpty(), name);
            QCOMPARE(button->accessibleName(), button->toolTip());
        }
    }

    // Through the field button: OK keeps the lists and the caption follows; Cancel (or Escape)
    // puts both lists back as they were when the dialog opened.
    void fieldDialogOkAndCancel_data() {
        QTest::addColumn<QString>("close");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("caption");
        QTest::newRow("OK") << "BtnOK" << QStringList{"A", "C"} << "2 Fields Selected";
        QTest::newRow("Cancel") << "BtnCancel" << QStringList{"B", "A", "C"} << "3 Fields Selected";
        QTest::newRow("Escape") << "" << QStringList{"B", "A", "C"} << "3 Fields Selected";
    }
    void fieldDialogOkAndCancel() {
        QFETCH(QString, close);
        QFETCH(QStringList, left);
        QFETCH(QString, caption);
        FDialog->Prepare(false, Captions({"A", "B", "C"}));
        FDialog->show();
        // A first showing leaves the order changed; the second is the one that is closed.
        OnNextDialog([this](QWidget* widget) {
            if (widget != &FDialog->FieldsDialog()) {
                return false;
            }
            ClickEntries(LeftList(), {"B"});
            QTest::mouseClick(Child<QToolButton>(*widget, "BtnMoveUp"), Qt::LeftButton);
            QTest::mouseClick(DialogButton(*widget, "BtnOK"), Qt::LeftButton);
            return true;
        });
        QTest::mouseClick(Child<QPushButton>(*FDialog, "BtnSelectFields"), Qt::LeftButton);
        QCOMPARE(Texts(LeftList()), (QStringList{"B", "A", "C"}));

        OnNextDialog([this, close](QWidget* widget) {
            if (widget != &FDialog->FieldsDialog()) {
                return false;
            }
            ClickEntries(LeftList(), {"B"});
            QTest::mouseClick(Child<QToolButton>(*widget, "BtnMoveRight"), Qt::LeftButton);
            if (close.isEmpty()) {
                QTest::keyClick(widget, Qt::Key_Escape);
            } else {
                QTest::mouseClick(DialogButton(*widget, qPrintable(close)), Qt::LeftButton);
            }
            return true;
        });
        QTest::mouseClick(Child<QPushButton>(*FDialog, "BtnSelectFields"), Qt::LeftButton);
        QCOMPARE(Texts(LeftList()), left);
        QCOMPARE(Texts(RightList()).size(), 3 - left.size());
        QCOMPARE(FieldsCaption(), caption);
    }

    // The font dialog opens on the print font; the face and size chosen are kept, the style is not.
    void fontButton_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("caption");
        QTest::newRow("bold italic is kept as regular")
            << true << "DejaVu Serif" << 14 << "Font: DejaVu Serif 14pt";
        QTest::newRow("cancelled") << false << "Arial" << 9 << "Font: Arial 9pt";
    }
    void fontButton() {
        QFETCH(bool, confirm);
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(QString, caption);
        FDialog->Prepare(false, Captions({"A"}));
        FDialog->show();
        QCOMPARE(Child<QPushButton>(*FDialog, "BtnFont")->text(), QStringLiteral("Font: Arial 9pt"));
        QFont chosen(QStringLiteral("DejaVu Serif"), 14);
        chosen.setBold(true);
        chosen.setItalic(true);
        FontDialogTesting::QueueResult(confirm ? std::optional<QFont>(chosen) : std::nullopt);
        QTest::mouseClick(Child<QPushButton>(*FDialog, "BtnFont"), Qt::LeftButton);
        const QList<QFont> shown = FontDialogTesting::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.front().family(), QStringLiteral("Arial"));
        QCOMPARE(shown.front().pointSize(), 9);
        QCOMPARE(PrintListFont().Name, name);
        QCOMPARE(PrintListFont().Size, size);
        QCOMPARE(Child<QPushButton>(*FDialog, "BtnFont")->text(), caption);
    }

    // The page-number option is the user's for the whole run: a new showing keeps it.
    void pageNumbersKeptBetweenShowings() {
        FDialog->Prepare(true, Captions({"A"}));
        FDialog->show();
        ChoosePageNumbers(*FDialog, 1);
        FDialog->hide();
        FDialog->Prepare(false, Captions({"A", "B"}));
        QCOMPARE(FDialog->PageNumbers(), TPageNumbers::Footer);
        ChoosePageNumbers(*FDialog, 2);
        QCOMPARE(FDialog->PageNumbers(), TPageNumbers::None);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
