// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The workbook engine behind the spreadsheet import and export: open, add, list and pick
// worksheets, read and write cells as text, save in place or under a name, close. Formats are chosen
// by the file name's extension: .xlsx (read and write), .xls and .ods (read), .csv (one worksheet,
// read and write).

#include <QString>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TSheetRows;

// Every failure; its text is shown to the user as it stands, e.g.
// Cannot open "/x/a.xlsx": it is not a workbook that Quillery can read.
// A worksheet named "Books" already exists in "/x/a.xlsx".
class EWorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit EWorkbookError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromUtf8(what()); }
};

// A workbook whose cells would take more memory than the file accounts for or than can be had:
// "/x/a.xlsx" is too large to import.
class EWorkbookTooLarge : public EWorkbookError {
public:
    using EWorkbookError::EWorkbookError;
};

// The formats, told apart by the file name's extension, ignoring case; None for any other name.
enum class TWorkbookFormat { None, Xlsx, Xls, Ods, Csv };
TWorkbookFormat WorkbookFormatOf(const QString& path);

// The texts of some cells of one row as UTF-8, for readers that go through many rows. Texts views
// the worksheet's own bytes where it holds them so, else Held.
struct TRowTexts {
    std::vector<std::string_view> Texts;
    std::vector<std::string> Held;
};

class TWorksheet {
public:
    virtual ~TWorksheet() = default;
    virtual QString Name() const = 0;
    // Refuses invalid names and names of other worksheets (ignoring case).
    virtual void SetName(const QString& name) = 0;
    // 1-based; "" for empty or absent cells; line breaks as CR LF.
    virtual QString CellText(int row, int column) const = 0;
    // The texts of the cells of row in columns, each as CellText gives it, in UTF-8; they last
    // until the worksheet changes or texts is read into again.
    virtual void ReadTexts(int row, const std::vector<int>& columns, TRowTexts& texts) const;
    // Always a text cell; CR LF is written as the format's line break.
    virtual void SetCellText(int row, int column, const QString& text) = 0;
    // Bold, blue font, centred.
    virtual void SetHeadingStyle(int row, int column) = 0;
    // Sets the cells of rows. A worksheet of a file instead reads them a row at a time while the
    // workbook is saved, in place of the cells set so far, so that they are never held: rows must
    // then last until the workbook is closed.
    virtual void SetRows(std::shared_ptr<const TSheetRows> rows);
    // The last row (column) holding a cell, 0 when the worksheet is empty.
    virtual int UsedRows() const = 0;
    virtual int UsedColumns() const = 0;
};

class TWorkbook {
public:
    // The format follows the extension, ignoring case: xlsx, xls, ods, csv.
    static std::unique_ptr<TWorkbook> Open(const QString& path);
    // A new, empty workbook with one worksheet, which is active.
    static std::unique_ptr<TWorkbook> Add();
    virtual ~TWorkbook() = default;
    virtual int SheetCount() const = 0;
    virtual TWorksheet& Sheet(int index) = 0;           // 1-based
    virtual TWorksheet& Sheet(const QString& name) = 0; // ignoring case
    virtual TWorksheet& ActiveSheet() = 0;
    virtual TWorksheet& AddSheet() = 0; // a new worksheet, made active
    // The format of the file it was opened from or last saved as; None for a new workbook.
    virtual TWorkbookFormat Format() const = 0;
    // Writes the file it was opened from (or last saved as).
    virtual void Save() = 0;
    // Writes a .xlsx or .csv file, by extension; the workbook then belongs to that file.
    virtual void SaveAs(const QString& path) = 0;
    virtual void Close() = 0;
};

// The largest row and column a worksheet of the format can hold (xls 65536 x 256; xlsx, ods, csv
// 1048576 x 16384).
int MaxWorkbookRows(TWorkbookFormat format);
int MaxWorkbookColumns(TWorkbookFormat format);
