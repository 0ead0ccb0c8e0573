// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/CellGrid.h"
#include "exchange/workbook/SheetRows.h"
#include "exchange/workbook/Workbook.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <vector>

class TXlsxPackage;
class TWorkbookFile;

// A worksheet of a workbook: its cells in memory, or, for a worksheet of an opened .xlsx package,
// read from the package the first time they are asked for. Worksheets already in a package are
// read-only: Quillery adds worksheets, it never rewrites one it did not make.
class TFileWorksheet : public TWorksheet {
public:
    TFileWorksheet(TWorkbookFile& book, const QString& name, const QString& packagePart = QString());
    QString Name() const override { return FName; }
    void SetName(const QString& name) override;
    QString CellText(int row, int column) const override;
    void ReadTexts(int row, const std::vector<int>& columns, TRowTexts& texts) const override;
    void SetCellText(int row, int column, const QString& text) override;
    void SetHeadingStyle(int row, int column) override;
    void SetRows(std::shared_ptr<const TSheetRows> rows) override;
    int UsedRows() const override { return Rows()->UsedRows(); }
    int UsedColumns() const override { return Rows()->UsedColumns(); }

    bool InPackage() const { return !FPackagePart.isEmpty(); }
    const TCellGrid& Grid() const;
    // What a writer reads: the rows given, or else the cells held.
    std::shared_ptr<const TSheetRows> Rows() const;
    TCellGrid& MutableGrid() { return FGrid; }
    void Release();

private:
    void CheckWritable(int row, int column) const;
    void TakeCellsOfRows();

    TWorkbookFile& FBook;
    QString FName;
    QString FPackagePart;
    mutable TCellGrid FGrid;
    mutable bool FLoaded;
    std::shared_ptr<const TSheetRows> FRows;
    mutable std::vector<TCellGrid::TCell> FRowCells; // the row ReadTexts read last
};

class TWorkbookFile : public TWorkbook {
public:
    TWorkbookFile();
    ~TWorkbookFile() override;
    // Reads the file; throws EWorkbookError.
    void Load(const QString& path);

    int SheetCount() const override;
    TWorksheet& Sheet(int index) override;
    TWorksheet& Sheet(const QString& name) override;
    TWorksheet& ActiveSheet() override;
    TWorksheet& AddSheet() override;
    TWorkbookFormat Format() const override { return FFormat; }
    void Save() override;
    void SaveAs(const QString& path) override;
    void Close() override;

    const QString& Path() const { return FPath; }
    void CheckOpen() const;
    const TXlsxPackage& Package() const { return *FPackage; }
    // Every sheet name but the one given (chart sheets included), for the uniqueness rule.
    QStringList OtherNames(const TFileWorksheet* except) const;

private:
    TFileWorksheet& AddSheetNamed(const QString& name, const QString& packagePart = QString());
    void Write(const QString& path, TWorkbookFormat format);
    void WriteXlsx(const QString& path);
    void LoadXlsx(const QByteArray& bytes);

    QString FPath;
    TWorkbookFormat FFormat = TWorkbookFormat::None;
    std::unique_ptr<TXlsxPackage> FPackage;
    std::vector<std::unique_ptr<TFileWorksheet>> FSheets;
    QStringList FOtherSheetNames; // chart sheets and the like: not worksheets, but their names are taken
    int FActive = 0;
    QByteArray FDiskDigest; // of the bytes Quillery last read from or wrote to FPath
    bool FClosed = false;
};
