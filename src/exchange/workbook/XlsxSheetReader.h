// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/CellBudget.h"
#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/XlsxSharedStrings.h"

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TZipReader;

// For each cell format (the s attribute of a cell), whether it shows a date or time.
std::vector<CellValueText::TDateKind> ReadStyleDateKinds(const TZipReader& zip, int index);

// Reads the cells of one worksheet part into a grid, each as the import sees it as text, from what
// TXlsxSheetScanner reports of the part. Throws ECellBudgetExceeded when the cells would show more
// text than the part and the shared strings account for.
class TXlsxSheetReader {
public:
    TXlsxSheetReader(const TSharedStrings& strings, const std::vector<CellValueText::TDateKind>& styleKinds,
                     bool date1904)
        : FStrings(strings), FStyleKinds(styleKinds), FDate1904(date1904) {}
    void Read(const TZipReader& zip, int index, TCellGrid& grid);

    // What the scanner reports in UTF-8: elements by local name, with the attributes of rows and
    // cells.
    void Start(std::string_view name, std::string_view r, std::string_view t, std::string_view s);
    void End(std::string_view name);
    void Characters(std::string_view text) {
        if (WantsText())
            FValue.append(text);
    }
    // Whether text here belongs to a cell's value: the scanner decodes no other text.
    bool WantsText() const { return FCapturing || (FInInline && FInRunText && !FInPhonetic); }
    // The worksheet's cells have all been read; the rest of the part is not looked at.
    bool Done() const { return FDone; }

private:
    void StartCell(std::string_view r, std::string_view t, std::string_view s);
    void FinishCell();
    // Places a text cell's value as it stands in UTF-8, line breaks made CR LF; false, placing
    // nothing, when it holds escapes.
    bool PlaceUtf8Text();

    const TSharedStrings& FStrings;
    const std::vector<CellValueText::TDateKind>& FStyleKinds;
    bool FDate1904;
    TCellGrid* FGrid = nullptr;
    TCellBudget FBudget{0}; // set for the part read
    // For each shared string, where the grid holds it once a cell has shown it.
    std::vector<TCellGrid::TTextSpan> FPlaced;
    bool FInSheetData = false, FInCell = false, FCapturing = false, FInInline = false, FInRunText = false,
         FInPhonetic = false, FDone = false;
    int FRow = 0;
    int FColumn = 0;
    enum class TType { Number, Shared, Boolean, Date, Text } FType = TType::Number;
    int FStyle = 0;
    std::string FValue; // reused for every cell
    std::string FBytes;
    QString FText;
};
