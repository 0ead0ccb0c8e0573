// SPDX-License-Identifier: GPL-3.0-or-later
// The first run: welcome box, choosing a new data file, the templates question.

#include "support/WindowTestSupport.h"

#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/FileDialogs.h"

#include <QAction>

using namespace MainTest;

namespace {

const QString kWelcome = QStringLiteral(
    "Welcome to use Quillery. Before you can use this program, please specify a file that will be used to "
    "store your data. \r\n\r\nClick OK to specify the data file. If the file does not exist, it will be "
    "created. Or click Cancel to exit this program.\r\n\r\n");
const QString kTemplatesQuestion = QStringLiteral(
    "You have specified a new data file. Do you want to use existing templates?\r\n\r\nClick Yes to apply "
    "existing templates to your data file, or click No to just create a blank data file.\r\n\r\n");

} // namespace

class TestFirstRun : public TWindowTest {
    Q_OBJECT

    // A starter template of two categories in the program's Templates folder.
    void MakeTemplate() {
        TDataFile templ;
        AddCategory(templ, "Contacts", {"Name", "Phone"});
        AddCategory(templ, "Books", {"Title"});
        QDir().mkpath(TFolders::TemplatesFolder());
        SaveData(templ, TFolders::TemplateFilePath());
    }

private slots:
    void welcomeCancelEndsTheProgram() {
        // What an earlier run remembered outlives a start that opens no file.
        WriteSetting(QStringLiteral("PanelLeftWidth"), QStringLiteral("150"));
        WriteSetting(QStringLiteral("ListView1Height"), QStringLiteral("222"));
        WriteSetting(QStringLiteral("SelectedCategoryID"), QStringLiteral("7"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Cancel);
        auto form = ShowForm();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Kind, MessageBoxes::TKind::Information);
        QCOMPARE(boxes[0].Text, kWelcome);
        QCOMPARE(boxes[0].Buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QTRY_VERIFY(!form->isVisible());
        QVERIFY(Session(*form).Path().isEmpty());
        QVERIFY(FileDialogTesting::TakeShown().isEmpty());
        QCOMPARE(ReadSetting(QStringLiteral("PanelLeftWidth")), QStringLiteral("150"));
        QCOMPARE(ReadSetting(QStringLiteral("ListView1Height")), QStringLiteral("222"));
        QCOMPARE(ReadSetting(QStringLiteral("SelectedCategoryID")), QStringLiteral("7"));
        QVERIFY(!HasSetting(QStringLiteral("DataFile")));
    }

    void cancelledFileDialogEndsTheProgram() {
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        FileDialogTesting::QueueResult(QString());
        auto form = ShowForm();
        QTRY_VERIFY(!form->isVisible());
        const auto dialogs = FileDialogTesting::TakeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].Title, QStringLiteral("Create/Choose a Data File"));
        QCOMPARE(dialogs[0].Filter, QStringLiteral("Ledgrin files (*.lgd)"));
        QCOMPARE(dialogs[0].DefaultSuffix, QStringLiteral("lgd"));
        QCOMPARE(dialogs[0].Mode, FileDialogs::TMode::ChooseFile);
        // The dialog starts in the program's Data folder, created for it.
        QCOMPARE(QDir(dialogs[0].Folder).canonicalPath(), QDir(TFolders::DataFolder()).canonicalPath());
        QVERIFY(QFileInfo(TFolders::DataFolder()).isDir());
        QVERIFY(!HasSetting(QStringLiteral("DataFile")));
        MessageBoxTesting::TakeShown();
    }

    void yesToTemplatesCopiesTheStarterCategories() {
        MakeTemplate();
        const QString path = FSandbox->FilePath(QStringLiteral("new.lgd"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        FileDialogTesting::QueueResult(path);
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        auto form = ShowForm();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[1].Kind, MessageBoxes::TKind::Confirmation);
        QCOMPARE(boxes[1].Text, kTemplatesQuestion);
        QCOMPARE(boxes[1].Buttons, QMessageBox::Yes | QMessageBox::No);

        QVERIFY(form->isVisible());
        QCOMPARE(Session(*form).Path(), path);
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), path);
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - new.lgd"));
        QCOMPARE(FileBytes(path), FileBytes(TFolders::TemplateFilePath()));
        QVERIFY(!Session(*form).WritePending());
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(2));
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QCOMPARE(bar->Count(), 2);
        QCOMPARE(bar->ItemCaption(0), QStringLiteral("Contacts"));
        QCOMPARE(bar->ItemCaption(1), QStringLiteral("Books"));
        QVERIFY(Child<QAction>(*form, "ActionSetPassword")->isEnabled());
        QVERIFY(Child<QAction>(*form, "ActionBackupDataFile")->isEnabled());

        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).CurrentCategory()->Name, std::string("Contacts"));
        QVERIFY(form->close());
    }

    void noToTemplatesWritesAnEmptyFileAtOnce() {
        MakeTemplate();
        const QString path = FSandbox->FilePath(QStringLiteral("blank.lgd"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        FileDialogTesting::QueueResult(path);
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        auto form = ShowForm();
        MessageBoxTesting::TakeShown();
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - blank.lgd"));
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(!Session(*form).WritePending());
        QVERIFY(!Session(*form).TimerWriteCache.isActive());
        QCOMPARE(LoadData(path).Categories.size(), size_t(0));
        QCOMPARE(FileBytes(path), QByteArray::fromStdString(TDataFile().SaveToBytes()));
        QVERIFY(form->close());
    }

    void newFileInAMissingFolderIsRefused() {
        // The open file stays when the new one cannot be made.
        const QString first = RememberData(*FSandbox, TDataFile());
        auto form = ShowForm();
        const QString path = FSandbox->FilePath(QStringLiteral("missing/blank.lgd"));
        FileDialogTesting::QueueResult(path);
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Trigger(*form, "ActionChooseDataFile");
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[1].Kind, MessageBoxes::TKind::Error);
        QVERIFY2(boxes[1].Text.contains(QStringLiteral("blank.lgd")), qPrintable(boxes[1].Text));
        QCOMPARE(Session(*form).Path(), first);
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillery - cards.lgd"));
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), first);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(form->close());
    }

    void dialogStartsInTheNearestFolderThatExists() {
        const QString first = RememberData(*FSandbox, TDataFile());
        auto form = ShowForm();
        WriteSetting(QStringLiteral("DataFile"), FSandbox->FilePath(QStringLiteral("gone/deeper/old.lgd")));
        FileDialogTesting::QueueResult(QString());
        Trigger(*form, "ActionChooseDataFile");
        const auto dialogs = FileDialogTesting::TakeShown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].Folder, QFileInfo(first).absolutePath());
        QCOMPARE(dialogs[0].FileName, QStringLiteral("old.lgd"));
        QCOMPARE(Session(*form).Path(), first);
        QVERIFY(form->close());
    }

    void failedTemplateCopyIsReportedAndStartsEmpty() {
        // No template file in the program folder.
        const QString path = FSandbox->FilePath(QStringLiteral("new.lgd"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        FileDialogTesting::QueueResult(path);
        MessageBoxTesting::QueueAnswer(QMessageBox::Yes);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        auto form = ShowForm();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes[2].Kind, MessageBoxes::TKind::Error);
        QVERIFY2(boxes[2].Text.contains(QStringLiteral("template1.tpl")), qPrintable(boxes[2].Text));
        QVERIFY(form->isVisible());
        QCOMPARE(Session(*form).Path(), path);
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(0));
        QCOMPARE(LoadData(path).Categories.size(), size_t(0));
        QVERIFY(form->close());
    }

    void rememberedFileThatIsGoneShowsTheWelcome() {
        const QString gone = FSandbox->FilePath(QStringLiteral("gone.lgd"));
        WriteSetting(QStringLiteral("DataFile"), gone);
        WriteSetting(QStringLiteral("PanelLeftWidth"), QStringLiteral("150"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Cancel);
        auto form = ShowForm();
        QCOMPARE(ShownBoxTexts(), QStringList{kWelcome});
        QTRY_VERIFY(!form->isVisible());
        // The settings keep the old name until a new file is chosen.
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), gone);
        QVERIFY(!QFileInfo::exists(gone));
    }

    void chosenExistingFileOpensWithoutTheTemplatesQuestion() {
        TDataFile data;
        AddCategory(data, "Recipes", {"Dish"});
        const QString path = FSandbox->FilePath(QStringLiteral("recipes.lgd"));
        SaveData(data, path);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        FileDialogTesting::QueueResult(path);
        auto form = ShowForm();
        QCOMPARE(ShownBoxTexts(), QStringList{kWelcome});
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(1));
        QVERIFY(!Session(*form).WritePending());
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_firstrun.moc"
