// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchCommon.h"

// What a user waits for when a fresh process opens the data file: quillery-cli reading it whole,
// against cat reading its bytes, each a fresh process.
void BenchFreshLoad(TBenchRun& run);
// A fresh start of the program itself, offscreen, until the window shows the whole category and
// its first record, and the largest peak memory of those starts; a large run's lines, of at most
// three runs.
void BenchWindowReady(TBenchRun& run);
