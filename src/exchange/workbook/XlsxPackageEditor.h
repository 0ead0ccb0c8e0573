// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/XlsxWriter.h"

class TXlsxPackage;
class TZipWriter;

// Puts into writer an existing package with worksheets added. Only the parts that must change are rewritten
// (the sheet list, its relationships, the content types, the styles, the document properties' sheet titles),
// and only where they change; every other entry is copied as it is. Throws EDamagedPackage for a
// package it cannot extend safely, ECellTooLong for a text too long for a cell.
// The package must last until writer has finished.
void AddWorksheets(TZipWriter& writer, const TXlsxPackage& package,
                   const std::vector<XlsxWriter::TSheet>& sheets);
