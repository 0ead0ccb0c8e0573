// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <string>
#include <utility>
#include <vector>

class TCellGrid;

// A cell whose text is longer than a cell of the format can hold.
struct ECellTooLong : std::exception {
    ECellTooLong(QString sheet, int row, int column, qsizetype length)
        : Sheet(std::move(sheet)), Row(row), Column(column), Length(length) {}
    const char* what() const noexcept override { return "cell text too long"; }

    QString Sheet;
    int Row;
    int Column;
    qsizetype Length;
};

// The parts Quillery writes into .xlsx packages.
namespace XlsxWriter {
constexpr int kMaxCellText = 32767;

extern const char kMainNamespace[];
extern const char kRelationshipsNamespace[];
extern const char kWorksheetType[];
extern const char kWorksheetContentType[];
extern const char kStylesType[];
extern const char kStylesContentType[];

struct TSheet {
    QString Name;
    const TCellGrid* Grid;
};

// The worksheet XML of the sheet's cells: every value an inline text cell, heading cells in the
// cell format headingStyle. Throws ECellTooLong.
QByteArray WorksheetXml(const TSheet& sheet, int headingStyle, bool selected);
// A styles part whose cell format 1 is the heading format.
QByteArray StylesXml();
// The heading format's font and cell format, for adding to an existing styles part.
QByteArray HeadingFontXml(const QByteArray& prefix, const QByteArray& size, const QByteArray& face);
QByteArray HeadingFormatXml(const QByteArray& prefix, int fontIndex);

// A whole new package holding the sheets, the one at activeIndex (0-based) active.
QByteArray NewPackage(const std::vector<TSheet>& sheets, int activeIndex);
} // namespace XlsxWriter
