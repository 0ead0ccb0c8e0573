// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/ZipPackage.h"

#include <QBuffer>
#include <QXmlStreamReader>

#include <memory>

// Reads one XML part token by token through Qt's XML reader: the parts of a package other than its
// worksheets (relationships, workbook, shared strings, styles, OpenDocument content and settings),
// while they are inflated or from bytes already in memory; anything malformed or too large throws
// EDamagedPackage. Worksheets, the large parts, are read by TXlsxSheetScanner alone.
class TPartXml {
public:
    TPartXml(const TZipReader& zip, int index);
    // For parts already in memory.
    explicit TPartXml(const QByteArray& bytes);
    ~TPartXml();
    // The next token; false once the document has ended.
    bool Next();
    QXmlStreamReader& Xml() { return FXml; }
    bool IsStart(QLatin1String name) const { return FXml.isStartElement() && FXml.name() == name; }
    bool IsEnd(QLatin1String name) const { return FXml.isEndElement() && FXml.name() == name; }
    QStringView Attribute(QLatin1String name) const { return FXml.attributes().value(name); }

private:
    std::unique_ptr<QIODevice> FDevice;
    QXmlStreamReader FXml;
};
