// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecordListModel.h"

#include "core/Category.h"
#include "core/HugePages.h"
#include "core/ListSort.h"
#include "core/TextRules.h"
#include "exchange/DisplayText.h"

#include <algorithm>
#include <numeric>
#include <utility>

TRecordListModel::TRecordListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TRecordListModel::SetColumns(const TCategory* category) {
    beginResetModel();
    FColumns.clear();
    FRows.clear();
    FSortedAs.reset();
    FShowsCategory = category != nullptr;
    if (category != nullptr) {
        FColumns.reserve(category->Columns.size());
        for (const auto& column : category->Columns) {
            FColumns.push_back(
                {column->ElementID, category->ValueIndexOf(column->ElementID), DisplayText(column->Caption)});
        }
    }
    endResetModel();
}

void TRecordListModel::SetRows(std::vector<TRecord*> rows) {
    beginResetModel();
    FRows = std::move(rows);
    FSortedAs.reset();
    endResetModel();
}

int TRecordListModel::AppendRow(TRecord* record) {
    const int row = static_cast<int>(FRows.size());
    beginInsertRows(QModelIndex(), row, row);
    FRows.push_back(record);
    FSortedAs.reset();
    endInsertRows();
    return row;
}

void TRecordListModel::RemoveRow(int row) {
    if (row < 0 || row >= static_cast<int>(FRows.size())) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    FRows.erase(FRows.begin() + row);
    FSortedAs.reset();
    endRemoveRows();
}

TRecord* TRecordListModel::RecordAt(int row) const {
    return row >= 0 && row < static_cast<int>(FRows.size()) ? FRows[static_cast<size_t>(row)] : nullptr;
}

int TRecordListModel::RowOf(const TRecord* record) const {
    const auto it = std::find(FRows.begin(), FRows.end(), record);
    return it == FRows.end() ? -1 : static_cast<int>(it - FRows.begin());
}

int32_t TRecordListModel::ColumnElementID(int column) const {
    return column >= 0 && column < static_cast<int>(FColumns.size())
               ? FColumns[static_cast<size_t>(column)].ElementID
               : 0;
}

std::string_view TRecordListModel::CellBytes(int row, int column) const {
    const TRecord* record = RecordAt(row);
    if (record == nullptr || column < 0 || column >= static_cast<int>(FColumns.size())) {
        return {};
    }
    return CellText(record->Value(FColumns[static_cast<size_t>(column)].ValueIndex));
}

void TRecordListModel::RefreshRow(int row) {
    if (row >= 0 && row < static_cast<int>(FRows.size()) && !FColumns.empty()) {
        emit dataChanged(index(row, 0), index(row, static_cast<int>(FColumns.size()) - 1), {Qt::DisplayRole});
    }
}

std::vector<uint32_t> TRecordListModel::Sort(int column, bool ascending) {
    if (column < 0 || column >= static_cast<int>(FColumns.size()) || FRows.size() < 2) {
        return {};
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    const int32_t valueIndex = FColumns[static_cast<size_t>(column)].ValueIndex;
    std::vector<uint32_t> order;
    std::vector<unsigned char> ties;
    if (FSortedAs && FSortedAs->ValueIndex == valueIndex &&
        FSortedAs->RecordChanges == TRecord::ChangeCount()) {
        ties = std::move(FSortedAs->Ties);
        if (FSortedAs->Ascending != ascending) {
            order = TurnedRound(ties);
        } else {
            order.resize(FRows.size());
            std::iota(order.begin(), order.end(), uint32_t{0});
        }
    } else {
        order = ListSortOrder(FRows.data(), FRows.size(), valueIndex, ascending, &ties);
    }
    FSortedAs = TSortedAs{valueIndex, ascending, TRecord::ChangeCount(), std::move(ties)};

    // Scratch in huge pages: a million rows' worth of fresh small pages is slow to fault in.
    TLargeBuffer<TRecord*> sorted(FRows.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = FRows[order[i]];
    std::copy(sorted.begin(), sorted.end(), FRows.begin());

    // Rows that the selection or the view hold move with their records; a list just filled has none.
    const QModelIndexList oldIndexes = persistentIndexList();
    if (!oldIndexes.isEmpty()) {
        TLargeBuffer<int> newRowOf(FRows.size());
        for (size_t i = 0; i < order.size(); ++i)
            newRowOf[order[i]] = static_cast<int>(i);
        QModelIndexList newIndexes;
        newIndexes.reserve(oldIndexes.size());
        for (const QModelIndex& old : oldIndexes)
            newIndexes.append(index(newRowOf[static_cast<size_t>(old.row())], old.column()));
        changePersistentIndexList(oldIndexes, newIndexes);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return order;
}

int TRecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TRecordListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return FColumns.empty() && FShowsCategory ? 1 : ListColumnCount();
}

QVariant TRecordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return QVariant();
    }
    return DisplayText(CellBytes(index.row(), index.column()));
}

QVariant TRecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(FColumns.size())) {
        return QVariant();
    }
    return FColumns[static_cast<size_t>(section)].Caption;
}

Qt::ItemFlags TRecordListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren)
                           : Qt::NoItemFlags;
}
