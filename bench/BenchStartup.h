// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchCommon.h"

// What a user waits for when a fresh process opens the data file: quillery-cli reading it whole,
// against cat reading its bytes, each a fresh process.
void BenchFreshLoad(TBenchRun& run);
// The peak memory of quillery-cli reading the data file whole, against the file's size.
void BenchMemory(TBenchRun& run);
// The hidden mode of the child that measures it: a small fresh process runs quillery-cli, so that
// nothing of the bench's own memory counts in the peak the system reports for it, and prints that
// peak in KiB; the exit status.
extern const char* const kCliPeakOption;
int PrintCliPeak(const char* path);
// A fresh start of the program itself, offscreen, until the window shows the whole category and
// its first record, and the largest peak memory of those starts; a large run's lines, of at most
// three runs.
void BenchWindowReady(TBenchRun& run);
