// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DataFile.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Every record holds this many values; the last kBenchMemoBoxes text boxes are memos.
constexpr int32_t kBenchTextBoxes = 10;
constexpr int32_t kBenchMemoBoxes = 3;
constexpr size_t kBenchMaxValueBytes = 60;
// The text box that the merge deletes, by value index: one in the middle.
constexpr int32_t kBenchMergeValue = 4;
constexpr uint32_t kBenchSeed = 20240611;
// As typed into the filter box, capitals included. No % or _, so it means the same in a LIKE pattern.
extern const char* const kBenchFilterText;

// Numbers drawn from std::mt19937, whose output the language fixes. The library's distributions
// differ between implementations, so ranges are cut here to give the same data everywhere.
class TBenchRandom {
public:
    explicit TBenchRandom(uint32_t seed) : FEngine(seed) {}
    // Uniform in [0, n); n > 0.
    uint32_t Below(uint32_t n);

private:
    std::mt19937 FEngine;
};

// One category of kBenchTextBoxes labelled text boxes with list columns over the first four, and
// recordCount records. Values take 0 to kBenchMaxValueBytes bytes: words, numbers, UTF-8 beyond
// ASCII, memos of several CR LF lines, and the filter text in a share of them.
std::unique_ptr<TDataFile> MakeBenchDataFile(int32_t recordCount, uint32_t seed);

// The records' values as rows of text, the form in which SQLite reads and writes them.
using TBenchRows = std::vector<std::vector<std::string>>;
TBenchRows RowsOf(const TCategory& category);
