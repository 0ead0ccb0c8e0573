// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/RecordBrowser.h"

#include "core/Category.h"
#include "core/DataFile.h"
#include "exchange/DisplayText.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/FilterBar.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/RecordForm.h"
#include "mainwindow/RecordList.h"
#include "mainwindow/RecordListModel.h"
#include "ui/CategoryBar.h"
#include "ui/IconPicture.h"
#include "ui/RunCommand.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QLabel>

namespace {

const char* const kRecordModified =
    QT_TRANSLATE_NOOP("TRecordBrowser", "Record modified, would you like to save?");
const char* const kEditRecord = QT_TRANSLATE_NOOP("TUndoCommands", "Edit Record");

constexpr int kSelectCategoryMs = 150;
constexpr int kClearDataFormMs = 150;

} // namespace

TRecordBrowser::TRecordBrowser(QWidget* window, TDataFileSession& session, TMainActions& actions,
                               TMainLayout& layout, TFilterBar& filterBar)
    : QObject(window), FWindow(window), FSession(session), FActions(actions), FLayout(layout),
      FFilterBar(filterBar), FCategoryBar(layout.CategoryBar()), FCategoryLabel(layout.CategoryLabel()),
      FRecordList(layout.RecordList()), FRecordForm(layout.RecordForm()) {
    TimerSelectCategory.setSingleShot(true);
    TimerSelectCategory.setInterval(kSelectCategoryMs);
    TimerClearDataForm.setSingleShot(true);
    TimerClearDataForm.setInterval(kClearDataFormMs);
    ConnectWidgets();
    ShowCategoryPanels(false);
}

void TRecordBrowser::ConnectWidgets() {
    ConnectCommand(&TimerSelectCategory, &QTimer::timeout, FWindow, [this] { TimerSelectCategoryTimer(); });
    ConnectCommand(&TimerClearDataForm, &QTimer::timeout, FWindow, [this] { TimerClearDataFormTimer(); });
    connect(FCategoryBar, &TCategoryBar::SelectedIndexChanged, this,
            [this](int index) { RunCommand(FWindow, [&] { CategoryBarChanged(index); }); });
    connect(FRecordList, &TRecordList::RowSelected, this,
            [this](TRecord* record) { RunCommand(FWindow, [&] { RecordSelected(record); }); });
    ConnectCommand(FRecordList, &TRecordList::RowDeselected, FWindow, [this] { RecordDeselected(); });
    connect(FRecordList, &TRecordList::HeaderClicked, this,
            [this](int column) { RunCommand(FWindow, [&] { HeaderClicked(column); }); });
    connect(FRecordList, &TRecordList::DeleteKeyReleased, this, [this] {
        if (FActions.DeleteItem->isEnabled())
            FActions.DeleteItem->trigger();
    });
    FRecordList->CanLeaveRow = [this] { return OfferToSaveRecord(true); };
    ConnectCommand(FRecordForm, &TRecordForm::CancelRequested, FWindow, [this] { CancelRecordEdits(); });
}

TRecordListModel* TRecordBrowser::RecordListModel() const {
    return FRecordList->Model();
}

void TRecordBrowser::LetGoOfData() {
    FKeptListOrders.Clear();
    TimerSelectCategory.stop();
    FCategoryBar->SetSelectedIndex(-1);
    FCategoryBar->Clear();
}

void TRecordBrowser::ReleaseCategories() {
    FKeptListOrders.Clear();
    FSelectedCategoryID = FCurrentCategory ? FCurrentCategory->ID : 0;
    FCategoryBar->SetSelectedIndex(-1);
}

void TRecordBrowser::StopTimers() {
    TimerSelectCategory.stop();
    TimerClearDataForm.stop();
}

// ---- Category bar and record list ------------------------------------------------------------

void TRecordBrowser::FillCategoryBar() {
    FCategoryBar->SetSelectedIndex(-1);
    FCategoryBar->Clear();
    for (const auto& category : FSession.DataFile().Categories)
        FCategoryBar->AddItem(IconPicture::ToBarPixmap(category->Icon), DisplayText(category->Name));
    FLayout.ShowNoCategoriesHint(FSession.Opened() && FSession.DataFile().Categories.empty());
    TimerSelectCategory.start();
}

void TRecordBrowser::StepCategory(int step) {
    const int count = FCategoryBar->Count();
    if (count == 0)
        return;
    const int index = FCategoryBar->SelectedIndex() < 0 ? 0 : FCategoryBar->SelectedIndex() + step;
    if (index >= 0 && index < count)
        FCategoryBar->SetSelectedIndex(index);
}

void TRecordBrowser::TimerSelectCategoryTimer() {
    TimerSelectCategory.stop();
    const auto& categories = FSession.DataFile().Categories;
    int index = -1;
    for (size_t i = 0; i < categories.size(); ++i) {
        if (categories[i]->ID == FSelectedCategoryID) {
            index = static_cast<int>(i);
            break;
        }
    }
    if (index < 0 && !categories.empty())
        index = 0;
    if (index >= 0)
        FCategoryBar->SetSelectedIndex(index);
}

void TRecordBrowser::CategoryBarChanged(int index) {
    // Another category is the user's move; clearing the bar is the program's, and drops edits.
    if (index >= 0 && !OfferToSaveRecord(true)) {
        const QSignalBlocker blocker(FCategoryBar);
        FCategoryBar->SetSelectedIndex(CurrentCategoryIndex());
        return;
    }
    FRecordList->ClearRowSelection();
    // Another category has another template: no record may show in the old form, even when a
    // row is selected before the clear-form timer fires.
    FFormNeedsRebuild = true;
    const auto& categories = FSession.DataFile().Categories;
    if (index < 0 || index >= static_cast<int>(categories.size())) {
        FCurrentCategory = nullptr;
        FRecordList->ShowColumnsOf(nullptr);
        ShowCategoryPanels(false);
        FActions.NewItem->setEnabled(false);
        FSelectFirstAfterClear = false;
        return;
    }
    FCurrentCategory = categories[static_cast<size_t>(index)].get();
    FSelectedCategoryID = FCurrentCategory->ID;
    ShowCategoryPanels(true);
    FRecordList->ShowColumnsOf(FCurrentCategory);
    if (!FFilterBar.IsEmpty()) {
        FActions.Search->trigger();
    } else {
        ShowAllRecords();
        FActions.NewItem->setEnabled(true);
    }
    FSelectFirstAfterClear = true;
    TimerClearDataForm.start();
}

int TRecordBrowser::CurrentCategoryIndex() const {
    const auto& categories = FSession.DataFile().Categories;
    for (size_t i = 0; i < categories.size(); ++i)
        if (categories[i].get() == FCurrentCategory)
            return static_cast<int>(i);
    return -1;
}

void TRecordBrowser::ShowCategoryPanels(bool visible) {
    FActions.RecordCommandsItem->setVisible(visible);
    // Their targets are hidden with the panels.
    FActions.SetFocusToSearchBox->setEnabled(visible);
    FActions.SetFocusToTheListView->setEnabled(visible);
    FLayout.ShowRightPane(visible);
}

void TRecordBrowser::ShowAllRecords() {
    FFiltered = false;
    if (FCurrentCategory == nullptr) {
        FRecordList->ShowRows({});
    } else {
        FRecordList->ShowRows(FKeptListOrders.AllRecordsInListOrder(*FCurrentCategory));
        if (RecordListModel()->ListColumnCount() > 0)
            FRecordList->ShowSortIndicator(*FCurrentCategory);
    }
    UpdateRecordCount();
}

void TRecordBrowser::ShowFilteredRecords(std::vector<TRecord*> rows) {
    FFiltered = true;
    const bool inListOrder =
        FCurrentCategory != nullptr && FKeptListOrders.PutInListOrder(*FCurrentCategory, rows);
    FRecordList->ShowRows(std::move(rows));
    if (inListOrder)
        FRecordList->ShowSortIndicator(*FCurrentCategory);
    else
        SortRecordList();
    UpdateRecordCount();
}

void TRecordBrowser::SelectFirstRecord() {
    if (FRecordList->RowCount() > 0)
        FRecordList->SelectRow(0);
}

void TRecordBrowser::ShowAddedRecord(TRecord* record) {
    FRecordList->SelectRow(RecordListModel()->AppendRow(record));
    FRecordList->ScrollToSelected();
    UpdateRecordCount();
    FRecordForm->FocusFirstBox();
}

bool TRecordBrowser::RemoveSelectedRow() {
    const int row = FRecordList->SelectedRow();
    if (row < 0)
        return false;
    FRecordList->ClearRowSelection();
    // Without a current row the list selects no neighbour when the row goes.
    FRecordList->selectionModel()->clearCurrentIndex();
    RecordListModel()->RemoveRow(row);
    UpdateRecordCount();
    return true;
}

TRecordHistory::TPlace TRecordBrowser::CurrentPlace() const {
    if (FCurrentCategory == nullptr)
        return {};
    return {FCurrentCategory->ID,
            FCurrentRecord != nullptr ? FCurrentCategory->IndexOfRecord(FCurrentRecord) : -1};
}

void TRecordBrowser::ShowPlace(const TRecordHistory::TPlace& place) {
    FSelectedCategoryID = place.CategoryID;
    FillCategoryBar();
    TimerSelectCategoryTimer();
    if (FCurrentCategory == nullptr || FCurrentCategory->ID != place.CategoryID)
        return;
    FSelectFirstAfterClear = false;
    const auto& records = FCurrentCategory->Records;
    if (place.RecordIndex < 0 || place.RecordIndex >= static_cast<int32_t>(records.size()))
        return;
    // A filtered list may not show the record.
    const int row = RecordListModel()->RowOf(records[static_cast<size_t>(place.RecordIndex)].get());
    if (row >= 0) {
        FRecordList->SelectRow(row);
        FRecordList->ScrollToSelected();
    }
}

void TRecordBrowser::UpdateRecordCount() {
    if (FCurrentCategory == nullptr) {
        FCategoryLabel->clear();
        return;
    }
    // English says "record" up to one and "records" above; a translation gives each its own
    // plural forms, so "0" can take the plural where its language wants it.
    const int count = FRecordList->RowCount();
    QString text;
    if (FFiltered) {
        text = count > 1 ? tr("%1   (Filtered: %n records)", nullptr, count)
                         : tr("%1   (Filtered: %n record)", nullptr, count);
    } else {
        text = count > 1 ? tr("%1   (Total: %n records)", nullptr, count)
                         : tr("%1   (Total: %n record)", nullptr, count);
    }
    FCategoryLabel->setText(text.arg(DisplayText(FCurrentCategory->Name)));
}

void TRecordBrowser::SortRecordList() {
    // A category without list columns shows one empty column that sorts nothing.
    if (FCurrentCategory == nullptr || RecordListModel()->ListColumnCount() == 0)
        return;
    const std::vector<uint32_t> order = FRecordList->SortAs(*FCurrentCategory);
    if (!FFiltered)
        FKeptListOrders.Resorted(*FCurrentCategory, order);
}

void TRecordBrowser::HeaderClicked(int column) {
    if (FCurrentCategory == nullptr || column >= RecordListModel()->ListColumnCount())
        return;
    FCurrentCategory->SortAscending =
        column == FCurrentCategory->SortColumn ? !FCurrentCategory->SortAscending : true;
    FCurrentCategory->SortColumn = column;
    SortRecordList();
    FRecordList->ScrollToSelected();
    FSession.MarkDataChanged();
}

// ---- Record form -----------------------------------------------------------------------------

void TRecordBrowser::RecordSelected(TRecord* record) {
    FCurrentRecord = record;
    TimerClearDataForm.stop();
    if (FFormNeedsRebuild) {
        FRecordForm->Build(FCurrentCategory);
        FFormNeedsRebuild = false;
    }
    FActions.DuplicateItem->setEnabled(true);
    FActions.DeleteItem->setEnabled(true);
    FRecordForm->ShowNoRecord(false);
    if (FCurrentCategory != nullptr && record != nullptr)
        FRecordForm->Load(*FCurrentCategory, *record);
}

void TRecordBrowser::RecordDeselected() {
    // Moves the user makes ask about edits before they happen; what is left is dropped.
    FRecordForm->SetModified(false);
    FActions.DuplicateItem->setEnabled(false);
    FActions.DeleteItem->setEnabled(false);
    FCurrentRecord = nullptr;
    FRecordForm->ShowNoRecord(true);
    TimerClearDataForm.start();
}

bool TRecordBrowser::OfferToSaveRecord(bool keepListOrder) {
    if (!FRecordForm->Modified())
        return true;
    const QMessageBox::StandardButton answer =
        MessageBoxes::Show(FWindow, MessageBoxes::TKind::Warning, tr(kRecordModified),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        FSavingOnDeselect = keepListOrder;
        SaveRecord();
        FSavingOnDeselect = false;
    } else if (answer == QMessageBox::No) {
        FRecordForm->SetModified(false);
    }
    return answer != QMessageBox::Cancel;
}

void TRecordBrowser::SaveRecord() {
    if (FCurrentRecord == nullptr || FCurrentCategory == nullptr)
        return;
    TRecord previous = *FCurrentRecord;
    FRecordForm->SaveInto(*FCurrentCategory, *FCurrentRecord);
    if (*FCurrentRecord != previous)
        FSession.History().RecordEdited(kEditRecord, *FCurrentCategory,
                                        FCurrentCategory->IndexOfRecord(FCurrentRecord), std::move(previous));
    RecordListModel()->RefreshRow(FRecordList->SelectedRow());
    if (!FSavingOnDeselect) {
        SortRecordList();
        FRecordList->ScrollToSelected();
    }
    FSession.MarkDataChanged();
    FRecordForm->SetModified(false);
}

void TRecordBrowser::CancelRecordEdits() {
    if (FCurrentRecord != nullptr && FCurrentCategory != nullptr)
        FRecordForm->Load(*FCurrentCategory, *FCurrentRecord);
    FRecordForm->SetModified(false);
}

void TRecordBrowser::TimerClearDataFormTimer() {
    TimerClearDataForm.stop();
    FRecordForm->Clear();
    FFormNeedsRebuild = true;
    FCurrentRecord = nullptr;
    if (FSelectFirstAfterClear && FRecordList->RowCount() > 0) {
        FSelectFirstAfterClear = false;
        FRecordList->SelectRow(0);
    }
}

// ---- Focus ---------------------------------------------------------------------------------

void TRecordBrowser::FocusFilterBox() {
    if (FCurrentCategory != nullptr)
        FFilterBar.FocusBox();
}

void TRecordBrowser::FocusRecordList() {
    if (FCurrentCategory != nullptr && FRecordList->isEnabled())
        FRecordList->setFocus(Qt::ShortcutFocusReason);
}