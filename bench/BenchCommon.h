// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchData.h"
#include "core/DataFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct TBenchOptions {
    int32_t Records = 100000;
    int32_t Repeat = 5;
    bool KeepDir = false;
};

// What the measurements share: the files in the run's folder and what the load step read.
struct TBenchRun {
    TBenchOptions Options;
    std::string DataPath; // the data file
    std::string DbPath;   // the same records in SQLite, table t
    std::string Dir;
    uint64_t FileBytes = 0;
    double MemcpyMs = 0; // a plain copy of the data file's bytes
    std::unique_ptr<TDataFile> Loaded;
    TBenchRows SqliteRows;
    // Ends the names of the lines that the default run prints too, so that a large run's differ:
    // " 1M" there, after the record count; empty in the default run.
    std::string LineSuffix;
    bool Failed = false;
};

// A record count as the report names it: 1M, 100k, or the number itself.
std::string CountLabel(size_t count);

// The median of times, which holds at least one.
double Median(std::vector<double> times);

// The median in milliseconds of repeat runs of work; prepare runs before each, untimed. One untimed
// run goes first, so the lines measure work the process has done before: a process's first run
// pays for getting its memory from the system, which the fresh-load lines measure on their own.
double MedianMs(int repeat, const std::function<void()>& work, const std::function<void()>& prepare = {});
// The medians of repeat runs each of first and second, taken in turn, so that the machine's speed
// drifting during the runs weighs on both alike; prepareSecond runs before each of second's, untimed.
// Each has one untimed run first, as for MedianMs.
std::pair<double, double> MedianMsInTurn(int repeat, const std::function<void()>& first,
                                         const std::function<void()>& second,
                                         const std::function<void()>& prepareSecond = {});

// The report lines. SQLite's median over ours gives the ratio, so above 1 means ours is faster.
void PrintCompared(const char* operation, double oursMs, double sqliteMs);
void PrintOurs(const char* operation, double oursMs);
// Ours as a share of the speed of copying the file's bytes with memcpy.
void PrintMemcpyShare(const TBenchRun& run, const char* operation, double oursMs);
// A peak resident size against the data file's size, on a line named what and run.LineSuffix.
void PrintMemory(const TBenchRun& run, const char* what, uint64_t peakBytes);
// Prints an error line; the run ends with a failing exit code.
void ReportError(TBenchRun& run, const std::string& message);

// The peak resident size of a fresh process (this program run again with option and path, which
// prints its peak in KiB), so that nothing this process holds counts.
uint64_t ChildPeakBytes(const char* option, const std::string& path);
// The child's side: prints this process's peak resident size in KiB; the exit status.
int PrintPeakKiB();
// This process's resident size now ("VmRSS:") or at its peak ("VmHWM:"), in KiB.
long long StatusKiB(const char* field);
