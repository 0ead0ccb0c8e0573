// SPDX-License-Identifier: GPL-3.0-or-later
// The fast paths of the filter and the list sort against the plain rules they stand for, over
// many random records: the filter tests the record text (every value followed by CR LF, folded),
// the sort orders by the list comparison of each row's first line.
#include "core/Category.h"
#include "core/ListSort.h"
#include "core/SearchParam.h"
#include "core/TextRules.h"

#include <QtTest>

#include <algorithm>
#include <random>

namespace {

// Few distinct bytes, so words, case, separators and overlaps meet often.
const std::string kAlphabet = "aAbB- _\r\n\xC3\xA9Zz1";

std::string RandomText(std::mt19937& random, size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text)
        c = kAlphabet[random() % kAlphabet.size()];
    return text;
}

TRecord RandomRecord(std::mt19937& random) {
    TRecord record;
    const int count = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i)
        record.Append(RandomText(random, 7));
    return record;
}

bool ReferenceTest(const TRecord& record, const std::string& filter, bool wholeWord) {
    std::string text;
    BuildRecordText(record, text);
    bool matched = ContainsText(text, filter);
    if (matched && wholeWord)
        matched = MatchWholeWord(text, filter);
    return matched;
}

} // namespace

class TestEquivalence : public QObject {
    Q_OBJECT
private slots:
    void filterMatchesRecordText_data();
    void filterMatchesRecordText();
    void sortMatchesListComparison();
};

void TestEquivalence::filterMatchesRecordText_data() {
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("lineBreaks");
    QTest::newRow("plain") << false << false;
    QTest::newRow("whole word") << true << false;
    QTest::newRow("plain, filter with line breaks") << false << true;
    QTest::newRow("whole word, filter with line breaks") << true << true;
}

void TestEquivalence::filterMatchesRecordText() {
    QFETCH(bool, wholeWord);
    QFETCH(bool, lineBreaks);
    std::mt19937 random(wholeWord * 2 + lineBreaks + 7);
    std::string scratch;
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        const TRecord record = RandomRecord(random);
        std::string filter = RandomText(random, 3);
        if (!lineBreaks)
            filter.erase(
                std::remove_if(filter.begin(), filter.end(), [](char c) { return c == '\r' || c == '\n'; }),
                filter.end());
        TSearchParam param;
        param.SetFilterText(filter);
        param.WholeWord = wholeWord;
        const bool expected = ReferenceTest(record, param.FilterText, wholeWord);
        const bool actual = param.Test(record, scratch);
        if (actual != expected) {
            std::string text;
            BuildRecordText(record, text);
            const QByteArray shownFilter = QByteArray::fromStdString(param.FilterText).toPercentEncoding();
            const QByteArray shownText = QByteArray::fromStdString(text).toPercentEncoding();
            QFAIL("filter \"" + shownFilter + "\" on record text \"" + shownText +
                  "\": " + (actual ? "matched" : "no match") + ", expected the opposite");
        }
        QCOMPARE(param.Matched, actual);
        matches += actual;
    }
    // Both outcomes must occur often, or the comparison proves little.
    QVERIFY2(matches > 1000 && matches < 19000, qPrintable(QString::number(matches)));
}

void TestEquivalence::sortMatchesListComparison() {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        std::vector<TRecord> records;
        for (int i = 0; i < 300; ++i) {
            TRecord record;
            record.Append(RandomText(random, 2));
            // Long shared beginnings, so keys of eight bytes tie and the full comparison decides.
            record.Append(std::string(random() % 10, 'a') + RandomText(random, 12));
            records.push_back(record);
        }
        for (int valueIndex = 0; valueIndex < 3; ++valueIndex) {
            for (bool ascending : {true, false}) {
                std::vector<const TRecord*> rows;
                for (const TRecord& record : records)
                    rows.push_back(&record);
                std::vector<const TRecord*> expected = rows;
                std::stable_sort(expected.begin(), expected.end(), [&](const TRecord* a, const TRecord* b) {
                    const int order =
                        CompareListText(CellText(a->Value(valueIndex)), CellText(b->Value(valueIndex)));
                    return ascending ? order < 0 : order > 0;
                });
                SortRecordsByListText(rows, valueIndex, ascending);
                QVERIFY2(rows == expected,
                         qPrintable(QStringLiteral("round %1, value %2").arg(round).arg(valueIndex)));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestEquivalence)
#include "tst_equivalence.moc"
