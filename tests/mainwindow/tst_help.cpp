// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu of the real main window: F1 and "&Help Topics", the shortcut page made from the
// window's own commands, the help closing with the window, "Visit Home Page" and "&About...".

#include "support/WindowTestSupport.h"

#include "help/AboutBox.h"
#include "help/HelpBrowser.h"
#include "help/HelpTestSupport.h"
#include "help/HelpWindow.h"
#include "settings/Folders.h"
#include "settings/Settings.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using namespace MainTest;

class TestHelpMenu : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TSandbox> FSandbox;
    std::unique_ptr<TMainWindow> FForm;

    THelpWindow* HelpWindow() const { return FForm->findChild<THelpWindow*>(); }

    void ShowWindow(bool withHelpPages) {
        if (withHelpPages) {
            HelpTest::CopyHelpPages(TFolders::HelpFolder());
        }
        TDataFile data;
        AddCategory(data, "Books", {"Title"});
        QString path;
        FForm = ShowData(*FSandbox, data, path);
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    }

private slots:
    void init() { FSandbox = std::make_unique<TSandbox>(); }
    void cleanup() {
        FForm.reset();
        FSandbox->VerifyDialogs();
        FSandbox.reset();
    }

    void f1ShowsTheStartPage() {
        ShowWindow(true);
        QVERIFY(!HelpWindow()->isVisible());
        QTest::keyClick(FForm.get(), Qt::Key_F1);
        QVERIFY(HelpWindow()->isVisible());
        QCOMPARE(HelpWindow()->Browser()->source().fileName(), QStringLiteral("index.html"));
        QCOMPARE(HelpWindow()->Browser()->documentTitle(), QStringLiteral("Quillery Help"));
        QVERIFY(HelpWindow()->Browser()->source().toLocalFile().startsWith(TFolders::HelpFolder()));

        // Help Topics again, from another page: back at the start.
        HelpWindow()->Browser()->setSource(QUrl(QStringLiteral("printing.html")));
        Child<QAction>(*FForm, "ActionHelpTopics")->trigger();
        QCOMPARE(HelpWindow()->Browser()->source().fileName(), QStringLiteral("index.html"));
    }

    void theShortcutPageListsTheWindowsKeys() {
        ShowWindow(true);
        Child<QAction>(*FForm, "ActionHelpTopics")->trigger();
        HelpWindow()->Browser()->setSource(QUrl(QStringLiteral("shortcuts.html")));
        const QString text = HelpWindow()->Browser()->toPlainText();
        for (const char* row :
             {"F1\nHelp Topics", "Ctrl+N\nNew Record", "Ctrl+F\nMove to the filter box.",
              "Ctrl+L\nMove to the record list.", "Ctrl+C\nCopy", "Ctrl+O\nCreate/Choose Data File",
              "Ctrl+S\nSave Record", "Ctrl+P\nPrint", "Ctrl+Q\nExit"}) {
            QVERIFY2(text.contains(QString::fromLatin1(row)), row);
        }
        // The help window's own keys are in its own table, not in the main window's.
        const qsizetype helpTable = text.indexOf(QStringLiteral("\nHelp window\n"));
        QVERIFY(helpTable > 0);
        for (const char* row : {"Alt+Left\nBack", "Alt+Home\nHome"}) {
            QVERIFY2(!text.left(helpTable).contains(QString::fromLatin1(row)), row);
            QVERIFY2(text.mid(helpTable).contains(QString::fromLatin1(row)), row);
        }
    }

    void closingTheWindowClosesTheHelp() {
        ShowWindow(true);
        QTest::keyClick(FForm.get(), Qt::Key_F1);
        QVERIFY(HelpWindow()->isVisible());
        QVERIFY(FForm->close());
        QVERIFY(!HelpWindow()->isVisible());
    }

    void missingHelpPagesAreSaidSo() {
        ShowWindow(false);
        QTest::keyClick(FForm.get(), Qt::Key_F1);
        QVERIFY(HelpWindow()->isVisible());
        QCOMPARE(HelpWindow()->Browser()->documentTitle(), QStringLiteral("Page not found"));
        QVERIFY(HelpWindow()->Browser()->toPlainText().contains(
            QStringLiteral("\"index.html\" could not be found")));
    }

    void visitHomePage() {
        ShowWindow(true);
        HelpTest::TUrlRecorder browser(
            {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")});
        Child<QAction>(*FForm, "ActionVisitHomePage")->trigger();
        QCOMPARE(browser.Opened, QList<QUrl>({QUrl::fromLocalFile(TFolders::HelpFolder() + "index.html")}));
    }

    void aboutFromTheHelpMenu() {
        ShowWindow(true);
        bool checked = false;
        OnNextDialog([&checked](QWidget* dialog) {
            auto* about = qobject_cast<TAboutBox*>(dialog);
            if (about == nullptr) {
                return false;
            }
            checked = about->windowTitle() == QStringLiteral("About Quillery") &&
                      Child<QLabel>(*about, "LabelVersion")->text() == QStringLiteral("Version 1.1.1");
            QTest::mouseClick(Child<QPushButton>(*about, "BtnOK"), Qt::LeftButton);
            return true;
        });
        Child<QAction>(*FForm, "ActionAbout")->trigger();
        QVERIFY(checked);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(TestHelpMenu)
#include "tst_help.moc"
