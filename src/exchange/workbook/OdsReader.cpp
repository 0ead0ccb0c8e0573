// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/OdsReader.h"

#include "exchange/workbook/CellBudget.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/PartXml.h"

#include <algorithm>

namespace {
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kManifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
const QString kCalcExtension =
    QStringLiteral("urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");

int Repeat(const QXmlStreamAttributes& attributes, QLatin1String name) {
    const int repeat = attributes.value(kTable, name).toInt();
    return std::max(repeat, 1);
}

// The value of a cell as the import sees it, from its typed attributes; the shown text otherwise.
QString CellValue(const QXmlStreamAttributes& attributes, const QString& shown) {
    const QStringView type = attributes.value(kOffice, QLatin1String("value-type"));
    if (attributes.value(kCalcExtension, QLatin1String("value-type")) == QLatin1String("error"))
        return shown;
    if (type == QLatin1String("float") || type == QLatin1String("percentage") ||
        type == QLatin1String("currency")) {
        const QString number =
            CellValueText::NumberFromText(attributes.value(kOffice, QLatin1String("value")));
        return number.isEmpty() ? shown : number;
    }
    if (type == QLatin1String("date"))
        return CellValueText::IsoDateTime(attributes.value(kOffice, QLatin1String("date-value")));
    if (type == QLatin1String("time"))
        return CellValueText::IsoDuration(attributes.value(kOffice, QLatin1String("time-value")));
    if (type == QLatin1String("boolean"))
        return CellValueText::Boolean(attributes.value(kOffice, QLatin1String("boolean-value")) ==
                                      QLatin1String("true"));
    if (attributes.hasAttribute(kOffice, QLatin1String("string-value"))) {
        QString text;
        CellValueText::AppendWithCrLf(text, attributes.value(kOffice, QLatin1String("string-value")));
        return text;
    }
    return shown;
}

struct TPendingCell {
    int Column;
    QString Text;
    TCellGrid::TTextSpan Placed{}; // in the grid, once the row's first copy holds it
};

class TContentReader {
public:
    explicit TContentReader(TCellBudget budget) : FBudget(budget) {}
    std::vector<TNamedGrid> Read(const QByteArray& content);

private:
    void ReadCell(TPartXml& xml);
    void FinishRow(int repeat);

    std::vector<TNamedGrid> FSheets;
    std::vector<TPendingCell> FRowCells;
    int FRow = 0;
    int FColumn = 0;
    TCellBudget FBudget;
};

std::vector<TNamedGrid> TContentReader::Read(const QByteArray& content) {
    TPartXml xml(content);
    QXmlStreamReader& x = xml.Xml();
    int rowRepeat = 1;
    while (xml.Next()) {
        if (!x.isStartElement() && !x.isEndElement())
            continue;
        if (x.namespaceUri() != kTable)
            continue;
        const QStringView name = x.name();
        if (x.isStartElement() && name == QLatin1String("table")) {
            FSheets.push_back({x.attributes().value(kTable, QLatin1String("name")).toString(), TCellGrid()});
            FRow = 0;
        } else if (FSheets.empty()) {
            continue;
        } else if (name == QLatin1String("table-row")) {
            if (x.isStartElement()) {
                rowRepeat = Repeat(x.attributes(), QLatin1String("number-rows-repeated"));
                FColumn = 0;
                FRowCells.clear();
            } else {
                FinishRow(rowRepeat);
            }
        } else if (x.isStartElement() &&
                   (name == QLatin1String("table-cell") || name == QLatin1String("covered-table-cell"))) {
            ReadCell(xml);
        }
    }
    return std::move(FSheets);
}

// Reads the cell through its end: the text of its paragraphs, notes left out.
void TContentReader::ReadCell(TPartXml& xml) {
    QXmlStreamReader& x = xml.Xml();
    const QXmlStreamAttributes attributes = x.attributes();
    const int repeat = Repeat(attributes, QLatin1String("number-columns-repeated"));
    QString shown;
    int depth = 1, noteDepth = 0, paragraphs = 0;
    while (depth > 0 && xml.Next()) {
        if (x.isStartElement()) {
            ++depth;
            const bool inText = x.namespaceUri() == kText && noteDepth == 0;
            if (x.namespaceUri() == kOffice && x.name() == QLatin1String("annotation"))
                noteDepth = depth;
            else if (inText && x.name() == QLatin1String("p") && paragraphs++ > 0)
                shown.append(QLatin1String("\r\n"));
            else if (inText && x.name() == QLatin1String("s"))
                shown.append(
                    QString(std::clamp(x.attributes().value(kText, QLatin1String("c")).toInt(), 1, 1024),
                            QLatin1Char(' ')));
            else if (inText && x.name() == QLatin1String("tab"))
                shown.append(QLatin1Char('\t'));
            else if (inText && x.name() == QLatin1String("line-break"))
                shown.append(QLatin1String("\r\n"));
        } else if (x.isEndElement()) {
            if (depth == noteDepth)
                noteDepth = 0;
            --depth;
        } else if (x.isCharacters() && noteDepth == 0 && paragraphs > 0) {
            CellValueText::AppendWithCrLf(shown, x.text());
        }
    }
    const QString text = CellValue(attributes, shown);
    const int first = FColumn + 1;
    for (int column = first;
         !text.isEmpty() && column < first + repeat && column <= CellReference::kMaxColumns; ++column)
        FRowCells.push_back({column, text});
    FColumn = std::min(FColumn + repeat, CellReference::kMaxColumns);
}

void TContentReader::FinishRow(int repeat) {
    TCellGrid& grid = FSheets.back().Grid;
    for (int k = 0; k < repeat && FRow + k < CellReference::kMaxRows; ++k)
        for (TPendingCell& cell : FRowCells) {
            // Repeats that expand past any real sheet are refused; those within share the text.
            FBudget.Take(size_t(cell.Text.size()));
            if (k == 0)
                cell.Placed = grid.SetText(FRow + 1, cell.Column, cell.Text);
            else
                grid.SetPlacedText(FRow + k + 1, cell.Column, cell.Placed);
        }
    FRow = std::min(FRow + repeat, CellReference::kMaxRows);
    FRowCells.clear();
}

// A document saved with a password lists how each of its encrypted parts was encrypted.
bool Encrypted(const TZipReader& zip) {
    const int manifestIndex = zip.Find(QStringLiteral("META-INF/manifest.xml"));
    if (manifestIndex < 0)
        return false;
    TPartXml manifest(zip, manifestIndex);
    while (manifest.Next())
        if (manifest.IsStart(QLatin1String("encryption-data")) && manifest.Xml().namespaceUri() == kManifest)
            return true;
    return false;
}
} // namespace

TOdsWorkbook ReadOdsWorkbook(const QByteArray& bytes) {
    const TZipReader zip(bytes);
    if (Encrypted(zip))
        throw EPasswordProtected();
    const int contentIndex = zip.Find(QStringLiteral("content.xml"));
    if (contentIndex < 0)
        throw EDamagedPackage();
    const QByteArray content = zip.Read(contentIndex);
    TOdsWorkbook workbook;
    workbook.Sheets = TContentReader(TCellBudget(size_t(content.size()))).Read(content);
    if (workbook.Sheets.empty())
        throw EDamagedPackage();

    const int settingsIndex = zip.Find(QStringLiteral("settings.xml"));
    if (settingsIndex < 0)
        return workbook;
    TPartXml settings(zip, settingsIndex);
    while (settings.Next()) {
        if (settings.IsStart(QLatin1String("config-item")) &&
            settings.Xml().attributes().value(QLatin1String("config:name")) == QLatin1String("ActiveTable")) {
            const QString active = settings.Xml().readElementText();
            for (size_t i = 0; i < workbook.Sheets.size(); ++i)
                if (workbook.Sheets[i].Name == active)
                    workbook.ActiveIndex = int(i);
            break;
        }
    }
    return workbook;
}
