// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxSheetReader.h"

#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/PartXml.h"
#include "exchange/workbook/Utf8Text.h"
#include "exchange/workbook/XlsxSheetScanner.h"

#include <QHash>

#include <algorithm>

using CellValueText::TDateKind;

namespace {
constexpr uint32_t kNotPlaced = UINT32_MAX;

int ToInt(QStringView text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

// Calls use with the text of utf8 as UTF-16: short ASCII, such as references, numbers and
// attribute values, without an allocation.
template <typename Use> auto WithUtf16(std::string_view utf8, Use use) {
    constexpr size_t kShort = 32;
    if (utf8.size() <= kShort &&
        std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        char16_t units[kShort];
        std::copy(utf8.begin(), utf8.end(), units);
        return use(QStringView(units, qsizetype(utf8.size())));
    }
    return use(QStringView(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))));
}

int ToInt(std::string_view text, int fallback) {
    return WithUtf16(text, [fallback](QStringView view) { return ToInt(view, fallback); });
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether text holds an escape _xHHHH_, which only the text's QString form decodes.
bool HoldsEscape(std::string_view text) {
    for (size_t i = text.find("_x"); i != std::string_view::npos; i = text.find("_x", i + 1))
        if (i + 6 < text.size() && text[i + 6] == '_' &&
            std::all_of(text.begin() + qsizetype(i) + 2, text.begin() + qsizetype(i) + 6, IsHexDigit))
            return true;
    return false;
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
    TZipReader::TStream part(zip, index);
    // The size stated is the size read: libzip fails an entry that holds more or less.
    FBudget = TCellBudget(size_t(part.DeclaredSize()), FStrings.TextSize());
    // Room for texts about as large as the part and for a cell in every dozen bytes of it (as in
    // "<c><v>1</v></c>"): pages of it are touched only as cells fill them.
    grid.Reserve(size_t(part.DeclaredSize()), size_t(part.DeclaredSize()) / 12);
    FPlaced.assign(size_t(FStrings.Count()), {kNotPlaced, 0});
    TXlsxSheetScanner(*this).Scan(part);
    grid.ReleaseRoom();
}

void TXlsxSheetReader::Start(std::string_view name, std::string_view r, std::string_view t,
                             std::string_view s) {
    if (!FInSheetData) {
        FInSheetData = name == "sheetData";
    } else if (name == "c") {
        StartCell(r, t, s);
    } else if (name == "row") {
        FRow = r.empty() ? FRow + 1 : ToInt(r, 0);
        if (FRow < 1 || FRow > CellReference::kMaxRows)
            throw EDamagedPackage();
        FColumn = 0;
    } else if (FInCell && name == "v") {
        FCapturing = true;
    } else if (FInCell && name == "is") {
        FInInline = true;
    } else if (FInInline && name == "rPh") {
        FInPhonetic = true;
    } else if (FInInline && name == "t") {
        FInRunText = !FInPhonetic;
    }
}

void TXlsxSheetReader::End(std::string_view name) {
    if (name == "v") {
        FCapturing = false;
    } else if (name == "is") {
        FInInline = false;
    } else if (name == "rPh") {
        FInPhonetic = false;
    } else if (name == "t") {
        FInRunText = false;
    } else if (FInCell && name == "c") {
        FInCell = false;
        FinishCell();
    } else if (FInSheetData && name == "sheetData") {
        FDone = true;
    }
}

void TXlsxSheetReader::StartCell(std::string_view r, std::string_view t, std::string_view s) {
    if (r.empty()) {
        ++FColumn;
        if (FRow < 1 || FColumn > CellReference::kMaxColumns)
            throw EDamagedPackage();
    } else if (!WithUtf16(r,
                          [this](QStringView view) { return CellReference::Parse(view, FRow, FColumn); })) {
        throw EDamagedPackage();
    }
    FType = t.empty() || t == "n" ? TType::Number
            : t == "s"            ? TType::Shared
            : t == "b"            ? TType::Boolean
            : t == "d"            ? TType::Date
                                  : TType::Text;
    FStyle = ToInt(s, 0);
    FValue.resize(0);
    FInCell = true;
}

bool TXlsxSheetReader::PlaceUtf8Text() {
    // One pass finds what the usual text, which needs none of it, needs.
    size_t length = 0;
    bool lineFeed = false;
    bool underscore = false;
    for (const char c : FValue) {
        length += size_t((uint8_t(c) & 0xC0) != 0x80) + size_t(uint8_t(c) >= 0xF0);
        lineFeed = lineFeed || c == '\n';
        underscore = underscore || c == '_';
    }
    if (underscore && HoldsEscape(FValue))
        return false;
    std::string_view text = FValue;
    if (lineFeed) {
        FBytes.resize(0);
        CellValueText::AppendWithCrLf(FBytes, FValue);
        text = FBytes;
        length = Utf8Text::Utf16Length(FBytes);
    }
    FBudget.Take(length);
    FGrid->SetText(FRow, FColumn, text, length);
    return true;
}

void TXlsxSheetReader::FinishCell() {
    if (FValue.empty())
        return;
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
    case TType::Text:
        // Inline strings, a formula's cached string, error values: their text, taken as it is in
        // UTF-8 unless it holds escapes.
        if (PlaceUtf8Text())
            return;
        break;
    default:
        break;
    }
    const QString value = QString::fromUtf8(FValue.data(), qsizetype(FValue.size()));
    FText.resize(0);
    switch (FType) {
    case TType::Boolean:
        FText = CellValueText::Boolean(value.trimmed() == QLatin1String("1"));
        break;
    case TType::Date:
        FText = CellValueText::IsoDateTime(value);
        break;
    case TType::Number: {
        const TDateKind kind = FStyle >= 0 && size_t(FStyle) < FStyleKinds.size()
                                   ? FStyleKinds[size_t(FStyle)]
                                   : TDateKind::None;
        if (kind != TDateKind::None)
            FText = CellValueText::Date(value.toDouble(), kind, FDate1904);
        if (FText.isEmpty())
            FText = CellValueText::NumberFromText(value);
        if (FText.isEmpty())
            FText = value;
        break;
    }
    default:
        OoxmlText::AppendDecoded(FText, value);
        break;
    }
    if (FText.isEmpty())
        return;
    FBudget.Take(size_t(FText.size()));
    FGrid->SetText(FRow, FColumn, FText);
}
