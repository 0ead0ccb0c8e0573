// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class TCategory;
class TRecord;

// The rows of the record list: references to records of one category, in list order. Cell texts
// are computed when the view asks for them, so filling and sorting allocate nothing per row.
class TRecordListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TRecordListModel(QObject* parent = nullptr);

    // Takes the list columns of category (none for nullptr) and empties the rows.
    void SetColumns(const TCategory* category);
    // Replaces every row.
    void SetRows(std::vector<TRecord*> rows);
    // Adds a row at the end and returns its position.
    int AppendRow(TRecord* record);
    void RemoveRow(int row);

    TRecord* RecordAt(int row) const;
    int RowOf(const TRecord* record) const;
    // The category's list columns. A category without any still shows one empty column, so that
    // its rows can be selected and its records reached through the form.
    int ListColumnCount() const { return static_cast<int>(FColumns.size()); }
    // The ElementID that column shows (the column's tag).
    int32_t ColumnElementID(int column) const;

    // The stored bytes of a cell: the first line of the record's value for the column's element.
    std::string_view CellBytes(int row, int column) const;

    // Tells the view that the cells of row changed.
    void RefreshRow(int row);

    // Stable sort by the cells of column with the list comparison; rows keep their selection.
    // Returns the row each new row came from (none when nothing was sorted).
    std::vector<uint32_t> Sort(int column, bool ascending);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct TColumn {
        int32_t ElementID;
        int32_t ValueIndex;
        QString Caption;
    };

    // How the last sort left the rows, while they have stayed so: a sort by the same value while
    // no record has changed then keeps them or turns them round without reading a cell.
    struct TSortedAs {
        int32_t ValueIndex;
        bool Ascending;
        uint64_t RecordChanges;
        std::vector<unsigned char> Ties;
    };

    std::vector<TColumn> FColumns;
    std::vector<TRecord*> FRows;
    bool FShowsCategory = false;
    std::optional<TSortedAs> FSortedAs;
};
