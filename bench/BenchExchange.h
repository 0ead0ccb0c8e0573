// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchCommon.h"

// The category written to a .xlsx workbook, against libxlsxwriter writing the same cells in its
// constant-memory mode; that workbook read back into a new category, with its peak memory, and
// added to an existing one.
void BenchExport(TBenchRun& run);
// The peak memory of exporting the category to .xlsx and to .csv, above the memory of the loaded
// data, each in a fresh process that loads the data file first: the records saved as run.DataPath.
void BenchExportMemory(TBenchRun& run);
void BenchImport(TBenchRun& run);

// The child's side of the import's memory figure: imports path, prints the peak resident KiB.
int PrintImportPeak(const char* path);
extern const char* const kImportPeakOption;
// The child's side of the export's memory figure: loads path, exports it to path.xlsx (.csv), prints
// the peak resident KiB above the loaded data.
int PrintExportPeak(const char* option, const char* path);
extern const char* const kExportXlsxPeakOption;
extern const char* const kExportCsvPeakOption;
