// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangewizards/AppendPage.h"

#include "core/DataFile.h"
#include "exchange/DisplayText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

TAppendPage::TAppendPage(QWidget* parent)
    : QWidget(parent), FCategoryList(new QComboBox(this)), FMapping(nullptr),
      FSkipDuplicates(new QCheckBox(tr("&Skip rows whose values all equal an existing record's"), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* categoryLine = new QHBoxLayout;
    auto* categoryCaption = new QLabel(tr("Ca&tegory:"), this);
    categoryCaption->setBuddy(FCategoryList);
    FCategoryList->setObjectName(QStringLiteral("AppendCategory"));
    categoryLine->addWidget(categoryCaption);
    categoryLine->addWidget(FCategoryList, 1);
    layout->addLayout(categoryLine);

    // As many columns as the worksheet has: the list scrolls, and follows the focus.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("AppendColumns"));
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* rows = new QWidget(scroll);
    FMapping = new QFormLayout(rows);
    scroll->setWidget(rows);
    layout->addWidget(scroll, 1);

    FSkipDuplicates->setObjectName(QStringLiteral("SkipDuplicates"));
    layout->addWidget(FSkipDuplicates);

    connect(FCategoryList, &QComboBox::currentIndexChanged, this, &TAppendPage::ShowBoxesOf);
}

void TAppendPage::SetUp(TDataFile& dataFile, const QStringList& headings, const std::vector<int>& columns) {
    FData = &dataFile;
    FHeadings = headings;
    FColumns = columns;
    const int previous = FCategoryList->currentIndex();
    {
        const QSignalBlocker blocker(FCategoryList);
        FCategoryList->clear();
        for (const auto& category : dataFile.Categories)
            FCategoryList->addItem(DisplayText(category->Name));
        // The category of the last run stays chosen while it is still there.
        FCategoryList->setCurrentIndex(previous >= 0 && previous < FCategoryList->count() ? previous : 0);
    }
    ShowBoxesOf(FCategoryList->currentIndex());
}

void TAppendPage::FocusFirst() {
    FCategoryList->setFocus();
}

void TAppendPage::ShowBoxesOf(int categoryIndex) {
    while (FMapping->rowCount() > 0)
        FMapping->removeRow(0);
    FBoxLists.clear();
    FBoxes.clear();
    if (FData == nullptr || categoryIndex < 0 || categoryIndex >= static_cast<int>(FData->Categories.size()))
        return;
    FBoxes = TCategoryAppend::TextBoxes(*FData->Categories[static_cast<size_t>(categoryIndex)]);
    const std::vector<int> matches = TCategoryAppend::MatchByCaption(FBoxes, FHeadings);
    QWidget* previous = FCategoryList;
    for (size_t i = 0; i < FColumns.size(); ++i) {
        auto* boxList = new QComboBox;
        boxList->setObjectName(QStringLiteral("AppendBox%1").arg(FColumns[i]));
        boxList->addItem(tr("(skip)"));
        for (const TExportColumn& box : FBoxes)
            boxList->addItem(box.Heading);
        boxList->setCurrentIndex(matches[i] + 1);
        const QString heading = FHeadings[static_cast<int>(i)].isEmpty() ? tr("Column %1").arg(FColumns[i])
                                                                         : FHeadings[static_cast<int>(i)];
        FMapping->addRow(heading, boxList);
        // The drop-downs come after the category in the tab order, the check box after them.
        setTabOrder(previous, boxList);
        previous = boxList;
        FBoxLists.push_back(boxList);
    }
    setTabOrder(previous, FSkipDuplicates);
}

TCategory& TAppendPage::Category() const {
    return *FData->Categories.at(static_cast<size_t>(FCategoryList->currentIndex()));
}

std::vector<TAppendColumn> TAppendPage::Columns() const {
    std::vector<TAppendColumn> columns;
    for (size_t i = 0; i < FBoxLists.size(); ++i) {
        const int box = FBoxLists[i]->currentIndex() - 1;
        if (box >= 0)
            columns.push_back({FColumns[i], FBoxes[static_cast<size_t>(box)].ValueIndex});
    }
    return columns;
}

bool TAppendPage::SkipDuplicates() const {
    return FSkipDuplicates->isChecked();
}

QString TAppendPage::Problem() const {
    std::vector<int> used;
    for (const QComboBox* boxList : FBoxLists) {
        const int box = boxList->currentIndex();
        if (box <= 0)
            continue;
        if (std::find(used.begin(), used.end(), box) != used.end())
            return tr("The text box \"%1\" is chosen for more than one column.").arg(boxList->currentText());
        used.push_back(box);
    }
    return used.empty() ? tr("Please choose a text box for at least one column.") : QString();
}
