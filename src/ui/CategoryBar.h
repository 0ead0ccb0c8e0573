// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QPixmap>

class QLabel;
class QListWidget;

// The category bar: one titled group of large-icon items with their captions beneath, one
// selectable at a time, scrolling vertically when the items do not fit.
class TCategoryBar : public QFrame {
    Q_OBJECT

public:
    explicit TCategoryBar(const QString& groupCaption, QWidget* parent = nullptr);

    void Clear();
    void AddItem(const QPixmap& icon, const QString& caption);
    int Count() const;
    QString ItemCaption(int index) const;

    // -1 while no item is selected.
    int SelectedIndex() const { return FSelectedIndex; }
    // Selects the item at index (-1: none); reports SelectedIndexChanged only when the selection
    // actually changes, so selecting the selected item again does nothing.
    void SetSelectedIndex(int index);

    // Where the item at index lies, in the coordinates of ItemArea() (for clicks).
    QRect ItemRect(int index) const;
    QWidget* ItemArea() const;

signals:
    void SelectedIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ListSelectionChanged();
    void UpdateItemSizes();
    QSize ItemSize() const;

    QLabel* FTitle;
    QListWidget* FList;
    int FSelectedIndex = -1;
};
