// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxSharedStrings.h"

#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/PartXml.h"

#include <limits>

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
