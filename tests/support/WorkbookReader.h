// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Workbooks as readers and writers we did not write see them: openpyxl for .xlsx, Python's csv
// module for .csv (tests/support/read_workbook.py and write_workbook.py).

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

namespace WorkbookReader {

struct TSheet {
    QString Name;
    QList<QStringList> Rows; // each without trailing empty cells; trailing empty rows left out
    QStringList Types;       // openpyxl's data types of the cells that hold a value
    QJsonArray Headings;     // row 1: {bold, color, align} per cell
};

inline bool RunPython(const QString& script, const QStringList& arguments, QByteArray& out, QString* error) {
    QProcess process;
    process.start(QStringLiteral(QUILLERY_PYTHON),
                  QStringList{QStringLiteral(QUILLERY_TEST_SUPPORT "/") + script} + arguments);
    process.waitForFinished(60000);
    out = process.readAllStandardOutput();
    const bool ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok && error)
        *error = QString::fromUtf8(process.readAllStandardError());
    return ok;
}

// The sheets in order; an empty list with error set when the reader failed.
inline QList<TSheet> Read(const QString& path, QString* error = nullptr) {
    QByteArray out;
    QList<TSheet> sheets;
    if (!RunPython(QStringLiteral("read_workbook.py"), {path}, out, error))
        return sheets;
    const QJsonObject book = QJsonDocument::fromJson(out).object();
    for (const QJsonValue& value : book.value(QStringLiteral("sheets")).toArray()) {
        const QJsonObject object = value.toObject();
        TSheet sheet;
        sheet.Name = object.value(QStringLiteral("name")).toString();
        for (const QJsonValue& row : object.value(QStringLiteral("rows")).toArray()) {
            QStringList cells;
            for (const QJsonValue& cell : row.toArray())
                cells.append(cell.toString());
            // openpyxl pads every row to the sheet's width.
            while (!cells.isEmpty() && cells.constLast().isEmpty())
                cells.removeLast();
            sheet.Rows.append(cells);
        }
        for (const QJsonValue& type : object.value(QStringLiteral("types")).toArray())
            sheet.Types.append(type.toString());
        sheet.Headings = object.value(QStringLiteral("headings")).toArray();
        sheets.append(sheet);
    }
    return sheets;
}

// Writes a .xlsx with openpyxl; sheets is the JSON array of {"name", "rows"}; false on failure.
inline bool Write(const QString& path, const QJsonArray& sheets, int active = 0, QString* error = nullptr) {
    const QJsonObject layout{{QStringLiteral("sheets"), sheets}, {QStringLiteral("active"), active}};
    QByteArray out;
    return RunPython(QStringLiteral("write_workbook.py"),
                     {path, QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact))}, out,
                     error);
}

} // namespace WorkbookReader
