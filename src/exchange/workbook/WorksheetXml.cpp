// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/WorksheetXml.h"

#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/XlsxWriter.h"

#include <charconv>

namespace {
void AppendNumber(std::string& out, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, size_t(result.ptr - digits));
}

void AppendReference(std::string& out, int row, int column) {
    CellReference::AppendColumnName(out, column);
    AppendNumber(out, row);
}
} // namespace

TWorksheetXml::TWorksheetXml(const QString& sheetName, const TSheetRows& rows, int headingStyle,
                             bool selected)
    : FSheetName(sheetName), FRows(rows), FHeadingStyle(headingStyle), FSelected(selected) {}

void TWorksheetXml::Rewind(bool writing) {
    FWriting = writing;
    FRow = 0;
}

bool TWorksheetXml::Next(std::string& out) {
    const int usedRows = FRows.UsedRows();
    if (FRow == 0) {
        out += XlsxWriter::kXmlDeclaration;
        out += "<worksheet xmlns=\"";
        out += XlsxWriter::kMainNamespace;
        out += "\" xmlns:r=\"";
        out += XlsxWriter::kRelationshipsNamespace;
        out += "\">";
        if (usedRows > 0) {
            out += "<dimension ref=\"A1:";
            AppendReference(out, usedRows, FRows.UsedColumns());
            out += "\"/>";
        }
        out += FSelected ? "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
                         : "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>";
        out += "<sheetData>";
    } else if (FRow <= usedRows) {
        AppendRow(out);
        if (FWriting)
            FRows.Written(FRow);
    } else if (FRow == usedRows + 1) {
        out += "</sheetData></worksheet>";
    } else {
        return false;
    }
    ++FRow;
    return true;
}

void TWorksheetXml::AppendRow(std::string& out) {
    FRows.ReadRow(FRow, FCells);
    if (FCells.Cells().empty())
        return;
    out += "<row r=\"";
    AppendNumber(out, FRow);
    out += "\">";
    for (const TRowCells::TCell& cell : FCells.Cells()) {
        const QStringView text = FCells.TextOf(cell);
        if (text.size() > XlsxWriter::kMaxCellText)
            throw ECellTooLong(FSheetName, FRow, cell.Column, text.size());
        out += "<c r=\"";
        AppendReference(out, FRow, cell.Column);
        out += '"';
        if (cell.Heading) {
            out += " s=\"";
            AppendNumber(out, FHeadingStyle);
            out += '"';
        }
        if (text.isEmpty()) {
            out += "/>";
            continue;
        }
        out += OoxmlText::NeedsSpacePreserve(text) ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                                                   : " t=\"inlineStr\"><is><t>";
        OoxmlText::AppendEncoded(out, text);
        out += "</t></is></c>";
    }
    out += "</row>";
}
