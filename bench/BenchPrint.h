// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct TBenchRun;

// A list print of every record with all ten text boxes as columns, rendered into a PDF file the
// way "&Print..." renders it, with the growth of the peak memory it took.
void BenchPrint(TBenchRun& run);
