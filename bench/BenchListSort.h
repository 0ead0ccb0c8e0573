// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct TBenchRun;

// The list sort of quillery-cli list (row pointers of every record put in list order) against the
// window's (the record list model sorting its rows), both by the first list column, ascending, on
// the category that the load step read. The two must give the same order.
void BenchListSort(TBenchRun& run);
