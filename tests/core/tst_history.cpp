// SPDX-License-Identifier: GPL-3.0-or-later
// The record history: undo and redo of added, removed and edited records and of added categories,
// its bounds, and a history that no longer fits the data.

#include "core/Category.h"
#include "core/DataFile.h"
#include "core/RecordHistory.h"
#include "support/CategoryValues.h"

#include <QtTest>

namespace {

// A data file with one category of three one-value records "a", "b", "c".
std::unique_ptr<TDataFile> ThreeRecords() {
    auto data = std::make_unique<TDataFile>();
    TCategory* category = data->AddCategory();
    category->AddElement(kKindEdit, 0, 0, 10, 10, 0, {}, "");
    category->RenumberValueIndexes();
    for (const char* value : {"a", "b", "c"})
        category->NewRecord()->SetValue(0, value);
    return data;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    // Each change, undone and redone twice over, leaves the records exactly as before and after it,
    // and names the selection of each side.
    void undoAndRedoEachChange_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("selectedBefore");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("added at the end") << "add" << 1 << 3;
        QTest::newRow("removed in the middle") << "remove" << 1 << -1;
        QTest::newRow("edited") << "edit" << 1 << 1;
        QTest::newRow("two added by an import") << "import rows" << -1 << 3;
    }
    void undoAndRedoEachChange() {
        QFETCH(QString, change);
        QFETCH(int, selectedBefore);
        QFETCH(int, selectedAfter);
        auto data = ThreeRecords();
        TCategory& category = *data->Categories[0];
        const TValues before = ValuesOf(category);
        TRecordHistory history;
        const TRecord* edited = category.Records[1].get();
        if (change == "add") {
            category.NewRecord()->SetValue(0, "d");
            history.RecordsAdded("New Record", category, 3, 1, {category.ID, 1});
        } else if (change == "remove") {
            history.RemoveRecord("Delete Record", category, 1, {category.ID, 1});
        } else if (change == "edit") {
            TRecord previous = *category.Records[1];
            category.Records[1]->SetValue(0, "B");
            history.RecordEdited("Edit Record", category, 1, std::move(previous));
        } else {
            category.NewRecord()->SetValue(0, "d");
            category.NewRecord()->SetValue(0, "e");
            history.RecordsAdded("Import", category, 3, 2, {category.ID, -1});
        }
        const TValues after = ValuesOf(category);
        QVERIFY(after != before);
        for (int round = 0; round < 2; ++round) {
            const auto undone = history.Undo(*data);
            QVERIFY(undone.has_value());
            QCOMPARE(undone->CategoryID, category.ID);
            QCOMPARE(undone->RecordIndex, selectedBefore);
            QCOMPARE(ValuesOf(category), before);
            QVERIFY(!history.CanUndo());
            const auto redone = history.Redo(*data);
            QVERIFY(redone.has_value());
            QCOMPARE(redone->RecordIndex, selectedAfter);
            QCOMPARE(ValuesOf(category), after);
            QVERIFY(!history.CanRedo());
        }
        // An edit changes the values in place: what refers to the record still finds it.
        if (change == "edit")
            QCOMPARE(category.Records[1].get(), edited);
    }

    void undoAnAddedCategory() {
        auto data = ThreeRecords();
        TCategory* added = data->AddCategory();
        added->Name = "Imported";
        added->Records.push_back(std::make_unique<TRecord>(std::vector<std::string_view>{"x"}));
        TRecordHistory history;
        history.CategoryAdded("Import", *data, added->ID, {data->Categories[0]->ID, 2});
        QCOMPARE(history.UndoName(), std::string("Import"));

        QCOMPARE(history.Undo(*data)->RecordIndex, 2);
        QCOMPARE(data->Categories.size(), size_t(1));
        QVERIFY(history.HeldBytes() > 0);
        QCOMPARE(history.Redo(*data)->CategoryID, added->ID);
        QCOMPARE(data->Categories.size(), size_t(2));
        QCOMPARE(data->Categories[1]->Name, std::string("Imported"));
        QCOMPARE(data->Categories[1]->Records[0]->Value(0), std::string_view("x"));
        QCOMPARE(history.HeldBytes(), size_t(0));
    }

    // A new change after an undo drops what could be redone; the oldest steps go past the bounds,
    // the newest always stays.
    void newChangeAndBounds_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("valueBytes");
        QTest::addColumn<int>("kept");
        QTest::newRow("within both bounds") << 10 << 10 << 10;
        QTest::newRow("more steps than kept") << 150 << 10 << int(TRecordHistory::kMaxSteps);
        // A one-value record takes its bytes and two words.
        QTest::newRow("more bytes than kept")
            << 20 << (8 << 20) << int(TRecordHistory::kMaxBytes / ((8 << 20) + 8));
        QTest::newRow("one step larger than the bound") << 2 << (80 << 20) << 1;
    }
    void newChangeAndBounds() {
        QFETCH(int, steps);
        QFETCH(int, valueBytes);
        QFETCH(int, kept);
        TDataFile data;
        TCategory* category = data.AddCategory();
        TRecordHistory history;
        for (int i = 0; i < steps; ++i) {
            category->Records.push_back(std::make_unique<TRecord>(
                std::vector<std::string_view>{std::string(size_t(valueBytes), 'v')}));
            history.RemoveRecord("Delete Record", *category, 0, {category->ID, 0});
        }
        QVERIFY(history.HeldBytes() <= std::max(TRecordHistory::kMaxBytes, size_t(valueBytes) + 8));
        int undone = 0;
        while (history.Undo(data))
            ++undone;
        QCOMPARE(undone, kept);
        QCOMPARE(category->Records.size(), size_t(kept));

        QVERIFY(history.CanRedo());
        category->NewRecord();
        history.RecordsAdded("New Record", *category, kept, 1, {});
        QVERIFY(!history.CanRedo());
        QCOMPARE(history.StepCount(), size_t(1));
    }

    // Data changed around the history: nothing changes and the history is cleared.
    void historyThatNoLongerFits_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("category gone") << "drop category";
        QTest::newRow("records gone") << "drop records";
    }
    void historyThatNoLongerFits() {
        QFETCH(QString, change);
        auto data = ThreeRecords();
        TCategory& category = *data->Categories[0];
        category.NewRecord();
        TRecordHistory history;
        history.RecordsAdded("New Record", category, 3, 1, {});
        TRecord previous = *category.Records[0];
        category.Records[0]->SetValue(0, "A");
        history.RecordEdited("Edit Record", category, 0, std::move(previous));
        QVERIFY(history.Undo(*data).has_value());
        if (change == "drop category")
            data->Categories.clear();
        else
            data->Categories[0]->Records.resize(2);
        const size_t categories = data->Categories.size();
        QVERIFY(!history.Undo(*data).has_value());
        QVERIFY(!history.CanUndo() && !history.CanRedo());
        QCOMPARE(data->Categories.size(), categories);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
