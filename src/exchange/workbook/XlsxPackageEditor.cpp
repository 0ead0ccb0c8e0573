// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxPackageEditor.h"

#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/PartXml.h"
#include "exchange/workbook/XlsxPackage.h"
#include "exchange/workbook/XmlText.h"

#include <QSet>

namespace {
// The part's bytes, checked to be well-formed XML before they are edited as text.
QByteArray WellFormedPart(const TZipReader& zip, const QString& name) {
    const int index = zip.Find(name);
    if (index < 0)
        throw EDamagedPackage();
    const QByteArray bytes = zip.Read(index);
    TPartXml xml(bytes);
    while (xml.Next()) {
    }
    return bytes;
}

QByteArray Utf8Attribute(const QString& text) {
    std::string out;
    OoxmlText::AppendAttribute(out, text);
    return QByteArray(out.data(), qsizetype(out.size()));
}

TXmlText::TSpan Required(const TXmlText& text, QByteArrayView name, qsizetype from = 0,
                         qsizetype until = -1) {
    const TXmlText::TSpan span = text.Find(name, from, until);
    if (!span.Found())
        throw EDamagedPackage();
    return span;
}

// The prefix under which the workbook part's root declares the relationships namespace, or "" when
// it does not (the new elements then declare it themselves).
QByteArray RelationshipsPrefix(const QByteArray& workbook) {
    TPartXml xml(workbook);
    while (xml.Next()) {
        if (!xml.Xml().isStartElement())
            continue;
        if (xml.Xml().namespaceUri() != QLatin1String(XlsxWriter::kMainNamespace))
            throw EDamagedPackage(); // strict and unknown layouts are read, not extended
        for (const QXmlStreamNamespaceDeclaration& declaration : xml.Xml().namespaceDeclarations())
            if (declaration.namespaceUri() == QLatin1String(XlsxWriter::kRelationshipsNamespace) &&
                !declaration.prefix().isEmpty())
                return declaration.prefix().toUtf8();
        return QByteArray();
    }
    throw EDamagedPackage();
}

struct TNewPart {
    QString Name;   // in the package
    QString Target; // relative to the workbook part
    QByteArray Id;  // its relationship
    int SheetId;
};

// Styles: the heading font and format appended; returns the new format's index.
int AddHeadingFormat(TXmlText& styles) {
    const TXmlText::TSpan fonts = Required(styles, "fonts");
    const TXmlText::TSpan formats = Required(styles, "cellXfs");
    const TXmlText::TSpan firstFont = styles.Find("font", fonts.OpenEnd, fonts.CloseBegin);
    QByteArray size = "11", face = "Calibri";
    if (firstFont.Found()) {
        const TXmlText::TSpan sz = styles.Find("sz", firstFont.OpenEnd, firstFont.CloseBegin);
        const TXmlText::TSpan name = styles.Find("name", firstFont.OpenEnd, firstFont.CloseBegin);
        if (sz.Found() && !styles.Attribute(sz, "val").isEmpty())
            size = styles.Attribute(sz, "val");
        if (name.Found() && !styles.Attribute(name, "val").isEmpty())
            face = styles.Attribute(name, "val");
    }
    const int fontIndex = styles.Count(fonts, "font");
    const int formatIndex = styles.Count(formats, "xf");
    styles.AppendChildren(fonts, XlsxWriter::HeadingFontXml(fonts.Prefix(), size, face));
    styles.SetAttribute(fonts, "count", QByteArray::number(fontIndex + 1));
    styles.AppendChildren(formats, XlsxWriter::HeadingFormatXml(formats.Prefix(), fontIndex));
    styles.SetAttribute(formats, "count", QByteArray::number(formatIndex + 1));
    return formatIndex;
}

// Document properties: the new titles after the worksheets' titles. The part is only metadata, so
// when its lists are not as expected it is left as it is.
QByteArray AddSheetTitles(const QByteArray& properties, const std::vector<XlsxWriter::TSheet>& sheets) {
    TXmlText text(properties);
    const TXmlText::TSpan pairs = text.Find("HeadingPairs");
    const TXmlText::TSpan titles = text.Find("TitlesOfParts");
    if (!pairs.Found() || !titles.Found())
        return properties;
    const TXmlText::TSpan count = text.Find("i4", pairs.OpenEnd, pairs.CloseBegin);
    const TXmlText::TSpan vector = text.Find("vector", titles.OpenEnd, titles.CloseBegin);
    bool ok = false;
    const int worksheets = count.Found() ? text.Content(count).trimmed().toInt(&ok) : 0;
    if (!ok || !vector.Found() || worksheets < 0)
        return properties;
    const int listed = text.Count(vector, "lpstr");
    qsizetype at = vector.OpenEnd;
    QByteArray prefix;
    for (int i = 0; i < worksheets; ++i) {
        const TXmlText::TSpan title = text.Find("lpstr", at, vector.CloseBegin);
        if (!title.Found())
            return properties;
        prefix = title.Prefix();
        at = title.CloseBegin;
    }
    if (worksheets > 0)
        at = properties.indexOf('>', at) + 1; // after the last worksheet title's end tag
    if (prefix.isEmpty())
        prefix = vector.Prefix();
    QByteArray added;
    for (const XlsxWriter::TSheet& sheet : sheets) {
        std::string name;
        OoxmlText::AppendEncoded(name, sheet.Name);
        added += "<" + prefix + "lpstr>" + QByteArray(name.data(), qsizetype(name.size())) + "</" + prefix +
                 "lpstr>";
    }
    text.Insert(at, added);
    text.ReplaceContent(count, QByteArray::number(worksheets + qsizetype(sheets.size())));
    text.SetAttribute(vector, "size", QByteArray::number(listed + qsizetype(sheets.size())));
    return text.Result();
}
} // namespace

void AddWorksheets(TZipWriter& writer, const TXlsxPackage& package,
                   const std::vector<XlsxWriter::TSheet>& sheets) {
    const TZipReader& zip = package.Zip();
    const QString workbookPart = package.WorkbookPart();
    const QString folder = workbookPart.left(workbookPart.lastIndexOf(QLatin1Char('/')) + 1);
    const QString relationshipsPart = TXlsxPackage::RelationshipsPart(workbookPart);

    QSet<QString> partNames;
    for (int i = 0; i < zip.EntryCount(); ++i)
        partNames.insert(zip.EntryName(i).toLower());
    QSet<QByteArray> ids;
    for (const TXlsxRelationship& relationship : package.WorkbookRelationships())
        ids.insert(relationship.Id.toUtf8());
    auto newId = [&ids] {
        for (int n = 1;; ++n)
            if (!ids.contains("rId" + QByteArray::number(n))) {
                ids.insert("rId" + QByteArray::number(n));
                return "rId" + QByteArray::number(n);
            }
    };

    writer.CopyEntries(package.Bytes());
    TXmlText types(WellFormedPart(zip, QStringLiteral("[Content_Types].xml")));
    TXmlText relationships(WellFormedPart(zip, relationshipsPart));
    const QByteArray workbookBytes = WellFormedPart(zip, workbookPart);
    const QByteArray relationshipsPrefix = RelationshipsPrefix(workbookBytes);
    TXmlText workbook(workbookBytes);
    const TXmlText::TSpan typeList = Required(types, "Types");
    const TXmlText::TSpan relationshipList = Required(relationships, "Relationships");
    const TXmlText::TSpan sheetList = Required(workbook, "sheets");
    const QByteArray typePrefix = typeList.Prefix(), relationshipPrefix = relationshipList.Prefix();
    QByteArray newTypes, newRelationships, newSheets;
    auto entryName = [&zip](const QString& part) {
        const int index = zip.Find(part);
        return index < 0 ? part : zip.EntryName(index);
    };

    // The heading format: added to the workbook's styles, or a styles part of its own when it has none.
    int headingStyle = 1;
    QString stylesPart;
    for (const TXlsxRelationship& relationship : package.WorkbookRelationships())
        if (relationship.Type.endsWith(QLatin1String("/styles")))
            stylesPart = relationship.Target;
    if (!stylesPart.isEmpty()) {
        TXmlText styles(WellFormedPart(zip, stylesPart));
        headingStyle = AddHeadingFormat(styles);
        writer.Put(entryName(stylesPart), styles.Result());
    } else {
        stylesPart = folder + QLatin1String("quillery-styles.xml");
        writer.Put(stylesPart, XlsxWriter::StylesXml());
        newTypes += "<" + typePrefix + "Override PartName=\"/" + stylesPart.toUtf8() + "\" ContentType=\"" +
                    XlsxWriter::kStylesContentType + "\"/>";
        newRelationships += "<" + relationshipPrefix + "Relationship Id=\"" + newId() + "\" Type=\"" +
                            XlsxWriter::kStylesType + "\" Target=\"quillery-styles.xml\"/>";
    }

    int sheetId = 0;
    for (TXmlText::TSpan sheet = workbook.Find("sheet", sheetList.OpenEnd, sheetList.CloseBegin);
         sheet.Found(); sheet = workbook.Find("sheet", sheet.OpenEnd, sheetList.CloseBegin))
        sheetId = std::max(sheetId, workbook.Attribute(sheet, "sheetId").toInt());
    const QByteArray sheetElement = "<" + sheetList.Prefix() + "sheet name=\"";
    const QByteArray idAttribute =
        relationshipsPrefix.isEmpty()
            ? QByteArray(" xmlns:qr=\"") + XlsxWriter::kRelationshipsNamespace + "\" qr:id=\""
            : " " + relationshipsPrefix + ":id=\"";
    int number = 1;
    for (const XlsxWriter::TSheet& sheet : sheets) {
        while (
            partNames.contains(QStringLiteral("%1worksheets/sheet%2.xml").arg(folder).arg(number).toLower()))
            ++number;
        const QString target = QStringLiteral("worksheets/sheet%1.xml").arg(number++);
        partNames.insert((folder + target).toLower());
        const QByteArray id = newId();
        newSheets += sheetElement + Utf8Attribute(sheet.Name) + "\" sheetId=\"" +
                     QByteArray::number(++sheetId) + "\"" + idAttribute + id + "\"/>";
        newRelationships += "<" + relationshipPrefix + "Relationship Id=\"" + id + "\" Type=\"" +
                            XlsxWriter::kWorksheetType + "\" Target=\"" + target.toUtf8() + "\"/>";
        newTypes += "<" + typePrefix + "Override PartName=\"/" + (folder + target).toUtf8() +
                    "\" ContentType=\"" + XlsxWriter::kWorksheetContentType + "\"/>";
        XlsxWriter::PutWorksheet(writer, folder + target, sheet, headingStyle, false);
    }
    workbook.AppendChildren(sheetList, newSheets);
    types.AppendChildren(typeList, newTypes);
    relationships.AppendChildren(relationshipList, newRelationships);
    writer.Put(entryName(QStringLiteral("[Content_Types].xml")), types.Result());
    writer.Put(entryName(relationshipsPart), relationships.Result());
    writer.Put(entryName(workbookPart), workbook.Result());

    for (const TXlsxRelationship& relationship : package.Relationships(QString()))
        if (relationship.Type.endsWith(QLatin1String("/extended-properties")) &&
            zip.Find(relationship.Target) >= 0) {
            const QByteArray properties = WellFormedPart(zip, relationship.Target);
            const QByteArray updated = AddSheetTitles(properties, sheets);
            if (updated != properties)
                writer.Put(entryName(relationship.Target), updated);
        }
}
