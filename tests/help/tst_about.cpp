// SPDX-License-Identifier: GPL-3.0-or-later
// The about box (texts, places, hints, the line that leads to the web site or the installed help)
// and "Visit Home Page" opening the page in the desktop's browser, or saying why it cannot.

#include "help/AboutBox.h"
#include "help/HomePage.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/MessageBoxes.h"

#include "help/HelpTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTextDocument>

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
        QCOMPARE(Label(box, "LabelWebSite")->cursor().shape(), Qt::PointingHandCursor);
        auto* ok = box.findChild<QPushButton*>(QStringLiteral("BtnOK"));
        QCOMPARE(ok->text(), QStringLiteral("O&K"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Close this \"About\" window."));
        QVERIFY(!Label(box, "ImageIcon")->pixmap().isNull() || QApplication::windowIcon().isNull());
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

    // The line under the texts: a web address as it is, or while there is none (or only something
    // that is no web address) the help that came with the program, never a local path. The link
    // stands a blank after its caption and opens the page.
    void homePageLine_data() {
        QTest::addColumn<QString>("homePage");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("opensHelp");
        const QString help = QStringLiteral("Help: installed with the program");
        const QString helpHint = QStringLiteral("Click to open the start page of the help.");
        const QString webHint = QStringLiteral("Click to visit the Web site.");
        QTest::newRow("no address") << QString() << help << helpHint << true;
        QTest::newRow("https address") << "https://quillery.example.org/"
                                       << "Web site: https://quillery.example.org/" << webHint << false;
        QTest::newRow("http address") << "http://example.org/quillery"
                                      << "Web site: http://example.org/quillery" << webHint << false;
        QTest::newRow("a local path") << "/usr/share/quillery/help/index.html" << help << helpHint << true;
        QTest::newRow("a file address")
            << "file:///usr/share/quillery/help/index.html" << help << helpHint << true;
        QTest::newRow("another scheme") << "ftp://example.org/quillery" << help << helpHint << true;
        QTest::newRow("no host") << "https://" << help << helpHint << true;
    }
    void homePageLine() {
        QFETCH(QString, homePage);
        QFETCH(QString, line);
        QFETCH(QString, hint);
        QFETCH(bool, opensHelp);
        InstallHelp();
        TUrlRecorder browser({QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")});
        TAboutBox box(nullptr, homePage);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QLabel* caption = Label(box, "LabelWebSiteCaption");
        QLabel* link = Label(box, "LabelWebSite");
        QTextDocument shownLink;
        shownLink.setHtml(link->text());
        QCOMPARE(caption->text() + QLatin1Char(' ') + shownLink.toPlainText(), line);
        QCOMPARE(link->toolTip(), hint);
        // Drawn as read: caption, at least a blank, the link, all inside the box.
        QVERIFY(link->x() >= caption->geometry().right() + 1 + caption->fontMetrics().horizontalAdvance(' '));
        QCOMPARE(link->y(), caption->y());
        QVERIFY(box.rect().contains(link->geometry()));
        ClickLink(link);
        const QUrl expected = opensHelp
                                  ? QUrl::fromLocalFile(TFolders::HelpFolder() + QStringLiteral("index.html"))
                                  : QUrl(homePage);
        QCOMPARE(browser.Opened, QList<QUrl>({expected}));
        QCOMPARE(HomePageUrl(homePage), expected);
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
        const QString address = QStringLiteral("https://quillery.example.org/") +
                                QString(QStringLiteral("a-rather-long-path/")).repeated(8);
        TUrlRecorder browser({QStringLiteral("https")});
        TAboutBox box(nullptr, address);
        box.show();
        QLabel* link = Label(box, "LabelWebSite");
        QVERIFY(link->text().contains(QChar(0x2026)));
        QVERIFY(link->geometry().right() < box.width());
        ClickLink(link);
        QCOMPARE(browser.Opened, QList<QUrl>({QUrl(address)}));
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
