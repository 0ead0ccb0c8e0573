// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchExchange.h"

#include "core/Category.h"
#include "core/DataFile.h"
#include "exchange/CategoryAppend.h"
#include "exchange/CategoryExport.h"
#include "exchange/CategoryImport.h"
#include "exchange/workbook/Workbook.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

const char* const kImportPeakOption = "--import-peak";
const char* const kExportXlsxPeakOption = "--export-xlsx-peak";
const char* const kExportCsvPeakOption = "--export-csv-peak";

namespace {

std::string WorkbookPath(const TBenchRun& run, const char* name) {
    return run.Dir + "/" + name;
}

// The same cells as our export: the headings in bold blue centred, then every value as text.
void WriteWithLibxlsxwriter(const TCategory& category, const TCategoryExport& columns,
                            const std::string& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (workbook == nullptr)
        throw std::runtime_error("libxlsxwriter cannot create " + path);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Bench");
    lxw_format* heading = workbook_add_format(workbook);
    format_set_bold(heading);
    format_set_font_color(heading, LXW_COLOR_BLUE);
    format_set_align(heading, LXW_ALIGN_CENTER);
    for (size_t c = 0; c < columns.Columns().size(); ++c)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                               columns.Columns()[c].Heading.toUtf8().constData(), heading);
    std::string value;
    for (size_t r = 0; r < category.Records.size(); ++r) {
        const TRecord& record = *category.Records[r];
        for (size_t c = 0; c < columns.Columns().size(); ++c) {
            value.assign(record.Value(columns.Columns()[c].ValueIndex));
            if (!value.empty())
                worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c),
                                       value.c_str(), nullptr);
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("libxlsxwriter cannot write " + path);
}

// What the package's parts take unpacked: the XML the import reads.
uint64_t UnpackedBytes(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr)
        throw std::runtime_error("cannot open " + path + " as a zip package");
    uint64_t total = 0;
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0)
            total += stat.size;
    }
    zip_close(archive);
    return total;
}

// Opens the workbook, finds the ranges and imports every column into a new category of into.
size_t Import(const std::string& path, TDataFile& into) {
    auto workbook = TWorkbook::Open(QString::fromStdString(path));
    const TWorksheet& sheet = workbook->ActiveSheet();
    const TImportRanges ranges = DetectImportRanges(sheet);
    std::vector<int> columns;
    for (int c = ranges.TitleFromColumn; c <= ranges.TitleToColumn; ++c)
        columns.push_back(c);
    TCategoryImport import(sheet, ranges.TitleRow, columns);
    import.ReadRecords(ranges.DataFromRow, ranges.DataToRow, {});
    const size_t records = import.RecordCount();
    import.AddTo(into, "Bench", TFont{"DejaVu Sans", 0, 8, 0});
    workbook->Close();
    return records;
}

// That workbook's rows added to a copy of the category, none of them equal to a record there, with
// duplicates checked.
void ImportIntoExisting(TBenchRun& run) {
    const TCategory& loaded = *run.Loaded->Categories.front();
    // The same template and records, each changed in its first box, so every row is new to it.
    TCategory target;
    target.AssignTemplate(loaded);
    for (const auto& record : loaded.Records) {
        target.Records.push_back(std::make_unique<TRecord>(*record));
        target.Records.back()->SetValue(0, std::string(record->Value(0)) + "~");
    }
    const size_t existing = target.Records.size();
    const std::string path = WorkbookPath(run, "export.xlsx");
    const double ms = MedianMs(
        run.Options.Repeat,
        [&] {
            auto workbook = TWorkbook::Open(QString::fromStdString(path));
            const TWorksheet& sheet = workbook->ActiveSheet();
            const TImportRanges ranges = DetectImportRanges(sheet);
            TCategoryAppend append(sheet, target, TCategoryAppend::MatchTitleColumns(sheet, ranges, target));
            append.ReadRecords(ranges.DataFromRow, ranges.DataToRow, true, {});
            target.AppendRecords(append.TakeRecords());
            workbook->Close();
        },
        [&] { target.Records.resize(existing); });
    PrintOurs("import into existing", ms);
    if (target.Records.size() != 2 * existing)
        ReportError(run, "import into existing: " + std::to_string(target.Records.size() - existing) +
                             " records added of " + std::to_string(existing));
}

} // namespace

void BenchExportMemory(TBenchRun& run) {
    // Saved where the large run's later lines open it too.
    run.Loaded->SaveToFile(run.DataPath);
    run.FileBytes = std::filesystem::file_size(run.DataPath);
    constexpr double kMiB = 1024.0 * 1024.0;
    for (const char* option : {kExportXlsxPeakOption, kExportCsvPeakOption}) {
        const char* format = option == kExportXlsxPeakOption ? "xlsx" : "csv";
        const uint64_t above = ChildPeakBytes(option, run.DataPath);
        std::filesystem::remove(run.DataPath + "." + format);
        std::printf("export %s%s: peak %.1f MiB above the loaded data\n", format, run.LineSuffix.c_str(),
                    static_cast<double>(above) / kMiB);
        std::fflush(stdout);
    }
}

int PrintExportPeak(const char* option, const char* path) {
    TDataFile data;
    data.LoadFromFile(path);
    const std::string out =
        std::string(path) + (std::strcmp(option, kExportXlsxPeakOption) == 0 ? ".xlsx" : ".csv");
    TCategoryExportRun exportRun(*data.Categories.front(), QString::fromStdString(out),
                                 QStringLiteral("Bench"));
    const long long loaded = StatusKiB("VmRSS:");
    // The peak so far is the load's, with the file's bytes still held: it starts again here.
    std::ofstream("/proc/self/clear_refs") << "5";
    exportRun.Run({});
    std::printf("%lld\n", StatusKiB("VmHWM:") - loaded);
    return 0;
}

void BenchExport(TBenchRun& run) {
    const TCategory& category = *run.Loaded->Categories.front();
    const std::string ours = WorkbookPath(run, "export.xlsx");
    const std::string reference = WorkbookPath(run, "libxlsxwriter.xlsx");
    const double oursMs = MedianMs(
        run.Options.Repeat,
        [&] {
            TCategoryExportRun exportRun(category, QString::fromStdString(ours), QStringLiteral("Bench"));
            exportRun.Run({});
        },
        [&] { std::filesystem::remove(ours); });
    const TCategoryExport columns(category);
    const double referenceMs = MedianMs(
        run.Options.Repeat, [&] { WriteWithLibxlsxwriter(category, columns, reference); },
        [&] { std::filesystem::remove(reference); });
    std::printf("export: quillery %.1f ms, libxlsxwriter %.1f ms, %.1fx\n", oursMs, referenceMs,
                referenceMs / oursMs);
    std::fflush(stdout);
}

void BenchImport(TBenchRun& run) {
    const std::string path = WorkbookPath(run, "export.xlsx");
    std::unique_ptr<TDataFile> into;
    size_t records = 0;
    const double ms = MedianMs(
        run.Options.Repeat, [&] { records = Import(path, *into); },
        [&] { into = std::make_unique<TDataFile>(); });
    PrintOurs("import", ms);
    if (records != run.Loaded->Categories.front()->Records.size())
        ReportError(run, "import: read " + std::to_string(records) + " records of " +
                             std::to_string(run.Loaded->Categories.front()->Records.size()));
    ImportIntoExisting(run);

    const uint64_t peak = ChildPeakBytes(kImportPeakOption, path);
    const uint64_t unpacked = UnpackedBytes(path);
    constexpr double kMiB = 1024.0 * 1024.0;
    std::printf("import memory: peak %.1f MiB, unpacked XML %.1f MiB, %.2fx\n",
                static_cast<double>(peak) / kMiB, static_cast<double>(unpacked) / kMiB,
                static_cast<double>(peak) / static_cast<double>(unpacked));
    std::fflush(stdout);
}

int PrintImportPeak(const char* path) {
    TDataFile into;
    Import(path, into);
    return PrintPeakKiB();
}
