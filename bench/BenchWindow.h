// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QApplication;
struct TBenchRun;

// An application object that draws offscreen, so that no display is needed.
std::unique_ptr<QApplication> MakeOffscreenApplication();

// The program itself, offscreen, on the run's data file: showing the category (list filled
// and sorted, first record in the form), a header click, and one filter run end to end. The lines'
// names end with run.LineSuffix.
void BenchWindow(TBenchRun& run);

// The child's side of the window's start-up line: a fresh program's start on the data file at
// path, until its list holds the whole first category and the first record is in the form; then
// prints the list's row count. The exit status.
int PrintWindowReady(const char* path);
extern const char* const kWindowReadyOption;
