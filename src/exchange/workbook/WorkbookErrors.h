// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/Workbook.h"

// The texts of the engine's failures, in one place so that every format says the same thing.
namespace WorkbookErrors {
EWorkbookError NotAWorkbook(const QString& path);
EWorkbookError CannotOpen(const QString& path, const QString& reason);
EWorkbookError DamagedSheet(const QString& sheet, const QString& path);
EWorkbookTooLarge TooLarge(const QString& path);
EWorkbookError PasswordProtected(const QString& path);
EWorkbookError CannotSave(const QString& path, const QString& reason);
EWorkbookError ReadOnlyFormat(const QString& path);
EWorkbookError CsvHoldsOneSheet(const QString& path);
EWorkbookError DuplicateSheetName(const QString& name, const QString& path);
EWorkbookError InvalidSheetName(const QString& name, const QString& reason);
EWorkbookError ExistingSheet(const QString& sheet, const QString& path);
EWorkbookError NoSuchSheet(const QString& name, const QString& path);
EWorkbookError NoSuchSheetIndex(int index, const QString& path);
EWorkbookError CellOutOfRange(int row, int column);
EWorkbookError Closed();
// The path as the texts show it: a new workbook has none yet.
QString WorkbookLabel(const QString& path);
} // namespace WorkbookErrors
