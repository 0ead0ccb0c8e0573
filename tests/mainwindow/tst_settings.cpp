// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: read on the first showing, written on closing.

#include "support/WindowTestSupport.h"

#include "settings/Settings.h"

#include <QSplitter>
#include <QTableView>

using namespace MainTest;

class TestSettings : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TSandbox> FSandbox;
    QString FPath;

    // A remembered data file of three categories (ids 1, 2, 3).
    void MakeDataFile() {
        TDataFile data;
        AddCategory(data, "Contacts", {"Name"});
        AddRecord(*AddCategory(data, "Accounts", {"Site", "User"}), {"example.org", "me"});
        AddCategory(data, "Books", {"Title"});
        FPath = FSandbox->FilePath(QStringLiteral("cards.lgd"));
        SaveData(data, FPath);
        WriteSetting(QStringLiteral("DataFile"), FPath);
    }

private slots:
    void init() {
        FSandbox = std::make_unique<TSandbox>();
        MakeDataFile();
    }
    void cleanup() {
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void everySettingIsWrittenOnClosing() {
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 1);
        auto* bar = Child<TCategoryBar>(*form, "FEGXOutlookBar1");
        bar->SetSelectedIndex(1);
        PrintListFont().Name = QStringLiteral("Courier New");
        PrintListFont().Size = 11;
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("SelectedCategoryID")), QStringLiteral("2"));
        QCOMPARE(ReadSetting(QStringLiteral("PanelLeftWidth")),
                 QString::number(Child<QWidget>(*form, "PanelLeft")->width()));
        QCOMPARE(ReadSetting(QStringLiteral("PanelLeftWidth")), QStringLiteral("97"));
        QCOMPARE(ReadSetting(QStringLiteral("ListView1Height")), QStringLiteral("145"));
        QCOMPARE(ReadSetting(QStringLiteral("PrintListFontName")), QStringLiteral("Courier New"));
        QCOMPARE(ReadSetting(QStringLiteral("PrintListFontSize")), QStringLiteral("11"));
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), FPath);
        QVERIFY(!HasSetting(QStringLiteral("BackupDataFile")));
    }

    void noCategoryShownWritesZero() {
        auto form = ShowForm();
        // Closing before the category timer fired: nothing is shown.
        QVERIFY(Browser(*form).CurrentCategory() == nullptr);
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("SelectedCategoryID")), QStringLiteral("0"));
    }

    void rememberedLayoutIsAppliedAndKept() {
        WriteSetting(QStringLiteral("PanelLeftWidth"), QStringLiteral("150"));
        WriteSetting(QStringLiteral("ListView1Height"), QStringLiteral("210"));
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QTRY_COMPARE(Child<QWidget>(*form, "PanelLeft")->width(), 150);
        QTRY_COMPARE(Child<QTableView>(*form, "ListView1")->height(), 210);
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("PanelLeftWidth")), QStringLiteral("150"));
        QCOMPARE(ReadSetting(QStringLiteral("ListView1Height")), QStringLiteral("210"));
    }

    void movedSplittersAreWritten() {
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        auto* right = Child<QSplitter>(*form, "SplitterRight");
        QTRY_COMPARE(Child<QTableView>(*form, "ListView1")->height(), 145);
        right->setSizes({260, right->height() - 260 - right->handleWidth()});
        auto* main = Child<QSplitter>(*form, "SplitterMain");
        main->setSizes({180, main->width() - 180 - main->handleWidth()});
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("PanelLeftWidth")), QStringLiteral("180"));
        QCOMPARE(ReadSetting(QStringLiteral("ListView1Height")), QStringLiteral("260"));
    }

    void valuesThatAreNoWholeNumbersAreIgnored_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("fraction") << QStringLiteral("12.5");
        QTest::newRow("empty") << QString();
        QTest::newRow("trailing text") << QStringLiteral("3px");
        QTest::newRow("too large") << QStringLiteral("99999999999999999999");
    }
    void valuesThatAreNoWholeNumbersAreIgnored() {
        QFETCH(QString, value);
        for (const char* key :
             {"PanelLeftWidth", "ListView1Height", "SelectedCategoryID", "PrintListFontSize"}) {
            WriteSetting(QString::fromLatin1(key), value);
        }
        auto form = ShowForm();
        ShowRememberedCategory(*form);
        QCOMPARE(Browser(*form).CurrentCategory()->ID, 1);
        QCOMPARE(PrintListFont().Size, 9);
        QTRY_COMPARE(Child<QWidget>(*form, "PanelLeft")->width(), 97);
        QTRY_COMPARE(Child<QTableView>(*form, "ListView1")->height(), 145);
        QVERIFY(form->close());
    }

    void printListFontIsRead() {
        WriteSetting(QStringLiteral("PrintListFontName"), QStringLiteral("Times New Roman"));
        WriteSetting(QStringLiteral("PrintListFontSize"), QStringLiteral("12"));
        auto form = ShowForm();
        QCOMPARE(PrintListFont().Name, QStringLiteral("Times New Roman"));
        QCOMPARE(PrintListFont().Size, 12);
        QVERIFY(form->close());
    }

    void missingSettingsGiveTheDefaults() {
        auto form = ShowForm();
        QCOMPARE(PrintListFont().Name, QStringLiteral("Arial"));
        QCOMPARE(PrintListFont().Size, 9);
        QCOMPARE(Browser(*form).SelectedCategoryID(), 0);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
