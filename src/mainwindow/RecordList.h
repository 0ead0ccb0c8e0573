// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPersistentModelIndex>
#include <QTableView>

#include <cstdint>
#include <functional>
#include <vector>

class TCategory;
class TRecord;
class TRecordListModel;

// The record list: a category's records in its list columns, one selected row at most. The old
// row's loss is reported before the new row's gain, so a question about edits concerns the old
// record. A table view, as a tree view lays out every row of a flat list again on each change
// (at a million rows, 40 MB and tens of milliseconds); the keys move between rows as in a list.
class TRecordList : public QTableView {
    Q_OBJECT

public:
    explicit TRecordList(QWidget* parent = nullptr);
    ~TRecordList() override;

    TRecordListModel* Model() const { return FModel; }
    // Takes category's list columns with their widths (none for nullptr) and empties the rows.
    void ShowColumnsOf(const TCategory* category);
    void ShowRows(std::vector<TRecord*> rows);
    // Sorts by the category's sort column and shows the sort indicator; returns the row each new
    // row came from (none when nothing was sorted).
    std::vector<uint32_t> SortAs(const TCategory& category);
    void ShowSortIndicator(const TCategory& category);
    int RowCount() const;
    void SelectRow(int row);
    // Emptying or refilling the list loses the selection; the deselection must run first.
    void ClearRowSelection();
    // The selected row's record and row, or nullptr and -1.
    TRecord* SelectedRecord() const;
    int SelectedRow() const;
    void ScrollToSelected();

    // Asked before the user moves the selection off the selected row; false keeps it there.
    std::function<bool()> CanLeaveRow;

signals:
    void RowSelected(TRecord* record);
    void RowDeselected();
    void HeaderClicked(int column);
    void DeleteKeyReleased();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // Rows as high as one line of text in the view's font and style.
    void FitRowHeight();

    TRecordListModel* FModel;
    QPersistentModelIndex FSelected;
    mutable bool FPressRefused = false;
};
