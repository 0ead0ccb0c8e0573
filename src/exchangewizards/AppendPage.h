// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/CategoryAppend.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class TCategory;
class TDataFile;

// The import wizard's choices for adding rows to an existing category: the category, the text box
// each chosen worksheet column fills ("(skip)" leaves it out), first matched by caption, and
// whether rows equal to an existing record are left out. Laid out, so it takes what room it has.
class TAppendPage : public QWidget {
    Q_OBJECT

public:
    explicit TAppendPage(QWidget* parent);

    // Offers the categories of dataFile and a drop-down for each worksheet column with its heading.
    void SetUp(TDataFile& dataFile, const QStringList& headings, const std::vector<int>& columns);
    void FocusFirst();

    TCategory& Category() const;
    // The columns that fill a text box, with its value index.
    std::vector<TAppendColumn> Columns() const;
    bool SkipDuplicates() const;
    // Why the choices cannot be imported, in words; empty when they can.
    QString Problem() const;

private:
    // Fills the drop-downs with the chosen category's text boxes and matches them by caption.
    void ShowBoxesOf(int categoryIndex);

    TDataFile* FData = nullptr;
    QStringList FHeadings;
    std::vector<int> FColumns;
    std::vector<TExportColumn> FBoxes;
    QComboBox* FCategoryList;
    QFormLayout* FMapping;
    std::vector<QComboBox*> FBoxLists;
    QCheckBox* FSkipDuplicates;
};
