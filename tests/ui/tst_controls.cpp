// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the windows: the face a form shows, the command boundary, the message box
// answers Enter and Escape give, and the dialogs' OK and Cancel row.
#include "core/Category.h"
#include "core/Error.h"
#include "ui/DialogButtons.h"
#include "ui/RunCommand.h"
#include "ui/TemplateControls.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void shownFace_data();
    void shownFace();
    void runCommand_data();
    void runCommand();
    void keyAnswers_data();
    void keyAnswers();
    void okCancelRow_data();
    void okCancelRow();
};

void TestControls::shownFace_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("substituted");
    QTest::newRow("the old default face") << "MS Sans Serif" << true;
    QTest::newRow("in other letter case") << "ms sans SERIF" << true;
    QTest::newRow("an installed face") << "DejaVu Serif" << false;
    QTest::newRow("a similar name") << "MS Sans Serif Bold" << false;
    QTest::newRow("empty") << "" << false;
}

// Forms show the desktop's face for "MS Sans Serif"; the element keeps the name it has.
void TestControls::shownFace() {
    QFETCH(QString, stored);
    QFETCH(bool, substituted);
    const QString desktopFace = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    const QString expected = substituted ? desktopFace : stored;
    QCOMPARE(TemplateControls::ShownFace(stored), expected);

    TElement label;
    label.Kind = kKindLabel;
    label.ID = 7;
    label.Caption = "Name:";
    label.Font = TFont{stored.toStdString(), fsBold, 14, 0};
    QWidget form;
    std::unique_ptr<QWidget> control(TemplateControls::Create(label, &form));
    QVERIFY(control);
    QCOMPARE(control->font().family(), expected);
    QCOMPARE(control->font().pointSize(), 14);
    QVERIFY(control->font().bold());
    QCOMPARE(label.Font.Name, stored.toStdString());
}

void TestControls::runCommand_data() {
    QTest::addColumn<int>("failure"); // 0 none, 1 the store's error, 2 another exception
    QTest::addColumn<QString>("shown");
    QTest::newRow("succeeds") << 0 << QString();
    QTest::newRow("the store fails") << 1 << QStringLiteral("Stream read error");
    QTest::newRow("something else fails") << 2 << QStringLiteral("Unknown error.");
}

void TestControls::runCommand() {
    QFETCH(int, failure);
    QFETCH(QString, shown);
    MessageBoxTesting::Enable();
    int ran = 0;
    if (failure != 0)
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    const bool succeeded = RunCommand(nullptr, [&] {
        ++ran;
        if (failure == 1)
            ThrowStreamReadError();
        if (failure == 2)
            throw 42;
    });
    QCOMPARE(ran, 1);
    QCOMPARE(succeeded, failure == 0);
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), failure == 0 ? 0 : 1);
    if (failure != 0) {
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QCOMPARE(boxes[0].Text, shown);
    }
    QCOMPARE(MessageBoxTesting::TakeUnanswered(), QStringList());
    MessageBoxTesting::Disable();
}

void TestControls::keyAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("key"); // QMessageBox::Default for Enter, QMessageBox::Escape
    QTest::addColumn<int>("answer");
    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("Enter, default No")
        << yesNo << int(QMessageBox::No) << int(QMessageBox::Default) << int(QMessageBox::No);
    QTest::newRow("Enter, no default")
        << yesNo << int(QMessageBox::NoButton) << int(QMessageBox::Default) << int(QMessageBox::Yes);
    QTest::newRow("Enter on OK") << int(QMessageBox::Ok) << int(QMessageBox::NoButton)
                                 << int(QMessageBox::Default) << int(QMessageBox::Ok);
    QTest::newRow("Escape, Yes default")
        << yesNo << int(QMessageBox::Yes) << int(QMessageBox::Escape) << int(QMessageBox::No);
    QTest::newRow("Escape with Cancel")
        << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << int(QMessageBox::NoButton)
        << int(QMessageBox::Escape) << int(QMessageBox::Cancel);
}

void TestControls::keyAnswers() {
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, key);
    QFETCH(int, answer);
    MessageBoxTesting::Enable();
    MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(key));
    const QMessageBox::StandardButton given = MessageBoxes::Show(
        nullptr, MessageBoxes::TKind::Warning, QStringLiteral("Delete it?"),
        QMessageBox::StandardButtons(buttons), static_cast<QMessageBox::StandardButton>(defaultButton));
    QCOMPARE(int(given), answer);
    const QList<MessageBoxTesting::TShownBox> boxes = MessageBoxTesting::TakeShown();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(int(boxes[0].DefaultButton), defaultButton);
    QCOMPARE(MessageBoxTesting::TakeUnanswered(), QStringList());
    MessageBoxTesting::Disable();
}

void TestControls::okCancelRow_data() {
    QTest::addColumn<QString>("okText");
    QTest::addColumn<QString>("answer"); // a button's name, or a key
    QTest::addColumn<int>("result");
    for (const QString& okText : {QStringLiteral("&OK"), QStringLiteral("O&K")}) {
        QTest::addRow("%s, OK clicked", qPrintable(okText)) << okText << "BtnOK" << int(QDialog::Accepted);
        QTest::addRow("%s, Cancel clicked", qPrintable(okText))
            << okText << "BtnCancel" << int(QDialog::Rejected);
        QTest::addRow("%s, Enter", qPrintable(okText)) << okText << "Enter" << int(QDialog::Accepted);
        QTest::addRow("%s, Escape", qPrintable(okText)) << okText << "Escape" << int(QDialog::Rejected);
    }
}

void TestControls::okCancelRow() {
    QFETCH(QString, okText);
    QFETCH(QString, answer);
    QFETCH(int, result);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit(&dialog);
    layout->addWidget(edit);
    layout->addWidget(NewOkCancelButtons(&dialog, okText));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("BtnCancel"));
    QVERIFY(ok && cancel);
    QCOMPARE(ok->text(), okText);
    QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
    QVERIFY(ok->isDefault());
    QVERIFY(!cancel->isDefault());

    int finished = -1;
    connect(&dialog, &QDialog::finished, this, [&finished](int code) { finished = code; });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (answer == QLatin1String("Enter"))
        QTest::keyClick(edit, Qt::Key_Return);
    else if (answer == QLatin1String("Escape"))
        QTest::keyClick(edit, Qt::Key_Escape);
    else
        QTest::mouseClick(answer == QLatin1String("BtnOK") ? ok : cancel, Qt::LeftButton);
    QCOMPARE(finished, result);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
