// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

class QAbstractItemModel;
class QHeaderView;

// The record list as a list print reads it: captions and cell texts of the rows it shows now, read
// one cell at a time, so that a long list is never copied.
class TListSource {
public:
    virtual ~TListSource() = default;
    // Columns are counted from 0 in the list's column order.
    virtual int ColumnCount() const = 0;
    virtual QString Caption(int column) const = 0;
    virtual int RowCount() const = 0;
    // The cell's text as the list shows it; a row or column out of range gives the empty text.
    virtual QString Cell(int row, int column) const = 0;
};

// A list source over an item model: the record list's own model and the order its header shows
// the columns in.
class TModelListSource final : public TListSource {
public:
    // columnOrder holds the model's column numbers in the order shown; empty means the model's own.
    explicit TModelListSource(const QAbstractItemModel& model, std::vector<int> columnOrder = {});

    int ColumnCount() const override;
    QString Caption(int column) const override;
    int RowCount() const override;
    QString Cell(int row, int column) const override;

private:
    int ModelColumn(int column) const;

    const QAbstractItemModel& FModel;
    std::vector<int> FColumnOrder;
};

// The model's column numbers in the order header shows them, hidden columns left out.
std::vector<int> ShownColumnOrder(const QHeaderView& header);
