// SPDX-License-Identifier: GPL-3.0-or-later
// The import wizard adding worksheet rows to an existing category, driven as a user drives it.

#include "WizardTestSupport.h"
#include "exchange/MinimalPackage.h"

#include "exchangewizards/ImportWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>

using namespace WizardTest;

namespace {

// The values of the records from index from on, joined by "|".
QStringList Texts(const TCategory& category, size_t from) {
    QStringList texts;
    for (size_t r = from; r < category.Records.size(); ++r) {
        QStringList values;
        for (int32_t i = 0; i < category.Records[r]->Count(); ++i)
            values.append(QString::fromStdString(std::string(category.Records[r]->Value(i))));
        texts.append(values.join(QLatin1Char('|')));
    }
    return texts;
}

} // namespace

class TAppendWizardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void AddsRowsToTheChosenCategory_data();
    void AddsRowsToTheChosenCategory();
    void AFailingWorkbookChangesNothing_data();
    void AFailingWorkbookChangesNothing();
    void EveryChoiceIsReachedByKeyboard();
    void NoCategoryNoChoice();

private:
    // Chooses the existing category on the file page, opens path and goes on to the page of
    // choices with every column ticked.
    void GoToChoices(const QString& path);
    QComboBox* BoxList(int column) const {
        return Find<QComboBox>(FWizard.get(), qPrintable(QStringLiteral("AppendBox%1").arg(column)));
    }
    QString WriteCsv(const QByteArray& bytes);

    std::unique_ptr<TDialogs> FDialogs;
    std::unique_ptr<QTemporaryDir> FDir;
    TDataFile FData;
    std::unique_ptr<TImportWizard> FWizard;
};

void TAppendWizardTest::init() {
    FDialogs = std::make_unique<TDialogs>();
    FDir = std::make_unique<QTemporaryDir>();
    FData = TDataFile();
    AddRecord(AddCategory(FData, "Existing", {"A"}), {"kept"});
    TCategory& contacts = AddCategory(FData, "Contacts", {"Name", "Town", "Phone"});
    AddRecord(contacts, {"Ann", "Oslo", ""});
    AddRecord(contacts, {"Bob", "", "42"});
    FWizard = std::make_unique<TImportWizard>();
    FWizard->Open(FData);
    QVERIFY(QTest::qWaitForWindowExposed(FWizard.get()));
}

void TAppendWizardTest::cleanup() {
    FWizard.reset();
    TDialogs::Verify();
    FDialogs.reset();
}

QString TAppendWizardTest::WriteCsv(const QByteArray& bytes) {
    const QString path = FDir->filePath(QStringLiteral("rows.csv"));
    WriteFile(path, bytes);
    return path;
}

void TAppendWizardTest::GoToChoices(const QString& path) {
    QTest::mouseClick(Find<QRadioButton>(FWizard.get(), "AppendChoice"), Qt::LeftButton);
    QTest::keyClicks(Find<QLineEdit>(FWizard.get(), "LEFileName"), path);
    for (int page = 0; page < 4; ++page)
        Click(FWizard.get(), "BtnNext");
}

void TAppendWizardTest::AddsRowsToTheChosenCategory_data() {
    QTest::addColumn<QByteArray>("csv");
    // "column:text" typed into that column's drop-down.
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<bool>("skipDuplicates");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("message");

    QTest::newRow("caption ignoring case") << QByteArray("nAME, TOWN \r\nCid,Rome\r\n") << QStringList()
                                           << false << QStringList{"Cid|Rome|"} << QString();
    QTest::newRow("user's choice for an unknown heading")
        << QByteArray("Name,Where\r\nCid,Rome\r\n") << QStringList{"2:Town"} << false
        << QStringList{"Cid|Rome|"} << QString();
    QTest::newRow("user's choice over the match")
        << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"2:Phone"} << false
        << QStringList{"Cid||Rome"} << QString();
    QTest::newRow("skip a column") << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"2:(skip)"}
                                   << false << QStringList{"Cid||"} << QString();
    QTest::newRow("duplicates kept") << QByteArray("Name,Town\r\nAnn,Oslo\r\nCid,Rome\r\n,\r\n")
                                     << QStringList() << false << QStringList{"Ann|Oslo|", "Cid|Rome|"}
                                     << QString();
    QTest::newRow("duplicates skipped") << QByteArray("Name,Town\r\nAnn,Oslo\r\nCid,Rome\r\nBob,\r\n")
                                        << QStringList() << true << QStringList{"Cid|Rome|"} << QString();
    QTest::newRow("one box for two columns")
        << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"2:Name"} << false << QStringList()
        << "The text box \"Name\" is chosen for more than one column.";
    QTest::newRow("every column skipped")
        << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"1:(skip)", "2:(skip)"} << false
        << QStringList() << "Please choose a text box for at least one column.";
}

void TAppendWizardTest::AddsRowsToTheChosenCategory() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, choices);
    QFETCH(bool, skipDuplicates);
    QFETCH(QStringList, added);
    QFETCH(QString, message);
    const std::string before = FData.SaveToBytes();

    GoToChoices(WriteCsv(csv));
    QCOMPARE(PageText(FWizard.get()),
             QStringLiteral("Choose the category and the text box each column fills."));
    auto* category = Find<QComboBox>(FWizard.get(), "AppendCategory");
    QVERIFY(category->hasFocus());
    QCOMPARE(category->count(), 2);
    QTest::keyClick(category, Qt::Key_Down);
    QCOMPARE(category->currentText(), QStringLiteral("Contacts"));
    for (const QString& choice : choices) {
        QComboBox* boxList = BoxList(choice.section(QLatin1Char(':'), 0, 0).toInt());
        const QString text = choice.section(QLatin1Char(':'), 1);
        boxList->setFocus();
        QTest::keyClicks(boxList, text);
        QCOMPARE(boxList->currentText(), text);
    }
    if (skipDuplicates)
        QTest::keyClick(Find<QCheckBox>(FWizard.get(), "SkipDuplicates"), Qt::Key_Space);

    if (!message.isEmpty())
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    Click(FWizard.get(), "BtnNext");
    QCOMPARE(TDialogs::ShownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(PageText(FWizard.get()),
                 QStringLiteral("Choose the category and the text box each column fills."));
        QVERIFY(FData.SaveToBytes() == before);
        return;
    }
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    QCOMPARE(FWizard->ImportedCategoryID(), 0);
    const TCategory& contacts = *FData.Categories.back();
    QCOMPARE(Texts(contacts, 0).mid(0, 2), (QStringList{"Ann|Oslo|", "Bob||42"}));
    QCOMPARE(Texts(contacts, 2), added);
    QCOMPARE(FData.Categories.size(), size_t(2));
    QCOMPARE(FData.Categories.front()->Records.size(), size_t(1));
    QVERIFY(Find<QLabel>(FWizard.get(), "AppendSummary")
                ->text()
                .startsWith(QStringLiteral("%1 record").arg(added.size())));
    QCOMPARE(Find<QLabel>(FWizard.get(), "AppendSummary")->text().contains(QStringLiteral("duplicate")),
             skipDuplicates);
}

void TAppendWizardTest::AFailingWorkbookChangesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("nextClicks");
    QTest::newRow("not a workbook") << "text.xlsx" << QByteArray("Name,Town\r\nCid,Rome\r\n") << 1;
    // Its one shared string would fill more cells than the file accounts for.
    QTest::newRow("worksheet too large")
        << "amplified.xlsx" << SharedStringPackage(QByteArray(32767, 'x'), 20, 1000) << 2;
}

void TAppendWizardTest::AFailingWorkbookChangesNothing() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, nextClicks);
    const QString path = FDir->filePath(name);
    WriteFile(path, bytes);
    const std::string before = FData.SaveToBytes();

    QTest::mouseClick(Find<QRadioButton>(FWizard.get(), "AppendChoice"), Qt::LeftButton);
    QTest::keyClicks(Find<QLineEdit>(FWizard.get(), "LEFileName"), path);
    MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    for (int click = 0; click < nextClicks; ++click)
        Click(FWizard.get(), "BtnNext");
    const auto shown = MessageBoxTesting::TakeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].Kind, MessageBoxes::TKind::Error);
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Select an Excel file and click \"Next\"."));
    QVERIFY(Find<QRadioButton>(FWizard.get(), "AppendChoice")->isChecked());
    QVERIFY(FData.SaveToBytes() == before);
}

// From the category through every column's drop-down to the check box, each shown in the page
// as the focus reaches it.
void TAppendWizardTest::EveryChoiceIsReachedByKeyboard() {
    QStringList headings;
    for (int column = 1; column <= 12; ++column)
        headings.append(QStringLiteral("Heading %1").arg(column));
    GoToChoices(WriteCsv(headings.join(QLatin1Char(',')).toUtf8() + "\r\nx\r\n"));
    auto* scroll = Find<QScrollArea>(FWizard.get(), "AppendColumns");
    QWidget* page = scroll->parentWidget()->parentWidget();
    QVERIFY(Find<QComboBox>(FWizard.get(), "AppendCategory")->hasFocus());
    for (int column = 1; column <= 12; ++column) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QComboBox* boxList = BoxList(column);
        QVERIFY2(boxList->hasFocus(), qPrintable(QStringLiteral("column %1").arg(column)));
        QCOMPARE(boxList->currentText(), QStringLiteral("(skip)"));
        const QRect shown(boxList->mapTo(scroll->viewport(), QPoint(0, 0)), boxList->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto* skip = Find<QCheckBox>(FWizard.get(), "SkipDuplicates");
    QVERIFY(skip->hasFocus());
    QVERIFY(page->rect().contains(QRect(skip->mapTo(page, QPoint(0, 0)), skip->size())));
    QVERIFY(page->rect().contains(QRect(scroll->mapTo(page, QPoint(0, 0)), scroll->size())));
    QVERIFY(scroll->height() >= BoxList(1)->height());
}

// A data file without categories offers only the new category, whatever was chosen before.
void TAppendWizardTest::NoCategoryNoChoice() {
    QTest::mouseClick(Find<QRadioButton>(FWizard.get(), "AppendChoice"), Qt::LeftButton);
    QVERIFY(!Find<QRadioButton>(FWizard.get(), "NewCategoryChoice")->isChecked());
    FWizard->close();
    TDataFile empty;
    FWizard->Open(empty);
    QVERIFY(!Find<QRadioButton>(FWizard.get(), "AppendChoice")->isEnabled());
    QVERIFY(Find<QRadioButton>(FWizard.get(), "NewCategoryChoice")->isChecked());
}

QTEST_MAIN(TAppendWizardTest)
#include "tst_appendwizard.moc"
