// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class TCellGrid;

// Comma-separated values (RFC 4180): read as UTF-8 (with or without a byte-order mark) or else
// Windows-1252, the separator (comma, semicolon or tab) taken from the first line; written as UTF-8
// without a byte-order mark, comma-separated, lines ending in CR LF.
namespace CsvFormat {
// Throws EDamagedPackage when the values do not fit a worksheet.
void Read(const QByteArray& bytes, TCellGrid& grid);
QByteArray Write(const TCellGrid& grid);
} // namespace CsvFormat
