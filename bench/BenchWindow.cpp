// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchWindow.h"

#include "BenchCommon.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordListModel.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/CategoryBar.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QStringList>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

const char* const kWindowReadyOption = "--window-ready";

namespace {

// Far beyond any start or switch of category: only a window that never shows one reaches it.
constexpr int kShowLimitMs = 600000;

template <class T> T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::runtime_error(std::string("the window has no ") + name);
    return child;
}

// The benchmark's file with a small second category in folder, so that showing the large one can
// be measured again and again by switching between the two.
std::string PrepareDataFile(const TBenchRun& run, const std::string& folder) {
    TDataFile data;
    data.LoadFromFile(run.DataPath);
    TCategory* small = data.AddCategory();
    const int32_t id = small->ID;
    small->AssignTemplate(*data.Categories.front());
    small->ID = id;
    small->Name = "Small";
    small->NewRecord();
    const std::string path = folder + "/cards.lgd";
    data.SaveToFile(path);
    return path;
}

// The program's folders under root, with the settings naming path as the data file to open and
// its first category as the one to show.
void PointSettingsAt(const std::string& root, const std::string& path) {
    TFolders::InitializeForTesting(QString::fromStdString(root));
    TSettingsFile settings;
    settings.WriteString(QStringLiteral("DataFile"), QString::fromStdString(path));
    settings.WriteInteger(QStringLiteral("SelectedCategoryID"), 0);
}

// The list holds every record of the category shown, and a record is in the form.
bool CategoryShown(const TRecordBrowser& browser) {
    const TCategory* category = browser.CurrentCategory();
    return category != nullptr && browser.CurrentRecord() != nullptr &&
           browser.RecordListModel()->rowCount() == static_cast<int>(category->Records.size());
}

// Processes events until a category is shown. The browser's two timers' waits are deliberate
// pauses, not work: their handlers run as soon as the timers start.
void ProcessUntilShown(QApplication& app, TRecordBrowser& browser) {
    QTimer limit; // also wakes the wait below when nothing else happens
    limit.setSingleShot(true);
    limit.start(kShowLimitMs);
    for (;;) {
        app.processEvents();
        const QStringList boxes = MessageBoxTesting::TakeUnanswered();
        if (!boxes.isEmpty())
            throw std::runtime_error("the window showed " + boxes.join(QStringLiteral("; ")).toStdString());
        if (browser.TimerSelectCategory.isActive())
            browser.TimerSelectCategoryTimer();
        else if (browser.TimerClearDataForm.isActive())
            browser.TimerClearDataFormTimer();
        else if (CategoryShown(browser))
            return;
        else if (!limit.isActive())
            throw std::runtime_error("the window showed no category in " + std::to_string(kShowLimitMs) +
                                     " ms");
        else
            app.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// Shows form as the program's start does and returns its browser once the category that the
// settings name is shown.
TRecordBrowser& ShowWindow(QApplication& app, TMainWindow& form) {
    auto* browser = form.findChild<TRecordBrowser*>();
    if (browser == nullptr)
        throw std::runtime_error("the window has no record browser");
    // A message box (a file that does not open, say) ends the measurement with its text instead of
    // waiting for a click that never comes.
    MessageBoxTesting::Enable();
    form.resize(1280, 800);
    form.show();
    ProcessUntilShown(app, *browser);
    return *browser;
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
    const std::string folder = run.Dir + "/window";
    std::filesystem::create_directories(folder);
    PointSettingsAt(folder, PrepareDataFile(run, folder));
    const auto line = [&](const char* name) { return name + run.LineSuffix; };

    TMainWindow form;
    TRecordBrowser& browser = ShowWindow(app, form);
    auto* bar = Child<TCategoryBar>(form, "FEGXOutlookBar1");
    auto* view = Child<QTableView>(form, "ListView1");
    const int rows = static_cast<int>(browser.CurrentCategory()->Records.size());

    auto show = [&](int index) {
        bar->SetSelectedIndex(index);
        ProcessUntilShown(app, browser);
    };
    const double showMs = MedianMs(
        run.Options.Repeat, [&] { show(0); }, [&] { show(1); });
    PrintOurs(line("show category").c_str(), showMs);
    if (browser.RecordListModel()->rowCount() != rows)
        ReportError(run, "show category: the list holds " +
                             std::to_string(browser.RecordListModel()->rowCount()) + " rows of " +
                             std::to_string(rows));

    const double clickMs = MedianMs(run.Options.Repeat, [&] {
        emit view->horizontalHeader()->sectionClicked(1);
        app.processEvents();
    });
    PrintOurs(line("header click").c_str(), clickMs);

    auto* search = Child<QLineEdit>(form, "EditSearchBox");
    search->setText(QString::fromLatin1(kBenchFilterText));
    const double filterMs = MedianMs(run.Options.Repeat, [&] {
        Child<QAction>(form, "ActionSearch")->trigger();
        app.processEvents();
    });
    PrintOurs(line("filter run").c_str(), filterMs);
    if (browser.RecordListModel()->rowCount() == 0 || browser.RecordListModel()->rowCount() == rows)
        ReportError(run, "filter run: the filter did not narrow the list");

    search->clear();
    form.close();
}

int PrintWindowReady(const char* path) {
    try {
        const std::unique_ptr<QApplication> application = MakeOffscreenApplication();
        // Folders of its own beside the file: nothing of another window's settings counts.
        PointSettingsAt(std::filesystem::path(path).parent_path().string() + "/window-ready", path);
        TMainWindow form;
        const TRecordBrowser& browser = ShowWindow(*application, form);
        std::printf("%d %lld\n", browser.RecordListModel()->rowCount(), StatusKiB("VmHWM:"));
        std::fflush(stdout);
        form.close();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "window ready: %s\n", e.what());
        return 1;
    }
}
