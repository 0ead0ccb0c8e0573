// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QMessageBox>

#include <memory>

class TDataFile;
class TDataFileSession;
class TExportWizard;
class TFileDrop;
class TFilterBar;
class TFilterRun;
class THelpCommands;
class TImportWizard;
class TMainLayout;
class TPrintHost;
class TRecordBrowser;
class TRecentFilesMenu;
class TRecordCommands;
class TRecordList;
class TTemplateEditor;
class TUndoCommands;
struct TMainActions;

// The main window: menus, toolbar and layout around the data file session, the record browser, the
// filter run and the record commands, wired together here, and the commands that open windows over
// the whole data file (templates, spreadsheets, printing). Tests reach the parts as children.
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    // Opens the data file at path as Create/Choose Data File does, after offering to save a
    // modified record; false when the user stayed with the open file.
    bool OpenFile(const QString& path);
    // The answer to a second start: restore and raise the window.
    void BringToFront();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectCommands();

    // Start and end.
    void FirstShow();
    void WriteSettingsOnClose();

    // The data file and the windows over it.
    void DataFileOpenedChanged(bool opened);
    void ChooseDataFile();
    void EditTemplates();
    void UpdateEditTemplatesEnabled();
    // Starts the import wizard, with fileName in its file name box.
    void ImportFromExcel(const QString& fileName);
    // Printing: the form as it shows while a record is selected, else the list as it shows.
    void PrintCurrent(bool preview);

    TDataFileSession* FSession;
    std::unique_ptr<TDataFile> FWorkingCopy;
    std::unique_ptr<TMainActions> FActions;
    bool FFirstShown = false;

    // A window of its own, not a child: its controls share names with this window's.
    std::unique_ptr<TTemplateEditor> FTemplateEditor;
    std::unique_ptr<TImportWizard> FImportWizard;
    std::unique_ptr<TExportWizard> FExportWizard;
    THelpCommands* FHelp;

    TFilterBar* FFilterBar;
    TMainLayout* FLayout;
    TRecordList* FRecordList;
    TPrintHost* FPrintHost;
    TRecordBrowser* FBrowser = nullptr;
    TFilterRun* FFilterRun = nullptr;
    TRecordCommands* FRecordCommands = nullptr;
    TUndoCommands* FUndoCommands = nullptr;
    TRecentFilesMenu* FRecentFiles = nullptr;
    TFileDrop* FFileDrop = nullptr;
};
