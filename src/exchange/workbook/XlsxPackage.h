// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/ZipPackage.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TCellGrid;
class TSharedStrings;

// One sheet of the workbook's sheet list: worksheets, chart sheets and others, in tab order.
struct TXlsxSheetEntry {
    QString Name;
    QString PartName; // "xl/worksheets/sheet1.xml"
    bool IsWorksheet = false;
};

// A relationship of a part, its target resolved to a part name.
struct TXlsxRelationship {
    QString Id;
    QString Type;
    QString Target;
};

// An .xlsx package opened for reading: its sheet list, and the cells of a worksheet on demand.
// Throws EDamagedPackage for anything that is not a sound workbook.
class TXlsxPackage {
public:
    explicit TXlsxPackage(const QByteArray& bytes);
    ~TXlsxPackage();

    const QByteArray& Bytes() const { return FBytes; }
    const TZipReader& Zip() const { return FZip; }
    const QString& WorkbookPart() const { return FWorkbookPart; }
    const std::vector<TXlsxSheetEntry>& Sheets() const { return FSheets; }
    const std::vector<TXlsxRelationship>& WorkbookRelationships() const { return FWorkbookRelationships; }
    int ActiveTab() const { return FActiveTab; }
    void ReadWorksheet(const QString& partName, TCellGrid& grid) const;

    // The relationships part of a part ("xl/_rels/workbook.xml.rels") and what it lists.
    static QString RelationshipsPart(const QString& partName);
    std::vector<TXlsxRelationship> Relationships(const QString& partName) const;

private:
    void ReadWorkbook();
    void LoadStringsAndStyles() const;

    QByteArray FBytes;
    TZipReader FZip;
    QString FWorkbookPart;
    std::vector<TXlsxSheetEntry> FSheets;
    std::vector<TXlsxRelationship> FWorkbookRelationships;
    int FActiveTab = 0;
    bool FDate1904 = false;
    mutable std::unique_ptr<TSharedStrings> FStrings; // shared strings, read with the first worksheet
    mutable std::vector<CellValueText::TDateKind> FStyleKinds;
};
