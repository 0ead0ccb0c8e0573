// SPDX-License-Identifier: GPL-3.0-or-later
// A printed box cut into the pieces its pages show: grown to its lines, going on at the top of the
// next page where it reaches the bottom of one, every line on exactly one page.

#include "print/BoxFlow.h"

#include <QtTest>

namespace {

// "page:top+height:first+count" for each piece.
QStringList Described(const std::vector<TBoxPart>& parts) {
    QStringList described;
    for (const TBoxPart& part : parts) {
        described.append(QStringLiteral("%1:%2+%3:%4+%5")
                             .arg(part.Page)
                             .arg(part.Top)
                             .arg(part.Height)
                             .arg(part.FirstLine)
                             .arg(part.LineCount));
    }
    return described;
}

} // namespace

class TestBoxFlow : public QObject {
    Q_OBJECT

private slots:
    void flow_data() {
        QTest::addColumn<qreal>("top");
        QTest::addColumn<qreal>("minHeight");
        QTest::addColumn<int>("lines");
        QTest::addColumn<qreal>("lineHeight");
        QTest::addColumn<qreal>("inset");
        QTest::addColumn<qreal>("pageHeight");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("fits as the form drew it")
            << 100.0 << 80.0 << 3 << 20.0 << 3.0 << 1000.0 << QStringList{"0:100+80:0+3"};
        QTest::newRow("grows down to its lines")
            << 100.0 << 80.0 << 10 << 20.0 << 3.0 << 1000.0 << QStringList{"0:100+206:0+10"};
        QTest::newRow("goes on at the top of the next page")
            << 900.0 << 80.0 << 10 << 20.0 << 3.0 << 1000.0 << QStringList{"0:900+86:0+4", "1:1000+126:4+6"};
        QTest::newRow("over several pages")
            << 0.0 << 26.0 << 120 << 20.0 << 3.0 << 1000.0
            << QStringList{"0:0+986:0+49", "1:1000+986:49+49", "2:2000+446:98+22"};
        QTest::newRow("lines that fill a page exactly") << 0.0 << 0.0 << 100 << 20.0 << 0.0 << 1000.0
                                                        << QStringList{"0:0+1000:0+50", "1:1000+1000:50+50"};
        QTest::newRow("no room for the first line on its page")
            << 990.0 << 26.0 << 1 << 20.0 << 3.0 << 1000.0 << QStringList{"1:1000+26:0+1"};
        QTest::newRow("a form height past the page ends at its bottom")
            << 950.0 << 200.0 << 2 << 20.0 << 3.0 << 1000.0 << QStringList{"0:950+50:0+2"};
        QTest::newRow("a box far down the form")
            << 2500.0 << 26.0 << 1 << 20.0 << 3.0 << 1000.0 << QStringList{"2:2500+26:0+1"};
        QTest::newRow("a box on a page boundary belongs to the lower page")
            << 1000.0 << 26.0 << 1 << 20.0 << 3.0 << 1000.0 << QStringList{"1:1000+26:0+1"};
        QTest::newRow("lines taller than a page take one each")
            << 0.0 << 0.0 << 2 << 1500.0 << 0.0 << 1000.0 << QStringList{"0:0+1500:0+1", "1:1000+1500:1+1"};
        QTest::newRow("no lines") << 100.0 << 80.0 << 0 << 20.0 << 3.0 << 1000.0
                                  << QStringList{"0:100+80:0+0"};
        QTest::newRow("no page height")
            << 900.0 << 80.0 << 10 << 20.0 << 3.0 << 0.0 << QStringList{"0:900+206:0+10"};
    }
    void flow() {
        QFETCH(qreal, top);
        QFETCH(qreal, minHeight);
        QFETCH(int, lines);
        QFETCH(qreal, lineHeight);
        QFETCH(qreal, inset);
        QFETCH(qreal, pageHeight);
        QFETCH(QStringList, expected);
        const std::vector<TBoxPart> parts = FlowBox({top, minHeight, lines, lineHeight, inset}, pageHeight);
        QCOMPARE(Described(parts), expected);
        // Every line once, in order, and no piece past the bottom of its page unless a single
        // line is taller than the page.
        int next = 0;
        for (const TBoxPart& part : parts) {
            QCOMPARE(part.FirstLine, next);
            next += part.LineCount;
            if (pageHeight > 0 && lineHeight <= pageHeight) {
                QVERIFY(part.Top + part.Height <= (part.Page + 1) * pageHeight);
            }
        }
        QCOMPARE(next, lines);
    }
};

QTEST_APPLESS_MAIN(TestBoxFlow)
#include "tst_boxflow.moc"
