// SPDX-License-Identifier: GPL-3.0-or-later
// The about box (texts, places, hints, the link to the home page) and "Visit Home Page" opening
// the page in the desktop's browser, or saying why it cannot.

#include "help/AboutBox.h"
#include "help/HomePage.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/MessageBoxes.h"

#include "help/HelpTestSupport.h"

#include <QLabel>
#include <QPushButton>

using namespace HelpTest;

namespace {

QLabel* Label(const QWidget& box, const char* name) {
    return box.findChild<QLabel*>(QString::fromLatin1(name));
}

void ClickLink(QLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, label->height() / 2));
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FRoot;

    // Help pages where the program's folders say they are.
    void InstallHelp() { CopyHelpPages(TFolders::HelpFolder()); }

private slots:
    void init() {
        FRoot = std::make_unique<QTemporaryDir>();
        QVERIFY(FRoot->isValid());
        TFolders::InitializeForTesting(FRoot->path());
        MessageBoxTesting::Enable();
    }
    void cleanup() {
        QCOMPARE(MessageBoxTesting::TakeUnanswered(), QStringList());
        QCOMPARE(MessageBoxTesting::PendingAnswers(), 0);
        FRoot.reset();
    }

    void textsAndHints() {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.windowTitle(), QStringLiteral("About Quillery"));
        QCOMPARE(box.size(), QSize(352, 186));
        QCOMPARE(Label(box, "LabelProductName")->text(), QStringLiteral("Quillery"));
        QCOMPARE(Label(box, "LabelVersion")->text(), QStringLiteral("Version 1.1.1"));
        QCOMPARE(TAboutBox::VersionText(), QStringLiteral("Version 1.1.1"));
        QCOMPARE(Label(box, "LabelQtVersion")->text(),
                 QStringLiteral("Qt ") + QString::fromLatin1(qVersion()));
        QVERIFY(Label(box, "LabelQtVersion")->font().pointSizeF() <
                Label(box, "LabelVersion")->font().pointSizeF());
        QCOMPARE(Label(box, "LabelWebSiteCaption")->text(), QStringLiteral("Web site:"));
        QCOMPARE(Label(box, "LabelWebSite")->toolTip(), QStringLiteral("Click to visit the Web site."));
        QCOMPARE(Label(box, "LabelWebSite")->cursor().shape(), Qt::PointingHandCursor);
        auto* ok = box.findChild<QPushButton*>(QStringLiteral("BtnOK"));
        QCOMPARE(ok->text(), QStringLiteral("O&K"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Close this \"About\" window."));
        QVERIFY(!Label(box, "ImageIcon")->pixmap().isNull() || QApplication::windowIcon().isNull());
        // The address shown is the help's start page while there is no public home page.
        QVERIFY(Label(box, "LabelWebSite")->text().contains(QStringLiteral("index.html")));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void places_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("expected"); // a zero width or height: only the place counts
        QTest::newRow("icon") << "ImageIcon" << QRect(8, 8, 32, 32);
        QTest::newRow("name") << "LabelProductName" << QRect(64, 8, 0, 0);
        QTest::newRow("version") << "LabelVersion" << QRect(64, 24, 0, 0);
        QTest::newRow("web site caption") << "LabelWebSiteCaption" << QRect(8, 160, 0, 0);
        QTest::newRow("link") << "LabelWebSite" << QRect(64, 160, 0, 0);
        QTest::newRow("button") << "BtnOK" << QRect(248, 8, 97, 22);
    }
    void places() {
        QFETCH(QString, control);
        QFETCH(QRect, expected);
        TAboutBox box;
        box.show();
        const QWidget* widget = box.findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->pos(), expected.topLeft());
        if (expected.width() > 0) {
            QCOMPARE(widget->size(), expected.size());
        }
        // Everything lies inside the box.
        QVERIFY(box.rect().contains(widget->geometry()));
    }

    void textsAreSetAgainOnEachShowing() {
        TAboutBox box;
        box.show();
        Label(box, "LabelVersion")->setText(QStringLiteral("changed"));
        box.setWindowTitle(QStringLiteral("changed"));
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Rejected));
        box.show();
        QCOMPARE(Label(box, "LabelVersion")->text(), QStringLiteral("Version 1.1.1"));
        QCOMPARE(box.windowTitle(), QStringLiteral("About Quillery"));
    }

    void theLinkOpensTheHomePage() {
        InstallHelp();
        TUrlRecorder browser({QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")});
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        ClickLink(Label(box, "LabelWebSite"));
        QCOMPARE(browser.Opened, QList<QUrl>({QUrl::fromLocalFile(TFolders::HelpFolder() + "index.html")}));
        QCOMPARE(browser.Opened.first(), HomePageUrl());
        QVERIFY(box.isVisible());
    }

    void aLongAddressIsShortenedButOpenedWhole() {
        // A program folder deep enough that its help address is far wider than the box.
        const QString deep =
            FRoot->filePath(QString(QStringLiteral("a-rather-long-folder-name/")).repeated(8));
        TFolders::InitializeForTesting(deep);
        InstallHelp();
        TUrlRecorder browser({QStringLiteral("file")});
        TAboutBox box;
        box.show();
        QLabel* link = Label(box, "LabelWebSite");
        QVERIFY(link->text().contains(QChar(0x2026)));
        QVERIFY(link->geometry().right() < box.width());
        ClickLink(link);
        QCOMPARE(browser.Opened, QList<QUrl>({HomePageUrl()}));
        QVERIFY(browser.Opened.first().toLocalFile().startsWith(deep));
    }

    void aMissingHomePageIsReported() {
        // No help pages installed: nothing is handed to the browser, the user is told.
        TUrlRecorder browser({QStringLiteral("file")});
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        QVERIFY(!OpenHomePage(nullptr));
        QVERIFY(browser.Opened.isEmpty());
        const QList<MessageBoxTesting::TShownBox> shown = MessageBoxTesting::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().Kind, MessageBoxes::TKind::Error);
        QCOMPARE(shown.first().Text, QStringLiteral("The page %1 could not be opened.")
                                         .arg(TFolders::HelpFolder() + QStringLiteral("index.html")));

        InstallHelp();
        QVERIFY(OpenHomePage(nullptr));
        QCOMPARE(browser.Opened.size(), 1);
        QVERIFY(MessageBoxTesting::TakeShown().isEmpty());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
