// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchCommon.h"

// The category written to a .xlsx workbook, against libxlsxwriter writing the same cells in its
// constant-memory mode; that workbook read back into a new category, with its peak memory, and
// added to an existing one.
void BenchExport(TBenchRun& run);
void BenchImport(TBenchRun& run);

// The child's side of the import's memory figure: imports path, prints the peak resident KiB.
int PrintImportPeak(const char* path);
extern const char* const kImportPeakOption;
