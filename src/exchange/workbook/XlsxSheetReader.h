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

// Reads the cells of one worksheet part into a grid, each as the import sees it as text. The part
// is scanned directly as UTF-8 (the hot path of every import); a part in another encoding or with a
// document type declaration goes through Qt's XML reader instead.
class TXlsxSheetReader {
public:
    TXlsxSheetReader(const TSharedStrings& strings, const std::vector<CellValueText::TDateKind>& styleKinds,
                     bool date1904)
        : FStrings(strings), FStyleKinds(styleKinds), FDate1904(date1904) {}
    void Read(const TZipReader& zip, int index, TCellGrid& grid);

private:
    // What either parser reports: elements by local name, with the attributes of rows and cells.
    void Start(QStringView name, QStringView r, QStringView t, QStringView s);
    void End(QStringView name);
    void Characters(QStringView text) {
        if (FCapturing || (FInInline && FInRunText && !FInPhonetic))
            FValue.append(text);
    }
    // False when the part is not plain UTF-8 without a document type declaration.
    bool ReadFast(const QByteArray& xml);
    void ReadWithQt(const QByteArray& xml);
    void StartCell(QStringView r, QStringView t, QStringView s);
    void FinishCell();

    const TSharedStrings& FStrings;
    const std::vector<CellValueText::TDateKind>& FStyleKinds;
    bool FDate1904;
    TCellGrid* FGrid = nullptr;
    bool FInSheetData = false, FInCell = false, FCapturing = false, FInInline = false, FInRunText = false,
         FInPhonetic = false, FDone = false;
    int FRow = 0;
    int FColumn = 0;
    enum class TType { Number, Shared, Boolean, Date, Text } FType = TType::Number;
    int FStyle = 0;
    QString FValue; // reused for every cell
    QString FText;
};
