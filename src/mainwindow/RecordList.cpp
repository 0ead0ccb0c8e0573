// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecordList.h"

#include "core/Category.h"
#include "mainwindow/RecordListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

TRecordList::TRecordList(QWidget* parent) : QTreeView(parent), FModel(new TRecordListModel(this)) {
    setObjectName(QStringLiteral("ListView1"));
    setModel(FModel);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(true);
    setMinimumHeight(40);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setSortIndicatorShown(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    // The selection stays visible while the list has no focus.
    QPalette listPalette = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        listPalette.setColor(QPalette::Inactive, role, listPalette.color(QPalette::Active, role));
    setPalette(listPalette);
    connect(header(), &QHeaderView::sectionClicked, this, &TRecordList::HeaderClicked);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TRecordList::SelectionChanged);
}

TRecordList::~TRecordList() {
    // The rows refer to records of the open data; let them go first.
    FModel->SetColumns(nullptr);
}

void TRecordList::ShowColumnsOf(const TCategory* category) {
    ClearRowSelection();
    FModel->SetColumns(category);
    if (category == nullptr)
        return;
    for (size_t i = 0; i < category->Columns.size(); ++i)
        header()->resizeSection(static_cast<int>(i), category->Columns[i]->Width);
}

void TRecordList::ShowRows(std::vector<TRecord*> rows) {
    ClearRowSelection();
    FModel->SetRows(std::move(rows));
}

std::vector<uint32_t> TRecordList::SortAs(const TCategory& category) {
    std::vector<uint32_t> order = FModel->Sort(category.SortColumn, category.SortAscending);
    ShowSortIndicator(category);
    return order;
}

void TRecordList::ShowSortIndicator(const TCategory& category) {
    header()->setSortIndicator(category.SortColumn,
                               category.SortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int TRecordList::RowCount() const {
    return FModel->rowCount();
}

void TRecordList::SelectRow(int row) {
    setCurrentIndex(FModel->index(row, 0));
}

void TRecordList::ClearRowSelection() {
    selectionModel()->clearSelection();
}

TRecord* TRecordList::SelectedRecord() const {
    return FSelected.isValid() ? FModel->RecordAt(FSelected.row()) : nullptr;
}

int TRecordList::SelectedRow() const {
    return FSelected.isValid() ? FSelected.row() : -1;
}

void TRecordList::ScrollToSelected() {
    if (FSelected.isValid())
        scrollTo(FSelected);
}

void TRecordList::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat())
        emit DeleteKeyReleased();
}

QItemSelectionModel::SelectionFlags TRecordList::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
    // A click that was refused on the press is refused on its release without asking again.
    if (event != nullptr && event->type() == QEvent::MouseButtonRelease && FPressRefused) {
        FPressRefused = false;
        return QItemSelectionModel::NoUpdate;
    }
    FPressRefused = false;
    if (FSelected.isValid() && index.isValid() && index.row() != FSelected.row() && CanLeaveRow &&
        !CanLeaveRow()) {
        FPressRefused = event != nullptr && event->type() == QEvent::MouseButtonPress;
        // The focus mark goes back to the row that stays selected.
        auto* self = const_cast<TRecordList*>(this);
        const QPersistentModelIndex keep = FSelected;
        QTimer::singleShot(0, self, [self, keep] {
            if (keep.isValid())
                self->selectionModel()->setCurrentIndex(keep, QItemSelectionModel::NoUpdate);
        });
        return QItemSelectionModel::NoUpdate;
    }
    return QTreeView::selectionCommand(index, event);
}

void TRecordList::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (!deselected.isEmpty() && FSelected.isValid()) {
        // The old row is still the selected one while the window deals with its loss.
        emit RowDeselected();
        FSelected = QPersistentModelIndex();
    }
    const QModelIndexList indexes = selected.indexes();
    if (!indexes.isEmpty()) {
        FSelected = indexes.constFirst().siblingAtColumn(0);
        scrollTo(FSelected);
        emit RowSelected(FModel->RecordAt(FSelected.row()));
    }
}
