// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small sound .xlsx package, one worksheet "Data" and one shared string "one", whose parts tests
// and fuzz targets replace to make damaged and hostile packages.

#include "exchange/workbook/ZipPackage.h"

#include <QMap>

inline const QByteArray kRels =
    "<?xml version=\"1.0\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
    "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
inline const QByteArray kWorkbook =
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
inline const QByteArray kWorkbookRels =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
    "Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "</Relationships>";
// Cell format 1 shows dates, 2 times.
inline const QByteArray kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy-mm-dd\"/></numFmts><cellXfs>"
    "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"21\"/></cellXfs>"
    "</styleSheet>";
inline const QByteArray kStrings =
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>one"
    "</t></si></sst>";

inline QByteArray Sheet(const QByteArray& data) {
    return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           data + "</sheetData></worksheet>";
}

// A package of the minimal parts, with the named parts replaced (an empty text leaves one out).
inline QByteArray Package(const QMap<QString, QByteArray>& replaced = {}) {
    QMap<QString, QByteArray> parts = {
        {"_rels/.rels", kRels},
        {"xl/workbook.xml", kWorkbook},
        {"xl/_rels/workbook.xml.rels", kWorkbookRels},
        {"xl/sharedStrings.xml", kStrings},
        {"xl/styles.xml", kStyles},
        {"xl/worksheets/sheet1.xml", Sheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v>"
                                           "</c></row>")}};
    for (auto it = replaced.begin(); it != replaced.end(); ++it)
        parts[it.key()] = it.value();
    TZipWriter zip;
    for (auto it = parts.begin(); it != parts.end(); ++it)
        if (!it.value().isNull())
            zip.Put(it.key(), it.value());
    return zip.Finish();
}

// A package whose one shared string, text, fills rows of columns cells, all given without
// references the way some writers leave them out.
inline QByteArray SharedStringPackage(const QByteArray& text, int rows, int columns) {
    const QByteArray row = "<row>" + QByteArray("<c t=\"s\"><v>0</v></c>").repeated(columns) + "</row>";
    return Package({{"xl/sharedStrings.xml", "<sst><si><t>" + text + "</t></si></sst>"},
                    {"xl/worksheets/sheet1.xml", Sheet(row.repeated(rows))}});
}
