// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/Workbook.h"

#include <QMap>
#include <QPair>
#include <QStringList>

// A worksheet in memory: what the mapping writes and reads, without a file.
class TFakeWorksheet : public TWorksheet {
public:
    QString SheetName;
    QMap<QPair<int, int>, QString> Cells;
    QList<QPair<int, int>> Headings;
    // Cell reads, to show that scans stop.
    mutable int Reads = 0;

    QString Name() const override { return SheetName; }
    void SetName(const QString& name) override { SheetName = name; }
    QString CellText(int row, int column) const override {
        ++Reads;
        return Cells.value({row, column});
    }
    void SetCellText(int row, int column, const QString& text) override { Cells[{row, column}] = text; }
    void SetHeadingStyle(int row, int column) override { Headings.append({row, column}); }
    int UsedRows() const override {
        int rows = 0;
        for (auto it = Cells.cbegin(); it != Cells.cend(); ++it)
            rows = std::max(rows, it.key().first);
        return rows;
    }
    int UsedColumns() const override {
        int columns = 0;
        for (auto it = Cells.cbegin(); it != Cells.cend(); ++it)
            columns = std::max(columns, it.key().second);
        return columns;
    }

    // Rows of cells from row 1, column 1; "" leaves a cell out.
    void Fill(const QList<QStringList>& rows, int firstRow = 1, int firstColumn = 1) {
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].isEmpty())
                    Cells[{firstRow + r, firstColumn + c}] = rows[r][c];
    }
    // The texts of one row from column 1 to last.
    QStringList Row(int row, int last) const {
        QStringList texts;
        for (int column = 1; column <= last; ++column)
            texts.append(Cells.value({row, column}));
        return texts;
    }
};
