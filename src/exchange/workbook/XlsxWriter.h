// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/SheetRows.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TZipWriter;

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

extern const char kXmlDeclaration[];
extern const char kMainNamespace[];
extern const char kRelationshipsNamespace[];
extern const char kWorksheetType[];
extern const char kWorksheetContentType[];
extern const char kStylesType[];
extern const char kStylesContentType[];

struct TSheet {
    QString Name;
    std::shared_ptr<const TSheetRows> Rows;
};

// Adds the sheet's worksheet XML to zip as the entry name, made while the package is written.
// Throws ECellTooLong.
void PutWorksheet(TZipWriter& zip, const QString& name, const TSheet& sheet, int headingStyle, bool selected);
// A styles part whose cell format 1 is the heading format.
QByteArray StylesXml();
// The heading format's font and cell format, for adding to an existing styles part.
QByteArray HeadingFontXml(const QByteArray& prefix, const QByteArray& size, const QByteArray& face);
QByteArray HeadingFormatXml(const QByteArray& prefix, int fontIndex);

// The parts of a whole new package holding the sheets, the one at activeIndex (0-based) active,
// added to the empty zip.
void PutNewPackage(TZipWriter& zip, const std::vector<TSheet>& sheets, int activeIndex);
} // namespace XlsxWriter
