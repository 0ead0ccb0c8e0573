// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/SheetRows.h"
#include "exchange/workbook/ZipPackage.h"

#include <QString>

// The worksheet XML of a sheet's rows, made a row at a time while the package is written: every
// value an inline text cell, heading cells in the cell format headingStyle. Throws ECellTooLong.
class TWorksheetXml : public TPartSource {
public:
    TWorksheetXml(const QString& sheetName, const TSheetRows& rows, int headingStyle, bool selected);
    void Rewind(bool writing) override;
    bool Next(std::string& out) override;

private:
    void AppendRow(std::string& out);

    QString FSheetName;
    const TSheetRows& FRows;
    int FHeadingStyle;
    bool FSelected;
    bool FWriting = false;
    int FRow = 0; // 0 before the start, UsedRows + 1 for the end, past it when all was given
    TRowCells FCells;
};
