// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxSheetReader.h"

#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/PartXml.h"
#include "exchange/workbook/XlsxSheetScanner.h"

#include <QHash>

using CellValueText::TDateKind;

namespace {
constexpr uint32_t kNotPlaced = UINT32_MAX;

int ToInt(QStringView text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}
} // namespace

std::vector<TDateKind> ReadStyleDateKinds(const TZipReader& zip, int index) {
    TPartXml xml(zip, index);
    QHash<int, TDateKind> customKinds;
    std::vector<TDateKind> kinds;
    bool inCellFormats = false;
    while (xml.Next()) {
        if (xml.IsStart(QLatin1String("numFmt"))) {
            customKinds.insert(ToInt(xml.Attribute(QLatin1String("numFmtId")), -1),
                               CellValueText::FormatCodeKind(xml.Attribute(QLatin1String("formatCode"))));
        } else if (xml.IsStart(QLatin1String("cellXfs"))) {
            inCellFormats = true;
        } else if (xml.IsEnd(QLatin1String("cellXfs"))) {
            inCellFormats = false;
        } else if (inCellFormats && xml.IsStart(QLatin1String("xf"))) {
            const int id = ToInt(xml.Attribute(QLatin1String("numFmtId")), 0);
            kinds.push_back(CellValueText::NumberFormatKind(id, customKinds));
        }
    }
    return kinds;
}

void TXlsxSheetReader::Read(const TZipReader& zip, int index, TCellGrid& grid) {
    FGrid = &grid;
    const QByteArray part = zip.Read(index);
    FBudget = TCellBudget(size_t(part.size()), FStrings.TextSize());
    FPlaced.assign(size_t(FStrings.Count()), {kNotPlaced, 0});
    TXlsxSheetScanner(*this).Scan(part);
}

void TXlsxSheetReader::Start(QStringView name, QStringView r, QStringView t, QStringView s) {
    if (!FInSheetData) {
        FInSheetData = name == QLatin1String("sheetData");
    } else if (name == QLatin1String("c")) {
        StartCell(r, t, s);
    } else if (name == QLatin1String("row")) {
        FRow = r.isEmpty() ? FRow + 1 : ToInt(r, 0);
        if (FRow < 1 || FRow > CellReference::kMaxRows)
            throw EDamagedPackage();
        FColumn = 0;
    } else if (FInCell && name == QLatin1String("v")) {
        FCapturing = true;
    } else if (FInCell && name == QLatin1String("is")) {
        FInInline = true;
    } else if (FInInline && name == QLatin1String("rPh")) {
        FInPhonetic = true;
    } else if (FInInline && name == QLatin1String("t")) {
        FInRunText = !FInPhonetic;
    }
}

void TXlsxSheetReader::End(QStringView name) {
    if (name == QLatin1String("v")) {
        FCapturing = false;
    } else if (name == QLatin1String("is")) {
        FInInline = false;
    } else if (name == QLatin1String("rPh")) {
        FInPhonetic = false;
    } else if (name == QLatin1String("t")) {
        FInRunText = false;
    } else if (FInCell && name == QLatin1String("c")) {
        FInCell = false;
        FinishCell();
    } else if (FInSheetData && name == QLatin1String("sheetData")) {
        FDone = true;
    }
}

void TXlsxSheetReader::StartCell(QStringView r, QStringView t, QStringView s) {
    if (r.isEmpty()) {
        ++FColumn;
        if (FRow < 1 || FColumn > CellReference::kMaxColumns)
            throw EDamagedPackage();
    } else if (!CellReference::Parse(r, FRow, FColumn)) {
        throw EDamagedPackage();
    }
    FType = t.isEmpty() || t == QLatin1String("n") ? TType::Number
            : t == QLatin1String("s")              ? TType::Shared
            : t == QLatin1String("b")              ? TType::Boolean
            : t == QLatin1String("d")              ? TType::Date
                                                   : TType::Text;
    FStyle = ToInt(s, 0);
    FValue.resize(0);
    FInCell = true;
}

void TXlsxSheetReader::FinishCell() {
    if (FValue.isEmpty())
        return;
    FText.resize(0);
    switch (FType) {
    case TType::Shared: {
        const int index = ToInt(FValue, -1);
        if (index < 0 || index >= FStrings.Count())
            throw EDamagedPackage();
        const QStringView text = FStrings.At(index);
        if (text.isEmpty())
            return;
        FBudget.Take(size_t(text.size()));
        TCellGrid::TTextSpan& placed = FPlaced[size_t(index)];
        if (placed.Offset == kNotPlaced)
            placed = FGrid->SetText(FRow, FColumn, text);
        else
            FGrid->SetPlacedText(FRow, FColumn, placed);
        return;
    }
    case TType::Boolean:
        FText = CellValueText::Boolean(FValue.trimmed() == QLatin1String("1"));
        break;
    case TType::Date:
        FText = CellValueText::IsoDateTime(FValue);
        break;
    case TType::Number: {
        const TDateKind kind = FStyle >= 0 && size_t(FStyle) < FStyleKinds.size()
                                   ? FStyleKinds[size_t(FStyle)]
                                   : TDateKind::None;
        if (kind != TDateKind::None)
            FText = CellValueText::Date(FValue.toDouble(), kind, FDate1904);
        if (FText.isEmpty())
            FText = CellValueText::NumberFromText(FValue);
        if (FText.isEmpty())
            FText = FValue;
        break;
    }
    case TType::Text:
        // Inline strings, a formula's cached string, error values: their text.
        OoxmlText::AppendDecoded(FText, FValue);
        break;
    }
    if (FText.isEmpty())
        return;
    FBudget.Take(size_t(FText.size()));
    FGrid->SetText(FRow, FColumn, FText);
}
