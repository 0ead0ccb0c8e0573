// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/WorkbookErrors.h"

#include <QCoreApplication>

// The texts are translated where they are made, in the window; quillery-cli has no translator and
// keeps them English.

namespace WorkbookErrors {

QString WorkbookLabel(const QString& path) {
    return path.isEmpty() ? QCoreApplication::translate("Exchange", "the new workbook")
                          : QCoreApplication::translate("Exchange", "\"%1\"").arg(path);
}

EWorkbookError NotAWorkbook(const QString& path) {
    return EWorkbookError(QCoreApplication::translate(
                              "Exchange", "Cannot open \"%1\": it is not a workbook that Quillery can read.")
                              .arg(path));
}

EWorkbookError CannotOpen(const QString& path, const QString& reason) {
    return EWorkbookError(
        QCoreApplication::translate("Exchange", "Cannot open \"%1\": %2.").arg(path, reason));
}

EWorkbookError DamagedSheet(const QString& sheet, const QString& path) {
    return EWorkbookError(
        QCoreApplication::translate("Exchange",
                                    "Cannot read the worksheet \"%1\" in \"%2\": the workbook is damaged.")
            .arg(sheet, path));
}

EWorkbookTooLarge TooLarge(const QString& path) {
    return EWorkbookTooLarge(
        QCoreApplication::translate("Exchange", "\"%1\" is too large to import.").arg(path));
}

EWorkbookError PasswordProtected(const QString& path) {
    return EWorkbookError(QCoreApplication::translate(
                              "Exchange", "\"%1\" is protected by a password. Remove the password in the "
                                          "spreadsheet program and try again.")
                              .arg(path));
}

EWorkbookError CannotSave(const QString& path, const QString& reason) {
    return EWorkbookError(
        QCoreApplication::translate("Exchange", "Cannot save \"%1\": %2.").arg(path, reason));
}

EWorkbookError ReadOnlyFormat(const QString& path) {
    return EWorkbookError(
        QCoreApplication::translate(
            "Exchange", "Quillery can read \"%1\" but not write to it: export to a .xlsx file instead.")
            .arg(path));
}

EWorkbookError CsvHoldsOneSheet(const QString& path) {
    return EWorkbookError(
        QCoreApplication::translate(
            "Exchange", "A .csv file holds a single worksheet: Quillery cannot add one to \"%1\".")
            .arg(path));
}

EWorkbookError DuplicateSheetName(const QString& name, const QString& path) {
    return EWorkbookError(
        QCoreApplication::translate("Exchange", "A worksheet named \"%1\" already exists in %2.")
            .arg(name, WorkbookLabel(path)));
}

EWorkbookError InvalidSheetName(const QString& name, const QString& reason) {
    return EWorkbookError(
        QCoreApplication::translate("Exchange", "\"%1\" cannot be the name of a worksheet: %2.")
            .arg(name, reason));
}

EWorkbookError ExistingSheet(const QString& sheet, const QString& path) {
    return EWorkbookError(
        QCoreApplication::translate("Exchange",
                                    "The worksheet \"%1\" in \"%2\" was already there: Quillery only writes "
                                    "to worksheets it adds.")
            .arg(sheet, path));
}

EWorkbookError NoSuchSheet(const QString& name, const QString& path) {
    return EWorkbookError(QCoreApplication::translate("Exchange", "There is no worksheet named \"%1\" in %2.")
                              .arg(name, WorkbookLabel(path)));
}

EWorkbookError NoSuchSheetIndex(int index, const QString& path) {
    return EWorkbookError(QCoreApplication::translate("Exchange", "There is no worksheet %1 in %2.")
                              .arg(index)
                              .arg(WorkbookLabel(path)));
}

EWorkbookError CellOutOfRange(int row, int column) {
    return EWorkbookError(QCoreApplication::translate(
                              "Exchange",
                              "There is no cell at row %1, column %2: a worksheet has rows 1 to 1048576 "
                              "and columns 1 to 16384.")
                              .arg(row)
                              .arg(column));
}

EWorkbookError Closed() {
    return EWorkbookError(QCoreApplication::translate("Exchange", "The workbook is closed."));
}

} // namespace WorkbookErrors
