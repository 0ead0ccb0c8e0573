// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// How the import sees a cell's value as text, the same for every format: numbers as a spreadsheet's
// General format shows them, booleans as TRUE and FALSE, dates and times as ISO 8601, line breaks as
// CR LF.
namespace CellValueText {

enum class TDateKind { None, Date, Time, DateTime, Duration };

// Up to 15 significant digits without trailing zeros and with "." for the decimal point; written
// with an exponent ("1.23456789012346E+19", "1E-06") below 1E-05 and from 1E+15 up. Empty for
// infinities and NaN, which no cell holds.
QString Number(double value);
QString Boolean(bool value);
// The text of a number written in a file, or an empty text when it is not a number.
QString NumberFromText(QStringView text);
// Date serial number (days since the workbook's epoch) as ISO text; empty when the serial is not a
// date the format can show (negative or past the year 9999).
QString Date(double serial, TDateKind kind, bool date1904);
// The built-in number formats that show dates and times.
TDateKind BuiltInFormatKind(int id);
// The kind of a cell's number format: a custom format's code when the workbook defines one for the id,
// otherwise the built-in format.
TDateKind NumberFormatKind(int id, const QHash<int, TDateKind>& customKinds);
// A custom number format shows a date or time when its first section has date or time codes
// outside quotes and brackets.
TDateKind FormatCodeKind(QStringView code);
// "2026-12-07T13:45:00.000Z" and the like as "2026-12-07 13:45:00"; a midnight without time as the
// date alone.
QString IsoDateTime(QStringView value);
// "PT13H45M00S" as "13:45:00".
QString IsoDuration(QStringView value);
// Appends text with every line break that is not already CR LF made into one.
void AppendWithCrLf(QString& out, QStringView text);
// The same for UTF-8 text.
void AppendWithCrLf(std::string& out, std::string_view text);

} // namespace CellValueText
