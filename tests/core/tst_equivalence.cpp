// SPDX-License-Identifier: GPL-3.0-or-later
// The fast paths of the filter and the list sort against the plain rules they stand for, over
// many random records: the filter tests the record text (every value followed by CR LF, folded),
// the sort orders by the list comparison of each row's first line.
// The list sort is also checked on chosen values where a key built once could go wrong.
#include "core/Category.h"
#include "core/ListSort.h"
#include "core/SearchParam.h"
#include "core/TextRules.h"
#include "core/TwoCores.h"

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

TRecord RandomRecord(std::mt19937& random, size_t maxLength = 7) {
    TRecord record;
    const int count = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i)
        record.Append(RandomText(random, maxLength));
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

// The order the list sort stands for: a stable sort with the plain comparison of each row's
// first line, done afresh on every comparison.
std::vector<const TRecord*> PlainListOrder(std::vector<const TRecord*> rows, int32_t valueIndex,
                                           bool ascending) {
    std::stable_sort(rows.begin(), rows.end(), [&](const TRecord* a, const TRecord* b) {
        const int order = CompareListText(CellText(a->Value(valueIndex)), CellText(b->Value(valueIndex)));
        return ascending ? order < 0 : order > 0;
    });
    return rows;
}

} // namespace

class TestEquivalence : public QObject {
    Q_OBJECT
private slots:
    void filterMatchesRecordText_data();
    void filterMatchesRecordText();
    void filterOfALargeCategory();
    void sortMatchesListComparison();
    void sortMatchesPlainStableSort_data();
    void sortMatchesPlainStableSort();
    void keptOrderHoldsWhileItIsTheListOrder_data();
    void keptOrderHoldsWhileItIsTheListOrder();
    void recordsStateSeesEveryChange_data();
    void recordsStateSeesEveryChange();
    void partOfRecordsTakesTheirListOrder_data();
    void partOfRecordsTakesTheirListOrder();
};

void TestEquivalence::filterMatchesRecordText_data() {
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("lineBreaks");
    QTest::addColumn<bool>("wideScan");
    QTest::newRow("plain") << false << false << true;
    QTest::newRow("plain, sixteen places at a time") << false << false << false;
    QTest::newRow("whole word") << true << false << true;
    QTest::newRow("whole word, sixteen places at a time") << true << false << false;
    QTest::newRow("plain, filter with line breaks") << false << true << true;
    QTest::newRow("whole word, filter with line breaks") << true << true << true;
}

void TestEquivalence::filterMatchesRecordText() {
    QFETCH(bool, wholeWord);
    QFETCH(bool, lineBreaks);
    QFETCH(bool, wideScan);
    if (!SearchParamTesting::UseWideScan(wideScan))
        QSKIP("This processor has no wide scan.");
    struct TWideAgain {
        ~TWideAgain() { SearchParamTesting::UseWideScan(true); }
    } wideAgain;
    std::mt19937 random(wholeWord * 2 + lineBreaks + 7);
    std::string scratch;
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        // Some records long enough for the wide scan to take a few steps.
        const TRecord record = RandomRecord(random, round % 4 == 0 ? 40 : 7);
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

// A large category is filtered on two cores: the same records, in the same order, as testing them
// one by one gives.
void TestEquivalence::filterOfALargeCategory() {
    std::mt19937 random(20261208);
    std::vector<std::unique_ptr<TRecord>> records;
    for (int i = 0; i < 70000; ++i)
        records.push_back(std::make_unique<TRecord>(RandomRecord(random)));
    TSearchParam param;
    param.SetFilterText("b-");
    std::vector<TRecord*> expected;
    for (const auto& record : records)
        if (ReferenceTest(*record, param.FilterText, false))
            expected.push_back(record.get());
    QVERIFY2(expected.size() > 1000 && expected.size() < 69000, qPrintable(QString::number(expected.size())));
    QVERIFY(FilterRecords(records, param, [] {}) == expected);
}

void TestEquivalence::sortMatchesListComparison() {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        std::vector<TRecord> records;
        // The first round is large enough for the keys to be built on two cores.
        const int count = round == 0 ? 70000 : 300;
        for (int i = 0; i < count; ++i) {
            TRecord record;
            record.Append(RandomText(random, 2));
            // Long shared beginnings, so keys of eight bytes tie and the full comparison decides;
            // in the large round most tie on all sixteen bytes the key holds.
            const size_t shared = round == 0 ? 14 + random() % 6 : random() % 10;
            record.Append(std::string(shared, 'a') + RandomText(random, 12));
            records.push_back(record);
        }
        for (int valueIndex = 0; valueIndex < 3; ++valueIndex) {
            for (bool ascending : {true, false}) {
                std::vector<const TRecord*> rows;
                for (const TRecord& record : records)
                    rows.push_back(&record);
                const std::vector<const TRecord*> expected = PlainListOrder(rows, valueIndex, ascending);
                SortRecordsByListText(rows, valueIndex, ascending);
                QVERIFY2(rows == expected,
                         qPrintable(QStringLiteral("round %1, value %2").arg(round).arg(valueIndex)));
                // Sorted rows turned round, on both cores in the large round.
                const std::vector<const TRecord*> reversed = PlainListOrder(rows, valueIndex, !ascending);
                SortRecordsByListText(rows, valueIndex, !ascending);
                QVERIFY2(rows == reversed,
                         qPrintable(
                             QStringLiteral("round %1, value %2, turned round").arg(round).arg(valueIndex)));
            }
        }
    }
}

void TestEquivalence::sortMatchesPlainStableSort_data() {
    QTest::addColumn<QByteArrayList>("values");
    QTest::addColumn<int>("valueIndex");
    QTest::addColumn<bool>("ascending");
    const QByteArrayList caseTies = {"abc", "ABC", "b", "aBc", "B", "Abc", "a", "A"};
    const QByteArrayList empties = {"b", "", "a", QByteArray(), "", "c"};
    const QByteArrayList lines = {"b\r\nz", "b", "a\nz", "b\ra", "a\r\n", "b\n\nc", "\r\nz", "a"};
    // a-z fold onto A-Z, so a sorts before the bytes between Z and a; accents are bytes above
    // 0x7F and never fold, so É (C3 89) and é (C3 A9) stay apart.
    const QByteArrayList folding = {"_", "a", "[", "A", "`", "Z", "z", "\xC3\xA9", "e", "\xC3\x89", "E", "{"};
    // Around the sixteen bytes the key holds: equal beginnings, ends that differ only in case,
    // zero bytes that match the key's padding.
    const QByteArrayList longValues = {"abcdefghijklmnopQ",
                                       "ABCDEFGHIJKLMNOPq",
                                       "abcdefghijklmnop",
                                       "abcdefghijklmnoP",
                                       "abcdefgh",
                                       "abcdefghi",
                                       "ABCDEFGHIJKLMNOPr",
                                       "abcdefghijklmnopqrstuvwxyz\nA",
                                       QByteArray("a\0", 2),
                                       "a",
                                       QByteArray("a\0b", 3),
                                       QByteArray("abcdefghijklmnop\0", 17)};
    QTest::newRow("case ties keep their order") << caseTies << 1 << true;
    QTest::newRow("case ties, descending") << caseTies << 1 << false;
    QTest::newRow("empty values") << empties << 1 << true;
    QTest::newRow("empty values, descending") << empties << 1 << false;
    QTest::newRow("only the first line counts") << lines << 1 << true;
    QTest::newRow("only the first line counts, descending") << lines << 1 << false;
    QTest::newRow("folding and accents") << folding << 1 << true;
    QTest::newRow("folding and accents, descending") << folding << 1 << false;
    QTest::newRow("past the key's sixteen bytes") << longValues << 1 << true;
    QTest::newRow("past the key's sixteen bytes, descending") << longValues << 1 << false;
    // Cells of one length that agree in their first sixteen bytes.
    const QByteArrayList sameLength = {"abcdefghijklmnopz", "ABCDEFGHIJKLMNOPb", "abcdefghijklmnopB",
                                       "abcdefghijklmnopa"};
    QTest::newRow("past the key's sixteen bytes, one length") << sameLength << 1 << true;
    QTest::newRow("past the key's sixteen bytes, one length, descending") << sameLength << 1 << false;
    // Every byte but the line breaks in every place of the key, each in a cell of its own, so the
    // folding of a whole word at once is checked byte for byte.
    QByteArrayList everyByte;
    for (int place = 0; place < 16; ++place)
        for (int byte = 0; byte < 256; ++byte)
            if (byte != '\r' && byte != '\n')
                everyByte << QByteArray(place, 'm') + static_cast<char>(byte) + "m";
    QTest::newRow("every byte in every place of the key") << everyByte << 1 << true;
    QTest::newRow("every byte in every place of the key, descending") << everyByte << 1 << false;
    QTest::newRow("value index past every record") << caseTies << 2 << true;
    QTest::newRow("value index past every record, descending") << caseTies << 2 << false;
}

void TestEquivalence::sortMatchesPlainStableSort() {
    QFETCH(QByteArrayList, values);
    QFETCH(int, valueIndex);
    QFETCH(bool, ascending);
    // Enough copies that the sort goes beyond its insertion sort of small ranges, each record
    // named by its place so that equal cells are still told apart.
    std::vector<TRecord> records;
    for (int copy = 0; copy < 8; ++copy)
        for (const QByteArray& value : values)
            records.push_back(TRecord({std::to_string(records.size()), value.toStdString()}));
    std::vector<const TRecord*> given;
    for (const TRecord& record : records)
        given.push_back(&record);
    // The rows as given, and already in list order either way round, which the sort sees in one
    // pass: equal cells must still keep their order.
    const std::vector<std::pair<const char*, std::vector<const TRecord*>>> starts = {
        {"as given", given},
        {"in order", PlainListOrder(given, valueIndex, ascending)},
        {"in reverse order", PlainListOrder(given, valueIndex, !ascending)}};
    for (const auto& [start, rows] : starts) {
        const std::vector<const TRecord*> expected = PlainListOrder(rows, valueIndex, ascending);
        std::vector<unsigned char> ties;
        const std::vector<uint32_t> order =
            ListSortOrder(rows.data(), rows.size(), valueIndex, ascending, &ties);
        QCOMPARE(order.size(), rows.size());
        // The ties tell equal neighbours apart from the rest; turned round by them, the list
        // stands as the other direction's sort leaves it, and they tell the same of it.
        const auto checkTies = [&](const std::vector<const TRecord*>& list, const char* which) {
            QCOMPARE(ties.size(), list.size());
            for (size_t i = 0; i < list.size(); ++i) {
                const bool tie = i > 0 && CompareListText(CellText(list[i - 1]->Value(valueIndex)),
                                                          CellText(list[i]->Value(valueIndex))) == 0;
                QVERIFY2(bool(ties[i]) == tie,
                         qPrintable(QStringLiteral("%1, %2, row %3").arg(start, which).arg(i)));
            }
        };
        checkTies(expected, "ties");
        const std::vector<uint32_t> turned = TurnedRound(ties);
        const std::vector<const TRecord*> turnedRows = InOrder(expected, turned);
        QVERIFY(turnedRows == PlainListOrder(rows, valueIndex, !ascending));
        checkTies(turnedRows, "turned ties");
        std::vector<const TRecord*> byOrder;
        for (uint32_t position : order)
            byOrder.push_back(rows.at(position));
        std::vector<const TRecord*> sorted = rows;
        SortRecordsByListText(sorted, valueIndex, ascending);
        for (size_t i = 0; i < rows.size(); ++i) {
            const std::string shown = std::string(byOrder[i]->Value(0)) + " / " +
                                      std::string(sorted[i]->Value(0)) + ", expected " +
                                      std::string(expected[i]->Value(0));
            QVERIFY2(
                byOrder[i] == expected[i] && sorted[i] == expected[i],
                qPrintable(
                    QStringLiteral("%1, row %2: %3").arg(start).arg(i).arg(QString::fromStdString(shown))));
        }
    }
}

namespace {

// What happens to the records, or to their kept order, after it was taken.
enum class TChange {
    None,
    CaseOnly,
    CellMoves,
    EqualCellsOutOfStoredOrder,
    RecordAdded,
    RecordRemoved,
    RowNamedTwice,
    RowPastTheEnd,
    OtherDirection,
    SwappedWhereSecondPartBegins
};

} // namespace

Q_DECLARE_METATYPE(TChange)

void TestEquivalence::keptOrderHoldsWhileItIsTheListOrder_data() {
    QTest::addColumn<TChange>("change");
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("holds");
    QTest::newRow("unchanged") << TChange::None << false << true;
    QTest::newRow("a cell changed in case only") << TChange::CaseOnly << false << true;
    QTest::newRow("a cell that now sorts elsewhere") << TChange::CellMoves << false << false;
    QTest::newRow("equal cells out of their stored order")
        << TChange::EqualCellsOutOfStoredOrder << false << false;
    QTest::newRow("a record added") << TChange::RecordAdded << false << false;
    QTest::newRow("a record removed") << TChange::RecordRemoved << false << false;
    QTest::newRow("a row named twice") << TChange::RowNamedTwice << false << false;
    QTest::newRow("a row past the end") << TChange::RowPastTheEnd << false << false;
    QTest::newRow("the other direction") << TChange::OtherDirection << false << false;
    QTest::newRow("unchanged, on two cores") << TChange::None << true << true;
    QTest::newRow("a cell that now sorts elsewhere, on two cores") << TChange::CellMoves << true << false;
    QTest::newRow("rows swapped where the second core's part begins")
        << TChange::SwappedWhereSecondPartBegins << true << false;
}

void TestEquivalence::keptOrderHoldsWhileItIsTheListOrder() {
    QFETCH(TChange, change);
    QFETCH(bool, large);
    QFETCH(bool, holds);
    std::mt19937 random(20261209);
    std::vector<std::unique_ptr<TRecord>> records;
    const QByteArrayList fruit = {"pear", "Apple", "fig", "apple", "kiwi", "Fig"};
    for (int i = 0; i < (large ? 70000 : 48); ++i) {
        const std::string cell = large ? RandomText(random, 6) : fruit[i % fruit.size()].toStdString();
        records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{std::to_string(i), cell}));
    }
    const auto stored = [&] {
        std::vector<const TRecord*> rows;
        for (const auto& record : records)
            rows.push_back(record.get());
        return rows;
    };
    std::vector<uint32_t> order = ListSortOrder(stored().data(), records.size(), 1, true);
    const auto cellAt = [&](size_t place) { return std::string(records[order[place]]->Value(1)); };
    bool ascending = true;
    switch (change) {
    case TChange::None:
        break;
    case TChange::CaseOnly:
        records[order[0]]->SetValue(1, QByteArray::fromStdString(cellAt(0)).toUpper().toStdString());
        break;
    case TChange::CellMoves:
        records[order[order.size() * 3 / 4]]->SetValue(1, "");
        break;
    case TChange::EqualCellsOutOfStoredOrder: {
        // Two neighbours with different cells, the later stored first: given the same cell, the
        // stored order puts them the other way round.
        size_t place = 0;
        while (cellAt(place) == cellAt(place + 1) || order[place] < order[place + 1])
            ++place;
        records[order[place + 1]]->SetValue(1, cellAt(place));
        break;
    }
    case TChange::RecordAdded:
        records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"new", "zzz"}));
        break;
    case TChange::RecordRemoved:
        records.erase(records.begin() + order.back());
        break;
    case TChange::RowNamedTwice:
        order[1] = order[0];
        break;
    case TChange::RowPastTheEnd:
        order[0] = static_cast<uint32_t>(order.size());
        break;
    case TChange::OtherDirection:
        ascending = false;
        break;
    case TChange::SwappedWhereSecondPartBegins: {
        const size_t split = SecondPartStart(order.size());
        QVERIFY(split < order.size());
        std::swap(order[split - 1], order[split]);
        break;
    }
    }
    std::vector<TRecord*> rows = {records[0].get()};
    QCOMPARE(RowsInKeptListOrder(records, order, 1, ascending, rows), holds);
    if (holds) {
        const std::vector<const TRecord*> expected = PlainListOrder(stored(), 1, ascending);
        QVERIFY(std::equal(rows.begin(), rows.end(), expected.begin(), expected.end()));
    } else {
        QCOMPARE(rows, std::vector<TRecord*>{records[0].get()});
    }
}

QTEST_APPLESS_MAIN(TestEquivalence)
#include "tst_equivalence.moc"

// A kept order is taken without reading the records while their state stays the same: every change
// that could move a row must change it, and reading or copying records must not.
void TestEquivalence::recordsStateSeesEveryChange_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("same");
    QTest::newRow("values read, a record copied out") << "read" << true;
    QTest::newRow("a value set") << "set" << false;
    QTest::newRow("a value inserted") << "insert" << false;
    QTest::newRow("a value erased") << "erase" << false;
    QTest::newRow("a value appended") << "append" << false;
    QTest::newRow("values copied over") << "copy over" << false;
    QTest::newRow("values moved over") << "move over" << false;
    QTest::newRow("values moved out") << "move out" << false;
    QTest::newRow("the last record replaced") << "replace last" << false;
    QTest::newRow("two records trading places") << "swap" << false;
    QTest::newRow("a record removed") << "remove" << false;
}

void TestEquivalence::recordsStateSeesEveryChange() {
    QFETCH(QString, change);
    QFETCH(bool, same);
    std::vector<std::unique_ptr<TRecord>> records;
    for (const char* word : {"pear", "fig", "kiwi"})
        records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{word, "x"}));
    const TRecordsState before = RecordsStateOf(records);
    TRecord& first = *records.front();
    if (change == "read") {
        const TRecord copy = first;
        QCOMPARE(copy.Value(0), first.Value(0));
    } else if (change == "set") {
        first.SetValue(0, "apple");
    } else if (change == "insert") {
        first.Insert(0, "apple");
    } else if (change == "erase") {
        first.Erase(0);
    } else if (change == "append") {
        first.Append("more");
    } else if (change == "copy over") {
        first = *records[1];
    } else if (change == "move over") {
        first = TRecord(std::vector<std::string_view>{"apple", "x"});
    } else if (change == "move out") {
        const TRecord taken(std::move(first));
        QCOMPARE(taken.Value(0), std::string_view("pear"));
    } else if (change == "replace last") {
        // The new record may well take the memory of the one gone.
        records.pop_back();
        records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"apple", "x"}));
    } else if (change == "swap") {
        std::swap(records[0], records[1]);
    } else {
        records.erase(records.begin() + 1);
    }
    QCOMPARE(RecordsStateOf(records) == before, same);
}

// A filter's records, taken in the order of all records, stand as sorting them alone would put them.
void TestEquivalence::partOfRecordsTakesTheirListOrder_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("ascending");
    QTest::newRow("every third, ascending") << "every third" << true;
    QTest::newRow("every third, descending") << "every third" << false;
    QTest::newRow("all") << "all" << false;
    QTest::newRow("none") << "none" << true;
    QTest::newRow("two out of their stored order") << "out of order" << true;
    QTest::newRow("a record of none of them") << "foreign" << true;
}

void TestEquivalence::partOfRecordsTakesTheirListOrder() {
    QFETCH(QString, part);
    QFETCH(bool, ascending);
    std::mt19937 random(20261210);
    std::vector<std::unique_ptr<TRecord>> records;
    std::vector<const TRecord*> stored;
    for (int i = 0; i < 3000; ++i) {
        records.push_back(std::make_unique<TRecord>(RandomRecord(random)));
        stored.push_back(records.back().get());
    }
    const std::vector<uint32_t> order = ListSortOrder(stored.data(), stored.size(), 1, ascending);
    std::vector<TRecord*> rows;
    for (size_t i = 0; i < records.size(); ++i)
        if (part == "all" || (part != "none" && i % 3 == 0))
            rows.push_back(records[i].get());
    const TRecord foreign;
    if (part == "out of order")
        std::swap(rows[5], rows[6]);
    else if (part == "foreign")
        rows[5] = const_cast<TRecord*>(&foreign);
    const std::vector<TRecord*> given = rows;
    const bool valid = part != "out of order" && part != "foreign";
    QCOMPARE(PartInListOrder(records, order, rows), valid);
    if (!valid) {
        QVERIFY(rows == given);
        return;
    }
    const std::vector<const TRecord*> expected = PlainListOrder({given.begin(), given.end()}, 1, ascending);
    QVERIFY(std::equal(rows.begin(), rows.end(), expected.begin(), expected.end()));
}
