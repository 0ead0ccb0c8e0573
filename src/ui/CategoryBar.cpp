// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CategoryBar.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kIconSize = 32;
constexpr int kItemSpacing = 10;
constexpr int kTopSpacing = 4;

const char* const kStyle = R"(
TCategoryBar { background: #27313f; border: none; }
QLabel#CategoryBarTitle {
    color: #ffffff; font-weight: bold; padding: 5px 8px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4f6178, stop:1 #3d4c60);
    border-bottom: 1px solid #1b222c;
}
QListWidget { background: #27313f; border: 1px solid transparent; color: #ffffff; outline: 0; }
QListWidget:focus { border: 1px solid #7fa6dd; }
QListWidget::item { color: #ffffff; border-radius: 5px; border: 1px solid transparent; }
QListWidget::item:hover { background: rgba(255, 255, 255, 28); }
QListWidget::item:selected {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5b86c4, stop:1 #45699f);
    border: 1px solid #7fa6dd; color: #ffffff;
}
QScrollBar:vertical { background: #222b37; width: 10px; margin: 0; }
QScrollBar::handle:vertical { background: #52627a; min-height: 24px; border-radius: 4px; margin: 1px; }
QScrollBar::handle:vertical:hover { background: #6a7d99; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
)";

} // namespace

TCategoryBar::TCategoryBar(const QString& groupCaption, QWidget* parent)
    : QFrame(parent), FTitle(new QLabel(groupCaption, this)), FList(new QListWidget(this)) {
    setStyleSheet(QString::fromLatin1(kStyle));
    FTitle->setObjectName(QStringLiteral("CategoryBarTitle"));
    FTitle->setAlignment(Qt::AlignCenter);

    FList->setObjectName(QStringLiteral("CategoryBarItems"));
    // Screen readers name the list after its title; each item reads its caption and whether it
    // is the category shown.
    FList->setAccessibleName(groupCaption);
    FList->setViewMode(QListView::IconMode);
    FList->setFlow(QListView::TopToBottom);
    FList->setWrapping(false);
    FList->setMovement(QListView::Static);
    FList->setResizeMode(QListView::Adjust);
    FList->setWordWrap(false);
    FList->setTextElideMode(Qt::ElideRight);
    FList->setIconSize(QSize(kIconSize, kIconSize));
    FList->setSpacing(kItemSpacing / 2);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    FList->verticalScrollBar()->setSingleStep(8);
    // Tab reaches the bar; the arrow keys, Home and End choose a category.
    FList->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(FList);
    FList->setMouseTracking(true);
    FList->setContextMenuPolicy(Qt::NoContextMenu); // the bar's own menu applies

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FTitle);
    layout->addSpacing(kTopSpacing);
    layout->addWidget(FList, 1);

    connect(FList, &QListWidget::itemSelectionChanged, this, &TCategoryBar::ListSelectionChanged);
}

void TCategoryBar::Clear() {
    FList->clear();
    ListSelectionChanged();
}

void TCategoryBar::AddItem(const QPixmap& icon, const QString& caption) {
    auto* item = new QListWidgetItem(QIcon(icon), caption);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    item->setToolTip(caption);
    item->setSizeHint(ItemSize());
    FList->addItem(item);
}

int TCategoryBar::Count() const {
    return FList->count();
}

QString TCategoryBar::ItemCaption(int index) const {
    const QListWidgetItem* item = FList->item(index);
    return item != nullptr ? item->text() : QString();
}

void TCategoryBar::SetSelectedIndex(int index) {
    if (index < 0 || index >= FList->count()) {
        FList->clearSelection();
        FList->setCurrentItem(nullptr);
    } else {
        FList->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        FList->scrollToItem(FList->item(index));
    }
    ListSelectionChanged();
}

QRect TCategoryBar::ItemRect(int index) const {
    const QListWidgetItem* item = FList->item(index);
    return item != nullptr ? FList->visualItemRect(item) : QRect();
}

QWidget* TCategoryBar::ItemArea() const {
    return FList->viewport();
}

void TCategoryBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    UpdateItemSizes();
}

void TCategoryBar::ListSelectionChanged() {
    const QList<QListWidgetItem*> selected = FList->selectedItems();
    const int index = selected.isEmpty() ? -1 : FList->row(selected.constFirst());
    if (index != FSelectedIndex) {
        FSelectedIndex = index;
        emit SelectedIndexChanged(index);
    }
}

QSize TCategoryBar::ItemSize() const {
    // The item spans the pane so that hover and selection read as a band.
    const int width = qMax(kIconSize + 8, FList->viewport()->width() - kItemSpacing);
    return QSize(width, kIconSize + FList->fontMetrics().height() + 12);
}

void TCategoryBar::UpdateItemSizes() {
    const QSize size = ItemSize();
    for (int i = 0; i < FList->count(); ++i) {
        FList->item(i)->setSizeHint(size);
    }
}
