// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeView>

#include <cstdint>
#include <string>

class QStandardItemModel;
class TCategory;

// The list preview above the design surface: a list without rows whose columns are the category's
// list columns. Each column shows a text box's value; the user reorders the columns by dragging
// their headers (the first one included) and sets their widths by dragging header borders.
class TListPreview : public QTreeView {
    Q_OBJECT

public:
    static constexpr int kNewColumnWidth = 100;

    explicit TListPreview(QWidget* parent);

    void Load(const TCategory& category);
    void Clear();
    bool IsEmpty() const;

    bool HasColumn(int32_t elementId) const;
    // The caption of the element's column as stored, empty when it has none.
    std::string CaptionOf(int32_t elementId) const;
    void AddColumn(int32_t elementId, int width, const std::string& caption);
    // Sets the caption of the element's column; an element without one gets a new column at the end.
    void SetCaption(int32_t elementId, const std::string& caption);
    void RemoveColumnOf(int32_t elementId);

    // Replaces the category's list columns with the preview's, in the order shown, and sorts the
    // category by its first column, ascending.
    void StoreInto(TCategory& category) const;

private:
    // The model column bound to the element, or -1.
    int ColumnOfElement(int32_t elementId) const;

    QStandardItemModel* FColumns;
};
