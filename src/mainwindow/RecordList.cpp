// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecordList.h"

#include "core/Category.h"
#include "mainwindow/RecordListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>

#include <algorithm>

TRecordList::TRecordList(QWidget* parent) : QTableView(parent), FModel(new TRecordListModel(this)) {
    setObjectName(QStringLiteral("ListView1"));
    setModel(FModel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the list, as it leaves any other control.
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMinimumHeight(40);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    FitRowHeight();
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    // The selection stays visible while the list has no focus.
    QPalette listPalette = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        listPalette.setColor(QPalette::Inactive, role, listPalette.color(QPalette::Active, role));
    setPalette(listPalette);
    connect(header, &QHeaderView::sectionClicked, this, &TRecordList::HeaderClicked);
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
        horizontalHeader()->resizeSection(static_cast<int>(i), category->Columns[i]->Width);
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
    horizontalHeader()->setSortIndicator(category.SortColumn,
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
    if (!FSelected.isValid())
        return;
    // Only up or down: the columns in view stay where the user scrolled them.
    const int left = horizontalScrollBar()->value();
    scrollTo(FSelected);
    horizontalScrollBar()->setValue(left);
}

void TRecordList::keyReleaseEvent(QKeyEvent* event) {
    QTableView::keyReleaseEvent(event);
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
    return QTableView::selectionCommand(index, event);
}

void TRecordList::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitRowHeight();
}

QModelIndex TRecordList::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    // The keys of a list: Home and End go to the first and last row, Left and Right scroll.
    switch (cursorAction) {
    case MoveHome:
    case MoveEnd: {
        const int rows = FModel->rowCount();
        if (rows == 0)
            return currentIndex();
        return FModel->index(cursorAction == MoveHome ? 0 : rows - 1, std::max(currentIndex().column(), 0));
    }
    case MoveLeft:
    case MoveRight: {
        QScrollBar* bar = horizontalScrollBar();
        bar->setValue(bar->value() + (cursorAction == MoveLeft ? -bar->singleStep() : bar->singleStep()));
        return currentIndex();
    }
    default:
        return QTableView::moveCursor(cursorAction, modifiers);
    }
}

void TRecordList::FitRowHeight() {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    const QSize line = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    verticalHeader()->setDefaultSectionSize(line.height());
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
        ScrollToSelected();
        emit RowSelected(FModel->RecordAt(FSelected.row()));
    }
}
