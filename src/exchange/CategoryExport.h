// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/ExchangeText.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TCategory;
class TWorkbook;
class TWorksheet;

// One exported column: a text box's heading and where its value sits in every record.
struct TExportColumn {
    QString Heading;
    int32_t ValueIndex = 0;
};

// A category as worksheet columns: one per text box, in the order of the element ids, headed by
// the caption of the list column that shows it or "_unnamed_", followed by one row per record.
class TCategoryExport {
public:
    // What a .xlsx worksheet holds: one heading row, then the records.
    static constexpr int64_t kXlsxMaxRecords = 1048575;
    static constexpr int64_t kXlsxMaxColumns = 16384;
    static constexpr int64_t kXlsxMaxCellCharacters = 32767;

    explicit TCategoryExport(const TCategory& category);

    const std::vector<TExportColumn>& Columns() const { return FColumns; }
    int64_t RecordCount() const;
    // Fails with the reason when the category does not fit into a .xlsx worksheet.
    void CheckFitsXlsx() const;
    // The heading row, then record r of Records in row r + 2, given to the sheet as rows that it
    // reads as it writes them (SetRows); progress is told of the rows written. The export and its
    // category must last as long as the sheet.
    void WriteTo(TWorksheet& sheet, const TExchangeProgress& progress) const;

private:
    const TCategory& FCategory;
    std::vector<TExportColumn> FColumns;
};

// How an export reaches its file.
enum class TExportTarget {
    NewWorkbook, // no file of that name: a new workbook saved under it
    AddSheet,    // an existing .xlsx: a worksheet is added and the file saved in place
    ReplaceCsv   // an existing .csv, which holds one worksheet: a new workbook replaces it
};

// The target for path as it is now. Fails with the reason for a name that is neither .xlsx nor
// .csv, and for an existing .xls, which Quillery can read but not write.
TExportTarget ExportTargetOf(const QString& path);

// One export of a category into a workbook file. The workbook stays open until Close, as the
// wizard keeps it until its window closes.
class TCategoryExportRun {
public:
    TCategoryExportRun(const TCategory& category, const QString& path, const QString& sheetName);
    ~TCategoryExportRun();

    TExportTarget Target() const { return FTarget; }
    // Refuses, before anything is written, what cannot be written.
    void Check() const;
    // Opens or creates the workbook, names the worksheet and saves it with the cells; opening and
    // saving go through wait. The rows are written while the workbook is saved, wherever wait runs
    // that; progress hears of them on this thread, through its event loop when wait runs one.
    void Run(const TExchangeProgress& progress, const TExchangeWait& wait = CallDirectly);
    // Closes the workbook; failures are of no interest any more.
    void Close() noexcept;

private:
    TExchangeProgress Relayed(const TExchangeProgress& progress);

    TCategoryExport FExport;
    QString FPath;
    QString FSheetName;
    TExportTarget FTarget;
    std::unique_ptr<TWorkbook> FWorkbook;
    // Lives on the thread that runs the export: reports from the thread that saves reach it here.
    QObject FProgressReceiver;
};
