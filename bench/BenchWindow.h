#pragma once

struct TBenchRun;

// The program itself, offscreen, on the benchmark's data file: showing the category (list filled
// and sorted, first record in the form), a header click, and one filter run end to end.
void BenchWindow(TBenchRun& run);
