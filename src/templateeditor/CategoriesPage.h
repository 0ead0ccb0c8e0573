// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QAction;
class QItemSelection;
class QTreeWidget;
class QTreeWidgetItem;
class TCategory;
class TDataFile;
class TSelectCategoryDialog;

// The editor's left side: the list of the working copy's categories, in the working copy's order,
// with the buttons that move the selected category up and down, and the category commands. The
// selected row's category is the current one, whose form the editor shows.
class TCategoriesPage : public QWidget {
    Q_OBJECT

public:
    // newCategory and deleteCategory are the editor's actions; the list's context menu offers them.
    TCategoriesPage(QAction* newCategory, QAction* deleteCategory, QWidget* parent);

    // Lists the categories of workingCopy with none selected.
    void Fill(TDataFile& workingCopy);
    // Empties the list and forgets the working copy, without reporting a change.
    void Clear();
    TCategory* Current() const { return FCurrent; }

    // Appends "New Category", offering to copy another category's template, and selects it.
    void NewCategory();
    // Deletes the selected category once the user agrees.
    void DeleteCategory();
    // Gives the current category a new name, as typed (empty and repeated names included).
    void RenameCurrent(const QString& name);

signals:
    // The current category is about to be left: the editor stores what it shows of it.
    void Leaving(TCategory& category);
    // The current category changed; nullptr when no row is selected.
    void CurrentChanged(TCategory* category);

private:
    void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void RowSelectionChanged(QTreeWidgetItem* row, bool selected);
    void Move(int step);
    void UpdateMoveActions();
    QTreeWidgetItem* AddRow(TCategory* category);
    TCategory* CategoryOfRow(const QTreeWidgetItem* row) const;
    QTreeWidgetItem* SelectedRow() const;
    int SelectedIndex() const;

    TDataFile* FWorkingCopy = nullptr;
    TCategory* FCurrent = nullptr;
    // Set while Move Up or Move Down rearranges the rows: their selection changes are not reports.
    bool FReordering = false;
    QTreeWidget* FList;
    QAction* FMoveUp;
    QAction* FMoveDown;
    TSelectCategoryDialog* FChooser;
};
