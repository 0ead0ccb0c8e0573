// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a data file with a password, Set Password, and files that fail to load.

#include "support/WindowTestSupport.h"

#include "core/PasswordCases.h"

#include "core/EncryptedFile.h"
#include "core/Error.h"
#include "core/Password.h"
#include "mainwindow/SetPasswordDialog.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/FileDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <optional>

using namespace MainTest;

namespace {

// Types into the Set Password dialog and presses a button; returns through done whether the
// dialog was still open afterwards.
void AnswerSetPassword(const QString& password, const QString& again, const char* button,
                       std::shared_ptr<bool> stillOpen = nullptr,
                       std::optional<bool> encrypt = std::nullopt) {
    OnNextDialog([=](QWidget* widget) {
        auto* dialog = qobject_cast<TSetPasswordDialog*>(widget);
        if (dialog == nullptr) {
            return false;
        }
        auto* first = Child<QLineEdit>(*dialog, "EditPassword");
        auto* second = Child<QLineEdit>(*dialog, "EditAgain");
        if (!first->text().isEmpty() || !second->text().isEmpty() || !first->hasFocus()) {
            return false;
        }
        TypeText(first, password);
        TypeText(second, again);
        auto* check = Child<QCheckBox>(*dialog, "CheckEncrypt");
        if (encrypt && check->isChecked() != *encrypt)
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
        QTest::mouseClick(Child<QPushButton>(*dialog, button), Qt::LeftButton);
        if (stillOpen) {
            *stillOpen = dialog->isVisible();
            // Leave the dialog the way a user would after reading the error.
            if (dialog->isVisible()) {
                QTest::mouseClick(Child<QPushButton>(*dialog, "BtnCancel"), Qt::LeftButton);
            }
        }
        return true;
    });
}

} // namespace

class TestPassword : public TWindowTest {
    Q_OBJECT

    QString FPath;

    void RememberFile(const std::string& password, bool encrypted = false) {
        TDataFile data;
        data.PasswordDigest = PasswordDigest(password);
        if (encrypted)
            data.EncryptionKey = TDataFileKey::Derive(password);
        AddRecord(*AddCategory(data, "Secrets", {"Site"}), {"example.org"});
        FPath = FSandbox->FilePath(QStringLiteral("secret.lgd"));
        SaveData(data, FPath);
        WriteSetting(QStringLiteral("DataFile"), FPath);
    }

    static void VerifyNoDataFileState(TMainWindow& form) {
        QVERIFY(form.isVisible());
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillery"));
        QVERIFY(Session(form).Path().isEmpty());
        QVERIFY(!Session(form).Opened());
        QCOMPARE(Session(form).DataFile().Categories.size(), size_t(0));
        QCOMPARE(Child<TCategoryBar>(form, "FEGXOutlookBar1")->Count(), 0);
        QVERIFY(!Child<QAction>(form, "ActionSetPassword")->isEnabled());
        QVERIFY(!Child<QAction>(form, "ActionBackupDataFile")->isEnabled());
        QVERIFY(!Child<QMenu>(form, "MenuImportExport")->isEnabled());
        QVERIFY(Child<QAction>(form, "ActionChooseDataFile")->isEnabled());
        ShowRememberedCategory(form);
        QVERIFY(Child<QWidget>(form, "PanelRight")->isHidden());
    }

private slots:
    void passwordCheck_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("encrypted");
        QTest::newRow("right") << "secret"
                               << "secret" << false << true << QStringList() << false;
        QTest::newRow("right, UTF-8") << "p\u00e4ss"
                                      << "p\u00e4ss" << false << true << QStringList() << false;
        QTest::newRow("right, beyond Latin-1")
            << QStringLiteral("\u043f\u0430\u0440\u043e\u043b\u044c \u00e6\u00f8\U0001F511")
            << QStringLiteral("\u043f\u0430\u0440\u043e\u043b\u044c \u00e6\u00f8\U0001F511") << false << true
            << QStringList() << false;
        QTest::newRow("right, long with blanks") << QString(2000, QLatin1Char('x')) + QStringLiteral("  y ")
                                                 << QString(2000, QLatin1Char('x')) + QStringLiteral("  y ")
                                                 << false << true << QStringList() << false;
        QTest::newRow("trailing blank missing")
            << "secret "
            << "secret" << false << false << QStringList{"Password error."} << false;
        QTest::newRow("wrong") << "secret"
                               << "Secret" << false << false << QStringList{"Password error."} << false;
        QTest::newRow("empty typed") << "secret"
                                     << "" << false << false << QStringList{"Password error."} << false;
        QTest::newRow("cancelled") << "secret"
                                   << "secret" << true << false << QStringList() << false;
        // An encrypted file asks with the same dialog before anything of it is read.
        QTest::newRow("encrypted, right") << "secret"
                                          << "secret" << false << true << QStringList() << true;
        QTest::newRow("encrypted, wrong")
            << "secret"
            << "Secret" << false << false << QStringList{"Password error."} << true;
        QTest::newRow("encrypted, cancelled") << "secret"
                                              << "secret" << true << false << QStringList() << true;
    }
    void passwordCheck() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, cancel);
        QFETCH(bool, opens);
        QFETCH(QStringList, boxes);
        QFETCH(bool, encrypted);
        RememberFile(stored.toStdString(), encrypted);
        const QByteArray before = FileBytes(FPath);
        AnswerCheckPassword(typed, cancel);
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        }
        auto form = ShowForm();
        const auto shown = MessageBoxTesting::TakeShown();
        QStringList texts;
        for (const auto& box : shown) {
            QCOMPARE(box.Kind, MessageBoxes::TKind::Error);
            texts.append(box.Text);
        }
        QCOMPARE(texts, boxes);
        if (opens) {
            QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - secret.lgd"));
            QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(1));
            QCOMPARE(Session(*form).DataFile().IsEncrypted(), encrypted);
            QVERIFY(Child<QAction>(*form, "ActionSetPassword")->isEnabled());
        } else {
            VerifyNoDataFileState(*form);
        }
        QVERIFY(form->close());
        // A refused file is left as it was.
        QCOMPARE(FileBytes(FPath), before);
    }

    // A new password on an encrypted file seals it under a key of its own; emptying it writes the
    // plain format. The records never reach the disk readable while the file is encrypted.
    void newPasswordOfAnEncryptedFile() {
        RememberFile("secret", true);
        AnswerCheckPassword(QStringLiteral("secret"));
        auto form = ShowForm();
        QVERIFY(Session(*form).Opened());
        AnswerSetPassword(QStringLiteral("n\u00e9w"), QStringLiteral("n\u00e9w"), "BtnOK");
        Trigger(*form, "ActionSetPassword");
        QVERIFY(form->close());
        const QByteArray sealed = FileBytes(FPath);
        QVERIFY(IsEncryptedContainer(sealed.toStdString()));
        QVERIFY(!sealed.contains("example.org"));
        bool oldPasswordRefused = false;
        try {
            TDataFile().LoadFromFile(FPath.toStdString(), [] { return std::string("secret"); });
        } catch (const EPasswordError&) {
            oldPasswordRefused = true;
        }
        QVERIFY(oldPasswordRefused);

        AnswerCheckPassword(QStringLiteral("n\u00e9w"));
        auto reopened = ShowForm();
        QVERIFY(Session(*reopened).DataFile().IsEncrypted());
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        AnswerSetPassword(QString(), QString(), "BtnOK", nullptr, false);
        Trigger(*reopened, "ActionSetPassword");
        QCOMPARE(ShownBoxTexts(),
                 QStringList{QStringLiteral(
                     "Write the data file without encryption?\r\n\r\nIts records will then be readable "
                     "text: anyone who copies the file can read them with another program, password or "
                     "not.")});
        QVERIFY(reopened->close());
        QVERIFY(FileBytes(FPath).contains("example.org"));
        QVERIFY(!LoadData(FPath).HasPassword());
    }

    // The window accepts exactly the passwords the data store and the command-line tool accept.
    void passwordRule_data() { AddPasswordRuleCases(); }
    void passwordRule() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        RememberFile(stored.toStdString());
        AnswerCheckPassword(typed);
        if (!matches) {
            MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        }
        auto form = ShowForm();
        QCOMPARE(ShownBoxTexts(), matches ? QStringList() : QStringList{QStringLiteral("Password error.")});
        QCOMPARE(Session(*form).Opened(), matches);
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(matches ? 1 : 0));
        QVERIFY(form->close());
    }

    void checkDialogLooksAsDesigned() {
        RememberFile("x");
        OnNextDialog([](QWidget* dialog) {
            const bool ok = dialog->windowTitle() == QStringLiteral("Quillery") &&
                            Child<QLabel>(*dialog, "LabelText")->text() ==
                                QStringLiteral("Please specify the password for the current data file:") &&
                            Child<QLineEdit>(*dialog, "EditPassword")->echoMode() == QLineEdit::Password &&
                            Child<QPushButton>(*dialog, "BtnOK")->text() == QStringLiteral("O&K") &&
                            Child<QPushButton>(*dialog, "BtnOK")->isDefault() &&
                            Child<QPushButton>(*dialog, "BtnCancel")->text() == QStringLiteral("&Cancel");
            QTest::keyClicks(Child<QLineEdit>(*dialog, "EditPassword"), ok ? QStringLiteral("x") : QString());
            QTest::keyClick(dialog, Qt::Key_Return);
            return true;
        });
        auto form = ShowForm();
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(1));
        QVERIFY(form->close());
    }

    void refusedPasswordOnAFirstRunEndsTheProgram() {
        TDataFile data;
        data.PasswordDigest = PasswordDigest("secret");
        const QString path = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(data, path);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok); // welcome
        FileDialogTesting::QueueResult(path);
        AnswerCheckPassword(QString(), true);
        auto form = ShowForm();
        QTRY_VERIFY(!form->isVisible());
        MessageBoxTesting::TakeShown();
    }

    void filesThatFailToLoadLeaveNoDataFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a data file") << QByteArray("hello, world, this is text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << QByteArray::fromStdString(TDataFile().SaveToBytes()).left(6);
    }
    void filesThatFailToLoadLeaveNoDataFile() {
        QFETCH(QByteArray, bytes);
        FPath = FSandbox->FilePath(QStringLiteral("broken.lgd"));
        QFile file(FPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        WriteSetting(QStringLiteral("DataFile"), FPath);
        QString expected;
        try {
            LoadData(FPath);
        } catch (const EStreamError& error) {
            // A damaged file's box also names the file.
            expected = QString::fromStdString(error.what()) + QStringLiteral("\r\n\r\n") + FPath;
        } catch (const EQuilleryError& error) {
            expected = QString::fromStdString(error.what());
        }
        QVERIFY(!expected.isEmpty());

        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        auto form = ShowForm();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Error);
        QCOMPARE(boxes[0].Text, expected);
        VerifyNoDataFileState(*form);
        QVERIFY(form->close());
        QCOMPARE(FileBytes(FPath), bytes);
    }

    void setPasswordThenReopenAsksForIt() {
        RememberFile("");
        auto form = ShowForm();
        QVERIFY(Session(*form).Opened());
        AnswerSetPassword(QStringLiteral("n\u00e9w"), QStringLiteral("n\u00e9w"), "BtnOK");
        Trigger(*form, "ActionSetPassword");
        QCOMPARE(Session(*form).DataFile().PasswordDigest, PasswordDigest("n\xc3\xa9w"));
        QVERIFY(Session(*form).WritePending());
        QVERIFY(form->close());
        // A first password encrypts the file unless the user unticks it.
        QVERIFY(IsEncryptedContainer(FileBytes(FPath).toStdString()));
        QVERIFY(!FileBytes(FPath).contains("example.org"));

        AnswerCheckPassword(QStringLiteral("n\u00e9w"));
        auto reopened = ShowForm();
        QVERIFY(Session(*reopened).Opened());
        QVERIFY(reopened->close());
    }

    // A record saved in an encrypted file by the write cache, a backup and the exit leaves no file
    // anywhere in the sandbox (data, backup and temporary folders) that holds it readable.
    void nothingReadableOnDisk() {
        const std::string marker = "MARK-8c41-never-on-disk";
        RememberFile("secret", true);
        AnswerCheckPassword(QStringLiteral("secret"));
        auto form = ShowForm();
        QVERIFY(Session(*form).Opened());
        Session(*form).DataFile().Categories[0]->Records[0]->SetValue(0, marker);
        Session(*form).MarkDataChanged();
        Session(*form).TimerWriteCacheTimer();
        QVERIFY(!Session(*form).WritePending());
        FileDialogTesting::QueueResult(TFolders::BackupFolder() + QStringLiteral("copy.lgd"));
        Trigger(*form, "ActionBackupDataFile");
        QVERIFY(QFileInfo::exists(TFolders::BackupFolder() + QStringLiteral("copy.lgd")));
        Session(*form).DataFile().Categories[0]->Records[0]->SetValue(0, marker + " at exit");
        Session(*form).MarkDataChanged();
        QVERIFY(form->close());

        int files = 0;
        QDirIterator it(FSandbox->Root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            ++files;
            QVERIFY2(!FileBytes(path).contains(QByteArray::fromStdString(marker)), qPrintable(path));
        }
        QVERIFY(files >= 2);
        TDataFile reopened;
        reopened.LoadFromFile(FPath.toStdString(), [] { return std::string("secret"); });
        QCOMPARE(reopened.Categories[0]->Records[0]->Value(0), marker + " at exit");
    }

    // The check box: a plain file with a password stays plain, an encrypted one needs a password,
    // and the Cancel of the question keeps the file encrypted.
    void encryptionChoice_data() {
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QMessageBox::StandardButton>("answer"); // NoButton: no question
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("encryptedAfter");
        QTest::newRow("plain with a password stays plain")
            << false << "other" << false << QMessageBox::NoButton << QStringList() << false;
        QTest::newRow("plain file ticked")
            << false << "other" << true << QMessageBox::NoButton << QStringList() << true;
        QTest::newRow("empty password refused when ticked")
            << true << "" << true << QMessageBox::Ok
            << QStringList{"An encrypted data file needs a password. Type one in both boxes, or untick "
                           "encryption to remove the password."}
            << true;
        QTest::newRow("unticking answered No")
            << true << "secret" << false << QMessageBox::No
            << QStringList{"Write the data file without encryption?\r\n\r\nIts records will then be "
                           "readable text: anyone who copies the file can read them with another "
                           "program, password or not."}
            << true;
    }
    void encryptionChoice() {
        QFETCH(bool, encrypted);
        QFETCH(QString, password);
        QFETCH(bool, tick);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QStringList, boxes);
        QFETCH(bool, encryptedAfter);
        RememberFile("secret", encrypted);
        AnswerCheckPassword(QStringLiteral("secret"));
        auto form = ShowForm();
        QVERIFY(Session(*form).Opened());
        if (answer != QMessageBox::NoButton)
            MessageBoxTesting::QueueAnswer(answer);
        auto stillOpen = std::make_shared<bool>(false);
        AnswerSetPassword(password, password, "BtnOK", stillOpen, tick);
        Trigger(*form, "ActionSetPassword");
        QCOMPARE(ShownBoxTexts(), boxes);
        QCOMPARE(Session(*form).DataFile().IsEncrypted(), encryptedAfter);
        QVERIFY(form->close());
        QCOMPARE(IsEncryptedContainer(FileBytes(FPath).toStdString()), encryptedAfter);
    }

    void differentBoxesKeepTheDialogOpen() {
        RememberFile("");
        auto form = ShowForm();
        auto stillOpen = std::make_shared<bool>(false);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        AnswerSetPassword(QStringLiteral("one"), QStringLiteral("two"), "BtnOK", stillOpen);
        Trigger(*form, "ActionSetPassword");
        QVERIFY(*stillOpen);
        QCOMPARE(ShownBoxTexts(), QStringList{QStringLiteral("The two passwords should be identical.")});
        // Cancelled after the error: nothing changes.
        QCOMPARE(Session(*form).DataFile().PasswordDigest, PasswordDigest(""));
        QVERIFY(!Session(*form).WritePending());
        QVERIFY(form->close());
    }

    void twoEmptyBoxesRemoveThePassword() {
        RememberFile("secret");
        AnswerCheckPassword(QStringLiteral("secret"));
        auto form = ShowForm();
        QVERIFY(Session(*form).Opened());
        AnswerSetPassword(QString(), QString(), "BtnOK");
        Trigger(*form, "ActionSetPassword");
        QVERIFY(!Session(*form).DataFile().HasPassword());
        QVERIFY(form->close());
        QVERIFY(!LoadData(FPath).HasPassword());
        // The next open asks for none: an unexpected dialog would wait and fail the test.
        auto reopened = ShowForm();
        QVERIFY(Session(*reopened).Opened());
        QVERIFY(reopened->close());
    }

    void setPasswordDialogLooksAsDesigned() {
        RememberFile("");
        auto form = ShowForm();
        auto* dialog = form->findChild<TSetPasswordDialog*>();
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Quillery"));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(Child<QLabel>(*dialog, "LabelText")->text(),
                 QStringLiteral("Set the password for the current data file here:"));
        QCOMPARE(Child<QLineEdit>(*dialog, "EditPassword")->echoMode(), QLineEdit::Password);
        QCOMPARE(Child<QLineEdit>(*dialog, "EditAgain")->echoMode(), QLineEdit::Password);
        QCOMPARE(Child<QCheckBox>(*dialog, "CheckEncrypt")->text(),
                 QStringLiteral("Encrypt the data file with this password"));
        QVERIFY(Child<QLabel>(*dialog, "LabelPlainNote")->text().contains(QStringLiteral("not encrypted")));
        AnswerSetPassword(QStringLiteral("a"), QStringLiteral("a"), "BtnCancel");
        Trigger(*form, "ActionSetPassword");
        QCOMPARE(Session(*form).DataFile().PasswordDigest, PasswordDigest(""));
        QVERIFY(!Session(*form).WritePending());
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
