#include "exchange/workbook/XlsxSheetReader.h"

#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/PartXml.h"

#include <QHash>

#include <limits>

using CellValueText::TDateKind;

namespace {
// Text runs of a string item: plain <t>, or the <t> of each rich-text run; phonetic runs are not
// part of the text.
struct TRunText {
    bool InPhonetic = false;
    bool Capturing = false;
    void Track(TPartXml& xml, QString& into) {
        QXmlStreamReader& x = xml.Xml();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("rPh"))
                InPhonetic = true;
            else if (x.name() == QLatin1String("t"))
                Capturing = !InPhonetic;
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("rPh"))
                InPhonetic = false;
            else if (x.name() == QLatin1String("t"))
                Capturing = false;
        } else if (x.isCharacters() && Capturing) {
            into.append(x.text());
        }
    }
};

// Far more than any worksheet Quillery can import; a part that holds more is refused.
constexpr size_t kMaxCellsPerSheet = size_t(16) << 20;

int ToInt(QStringView text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}
} // namespace

void TSharedStrings::Add(QStringView raw) {
    OoxmlText::AppendDecoded(FTexts, raw);
    if (FTexts.size() > std::numeric_limits<int32_t>::max())
        throw EDamagedPackage();
    FEnds.push_back(uint32_t(FTexts.size()));
}

QStringView TSharedStrings::At(int index) const {
    const uint32_t start = index == 0 ? 0 : FEnds[size_t(index) - 1];
    return QStringView(FTexts).mid(start, FEnds[size_t(index)] - start);
}

void ReadSharedStrings(const TZipReader& zip, int index, TSharedStrings& strings) {
    TPartXml xml(zip, index);
    QString item;
    TRunText run;
    bool inItem = false;
    while (xml.Next()) {
        if (xml.IsStart(QLatin1String("si"))) {
            inItem = true;
            item.clear();
        } else if (xml.IsEnd(QLatin1String("si"))) {
            inItem = false;
            strings.Add(item);
        } else if (inItem) {
            run.Track(xml, item);
        }
    }
}

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
            kinds.push_back(customKinds.contains(id) ? customKinds.value(id)
                                                     : CellValueText::BuiltInFormatKind(id));
        }
    }
    return kinds;
}

void TXlsxSheetReader::Read(const TZipReader& zip, int index, TCellGrid& grid) {
    TPartXml xml(zip, index);
    QXmlStreamReader& x = xml.Xml();
    bool inSheetData = false, inCell = false, capturing = false, inInline = false;
    TRunText inlineRun;
    while (xml.Next()) {
        if (x.isStartElement()) {
            const QStringView name = x.name();
            if (!inSheetData) {
                inSheetData = name == QLatin1String("sheetData");
            } else if (name == QLatin1String("c")) {
                StartCell(xml);
                inCell = true;
            } else if (name == QLatin1String("row")) {
                const QStringView r = xml.Attribute(QLatin1String("r"));
                FRow = r.isEmpty() ? FRow + 1 : ToInt(r, 0);
                if (FRow < 1 || FRow > CellReference::kMaxRows)
                    throw EDamagedPackage();
                FColumn = 0;
            } else if (inCell && name == QLatin1String("v")) {
                capturing = true;
            } else if (inCell && name == QLatin1String("is")) {
                inInline = true;
                inlineRun = TRunText();
            } else if (inInline) {
                inlineRun.Track(xml, FValue);
            }
        } else if (x.isCharacters()) {
            if (capturing)
                FValue.append(x.text());
            else if (inInline)
                inlineRun.Track(xml, FValue);
        } else if (x.isEndElement()) {
            const QStringView name = x.name();
            if (name == QLatin1String("v")) {
                capturing = false;
            } else if (name == QLatin1String("is")) {
                inInline = false;
            } else if (inInline) {
                inlineRun.Track(xml, FValue);
            } else if (inCell && name == QLatin1String("c")) {
                inCell = false;
                FinishCell(grid);
            } else if (name == QLatin1String("sheetData")) {
                return;
            }
        }
    }
}

void TXlsxSheetReader::StartCell(TPartXml& xml) {
    const QXmlStreamAttributes attributes = xml.Xml().attributes();
    const QStringView reference = attributes.value(QLatin1String("r"));
    if (reference.isEmpty()) {
        ++FColumn;
        if (FRow < 1 || FColumn > CellReference::kMaxColumns)
            throw EDamagedPackage();
    } else if (!CellReference::Parse(reference, FRow, FColumn)) {
        throw EDamagedPackage();
    }
    FTypeText = attributes.value(QLatin1String("t")).toString();
    FStyle = ToInt(attributes.value(QLatin1String("s")), 0);
    FValue.clear();
}

void TXlsxSheetReader::FinishCell(TCellGrid& grid) {
    if (FValue.isEmpty())
        return;
    FText.clear();
    if (FTypeText == QLatin1String("s")) {
        const int index = ToInt(FValue, -1);
        if (index < 0 || index >= FStrings.Count())
            throw EDamagedPackage();
        if (!FStrings.At(index).isEmpty())
            grid.SetText(FRow, FColumn, FStrings.At(index));
        return;
    }
    if (FTypeText == QLatin1String("b")) {
        FText = FValue.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    } else if (FTypeText == QLatin1String("d")) {
        FText = CellValueText::IsoDateTime(FValue);
    } else if (FTypeText.isEmpty() || FTypeText == QLatin1String("n")) {
        const TDateKind kind = FStyle >= 0 && size_t(FStyle) < FStyleKinds.size()
                                   ? FStyleKinds[size_t(FStyle)]
                                   : TDateKind::None;
        if (kind != TDateKind::None)
            FText = CellValueText::Date(FValue.toDouble(), kind, FDate1904);
        if (FText.isEmpty())
            FText = CellValueText::NumberFromText(FValue);
        if (FText.isEmpty())
            FText = FValue;
    } else {
        // Inline strings, a formula's cached string, error values: their text.
        OoxmlText::AppendDecoded(FText, FValue);
    }
    if (!FText.isEmpty())
        grid.SetText(FRow, FColumn, FText);
    if (grid.CellCount() > kMaxCellsPerSheet)
        throw EDamagedPackage();
}
