// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ListSource.h"

#include <QAbstractItemModel>
#include <QHeaderView>

TModelListSource::TModelListSource(const QAbstractItemModel& model, std::vector<int> columnOrder)
    : FModel(model), FColumnOrder(std::move(columnOrder)) {
    if (FColumnOrder.empty()) {
        for (int column = 0; column < model.columnCount(); ++column) {
            FColumnOrder.push_back(column);
        }
    }
}

int TModelListSource::ColumnCount() const {
    return static_cast<int>(FColumnOrder.size());
}

int TModelListSource::ModelColumn(int column) const {
    return column >= 0 && column < ColumnCount() ? FColumnOrder[static_cast<size_t>(column)] : -1;
}

QString TModelListSource::Caption(int column) const {
    return FModel.headerData(ModelColumn(column), Qt::Horizontal, Qt::DisplayRole).toString();
}

int TModelListSource::RowCount() const {
    return FModel.rowCount();
}

QString TModelListSource::Cell(int row, int column) const {
    // The model may have lost rows since the print was laid out: an invalid index reads as empty.
    return FModel.index(row, ModelColumn(column)).data(Qt::DisplayRole).toString();
}

std::vector<int> ShownColumnOrder(const QHeaderView& header) {
    std::vector<int> order;
    for (int visual = 0; visual < header.count(); ++visual) {
        const int logical = header.logicalIndex(visual);
        if (logical >= 0 && !header.isSectionHidden(logical)) {
            order.push_back(logical);
        }
    }
    return order;
}
