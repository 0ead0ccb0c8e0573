// SPDX-License-Identifier: GPL-3.0-or-later
// The import wizard adding worksheet rows to an existing category, driven by keyboard and mouse.

#include "WizardTestSupport.h"
#include "exchange/MinimalPackage.h"

#include "exchangewizards/ImportWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace WizardTest;

class TAppendWizardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() {
        FWizard.reset();
        TDialogs::Verify();
        FDialogs.reset();
    }
    void AddsRowsToTheChosenCategory_data();
    void AddsRowsToTheChosenCategory();

private:
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

void TAppendWizardTest::AddsRowsToTheChosenCategory_data() {
    QTest::addColumn<QByteArray>("workbook"); // a .csv file, or else a .xlsx one
    QTest::addColumn<QStringList>("choices"); // "column:text" typed into that column's drop-down
    QTest::addColumn<bool>("skipDuplicates");
    QTest::addColumn<QStringList>("added"); // values joined by "|"
    QTest::addColumn<QString>("message");   // the box shown instead, if any

    QTest::newRow("captions ignoring case") << QByteArray("nAME, TOWN \r\nCid,Rome\r\n") << QStringList()
                                            << false << QStringList{"Cid|Rome|"} << QString();
    QTest::newRow("choice for an unknown heading")
        << QByteArray("Name,Where\r\nCid,Rome\r\n") << QStringList{"2:Town"} << false
        << QStringList{"Cid|Rome|"} << QString();
    QTest::newRow("choice over the match")
        << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"2:Phone"} << false
        << QStringList{"Cid||Rome"} << QString();
    QTest::newRow("(skip)") << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"2:(skip)"} << false
                            << QStringList{"Cid||"} << QString();
    QTest::newRow("duplicates kept") << QByteArray("Name,Town\r\nAnn,Oslo\r\nCid,Rome\r\n,\r\n")
                                     << QStringList() << false << QStringList{"Ann|Oslo|", "Cid|Rome|"}
                                     << QString();
    QTest::newRow("duplicates skipped") << QByteArray("Name,Town\r\nAnn,Oslo\r\nCid,Rome\r\nBob,\r\n")
                                        << QStringList() << true << QStringList{"Cid|Rome|"} << QString();
    QTest::newRow("one box for two columns")
        << QByteArray("Name,Town\r\nCid,Rome\r\n") << QStringList{"2:Name"} << false << QStringList()
        << "The text box \"Name\" is chosen for more than one column.";
    QTest::newRow("failing workbook") << SharedStringPackage(QByteArray(32767, 'x'), 20, 1000)
                                      << QStringList() << false << QStringList() << "is too large to import.";
}

void TAppendWizardTest::AddsRowsToTheChosenCategory() {
    QFETCH(QByteArray, workbook);
    QFETCH(QStringList, choices);
    QFETCH(bool, skipDuplicates);
    QFETCH(QStringList, added);
    QFETCH(QString, message);
    const QString path = FDir->filePath(workbook.startsWith("PK") ? "rows.xlsx" : "rows.csv");
    WriteFile(path, workbook);
    const std::string before = FData.SaveToBytes();

    QTest::mouseClick(Find<QRadioButton>(FWizard.get(), "AppendChoice"), Qt::LeftButton);
    QTest::keyClicks(Find<QLineEdit>(FWizard.get(), "LEFileName"), path);
    if (!message.isEmpty())
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
    for (int page = 0; page < 4; ++page) {
        Click(FWizard.get(), "BtnNext");
        if (FWizard->PageIndex() == 0) // the workbook failed: back on the file page
            break;
    }
    if (FWizard->PageIndex() != 0) {
        auto* category = Find<QComboBox>(FWizard.get(), "AppendCategory");
        QVERIFY(category->hasFocus());
        QTest::keyClick(category, Qt::Key_Down);
        QCOMPARE(category->currentText(), QStringLiteral("Contacts"));
        for (const QString& choice : choices) {
            auto* boxList =
                Find<QComboBox>(FWizard.get(), qPrintable("AppendBox" + choice.section(':', 0, 0)));
            boxList->setFocus();
            QTest::keyClicks(boxList, choice.section(':', 1));
            QCOMPARE(boxList->currentText(), choice.section(':', 1));
        }
        if (skipDuplicates)
            QTest::keyClick(Find<QCheckBox>(FWizard.get(), "SkipDuplicates"), Qt::Key_Space);
        Click(FWizard.get(), "BtnNext");
    }
    const QStringList shown = TDialogs::ShownTexts();
    QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QVERIFY2(shown[0].endsWith(message), qPrintable(shown[0]));
        QVERIFY(FData.SaveToBytes() == before);
        return;
    }
    QCOMPARE(PageText(FWizard.get()), QStringLiteral("Done!"));
    const auto& records = FData.Categories.back()->Records;
    QStringList texts;
    for (const auto& record : records)
        texts.append(QStringList{QString::fromUtf8(record->Value(0)), QString::fromUtf8(record->Value(1)),
                                 QString::fromUtf8(record->Value(2))}
                         .join('|'));
    QCOMPARE(texts, QStringList({"Ann|Oslo|", "Bob||42"}) + added);
    QCOMPARE(FData.Categories.front()->Records.size(), size_t(1));
    QCOMPARE(Find<QLabel>(FWizard.get(), "AppendSummary")->text().contains("duplicate"), skipDuplicates);
}

QTEST_MAIN(TAppendWizardTest)
#include "tst_appendwizard.moc"
