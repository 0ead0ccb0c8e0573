// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileIO.h"

#include <QByteArray>

class TCellGrid;
class TSheetRows;

// Comma-separated values (RFC 4180): read as UTF-8 (with or without a byte-order mark) or else
// Windows-1252, the separator (comma, semicolon or tab) taken from the first line; written as UTF-8
// without a byte-order mark, comma-separated, lines ending in CR LF.
namespace CsvFormat {
// Throws EDamagedPackage when the values do not fit a worksheet.
void Read(const QByteArray& bytes, TCellGrid& grid);
// Hands the lines to put a piece at a time, as they are made.
void Write(const TSheetRows& rows, const TByteSink& put);
} // namespace CsvFormat
