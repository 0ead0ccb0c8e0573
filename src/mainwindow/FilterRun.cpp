#include "mainwindow/FilterRun.h"

#include "core/Category.h"
#include "exchange/DisplayText.h"
#include "mainwindow/FilterBar.h"
#include "mainwindow/MainActions.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordList.h"
#include "ui/RunCommand.h"

#include <QAction>
#include <QCoreApplication>

TFilterRun::TFilterRun(QWidget* window, TRecordBrowser& browser, TMainActions& actions, TMainLayout& layout,
                       TFilterBar& filterBar)
    : QObject(window), FWindow(window), FBrowser(browser), FActions(actions), FLayout(layout),
      FFilterBar(filterBar) {
    ConnectCommand(&FFilterBar, &TFilterBar::RunRequested, FWindow, [this] { RunAsTyped(); });
    ConnectCommand(&FFilterBar, &TFilterBar::BoxLeft, FWindow, [this] { RunPending(); });
}

void TFilterRun::RunPending() {
    if (FFilterBar.TimerSearch.isActive())
        RunAsTyped();
}

void TFilterRun::RunAsTyped() {
    FFilterBar.TimerSearch.stop();
    FSelectFirstAfterRun = true;
    if (FBrowser.CurrentCategory() == nullptr || !FBrowser.OfferToSaveRecord(true))
        return;
    if (!FFilterBar.IsEmpty())
        FActions.Search->trigger();
    else
        ShowAllRecords();
}

void TFilterRun::ShowAllRecords() {
    FBrowser.ShowAllRecords();
    QCoreApplication::processEvents();
    FBrowser.SelectFirstRecord();
    FActions.NewItem->setEnabled(true);
}

void TFilterRun::SetRunning(bool running) {
    FRunning = running;
    FLayout.LeftPanel()->setEnabled(!running);
    FLayout.RightPanel()->setEnabled(!running);
    FFilterBar.SetRunning(running);
    FActions.Search->setEnabled(!running);
    FActions.ChooseDataFile->setEnabled(!running);
    if (running)
        FActions.NewItem->setEnabled(false);
    emit RunningChanged();
}

void TFilterRun::Run() {
    if (FBrowser.CurrentCategory() == nullptr || FRunning)
        return;
    FSearchParam.WholeWord = FFilterBar.WholeWord();
    FSearchParam.SetFilterText(StoredText(FFilterBar.Text()));
    SetRunning(true);
    FLayout.RecordList()->ShowRows({});
    QCoreApplication::processEvents();
    std::vector<TRecord*> rows = FilterRecords(FBrowser.CurrentCategory()->Records, FSearchParam,
                                               [] { QCoreApplication::processEvents(); });
    FBrowser.ShowFilteredRecords(std::move(rows));
    SetRunning(false);
    FActions.NewItem->setEnabled(false);
    if (FSelectFirstAfterRun) {
        FSelectFirstAfterRun = false;
        FBrowser.SelectFirstRecord();
    }
    FFilterBar.PlaceCaretAfterRun();
}
