// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

// Reports work done out of total, so that a window can move its progress bar and repaint.
using TExchangeProgress = std::function<void(int64_t done, int64_t total)>;

// Progress is reported after this many rows, and once at the end.
constexpr int64_t kExchangeProgressRows = 1024;

// Runs one long call of the workbook engine, such as opening or saving a file, and returns when it
// has ended, rethrowing what it threw. A window runs it on a worker thread and keeps painting; the
// call touches the engine's objects only.
using TExchangeWait = std::function<void(const std::function<void()>& engineCall)>;
// The wait without a window: the call runs at once on this thread.
void CallDirectly(const std::function<void()>& engineCall);

// A cell's text without the spaces and control characters at either end.
QString TrimmedCellText(const QString& text);
// The same for a cell's UTF-8 text: the characters trimmed are all single bytes.
std::string_view TrimmedCellBytes(std::string_view text);

class TWorkbook;
// Closes and releases workbook, if any. The clean-up when a wizard or an export ends: a failure
// ends it silently, as when nothing was opened.
void CloseWorkbookQuietly(std::unique_ptr<TWorkbook>& workbook) noexcept;
