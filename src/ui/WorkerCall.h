// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// Runs work on a worker thread and keeps this thread's event loop going until it has ended, so
// that windows paint and timers fire meanwhile; then rethrows what work threw. work may touch
// only objects that nothing on this thread touches until it returns: no widget, no data. Callers
// keep the user from starting anything else while it runs.
void RunOffGuiThread(const std::function<void()>& work);

// Test mode: a test holds the worker to look at the window while the work is under way.
namespace WorkerCallTesting {

// Runs hook on the worker before each work; an empty hook ends test mode.
void SetBeforeWork(std::function<void()> hook);

} // namespace WorkerCallTesting
