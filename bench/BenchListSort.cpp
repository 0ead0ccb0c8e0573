// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchListSort.h"

#include "BenchCommon.h"
#include "core/Category.h"
#include "core/ListSort.h"
#include "mainwindow/RecordListModel.h"

#include <cstdio>
#include <string>
#include <vector>

void BenchListSort(TBenchRun& run) {
    const TCategory& category = *run.Loaded->Categories.front();
    const int32_t valueIndex = category.ValueIndexOf(category.Columns.at(0)->ElementID);
    std::vector<TRecord*> records;
    records.reserve(category.Records.size());
    for (const auto& record : category.Records)
        records.push_back(record.get());

    // As the list command does it with no filter: every record's pointer, then the sort.
    std::vector<const TRecord*> listed;
    const auto cliSort = [&] {
        listed.assign(records.begin(), records.end());
        SortRecordsByListText(listed, valueIndex, true);
    };
    // The window's model starts each run from the category's order, as showing the category does.
    TRecordListModel model;
    model.SetColumns(&category);
    const auto windowPrepare = [&] { model.SetRows(records); };
    const auto windowSort = [&] { model.Sort(0, true); };
    const auto [cliMs, windowMs] = MedianMsInTurn(run.Options.Repeat, cliSort, windowSort, windowPrepare);

    // As the other lines, the yardstick's time over ours: above 1 means the command line is faster.
    std::printf("cli list sort %s: quillery %.1f ms, window sort %.1f ms, %.2fx\n",
                CountLabel(records.size()).c_str(), cliMs, windowMs, windowMs / cliMs);
    std::fflush(stdout);
    for (size_t row = 0; row < listed.size(); ++row)
        if (model.RecordAt(static_cast<int>(row)) != listed[row]) {
            ReportError(run, "cli list sort: row " + std::to_string(row) + " differs from the window's");
            return;
        }
}
