// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchPrint.h"

#include "BenchCommon.h"
#include "BenchWindow.h"
#include "mainwindow/RecordListModel.h"
#include "print/ListPage.h"
#include "print/ListPageLayout.h"
#include "print/ListSource.h"
#include "print/PrintProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

// The peak resident size since the last reset, in bytes; resetting starts a new peak.
uint64_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoull(line.substr(6)) * 1024;
    return 0;
}

// The processor time this process has used, in milliseconds.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The loaded category with a list column over each of its text boxes.
TCategory ListedCategory(const TCategory& loaded) {
    TCategory category;
    category.AssignTemplate(loaded);
    category.Columns.clear();
    for (const auto& element : loaded.Elements)
        if (element->HoldsValue()) {
            category.Columns.push_back(std::make_unique<TListColumn>());
            category.Columns.back()->ElementID = element->ID;
            category.Columns.back()->Caption = element->Caption.empty() ? "Value" : element->Caption;
        }
    return category;
}

struct TPrinted {
    double Ms;
    double CpuMs; // the machine is shared: the processor time tells the work apart from waiting
    int Pages;
    uint64_t PeakGrowth;
};

TPrinted PrintRows(const TCategory& category, const TCategory& loaded, int rows, const std::string& path) {
    TRecordListModel model;
    model.SetColumns(&category);
    std::vector<TRecord*> records;
    for (int i = 0; i < rows; ++i)
        records.push_back(loaded.Records[static_cast<size_t>(i)].get());
    model.SetRows(std::move(records));
    const TModelListSource source(model);
    std::vector<int> columns;
    for (int column = 0; column < source.ColumnCount(); ++column)
        columns.push_back(column);
    const TListPage page(source, columns, QStringLiteral("Arial"), 9);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    TPrintProgress progress(nullptr);
    // Right after a reset the peak is the present size.
    ResetPeakResident();
    const uint64_t before = PeakResidentBytes();
    const double cpu0 = CpuMs();
    QElapsedTimer timer;
    timer.start();
    TListPageLayout layout(page);
    PrintPages(printer, layout, TPageNumbers::Header, progress);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double cpuMs = CpuMs() - cpu0;
    const uint64_t peak = PeakResidentBytes();
    return {ms, cpuMs, layout.PageCount(), peak > before ? peak - before : 0};
}

} // namespace

void BenchPrint(TBenchRun& run) {
    const std::unique_ptr<QApplication> application = MakeOffscreenApplication();
    const TCategory& loaded = *run.Loaded->Categories.front();
    const TCategory category = ListedCategory(loaded);
    const int rows = static_cast<int>(loaded.Records.size());

    // A tenth of the list first: the whole list must not take more memory than that.
    const TPrinted tenth = PrintRows(category, loaded, rows / 10, run.Dir + "/tenth.pdf");
    const TPrinted whole = PrintRows(category, loaded, rows, run.Dir + "/list.pdf");
    std::printf(
        "print list: quillery %.1f ms (processor %.1f ms; %d rows, %d columns, %d pages, PDF %.1f MiB, "
        "one run)\n",
        whole.Ms, whole.CpuMs, rows, static_cast<int>(category.Columns.size()), whole.Pages,
        static_cast<double>(std::filesystem::file_size(run.Dir + "/list.pdf")) / (1024.0 * 1024.0));
    std::printf("print list memory: peak grew %.1f MiB for %d pages, %.1f MiB for %d pages\n",
                static_cast<double>(whole.PeakGrowth) / (1024.0 * 1024.0), whole.Pages,
                static_cast<double>(tenth.PeakGrowth) / (1024.0 * 1024.0), tenth.Pages);
    std::fflush(stdout);
    if (whole.Pages <= tenth.Pages)
        ReportError(run, "print list: the whole list took no more pages than a tenth of it");
}
