// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsxWriter.h"

#include "exchange/workbook/OoxmlText.h"
#include "exchange/workbook/WorksheetXml.h"
#include "exchange/workbook/ZipPackage.h"

namespace XlsxWriter {

const char kMainNamespace[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRelationshipsNamespace[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char kWorksheetType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
const char kWorksheetContentType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
const char kStylesType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
const char kStylesContentType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";

const char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

namespace {
QByteArray ToBytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}
} // namespace

void PutWorksheet(TZipWriter& zip, const QString& name, const TSheet& sheet, int headingStyle,
                  bool selected) {
    zip.PutStreamed(name, std::make_unique<TWorksheetXml>(sheet.Name, *sheet.Rows, headingStyle, selected));
}

QByteArray HeadingFontXml(const QByteArray& prefix, const QByteArray& size, const QByteArray& face) {
    return "<" + prefix + "font><" + prefix + "b/><" + prefix + "sz val=\"" + size + "\"/><" + prefix +
           "color rgb=\"FF0000FF\"/><" + prefix + "name val=\"" + face + "\"/></" + prefix + "font>";
}

QByteArray HeadingFormatXml(const QByteArray& prefix, int fontIndex) {
    return "<" + prefix + "xf numFmtId=\"0\" fontId=\"" + QByteArray::number(fontIndex) +
           "\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\"><" + prefix +
           "alignment horizontal=\"center\"/></" + prefix + "xf>";
}

QByteArray StylesXml() {
    return QByteArray(kXmlDeclaration) + "<styleSheet xmlns=\"" + kMainNamespace +
           "\"><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>" +
           HeadingFontXml("", "11", "Calibri") +
           "</fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
           "patternType=\"gray125\"/></fill></fills><borders "
           "count=\"1\"><border><left/><right/><top/><bottom/>"
           "<diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" "
           "fillId=\"0\" "
           "borderId=\"0\"/></cellStyleXfs><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
           "borderId=\"0\" xfId=\"0\"/>" +
           HeadingFormatXml("", 1) +
           "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
           "builtinId=\"0\"/></cellStyles>"
           "</styleSheet>";
}

void PutNewPackage(TZipWriter& zip, const std::vector<TSheet>& sheets, int activeIndex) {
    std::string types =
        std::string(kXmlDeclaration) +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package."
        "relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-"
        "officedocument.spreadsheetml.sheet.main+xml\"/><Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"" +
        kStylesContentType + "\"/>";
    std::string workbook = std::string(kXmlDeclaration) + "<workbook xmlns=\"" + kMainNamespace +
                           "\" xmlns:r=\"" + kRelationshipsNamespace +
                           "\"><bookViews><workbookView activeTab=\"" + std::to_string(activeIndex) +
                           "\"/></bookViews><sheets>";
    std::string relationships =
        std::string(kXmlDeclaration) +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + number + ".xml\" ContentType=\"" +
                 kWorksheetContentType + "\"/>";
        workbook += "<sheet name=\"";
        OoxmlText::AppendAttribute(workbook, sheets[i].Name);
        workbook += "\" sheetId=\"" + number + "\" r:id=\"rId" + number + "\"/>";
        relationships += "<Relationship Id=\"rId" + number + "\" Type=\"" + kWorksheetType +
                         "\" Target=\"worksheets/sheet" + number + ".xml\"/>";
    }
    types += "</Types>";
    workbook += "</sheets></workbook>";
    relationships += "<Relationship Id=\"rId" + std::to_string(sheets.size() + 1) + "\" Type=\"" +
                     kStylesType + "\" Target=\"styles.xml\"/></Relationships>";
    zip.Put(QStringLiteral("[Content_Types].xml"), ToBytes(types));
    zip.Put(QStringLiteral("_rels/.rels"),
            QByteArray(kXmlDeclaration) +
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    zip.Put(QStringLiteral("xl/workbook.xml"), ToBytes(workbook));
    zip.Put(QStringLiteral("xl/_rels/workbook.xml.rels"), ToBytes(relationships));
    zip.Put(QStringLiteral("xl/styles.xml"), StylesXml());
    for (size_t i = 0; i < sheets.size(); ++i)
        PutWorksheet(zip, QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), sheets[i], 1,
                     int(i) == activeIndex);
}

} // namespace XlsxWriter
