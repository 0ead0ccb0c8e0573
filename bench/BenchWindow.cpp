// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchWindow.h"

#include "BenchCommon.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordListModel.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/CategoryBar.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>

#include <filesystem>

namespace {

template <class T> T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::runtime_error(std::string("the window has no ") + name);
    return child;
}

// The benchmark's file with a small second category, so that showing the large one can be
// measured again and again by switching between the two.
std::string PrepareDataFile(const TBenchRun& run) {
    TDataFile data;
    data.LoadFromFile(run.DataPath);
    TCategory* small = data.AddCategory();
    const int32_t id = small->ID;
    small->AssignTemplate(*data.Categories.front());
    small->ID = id;
    small->Name = "Small";
    small->NewRecord();
    const std::string path = run.Dir + "/window/cards.lgd";
    data.SaveToFile(path);
    return path;
}

} // namespace

std::unique_ptr<QApplication> MakeOffscreenApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application keeps referring to its arguments.
    static int argc = 1;
    static char name[] = "quillery-bench";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

void BenchWindow(TBenchRun& run) {
    const std::unique_ptr<QApplication> application = MakeOffscreenApplication();
    QApplication& app = *application;
    std::filesystem::create_directories(run.Dir + "/window");
    TFolders::InitializeForTesting(QString::fromStdString(run.Dir + "/window"));
    const std::string path = PrepareDataFile(run);
    {
        TSettingsFile settings;
        settings.WriteString(QStringLiteral("DataFile"), QString::fromStdString(path));
        settings.WriteInteger(QStringLiteral("SelectedCategoryID"), 0);
    }

    TMainWindow form;
    auto* session = form.findChild<TDataFileSession*>();
    auto* browser = form.findChild<TRecordBrowser*>();
    if (session == nullptr || browser == nullptr)
        throw std::runtime_error("the window has no data file session or record browser");
    form.resize(1280, 800);
    form.show();
    app.processEvents();
    browser->TimerSelectCategoryTimer();
    browser->TimerClearDataFormTimer();
    app.processEvents();
    auto* bar = Child<TCategoryBar>(form, "FEGXOutlookBar1");
    auto* view = Child<QTreeView>(form, "ListView1");
    const int rows = static_cast<int>(session->DataFile().Categories.front()->Records.size());

    // The two timers' waits are deliberate pauses, not work: their handlers run at once here.
    auto show = [&](int index) {
        bar->SetSelectedIndex(index);
        browser->TimerClearDataFormTimer();
        app.processEvents();
    };
    const double showMs = MedianMs(
        run.Options.Repeat, [&] { show(0); }, [&] { show(1); });
    PrintOurs("show category", showMs);
    if (browser->RecordListModel()->rowCount() != rows || browser->CurrentRecord() == nullptr)
        ReportError(run, "show category: the list or the form is not filled");

    const double clickMs = MedianMs(run.Options.Repeat, [&] {
        emit view->header()->sectionClicked(1);
        app.processEvents();
    });
    PrintOurs("header click", clickMs);

    auto* search = Child<QLineEdit>(form, "EditSearchBox");
    search->setText(QString::fromLatin1(kBenchFilterText));
    const double filterMs = MedianMs(run.Options.Repeat, [&] {
        Child<QAction>(form, "ActionSearch")->trigger();
        app.processEvents();
    });
    PrintOurs("filter run", filterMs);
    if (browser->RecordListModel()->rowCount() == 0 || browser->RecordListModel()->rowCount() == rows)
        ReportError(run, "filter run: the filter did not narrow the list");

    search->clear();
    form.close();
}
