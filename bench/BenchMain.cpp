// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-bench: the data store against SQLite on the same records, in the same run.
#include "BenchCommon.h"
#include "BenchData.h"
#include "BenchExchange.h"
#include "BenchListSort.h"
#include "BenchPrint.h"
#include "BenchSqlite.h"
#include "BenchStartup.h"
#include "BenchWindow.h"

#include "core/Category.h"
#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/FileIO.h"
#include "core/FileOps.h"
#include "core/ListSort.h"
#include "core/SearchParam.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

TCategory& LoadedCategory(const TBenchRun& run) {
    return *run.Loaded->Categories.front();
}

std::string MakeTempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quillery-bench-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a folder from " + pattern);
    return pattern;
}

// The generated records as the data file and as the SQLite table; neither write is measured.
void Prepare(TBenchRun& run) {
    run.DataPath = run.Dir + "/bench.lgd";
    run.DbPath = run.Dir + "/bench.sqlite";
    {
        const auto generated = MakeBenchDataFile(run.Options.Records, kBenchSeed);
        generated->SaveToFile(run.DataPath);
        SqliteWriteTable(run.DbPath, RowsOf(*generated->Categories.front()));
    }
    run.FileBytes = std::filesystem::file_size(run.DataPath);

    const std::string bytes = ReadWholeFile(run.DataPath);
    std::string copy(bytes.size(), '\0');
    run.MemcpyMs =
        MedianMs(run.Options.Repeat, [&] { std::memcpy(copy.data(), bytes.data(), bytes.size()); });
    if (copy != bytes)
        ReportError(run, "memcpy: the copy differs");

    TSqliteDb db(run.DbPath, true);
    std::printf("data: %d records of %d values, file %.1f MiB, median of %d runs, folder %s\n",
                run.Options.Records, kBenchTextBoxes, static_cast<double>(run.FileBytes) / (1024.0 * 1024.0),
                run.Options.Repeat, run.Dir.c_str());
    std::printf("%s\n", SqliteDescription(db).c_str());
}

// The large lines need the records in memory, and a folder for the files the export lines write
// (the data file among them, for the lines after those); no SQLite.
void PrepareLarge(TBenchRun& run) {
    run.Dir = MakeTempDir();
    run.DataPath = run.Dir + "/large.lgd";
    run.LineSuffix = " " + CountLabel(static_cast<size_t>(run.Options.Records));
    run.Loaded = MakeBenchDataFile(run.Options.Records, kBenchSeed);
    std::printf("data: %d records of %d values in memory, median of %d runs\n", run.Options.Records,
                kBenchTextBoxes, run.Options.Repeat);
}

// Ours reads the whole file and builds every record; SQLite opens the database and copies every
// row out. Both read through the warm page cache of the system.
void BenchLoad(TBenchRun& run) {
    const double ours = MedianMs(
        run.Options.Repeat, [&] { run.Loaded->LoadFromFile(run.DataPath); },
        [&] { run.Loaded = std::make_unique<TDataFile>(); });
    const double sqlite = MedianMs(
        run.Options.Repeat, [&] { run.SqliteRows = SqliteReadTable(run.DbPath); },
        [&] { TBenchRows().swap(run.SqliteRows); });
    PrintCompared("load", ours, sqlite);
    PrintMemcpyShare(run, "load", ours);
    const size_t records = LoadedCategory(run).Records.size();
    if (records != static_cast<size_t>(run.Options.Records) || run.SqliteRows.size() != records)
        ReportError(run, "load: quillery read " + std::to_string(records) + " records, sqlite " +
                             std::to_string(run.SqliteRows.size()) + " rows");
}

// Both write a new file: the previous run's output is removed first, unmeasured. Ours writes a
// temporary file beside the target, fsyncs it, renames it over the target and fsyncs the folder.
// SQLite runs with its defaults (rollback journal, synchronous FULL): one transaction, whose commit
// fsyncs the journal and the database. Replacing an existing file would add the release of the old
// one's blocks to ours, as a rewrite of a table in place would add journaling to SQLite's.
void BenchSave(TBenchRun& run) {
    const std::string savedPath = run.Dir + "/saved.lgd";
    const std::string savedDbPath = run.Dir + "/saved.sqlite";
    const double ours = MedianMs(
        run.Options.Repeat, [&] { run.Loaded->SaveToFile(savedPath); },
        [&] { std::filesystem::remove(savedPath); });
    const double sqlite = MedianMs(
        run.Options.Repeat, [&] { SqliteWriteTable(savedDbPath, run.SqliteRows); },
        [&] { std::filesystem::remove(savedDbPath); });
    PrintCompared("save", ours, sqlite);
    PrintMemcpyShare(run, "save", ours);
    const std::string bytes = ReadWholeFile(run.DataPath);
    if (ReadWholeFile(savedPath) != bytes)
        ReportError(run, "save: the saved file differs from the one loaded");
    // The floor a save stands on: the disk taking the same bytes, with nothing made, checked or
    // renamed. A save near it is as fast as this disk allows.
    const std::string plainPath = run.Dir + "/plain-write.lgd";
    const double plain = MedianMs(
        run.Options.Repeat,
        [&] {
            const TFileHandle file(::open(plainPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
            if (file.Get() < 0 || WriteAll(file.Get(), bytes) != 0 || ::fsync(file.Get()) != 0)
                ReportError(run, "save: the plain write of " + plainPath + " failed");
        },
        [&] { std::filesystem::remove(plainPath); });
    std::printf("save: %.2fx a plain write and flush of the same bytes (%.1f ms)\n", ours / plain, plain);
}

// The same file encrypted: opening derives the key from the password each time, saving uses the
// key that opening kept. Apart from the key derivation, each may cost at most twice the plain one.
void BenchEncrypted(TBenchRun& run) {
    const std::string password = "bench password";
    const std::string sealedPath = run.Dir + "/sealed.lgd";
    const double derivation =
        MedianMs(run.Options.Repeat, [&] { run.Loaded->EncryptionKey = TDataFileKey::Derive(password); });
    run.Loaded->SaveToFile(sealedPath);
    std::unique_ptr<TDataFile> opened;
    const double open = MedianMs(
        run.Options.Repeat, [&] { opened->LoadFromFile(sealedPath, [&] { return password; }); },
        [&] { opened = std::make_unique<TDataFile>(); });
    const double save = MedianMs(run.Options.Repeat, [&] { opened->SaveToFile(sealedPath); });
    run.Loaded->EncryptionKey = nullptr;
    std::unique_ptr<TDataFile> plain;
    const double plainOpen = MedianMs(
        run.Options.Repeat, [&] { plain->LoadFromFile(run.DataPath); },
        [&] { plain = std::make_unique<TDataFile>(); });
    const double plainSave = MedianMs(run.Options.Repeat, [&] { plain->SaveToFile(run.Dir + "/plain.lgd"); });
    std::printf(
        "open encrypted: quillery %.0f ms (key derivation %.0f ms), %.2fx the plain open without it\n", open,
        derivation, (open - derivation) / plainOpen);
    std::printf("save encrypted: quillery %.0f ms, %.2fx the plain save\n", save, save / plainSave);
    if (opened->SaveToBytes() != ReadWholeFile(run.DataPath))
        ReportError(run, "encrypted: the file opened differs from the plain one");
}

// SQLite gets a page cache that holds the whole table, as ours holds the whole file in memory, and
// a first run that fills it.
void OpenCachedDb(TSqliteDb& db) {
    db.Exec("PRAGMA cache_size = -262144");
    SqliteSortedRowids(db);
}

// One filter run as the main window does it: every record's text tested, a large category's on
// both cores, matches collected.
std::vector<TRecord*> FilterCategory(const TCategory& category, bool wholeWord) {
    TSearchParam param;
    param.SetFilterText(kBenchFilterText);
    param.WholeWord = wholeWord;
    return FilterRecords(category.Records, param, [] {});
}

// SQLite's LIKE folds ASCII letters only, as ours does; any value containing the text selects the
// row, as the text of a record never matches across two values.
void BenchFilter(TBenchRun& run) {
    const TCategory& category = LoadedCategory(run);
    TSqliteDb db(run.DbPath, true);
    OpenCachedDb(db);
    size_t ours = 0;
    size_t theirs = 0;
    size_t whole = 0;
    const double oursMs =
        MedianMs(run.Options.Repeat, [&] { ours = FilterCategory(category, false).size(); });
    const double sqliteMs =
        MedianMs(run.Options.Repeat, [&] { theirs = SqliteFilter(db, kBenchFilterText).size(); });
    const double wholeMs =
        MedianMs(run.Options.Repeat, [&] { whole = FilterCategory(category, true).size(); });
    PrintCompared("filter", oursMs, sqliteMs);
    PrintOurs("whole-word filter", wholeMs);
    PrintMemcpyShare(run, "filter", oursMs);
    std::printf("filter \"%s\": %zu records, as a whole word %zu\n", kBenchFilterText, ours, whole);
    if (ours != theirs)
        ReportError(run, "filter: quillery found " + std::to_string(ours) + " records, sqlite " +
                             std::to_string(theirs) + " rows");
    if (whole == 0 || whole >= ours)
        ReportError(run,
                    "whole-word filter: " + std::to_string(whole) + " records of " + std::to_string(ours));
}

// Ours sorts row pointers by the first line of the sort column's value, as the list does. SQLite's
// NOCASE folds to small letters and compares whole values, so the orders differ in detail.
void BenchSort(TBenchRun& run) {
    const TCategory& category = LoadedCategory(run);
    const int32_t valueIndex = category.ValueIndexOf(category.Columns.at(0)->ElementID);
    TSqliteDb db(run.DbPath, true);
    OpenCachedDb(db);
    std::vector<const TRecord*> rows;
    std::vector<int64_t> rowids;
    const double ours = MedianMs(run.Options.Repeat, [&] {
        rows.clear();
        for (const auto& record : category.Records)
            rows.push_back(record.get());
        SortRecordsByListText(rows, valueIndex, true);
    });
    const double sqlite = MedianMs(run.Options.Repeat, [&] { rowids = SqliteSortedRowids(db); });
    PrintCompared("sort", ours, sqlite);
    if (rows.size() != rowids.size())
        ReportError(run, "sort: quillery " + std::to_string(rows.size()) + " rows, sqlite " +
                             std::to_string(rowids.size()));
}

// Ours changes the records in memory; the file is written later, by a save. SQLite's DROP COLUMN
// rewrites the table and commits with its default durability, fsync included.
void BenchMerge(TBenchRun& run) {
    std::unique_ptr<TDataFile> copy;
    const double ours = MedianMs(
        run.Options.Repeat,
        [&] {
            TCategory& category = *copy->Categories.front();
            TCategory edited;
            edited.AssignTemplate(category);
            for (const auto& element : category.Elements)
                if (element->ValueIndex == kBenchMergeValue)
                    edited.DeleteElement(element->ID);
            category.MergeTemplate(edited);
        },
        [&] {
            copy = std::make_unique<TDataFile>();
            copy->LoadFromFile(run.DataPath);
        });
    const std::string mergedDbPath = run.Dir + "/merged.sqlite";
    const double sqlite = MedianMs(
        run.Options.Repeat,
        [&] {
            TSqliteDb db(mergedDbPath, false);
            db.Exec("ALTER TABLE t DROP COLUMN c" + std::to_string(kBenchMergeValue));
        },
        [&] {
            std::filesystem::copy_file(run.DbPath, mergedDbPath,
                                       std::filesystem::copy_options::overwrite_existing);
        });
    PrintCompared("merge", ours, sqlite);
    const TRecord& merged = *copy->Categories.front()->Records.front();
    const TRecord& original = *LoadedCategory(run).Records.front();
    if (merged.Count() != kBenchTextBoxes - 1 ||
        merged.Value(kBenchMergeValue) != original.Value(kBenchMergeValue + 1))
        ReportError(run, "merge: the values after the deleted text box did not move up");
}

// The large run's lines after the export work on the data file it saved: the generated records
// go, so that the window's own copy of them does not come on top.
void ReleaseRecords(TBenchRun& run) {
    run.Loaded.reset();
}

struct TBenchStep {
    const char* Name;
    void (*Run)(TBenchRun&);
};

// In the order they print; each step after load works on what load read.
const TBenchStep kSteps[] = {
    {"load", BenchLoad},     {"save", BenchSave},     {"encrypted", BenchEncrypted},
    {"filter", BenchFilter}, {"sort", BenchSort},     {"list sort", BenchListSort},
    {"merge", BenchMerge},   {"memory", BenchMemory}, {"fresh load", BenchFreshLoad},
    {"window", BenchWindow}, {"export", BenchExport}, {"import", BenchImport},
    {"print", BenchPrint},
};

// The lines whose point is a large category; --large runs only these.
const TBenchStep kLargeSteps[] = {
    {"list sort", BenchListSort}, {"export memory", BenchExportMemory}, {"release", ReleaseRecords},
    {"memory", BenchMemory},      {"fresh load", BenchFreshLoad},       {"window ready", BenchWindowReady},
    {"window", BenchWindow},
};
constexpr int32_t kLargeRecords = 1000000;

int Usage() {
    std::fprintf(stderr, "usage: quillery-bench [--large] [--records N] [--repeat N] [--keep-dir]\n"
                         "  --large      only the lines for a large category, on records generated in\n"
                         "               memory (default 1000000)\n"
                         "  --records N  records in the generated data file (default 100000)\n"
                         "  --repeat N   runs of each measurement; the median is reported (default 5)\n"
                         "  --keep-dir   keep the folder with the data file and the SQLite database\n");
    return 2;
}

bool ParseCount(const char* text, int32_t& value) {
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < 1 || number > 10000000)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kCliPeakOption) == 0)
        return PrintCliPeak(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], kWindowReadyOption) == 0)
        return PrintWindowReady(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], kImportPeakOption) == 0)
        return PrintImportPeak(argv[2]);
    if (argc == 3 &&
        (std::strcmp(argv[1], kExportXlsxPeakOption) == 0 || std::strcmp(argv[1], kExportCsvPeakOption) == 0))
        return PrintExportPeak(argv[1], argv[2]);

    TBenchRun run;
    bool large = false;
    bool recordsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--keep-dir")
            run.Options.KeepDir = true;
        else if (option == "--large")
            large = true;
        else if (option == "--records" && i + 1 < argc && ParseCount(argv[i + 1], run.Options.Records)) {
            recordsGiven = true;
            ++i;
        } else if (option == "--repeat" && i + 1 < argc && ParseCount(argv[i + 1], run.Options.Repeat))
            ++i;
        else
            return Usage();
    }

    const char* step = "prepare";
    const auto runSteps = [&](const auto& steps) {
        for (const TBenchStep& s : steps) {
            step = s.Name;
            s.Run(run);
        }
    };
    try {
        if (large) {
            if (!recordsGiven)
                run.Options.Records = kLargeRecords;
            PrepareLarge(run);
            runSteps(kLargeSteps);
        } else {
            run.Dir = MakeTempDir();
            Prepare(run);
            runSteps(kSteps);
        }
    } catch (const std::exception& e) {
        ReportError(run, std::string(step) + ": " + e.what());
    }
    if (!run.Dir.empty() && !run.Options.KeepDir)
        std::filesystem::remove_all(run.Dir);
    return run.Failed ? 1 : 0;
}
