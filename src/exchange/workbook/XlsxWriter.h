#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

class TCellGrid;

// A cell whose text is longer than a cell of the format can hold.
struct ECellTooLong {
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

// The worksheet XML of the grid: every value an inline text cell, heading cells in the cell format
// headingStyle. Throws ECellTooLong.
QByteArray WorksheetXml(const TCellGrid& grid, int headingStyle, bool selected);
// A styles part whose cell format 1 is the heading format.
QByteArray StylesXml();
// The heading format's font and cell format, for adding to an existing styles part.
QByteArray HeadingFontXml(const QByteArray& prefix, const QByteArray& size, const QByteArray& face);
QByteArray HeadingFormatXml(const QByteArray& prefix, int fontIndex);

struct TSheet {
    QString Name;
    const TCellGrid* Grid;
};
// A whole new package holding the sheets, the one at activeIndex (0-based) active.
QByteArray NewPackage(const std::vector<TSheet>& sheets, int activeIndex);
} // namespace XlsxWriter
