// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/CategoryExport.h"

#include "core/Category.h"
#include "core/Error.h"
#include "exchange/DisplayText.h"
#include "exchange/workbook/SheetRows.h"
#include "exchange/workbook/Workbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <unordered_map>

namespace {

const char* const kUnnamedHeading = "_unnamed_";

// Grouped by commas in every language: quillery-cli prints the same numbers.
QString Thousands(int64_t number) {
    QString digits = QString::number(number);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return digits;
}

// Translated where the window shows it; quillery-cli has no translator and keeps it English.
[[noreturn]] void ThrowExportError(const QString& text) {
    throw EQuilleryError(text.toStdString());
}

// The category's cells, made from its records row by row as a writer asks for them.
class TCategoryRows : public TSheetRows {
public:
    TCategoryRows(const TCategory& category, const std::vector<TExportColumn>& columns,
                  TExchangeProgress progress)
        : FCategory(category), FColumns(columns), FProgress(std::move(progress)) {
        // Rows after the last value are empty: a sheet ends at its last cell.
        size_t records = category.Records.size();
        while (records > 0 && !HasValue(*category.Records[records - 1]))
            --records;
        FUsedRows = columns.empty() ? 0 : static_cast<int>(records) + 1;
    }

    int UsedRows() const override { return FUsedRows; }
    int UsedColumns() const override { return static_cast<int>(FColumns.size()); }

    void ReadRow(int row, TRowCells& cells) const override {
        cells.Clear();
        if (row == 1) {
            for (size_t i = 0; i < FColumns.size(); ++i)
                cells.Add(static_cast<int>(i) + 1, FColumns[i].Heading, true);
            return;
        }
        const TRecord& record = *FCategory.Records[static_cast<size_t>(row) - 2];
        for (size_t i = 0; i < FColumns.size(); ++i) {
            const std::string_view value = record.Value(FColumns[i].ValueIndex);
            if (!value.empty())
                cells.Add(static_cast<int>(i) + 1, DisplayText(value), false);
        }
    }

    void Written(int row) const override {
        if (!FProgress)
            return;
        const auto total = static_cast<int64_t>(FCategory.Records.size());
        // The records after the last used row have nothing to write.
        const int64_t done = row == FUsedRows ? total : row - 1;
        if (done % kExchangeProgressRows == 0 || done == total)
            FProgress(done, total);
    }

private:
    bool HasValue(const TRecord& record) const {
        for (const TExportColumn& column : FColumns)
            if (!record.Value(column.ValueIndex).empty())
                return true;
        return false;
    }

    const TCategory& FCategory;
    const std::vector<TExportColumn>& FColumns;
    TExchangeProgress FProgress;
    int FUsedRows = 0;
};

} // namespace

TCategoryExport::TCategoryExport(const TCategory& category) : FCategory(category) {
    // Every id from 1 to LastElementID whose element holds a value, first element of an id
    // winning as in the lookups; sorted once rather than searched once per id, so a category of
    // any size exports all its text boxes.
    std::vector<const TElement*> boxes;
    std::unordered_map<int32_t, bool> seen;
    for (const auto& element : category.Elements) {
        if (element->ID < 1 || element->ID > category.LastElementID ||
            !seen.emplace(element->ID, true).second)
            continue;
        if (element->ValueIndex != -1)
            boxes.push_back(element.get());
    }
    std::sort(boxes.begin(), boxes.end(), [](const TElement* a, const TElement* b) { return a->ID < b->ID; });

    std::unordered_map<int32_t, const TListColumn*> columnOf;
    for (const auto& column : category.Columns)
        columnOf.emplace(column->ElementID, column.get());
    FColumns.reserve(boxes.size());
    for (const TElement* box : boxes) {
        const auto column = columnOf.find(box->ID);
        FColumns.push_back({column == columnOf.end() ? QString::fromLatin1(kUnnamedHeading)
                                                     : DisplayText(column->second->Caption),
                            box->ValueIndex});
    }
}

void TCategoryExport::CheckFitsXlsx() const {
    const QString name = DisplayText(FCategory.Name);
    const auto records = static_cast<int64_t>(FCategory.Records.size());
    if (records > kXlsxMaxRecords)
        ThrowExportError(QCoreApplication::translate(
                             "Exchange", "The category \"%1\" has %2 records, more than the %3 that "
                                         "fit below the heading row of a .xlsx worksheet. Nothing was "
                                         "written.")
                             .arg(name, Thousands(records), Thousands(kXlsxMaxRecords)));
    const auto columns = static_cast<int64_t>(FColumns.size());
    if (columns > kXlsxMaxColumns)
        ThrowExportError(
            QCoreApplication::translate("Exchange", "The category \"%1\" has %2 text boxes, more than the %3 "
                                                    "columns of a .xlsx worksheet. Nothing was written.")
                .arg(name, Thousands(columns), Thousands(kXlsxMaxColumns)));
    for (size_t r = 0; r < FCategory.Records.size(); ++r) {
        const TRecord& record = *FCategory.Records[r];
        for (const TExportColumn& column : FColumns) {
            const std::string_view value = record.Value(column.ValueIndex);
            // A value never has more characters than bytes: only long ones need decoding.
            if (static_cast<int64_t>(value.size()) <= kXlsxMaxCellCharacters)
                continue;
            const qsizetype characters = DisplayText(value).size();
            if (characters > kXlsxMaxCellCharacters)
                ThrowExportError(QCoreApplication::translate(
                                     "Exchange", "Record %1 of the category \"%2\" holds a value of %3 "
                                                 "characters under \"%4\", more than the %5 a .xlsx "
                                                 "cell holds. Nothing was written.")
                                     .arg(Thousands(static_cast<int64_t>(r) + 1), name, Thousands(characters),
                                          column.Heading, Thousands(kXlsxMaxCellCharacters)));
        }
    }
}

int64_t TCategoryExport::RecordCount() const {
    return static_cast<int64_t>(FCategory.Records.size());
}

void TCategoryExport::WriteTo(TWorksheet& sheet, const TExchangeProgress& progress) const {
    sheet.SetRows(std::make_shared<TCategoryRows>(FCategory, FColumns, progress));
}

TExportTarget ExportTargetOf(const QString& path) {
    const QFileInfo file(path);
    const QString suffix = file.suffix().toLower();
    if (suffix == QLatin1String("xls") && file.exists())
        ThrowExportError(QCoreApplication::translate("Exchange",
                                                     "Quillery cannot add a worksheet to the legacy "
                                                     "Excel file \"%1\". Please export to a .xlsx file.")
                             .arg(path));
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
        ThrowExportError(QCoreApplication::translate("Exchange",
                                                     "Quillery exports to Excel workbooks (.xlsx) and "
                                                     "CSV files (.csv). Please export to a .xlsx file."));
    if (!file.exists())
        return TExportTarget::NewWorkbook;
    return suffix == QLatin1String("csv") ? TExportTarget::ReplaceCsv : TExportTarget::AddSheet;
}

TCategoryExportRun::TCategoryExportRun(const TCategory& category, const QString& path,
                                       const QString& sheetName)
    : FExport(category), FPath(path), FSheetName(sheetName), FTarget(ExportTargetOf(path)) {}

TCategoryExportRun::~TCategoryExportRun() {
    Close();
}

void TCategoryExportRun::Check() const {
    if (QFileInfo(FPath).suffix().toLower() == QLatin1String("xlsx"))
        FExport.CheckFitsXlsx();
}

void TCategoryExportRun::Run(const TExchangeProgress& progress, const TExchangeWait& wait) {
    TWorksheet* sheet = nullptr;
    if (FTarget == TExportTarget::AddSheet) {
        std::unique_ptr<TWorkbook> opened;
        wait([&opened, path = FPath] { opened = TWorkbook::Open(path); });
        FWorkbook = std::move(opened);
        sheet = &FWorkbook->AddSheet();
    } else {
        FWorkbook = TWorkbook::Add();
        sheet = &FWorkbook->ActiveSheet();
    }
    sheet->SetName(FSheetName);
    FExport.WriteTo(*sheet, Relayed(progress));
    TWorkbook& workbook = *FWorkbook;
    if (FTarget == TExportTarget::AddSheet)
        wait([&workbook] { workbook.Save(); });
    else
        wait([&workbook, path = FPath] { workbook.SaveAs(path); });
    if (progress)
        progress(FExport.RecordCount(), FExport.RecordCount());
}

TExchangeProgress TCategoryExportRun::Relayed(const TExchangeProgress& progress) {
    if (!progress)
        return {};
    // Reports still queued when the run ends go with the receiver.
    return [receiver = &FProgressReceiver, progress](int64_t done, int64_t total) {
        if (QThread::currentThread() == receiver->thread())
            progress(done, total);
        else
            QMetaObject::invokeMethod(
                receiver, [progress, done, total] { progress(done, total); }, Qt::QueuedConnection);
    };
}

void TCategoryExportRun::Close() noexcept {
    CloseWorkbookQuietly(FWorkbook);
}
