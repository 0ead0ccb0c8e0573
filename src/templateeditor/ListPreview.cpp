// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/ListPreview.h"

#include "core/Category.h"
#include "exchange/DisplayText.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace {

const int kElementRole = Qt::UserRole;
const int kCaptionRole = Qt::UserRole + 1; // the caption's stored bytes

void SetColumnCaption(QStandardItem* column, const std::string& caption) {
    column->setText(DisplayText(caption));
    column->setData(QByteArray::fromStdString(caption), kCaptionRole);
}

} // namespace

TListPreview::TListPreview(QWidget* parent)
    : QTreeView(parent), FColumns(new QStandardItemModel(0, 0, this)) {
    setObjectName(QStringLiteral("ListView2"));
    setModel(FColumns);
    setFixedHeight(56);
    setFocusPolicy(Qt::NoFocus);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    header()->setSectionsMovable(true);
    // A tree keeps its first column in place; this list has no tree, and its first column is the
    // one the record list sorts by, so the user must be able to choose it.
    header()->setFirstSectionMovable(true);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setFocusPolicy(Qt::NoFocus);
}

void TListPreview::Load(const TCategory& category) {
    Clear();
    for (const auto& column : category.Columns)
        AddColumn(column->ElementID, column->Width, column->Caption);
}

void TListPreview::Clear() {
    FColumns->setColumnCount(0);
}

bool TListPreview::IsEmpty() const {
    return FColumns->columnCount() == 0;
}

int TListPreview::ColumnOfElement(int32_t elementId) const {
    // The first in the order shown, should two columns name the same element.
    for (int visual = 0; visual < header()->count(); ++visual) {
        const int logical = header()->logicalIndex(visual);
        if (FColumns->horizontalHeaderItem(logical)->data(kElementRole).toInt() == elementId)
            return logical;
    }
    return -1;
}

bool TListPreview::HasColumn(int32_t elementId) const {
    return ColumnOfElement(elementId) >= 0;
}

std::string TListPreview::CaptionOf(int32_t elementId) const {
    const int column = ColumnOfElement(elementId);
    return column < 0
               ? std::string()
               : FColumns->horizontalHeaderItem(column)->data(kCaptionRole).toByteArray().toStdString();
}

void TListPreview::AddColumn(int32_t elementId, int width, const std::string& caption) {
    const int logical = FColumns->columnCount();
    FColumns->setColumnCount(logical + 1);
    auto* column = new QStandardItem;
    column->setData(elementId, kElementRole);
    SetColumnCaption(column, caption);
    FColumns->setHorizontalHeaderItem(logical, column);
    header()->resizeSection(logical, width);
}

void TListPreview::SetCaption(int32_t elementId, const std::string& caption) {
    const int column = ColumnOfElement(elementId);
    if (column < 0)
        AddColumn(elementId, kNewColumnWidth, caption);
    else
        SetColumnCaption(FColumns->horizontalHeaderItem(column), caption);
}

void TListPreview::RemoveColumnOf(int32_t elementId) {
    const int column = ColumnOfElement(elementId);
    if (column >= 0)
        FColumns->removeColumn(column);
}

void TListPreview::StoreInto(TCategory& category) const {
    category.Columns.clear();
    for (int visual = 0; visual < header()->count(); ++visual) {
        const int logical = header()->logicalIndex(visual);
        const QStandardItem* column = FColumns->horizontalHeaderItem(logical);
        auto stored = std::make_unique<TListColumn>();
        stored->ElementID = column->data(kElementRole).toInt();
        stored->Width = header()->sectionSize(logical);
        stored->Caption = column->data(kCaptionRole).toByteArray().toStdString();
        category.Columns.push_back(std::move(stored));
    }
    category.SortColumn = 0;
    category.SortAscending = true;
}
