// SPDX-License-Identifier: GPL-3.0-or-later
// The record form's tab order and scroll-bar arithmetic.
#include "core/FormLayout.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<TBoxPosition>)
Q_DECLARE_METATYPE(std::vector<int>)

class TestFormLayout : public QObject {
    Q_OBJECT
private slots:
    void readingOrder_data();
    void readingOrder();
    void scrollLayout_data();
    void scrollLayout();
};

void TestFormLayout::readingOrder_data() {
    QTest::addColumn<std::vector<TBoxPosition>>("boxes");
    QTest::addColumn<std::vector<int>>("expected");

    QTest::newRow("empty") << std::vector<TBoxPosition>{} << std::vector<int>{};
    // Tops 100 and 110 are one row (left 20 first); 112 starts the next band.
    QTest::newRow("band of twelve pixels")
        << std::vector<TBoxPosition>{{300, 100}, {20, 110}, {10, 112}} << std::vector<int>{1, 0, 2};
    QTest::newRow("rows top to bottom")
        << std::vector<TBoxPosition>{{6, 60}, {6, 6}, {6, 30}} << std::vector<int>{1, 2, 0};
    QTest::newRow("top exactly eleven below is the same row")
        << std::vector<TBoxPosition>{{50, 0}, {10, 11}} << std::vector<int>{1, 0};
    QTest::newRow("negative positions take part")
        << std::vector<TBoxPosition>{{0, 10}, {0, -40}} << std::vector<int>{1, 0};
    QTest::newRow("far away boxes are left out")
        << std::vector<TBoxPosition>{{0, 100000}, {0, 5}, {0, -100001}} << std::vector<int>{1};
    // The band is measured from its first top, not chained from box to box.
    QTest::newRow("no chaining") << std::vector<TBoxPosition>{{90, 0}, {60, 10}, {30, 20}}
                                 << std::vector<int>{1, 0, 2};
}

void TestFormLayout::readingOrder() {
    QFETCH(std::vector<TBoxPosition>, boxes);
    QFETCH(std::vector<int>, expected);
    QCOMPARE(ReadingOrder(boxes), expected);
}

void TestFormLayout::scrollLayout_data() {
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("hShown");
    QTest::addColumn<int>("hMax");
    QTest::addColumn<int>("hPage");
    QTest::addColumn<bool>("vEnabled");
    QTest::addColumn<int>("vMax");
    QTest::addColumn<int>("viewWidth");
    QTest::addColumn<int>("viewHeight");

    // Controls end at x = 900 in a 700-pixel area: 900 + 18 - 700 + 20 = 238, page 59.
    QTest::newRow("wide form") << 900 << 100 << 700 << 300 << true << 238 << 59 << false << 0 << 682 << 282;
    QTest::newRow("form fits") << 600 << 200 << 700 << 300 << false << 0 << 0 << false << 0 << 682 << 300;
    QTest::newRow("one pixel short of a bar")
        << 682 << 300 << 700 << 300 << false << 0 << 0 << false << 0 << 682 << 300;
    QTest::newRow("tall form") << 600 << 500 << 700 << 300 << false << 0 << 0 << true << 220 << 682 << 300;
    QTest::newRow("tall and wide") << 900 << 500 << 700 << 300 << true << 238 << 59 << true << 256 << 682
                                   << 282;
    QTest::newRow("bar makes it tall")
        << 900 << 290 << 700 << 300 << true << 238 << 59 << true << 46 << 682 << 282;
}

void TestFormLayout::scrollLayout() {
    QFETCH(int, right);
    QFETCH(int, bottom);
    QFETCH(int, width);
    QFETCH(int, height);
    const TFormScrollLayout layout = LayoutFormArea(right, bottom, width, height, 18, 18);
    QTEST(layout.HorizontalShown, "hShown");
    QTEST(layout.HorizontalMax, "hMax");
    QTEST(layout.HorizontalPage, "hPage");
    QTEST(layout.VerticalEnabled, "vEnabled");
    QTEST(layout.VerticalMax, "vMax");
    QCOMPARE(layout.VerticalPage, layout.VerticalMax / 4);
    QTEST(layout.ViewportWidth, "viewWidth");
    QTEST(layout.ViewportHeight, "viewHeight");
}

QTEST_APPLESS_MAIN(TestFormLayout)
#include "tst_formlayout.moc"
