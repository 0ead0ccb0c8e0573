// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/CategoriesPage.h"

#include "core/DataFile.h"
#include "core/Error.h"
#include "exchange/DisplayText.h"
#include "templateeditor/SelectCategoryDialog.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton* MoveButton(QAction* action, const char* name, Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setDefaultAction(action);
    button->setArrowType(arrow);
    return button;
}

} // namespace

TCategoriesPage::TCategoriesPage(QAction* newCategory, QAction* deleteCategory, QWidget* parent)
    : QWidget(parent), FList(new QTreeWidget(this)), FMoveUp(new QAction(tr("Move Up"), this)),
      FMoveDown(new QAction(tr("Move Down"), this)), FChooser(new TSelectCategoryDialog(this)) {
    setObjectName(QStringLiteral("PanelLeft"));
    setMinimumWidth(60);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);

    FList->setObjectName(QStringLiteral("ListView1"));
    FList->setColumnCount(1);
    FList->setHeaderLabels({tr("      Category List")});
    FList->header()->setStretchLastSection(false);
    FList->header()->setSectionsClickable(false);
    FList->setColumnWidth(0, 117);
    FList->setRootIsDecorated(false);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays visible while another control has the focus.
    QPalette palette = FList->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    FList->setPalette(palette);
    connect(FList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TCategoriesPage::SelectionChanged);

    auto* menu = new QMenu(FList);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    menu->addAction(newCategory);
    menu->addAction(deleteCategory);
    FList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FList, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& point) { menu->popup(FList->viewport()->mapToGlobal(point)); });
    layout->addWidget(FList, 1);

    FMoveUp->setObjectName(QStringLiteral("ActionMoveUp"));
    FMoveDown->setObjectName(QStringLiteral("ActionMoveDown"));
    connect(FMoveUp, &QAction::triggered, this, [this] { Move(-1); });
    connect(FMoveDown, &QAction::triggered, this, [this] { Move(1); });
    auto* moveBar = new QHBoxLayout;
    moveBar->setContentsMargins(4, 0, 4, 0);
    moveBar->addWidget(MoveButton(FMoveUp, "BtnMoveUp", Qt::UpArrow, this));
    moveBar->addWidget(MoveButton(FMoveDown, "BtnMoveDown", Qt::DownArrow, this));
    moveBar->addStretch();
    layout->addLayout(moveBar);
    UpdateMoveActions();
}

void TCategoriesPage::Fill(TDataFile& workingCopy) {
    Clear();
    FWorkingCopy = &workingCopy;
    for (const auto& category : workingCopy.Categories)
        AddRow(category.get());
}

void TCategoriesPage::Clear() {
    FReordering = false;
    FCurrent = nullptr;
    {
        const QSignalBlocker blocker(FList->selectionModel());
        FList->clear();
    }
    FWorkingCopy = nullptr;
    UpdateMoveActions();
}

QTreeWidgetItem* TCategoriesPage::AddRow(TCategory* category) {
    auto* row = new QTreeWidgetItem(FList, {DisplayText(category->Name)});
    row->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(category)));
    return row;
}

TCategory* TCategoriesPage::CategoryOfRow(const QTreeWidgetItem* row) const {
    return row ? static_cast<TCategory*>(row->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

QTreeWidgetItem* TCategoriesPage::SelectedRow() const {
    const QList<QTreeWidgetItem*> rows = FList->selectedItems();
    return rows.isEmpty() ? nullptr : rows.constFirst();
}

int TCategoriesPage::SelectedIndex() const {
    QTreeWidgetItem* row = SelectedRow();
    return row ? FList->indexOfTopLevelItem(row) : -1;
}

void TCategoriesPage::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    // The row that loses the selection reports first, then the one that gains it.
    for (const QModelIndex& index : deselected.indexes())
        RowSelectionChanged(FList->topLevelItem(index.row()), false);
    for (const QModelIndex& index : selected.indexes())
        RowSelectionChanged(FList->topLevelItem(index.row()), true);
}

void TCategoriesPage::RowSelectionChanged(QTreeWidgetItem* row, bool selected) {
    if (FReordering)
        return;
    if (FCurrent)
        emit Leaving(*FCurrent);
    FCurrent = selected ? CategoryOfRow(row) : nullptr;
    UpdateMoveActions();
    emit CurrentChanged(FCurrent);
}

void TCategoriesPage::NewCategory() {
    if (!FWorkingCopy)
        return;
    TCategory* category = FWorkingCopy->AddCategory();
    category->Name = StoredText(tr("New Category"));
    const auto& categories = FWorkingCopy->Categories;
    if (categories.size() > 1 &&
        MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation,
                           tr("A new category is created. Do you want to copy template from an "
                              "existing category?"),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        QStringList names;
        for (size_t i = 0; i + 1 < categories.size(); ++i)
            names << DisplayText(categories[i]->Name);
        const int chosen = FChooser->Execute(names);
        if (chosen >= 0) {
            const TCategory& source = *categories[static_cast<size_t>(chosen)];
            const int32_t id = category->ID;
            category->AssignTemplate(source);
            category->ID = id;
            // The name's bytes stay as they are, whatever their encoding.
            category->Name = FillMessage(StoredText(tr("Copy of %1")), {source.Name});
        }
    }
    QTreeWidgetItem* row = AddRow(category);
    FList->setCurrentItem(row);
    FList->scrollToItem(row);
}

void TCategoriesPage::DeleteCategory() {
    QTreeWidgetItem* row = SelectedRow();
    if (!row)
        return;
    TCategory* category = CategoryOfRow(row);
    const QString question = tr("You will lose all the data in this category, if you already have data "
                                "stored. Delete the category \"%1\" anyway?")
                                 .arg(DisplayText(category->Name));
    // Enter answers No: the category's records would be lost.
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Warning, question, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::No) != QMessageBox::Yes)
        return;
    // The category must not be stored on the way out.
    FCurrent = nullptr;
    delete row;
    FList->clearSelection();
    auto& categories = FWorkingCopy->Categories;
    categories.erase(std::find_if(categories.begin(), categories.end(),
                                  [category](const auto& candidate) { return candidate.get() == category; }));
    UpdateMoveActions();
    emit CurrentChanged(nullptr);
}

void TCategoriesPage::RenameCurrent(const QString& name) {
    QTreeWidgetItem* row = SelectedRow();
    if (!row)
        return;
    row->setText(0, name);
    CategoryOfRow(row)->Name = StoredText(name);
}

// Moving past either end is impossible: the action is disabled there, and the check below keeps it
// so should the action be triggered anyway.
void TCategoriesPage::Move(int step) {
    const int row = SelectedIndex();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= FList->topLevelItemCount())
        return;
    FReordering = true;
    QTreeWidgetItem* movedRow = FList->topLevelItem(row);
    QTreeWidgetItem* otherRow = FList->topLevelItem(other);
    TCategory* moved = CategoryOfRow(movedRow);
    TCategory* displaced = CategoryOfRow(otherRow);
    movedRow->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(displaced)));
    otherRow->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(moved)));
    std::swap(FWorkingCopy->Categories[static_cast<size_t>(row)],
              FWorkingCopy->Categories[static_cast<size_t>(other)]);
    movedRow->setText(0, DisplayText(displaced->Name));
    otherRow->setText(0, DisplayText(moved->Name));
    FList->setCurrentItem(otherRow);
    UpdateMoveActions();
    FReordering = false;
}

void TCategoriesPage::UpdateMoveActions() {
    const int row = SelectedIndex();
    FMoveUp->setEnabled(row > 0);
    FMoveDown->setEnabled(row >= 0 && row < FList->topLevelItemCount() - 1);
}
