// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

#include <string>

// A1-style cell references of a worksheet of 1048576 rows and 16384 columns (A to XFD).
namespace CellReference {
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// Parses "B7" into row 7, column 2; false for anything else, "A0" or "XFD1048577" included.
bool Parse(QStringView reference, int& row, int& column);
// Parses the column letters alone ("B7" gives 2); false when there are none or too many.
bool ParseColumn(QStringView reference, int& column);
void AppendColumnName(std::string& out, int column);
} // namespace CellReference
