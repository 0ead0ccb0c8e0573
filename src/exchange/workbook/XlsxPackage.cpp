// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxPackage.h"

#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/PartXml.h"
#include "exchange/workbook/XlsxSheetReader.h"

#include <QHash>

namespace {
bool TypeIs(const QString& type, QLatin1String last) {
    return type.endsWith(QLatin1Char('/') + last);
}

// A target relative to the folder of the part that names it, or absolute from the package root.
QString ResolveTarget(const QString& sourcePart, const QString& target) {
    QStringList parts;
    if (!target.startsWith(QLatin1Char('/')))
        parts = sourcePart.split(QLatin1Char('/')).mid(0, sourcePart.count(QLatin1Char('/')));
    for (const QString& piece : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (piece != QLatin1String("."))
            parts.append(piece);
    }
    return parts.join(QLatin1Char('/'));
}

bool IsTrue(QStringView value) {
    return value == QLatin1String("1") || value == QLatin1String("true");
}
} // namespace

TXlsxPackage::TXlsxPackage(const QByteArray& bytes) : FBytes(bytes), FZip(FBytes) {
    ReadWorkbook();
}

TXlsxPackage::~TXlsxPackage() = default;

QString TXlsxPackage::RelationshipsPart(const QString& partName) {
    const qsizetype slash = partName.lastIndexOf(QLatin1Char('/'));
    return partName.left(slash + 1) + QLatin1String("_rels/") + partName.mid(slash + 1) +
           QLatin1String(".rels");
}

std::vector<TXlsxRelationship> TXlsxPackage::Relationships(const QString& partName) const {
    std::vector<TXlsxRelationship> relationships;
    const int index = FZip.Find(RelationshipsPart(partName));
    if (index < 0)
        return relationships;
    TPartXml xml(FZip, index);
    while (xml.Next()) {
        if (!xml.IsStart(QLatin1String("Relationship")) ||
            xml.Attribute(QLatin1String("TargetMode")) == QLatin1String("External"))
            continue;
        relationships.push_back({xml.Attribute(QLatin1String("Id")).toString(),
                                 xml.Attribute(QLatin1String("Type")).toString(),
                                 ResolveTarget(partName, xml.Attribute(QLatin1String("Target")).toString())});
    }
    return relationships;
}

void TXlsxPackage::ReadWorkbook() {
    for (const TXlsxRelationship& relationship : Relationships(QString()))
        if (TypeIs(relationship.Type, QLatin1String("officeDocument")))
            FWorkbookPart = relationship.Target;
    if (FWorkbookPart.isEmpty() || FZip.Find(FWorkbookPart) < 0)
        throw EDamagedPackage();
    FWorkbookRelationships = Relationships(FWorkbookPart);
    QHash<QString, const TXlsxRelationship*> byId;
    for (const TXlsxRelationship& relationship : FWorkbookRelationships)
        byId.insert(relationship.Id, &relationship);

    TPartXml xml(FZip, FZip.Find(FWorkbookPart));
    while (xml.Next()) {
        if (xml.IsStart(QLatin1String("workbookPr"))) {
            FDate1904 = IsTrue(xml.Attribute(QLatin1String("date1904")));
        } else if (xml.IsStart(QLatin1String("workbookView")) && FActiveTab == 0) {
            FActiveTab = xml.Attribute(QLatin1String("activeTab")).toInt();
        } else if (xml.IsStart(QLatin1String("sheet"))) {
            // The relationship id is the one attribute named "id" in a namespace.
            QString id;
            for (const QXmlStreamAttribute& attribute : xml.Xml().attributes())
                if (attribute.name() == QLatin1String("id") && !attribute.namespaceUri().isEmpty())
                    id = attribute.value().toString();
            const TXlsxRelationship* relationship = byId.value(id);
            if (!relationship)
                throw EDamagedPackage();
            TXlsxSheetEntry entry;
            entry.Name = xml.Attribute(QLatin1String("name")).toString();
            entry.PartName = relationship->Target;
            entry.IsWorksheet = TypeIs(relationship->Type, QLatin1String("worksheet"));
            if (entry.Name.isEmpty())
                throw EDamagedPackage();
            FSheets.push_back(entry);
        }
    }
    if (FSheets.empty())
        throw EDamagedPackage();
}

void TXlsxPackage::LoadStringsAndStyles() const {
    if (FStrings)
        return;
    auto strings = std::make_unique<TSharedStrings>();
    std::vector<CellValueText::TDateKind> styleKinds;
    for (const TXlsxRelationship& relationship : FWorkbookRelationships) {
        const int index = FZip.Find(relationship.Target);
        if (index < 0)
            continue;
        if (TypeIs(relationship.Type, QLatin1String("sharedStrings")))
            ReadSharedStrings(FZip, index, *strings);
        else if (TypeIs(relationship.Type, QLatin1String("styles")))
            styleKinds = ReadStyleDateKinds(FZip, index);
    }
    FStyleKinds = std::move(styleKinds);
    FStrings = std::move(strings);
}

void TXlsxPackage::ReadWorksheet(const QString& partName, TCellGrid& grid) const {
    LoadStringsAndStyles();
    const int index = FZip.Find(partName);
    if (index < 0)
        throw EDamagedPackage();
    TXlsxSheetReader reader(*FStrings, FStyleKinds, FDate1904);
    reader.Read(FZip, index, grid);
}
