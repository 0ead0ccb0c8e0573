// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QApplication;
struct TBenchRun;

// An application object that draws offscreen, so that no display is needed.
std::unique_ptr<QApplication> MakeOffscreenApplication();

// The program itself, offscreen, on the benchmark's data file: showing the category (list filled
// and sorted, first record in the form), a header click, and one filter run end to end.
void BenchWindow(TBenchRun& run);
