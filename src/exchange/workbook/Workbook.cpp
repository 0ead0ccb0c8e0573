#include "exchange/workbook/Workbook.h"

namespace {
bool IsLegacyWorkbook(const QString& path) {
    return path.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive);
}
} // namespace

std::unique_ptr<TWorkbook> TWorkbook::Open(const QString& path) {
    throw EWorkbookError(
        QStringLiteral("Cannot open \"%1\": it is not a workbook that Quillery can read.").arg(path));
}

std::unique_ptr<TWorkbook> TWorkbook::Add() {
    throw EWorkbookError(QStringLiteral("Quillery cannot create workbooks yet."));
}

int MaxWorkbookRows(const QString& path) {
    return IsLegacyWorkbook(path) ? 65536 : 1048576;
}

int MaxWorkbookColumns(const QString& path) {
    return IsLegacyWorkbook(path) ? 256 : 16384;
}
