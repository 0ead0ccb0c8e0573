// SPDX-License-Identifier: GPL-3.0-or-later
// Export to Excel and Import from Excel from the main window: the real commands open the real
// wizards; an exported category comes back as a new category with the same records.

#include "cli/CliRun.h"
#include "support/WindowTestSupport.h"
#include "support/WorkbookReader.h"

#include "exchangewizards/ExportWizard.h"
#include "exchangewizards/ImportWizard.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace MainTest;

namespace {

TDataFile SampleData() {
    TDataFile data;
    TCategory* films = AddCategory(data, "Films", {"Title", "Year"});
    AddRecord(*films, {"Alien", "1979"});
    TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
    AddRecord(*books, {"Emma", "Austen"});
    AddRecord(*books, {"Dracula", "Stoker"});
    return data;
}

// On the wizard of type T once it shows: types path into the file name box, presses "&Next"
// nextClicks times, then closes it. The close button's caption at the end is kept in the result.
template <class T> std::shared_ptr<QString> DriveWizard(const QString& path, int nextClicks) {
    auto closeCaption = std::make_shared<QString>();
    OnNextDialog([path, nextClicks, closeCaption](QWidget* widget) {
        if (qobject_cast<T*>(widget) == nullptr)
            return false;
        QTest::keyClicks(Child<QLineEdit>(*widget, "LEFileName"), path);
        for (int i = 0; i < nextClicks; ++i)
            QTest::mouseClick(Child<QPushButton>(*widget, "BtnNext"), Qt::LeftButton);
        auto* close = Child<QPushButton>(*widget, "BtnCancel");
        *closeCaption = close->text();
        QTest::mouseClick(close, Qt::LeftButton);
        return true;
    });
    return closeCaption;
}

// On the import wizard once it shows: adds the rows of path to the category categorySteps below
// the first on the page of choices, matched by caption, then closes it.
void DriveAppend(const QString& path, int categorySteps) {
    OnNextDialog([path, categorySteps](QWidget* widget) {
        if (qobject_cast<TImportWizard*>(widget) == nullptr)
            return false;
        QTest::mouseClick(Child<QRadioButton>(*widget, "AppendChoice"), Qt::LeftButton);
        QTest::keyClicks(Child<QLineEdit>(*widget, "LEFileName"), path);
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(Child<QPushButton>(*widget, "BtnNext"), Qt::LeftButton);
        auto* category = Child<QComboBox>(*widget, "AppendCategory");
        for (int i = 0; i < categorySteps; ++i)
            QTest::keyClick(category, Qt::Key_Down);
        QTest::mouseClick(Child<QPushButton>(*widget, "BtnNext"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(*widget, "BtnCancel"), Qt::LeftButton);
        return true;
    });
}

} // namespace

class TestExchange : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TSandbox> FSandbox;
    QString FPath;

private slots:
    void init() { FSandbox = std::make_unique<TSandbox>(); }
    void cleanup() {
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void exportThenImportAsANewCategory() {
        WriteSetting(QStringLiteral("SelectedCategoryID"), QStringLiteral("2"));
        auto form = ShowData(*FSandbox, SampleData(), FPath);
        QVERIFY(Child<QAction>(*form, "ActionExportToExcel")->isEnabled());
        QVERIFY(Child<QAction>(*form, "ActionImportFromExcel")->isEnabled());
        const QByteArray before = FileBytes(FPath);

        const QString workbook = FSandbox->FilePath(QStringLiteral("books.xlsx"));
        const auto exported = DriveWizard<TExportWizard>(workbook, 1);
        Trigger(*form, "ActionExportToExcel");
        QCOMPARE(*exported, QStringLiteral("&Close"));
        const auto sheets = WorkbookReader::Read(workbook);
        QCOMPARE(sheets.size(), 1);
        QCOMPARE(sheets[0].Name, QStringLiteral("Books"));
        QCOMPARE(sheets[0].Rows,
                 (QList<QStringList>{{"Title", "Author"}, {"Emma", "Austen"}, {"Dracula", "Stoker"}}));
        // The export only reads.
        QVERIFY(!Session(*form).TimerWriteCache.isActive());
        QCOMPARE(FileBytes(FPath), before);

        const auto imported = DriveWizard<TImportWizard>(workbook, 4);
        Trigger(*form, "ActionImportFromExcel");
        QCOMPARE(*imported, QStringLiteral("&Close"));
        // The bar is refilled and shows the category that was shown before.
        QVERIFY(Browser(*form).TimerSelectCategory.isActive());
        ShowRememberedCategory(*form);
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        QCOMPARE(bar->Count(), 3);
        QCOMPARE(bar->ItemCaption(2), QStringLiteral("Books"));
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 2);
        QVERIFY(Session(*form).TimerWriteCache.isActive());

        Session(*form).TimerWriteCacheTimer();
        const TDataFile saved = LoadData(FPath);
        QCOMPARE(saved.Categories.size(), size_t(3));
        const TCategory& category = *saved.Categories[2];
        QCOMPARE(category.ID, 3);
        QCOMPARE(category.Records.size(), size_t(2));
        for (size_t r = 0; r < 2; ++r)
            QCOMPARE(*category.Records[r], *saved.Categories[1]->Records[r]);

        // The new category shows its records in the list.
        QTest::mouseClick(bar->ItemArea(), Qt::LeftButton, Qt::NoModifier, bar->ItemRect(2).center());
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 3);
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Dracula", "Emma"}));
        QCOMPARE(ListColumnTexts(*form, 1), (QStringList{"Stoker", "Austen"}));

        // One Undo takes the whole import back and nothing else; Redo makes it again.
        auto* undo = Child<QAction>(*form, "ActionUndo");
        QCOMPARE(undo->text(), QStringLiteral("&Undo Import"));
        undo->trigger();
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 2);
        QCOMPARE(bar->Count(), 2);
        Session(*form).TimerWriteCacheTimer();
        QCOMPARE(FileBytes(FPath), before);
        Trigger(*form, "ActionRedo");
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 3);
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Dracula", "Emma"}));
        Session(*form).TimerWriteCacheTimer();
        QCOMPARE(LoadData(FPath).SaveToBytes(), saved.SaveToBytes());
        QVERIFY(form->close());
    }

    void windowStaysAsItWasWhileImporting_data() {
        QTest::addColumn<int>("nextClicks");
        QTest::newRow("file page") << 0;
        // The import has run and the wizard shows "Done!".
        QTest::newRow("after the import") << 4;
    }
    void windowStaysAsItWasWhileImporting() {
        QFETCH(int, nextClicks);
        WriteSetting(QStringLiteral("SelectedCategoryID"), QStringLiteral("2"));
        auto form = ShowData(*FSandbox, SampleData(), FPath);
        const QString workbook = FSandbox->FilePath(QStringLiteral("books.xlsx"));
        const auto exported = DriveWizard<TExportWizard>(workbook, 1);
        Trigger(*form, "ActionExportToExcel");
        QCOMPARE(*exported, QStringLiteral("&Close"));
        ClickRow(*form, 1);
        const QString shownRecord = ControlText(FormControls(*form).at(0));
        const QString caption = Child<QLabel>(*form, "LabelCategory")->text();

        QStringList seen;
        OnNextDialog([&](QWidget* widget) {
            if (qobject_cast<TImportWizard*>(widget) == nullptr)
                return false;
            QTest::keyClicks(Child<QLineEdit>(*widget, "LEFileName"), workbook);
            for (int i = 0; i < nextClicks; ++i)
                QTest::mouseClick(Child<QPushButton>(*widget, "BtnNext"), Qt::LeftButton);
            for (const char* part : {"PanelRight", "PanelDataFormArea", "PanelRecordCommands"})
                if (!Child<QWidget>(*form, part)->isVisible())
                    seen.append(QString::fromLatin1(part) + QStringLiteral(" hidden"));
            seen.append(Child<QLabel>(*form, "LabelCategory")->text());
            seen.append(QString::number(SelectedRow(*form)));
            seen.append(ControlText(FormControls(*form).at(0)));
            QTest::mouseClick(Child<QPushButton>(*widget, "BtnCancel"), Qt::LeftButton);
            return true;
        });
        Trigger(*form, "ActionImportFromExcel");
        QCOMPARE(seen, (QStringList{caption, QStringLiteral("1"), shownRecord}));
        QCOMPARE(shownRecord, QStringLiteral("Emma"));
        QVERIFY(form->close());
    }

    void importIntoAnExistingCategory_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Cancel keeps the file as the tool wrote it") << int(QMessageBox::Cancel);
        QTest::newRow("Yes opens it") << int(QMessageBox::Yes);
        QTest::newRow("No writes the window's records") << int(QMessageBox::No);
    }
    // The wizard adds a row to Books while Films shows: Books then shows with it, one Undo takes
    // it back, and the write cache writes it. quillery-cli import then adds another; the window's
    // next write asks first.
    void importIntoAnExistingCategory() {
        QFETCH(int, answer);
        WriteSetting(QStringLiteral("SelectedCategoryID"), QStringLiteral("1"));
        auto form = ShowData(*FSandbox, SampleData(), FPath);
        const QString workbook = FSandbox->FilePath(QStringLiteral("more.csv"));
        QFile file(workbook);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("author,Title\r\nAusten,Persuasion\r\n");
        file.close();
        DriveAppend(workbook, 1);
        Trigger(*form, "ActionImportFromExcel");
        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 2);
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Dracula", "Emma", "Persuasion"}));
        QCOMPARE(ListColumnTexts(*form, 1), (QStringList{"Stoker", "Austen", "Austen"}));
        QCOMPARE(Child<QAction>(*form, "ActionUndo")->text(), QStringLiteral("&Undo Import"));
        Trigger(*form, "ActionUndo");
        QCOMPARE(Session(*form).DataFile().Categories[1]->Records.size(), size_t(2));
        Trigger(*form, "ActionRedo");
        QCOMPARE(ListColumnTexts(*form, 0), (QStringList{"Dracula", "Emma", "Persuasion"}));
        QVERIFY(Session(*form).TimerWriteCache.isActive());
        Session(*form).TimerWriteCacheTimer();
        QCOMPARE(LoadData(FPath).Categories[1]->Records.size(), size_t(3));

        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Title\r\nNorthanger Abbey\r\n");
        file.close();
        const TRun run = RunCli({QStringLiteral("import"), FPath, workbook, QStringLiteral("Books")});
        QCOMPARE(run.ExitCode, 0);
        const QByteArray imported = FileBytes(FPath);
        Trigger(*form, "ActionNewItem");
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        Session(*form).TimerWriteCacheTimer();
        const QStringList shown = ShownBoxTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(QStringLiteral("was changed by another program")), qPrintable(shown[0]));
        if (answer == QMessageBox::Yes) {
            ShowRememberedCategory(*form);
            QCOMPARE(ListColumnTexts(*form, 0),
                     (QStringList{"Dracula", "Emma", "Northanger Abbey", "Persuasion"}));
        }
        if (answer == QMessageBox::No) // the window's new record last, no Northanger Abbey
            QCOMPARE(std::string(LoadData(FPath).Categories[1]->Records.at(3)->Value(0)), std::string());
        else
            QCOMPARE(FileBytes(FPath), imported);
        QCOMPARE(Session(*form).WritePending(), answer == QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            MessageBoxTesting::QueueAnswer(QMessageBox::Cancel); // asked again on closing
            MessageBoxTesting::QueueAnswer(QMessageBox::Yes);    // and the change is given up
        }
        QVERIFY(form->close());
        ShownBoxTexts();
    }

    void importRefusedOverAnEditedRecord() {
        WriteSetting(QStringLiteral("SelectedCategoryID"), QStringLiteral("2"));
        auto form = ShowData(*FSandbox, SampleData(), FPath);
        TypeIntoBox(FormControls(*form).at(0), QStringLiteral(" changed"));
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        Trigger(*form, "ActionImportFromExcel");
        QCOMPARE(ShownBoxTexts(),
                 QStringList{"Please save or cancel your modification to record before importing "
                             "from Excel file."});
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(2));
        // Closing asks about the edited record.
        MessageBoxTesting::QueueAnswer(QMessageBox::No);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
