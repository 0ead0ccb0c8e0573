#pragma once

#include "exchange/workbook/CellValueText.h"

#include <QString>

#include <cstdint>
#include <vector>

class TCellGrid;
class TPartXml;
class TZipReader;

// The shared strings of a workbook, decoded as the import sees them, in one buffer.
class TSharedStrings {
public:
    void Add(QStringView raw);
    int Count() const { return int(FEnds.size()); }
    QStringView At(int index) const;

private:
    QString FTexts;
    std::vector<uint32_t> FEnds;
};

void ReadSharedStrings(const TZipReader& zip, int index, TSharedStrings& strings);
// For each cell format (the s attribute of a cell), whether it shows a date or time.
std::vector<CellValueText::TDateKind> ReadStyleDateKinds(const TZipReader& zip, int index);

// Reads the cells of one worksheet part into a grid, each as the import sees it as text.
class TXlsxSheetReader {
public:
    TXlsxSheetReader(const TSharedStrings& strings, const std::vector<CellValueText::TDateKind>& styleKinds,
                     bool date1904)
        : FStrings(strings), FStyleKinds(styleKinds), FDate1904(date1904) {}
    void Read(const TZipReader& zip, int index, TCellGrid& grid);

private:
    void StartCell(TPartXml& xml);
    void FinishCell(TCellGrid& grid);

    const TSharedStrings& FStrings;
    const std::vector<CellValueText::TDateKind>& FStyleKinds;
    bool FDate1904;
    int FRow = 0;
    int FColumn = 0;
    QString FTypeText;
    int FStyle = 0;
    QString FValue; // reused for every cell
    QString FText;
};
