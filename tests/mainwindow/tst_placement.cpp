// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's place between runs: where a remembered geometry goes on the screens there are
// now, and the round trip through the settings file.

#include "support/WindowTestSupport.h"

#include "mainwindow/WindowPlacement.h"

#include <QScreen>

using namespace MainTest;

class TestPlacement : public TWindowTest {
    Q_OBJECT

    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    void RememberPlace(const QRect& rect, bool maximized) {
        WriteSetting(QStringLiteral("WindowLeft"), QString::number(rect.left()));
        WriteSetting(QStringLiteral("WindowTop"), QString::number(rect.top()));
        WriteSetting(QStringLiteral("WindowWidth"), QString::number(rect.width()));
        WriteSetting(QStringLiteral("WindowHeight"), QString::number(rect.height()));
        WriteSetting(QStringLiteral("WindowMaximized"),
                     maximized ? QStringLiteral("1") : QStringLiteral("0"));
    }

    // A window on the remembered data file, shown as the program shows it.
    std::unique_ptr<TMainWindow> StartWindow() {
        auto form = std::make_unique<TMainWindow>();
        ShowAtRememberedPlace(*form);
        return form;
    }

private slots:
    void init() {
        TWindowTest::init();
        TDataFile data;
        AddCategory(data, "Books", {"Title"});
        RememberData(*FSandbox, data);
    }

    void placedGeometry_data() {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QList<QRect>>("screens"); // the first is the primary screen
        QTest::addColumn<QRect>("placed");
        const QRect left(0, 0, 1920, 1040);
        const QRect right(1920, 0, 1280, 1000);
        const QRect above(-200, -1080, 1920, 1080);
        QTest::newRow("nothing remembered: the whole primary screen")
            << QRect() << QList<QRect>{left, right} << left;
        QTest::newRow("on the primary screen")
            << QRect(100, 50, 800, 600) << QList<QRect>{left} << QRect(100, 50, 800, 600);
        QTest::newRow("on the second screen")
            << QRect(2000, 100, 800, 600) << QList<QRect>{left, right} << QRect(2000, 100, 800, 600);
        QTest::newRow("second screen gone: centred on the primary")
            << QRect(2000, 100, 800, 600) << QList<QRect>{left} << QRect(560, 220, 800, 600);
        QTest::newRow("screen above, negative coordinates")
            << QRect(-100, -900, 700, 500) << QList<QRect>{left, above} << QRect(-100, -900, 700, 500);
        QTest::newRow("screen above gone")
            << QRect(-100, -900, 700, 500) << QList<QRect>{left} << QRect(610, 270, 700, 500);
        QTest::newRow("gone and larger than the primary: shrunk to it")
            << QRect(4000, 0, 2500, 1400) << QList<QRect>{left} << left;
        QTest::newRow("over the right edge: pulled in")
            << QRect(1500, 100, 800, 600) << QList<QRect>{left} << QRect(1120, 100, 800, 600);
        QTest::newRow("across two screens: on the one it covers most")
            << QRect(1700, 100, 800, 600) << QList<QRect>{left, right} << QRect(1920, 100, 800, 600);
        QTest::newRow("larger than its screen: shrunk to it")
            << QRect(1900, -50, 1400, 1100) << QList<QRect>{left, right} << right;
        QTest::newRow("only a sliver on the screen: gone")
            << QRect(1900, 100, 800, 600) << QList<QRect>{left} << QRect(560, 220, 800, 600);
        QTest::newRow("above the top of the only screen")
            << QRect(100, -590, 800, 600) << QList<QRect>{left} << QRect(560, 220, 800, 600);
        QTest::newRow("no screens listed: the primary")
            << QRect(100, 50, 800, 600) << QList<QRect>{} << QRect(560, 220, 800, 600);
    }
    void placedGeometry() {
        QFETCH(QRect, saved);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, placed);
        const QRect primary = screens.isEmpty() ? QRect(0, 0, 1920, 1040) : screens.constFirst();
        QCOMPARE(PlacedGeometry(saved, screens, primary), placed);
    }

    void firstStartIsMaximisedOnThePrimaryScreen() {
        auto form = StartWindow();
        QVERIFY(form->isMaximized());
        QCOMPARE(form->normalGeometry(), Available());
        QVERIFY(form->close());
        QCOMPARE(ReadSetting(QStringLiteral("WindowMaximized")), QStringLiteral("1"));
        QCOMPARE(ReadSetting(QStringLiteral("WindowWidth")), QString::number(Available().width()));
    }

    void placeIsKeptForTheNextStart_data() {
        QTest::addColumn<bool>("maximized");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }
    void placeIsKeptForTheNextStart() {
        QFETCH(bool, maximized);
        const QRect place(QRect(Available().topLeft() + QPoint(30, 20), Available().size() * 0.8));
        {
            auto form = StartWindow();
            form->showNormal();
            form->setGeometry(place);
            if (maximized)
                form->showMaximized();
            QCOMPARE(form->isMaximized(), maximized);
            QVERIFY(form->close());
        }
        QCOMPARE(ReadSetting(QStringLiteral("WindowLeft")), QString::number(place.left()));
        QCOMPARE(ReadSetting(QStringLiteral("WindowTop")), QString::number(place.top()));
        QCOMPARE(ReadSetting(QStringLiteral("WindowWidth")), QString::number(place.width()));
        QCOMPARE(ReadSetting(QStringLiteral("WindowHeight")), QString::number(place.height()));
        QCOMPARE(ReadSetting(QStringLiteral("WindowMaximized")),
                 maximized ? QStringLiteral("1") : QStringLiteral("0"));
        auto next = StartWindow();
        QCOMPARE(next->isMaximized(), maximized);
        QCOMPARE(next->normalGeometry(), place);
        if (!maximized)
            QCOMPARE(next->geometry(), place);
        QVERIFY(next->close());
    }

    // A place on a screen that is no longer there comes back on the primary screen.
    void placeOnAScreenThatIsGone() {
        const QSize size = Available().size() * 0.5;
        RememberPlace(QRect(Available().right() + 500, Available().top() + 40, size.width(), size.height()),
                      false);
        auto form = StartWindow();
        QVERIFY(!form->isMaximized());
        QCOMPARE(form->geometry().size(), size);
        QCOMPARE(form->geometry().center(), Available().center());
        QVERIFY(form->close());
    }

    // A hand-edited size that is no whole number counts as no place remembered.
    void placeThatIsNoNumber() {
        RememberPlace(QRect(10, 10, 600, 400), false);
        WriteSetting(QStringLiteral("WindowWidth"), QStringLiteral("wide"));
        auto form = StartWindow();
        QVERIFY(form->isMaximized());
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
