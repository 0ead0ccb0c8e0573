#pragma once

#include <QMainWindow>
#include <QMessageBox>

#include <cstdint>
#include <memory>

class QTimer;
class TCategory;
class TDataFileSession;
class TExportWizard;
class TFilterBar;
class TImportWizard;
class THelpCommands;
class TDataFile;
class TMainLayout;
class TPrintHost;
class TRecord;
class TRecordBrowser;
class TRecordList;
class TRecordListModel;
class TTemplateEditor;
struct TMainActions;

// The main window: menus, toolbar and layout around the data file session and the record browser,
// and the commands that open windows over the whole data file (templates, spreadsheets, printing).
class TMainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    // What a user sees, for tests and the windows that build on this one.
    TDataFile& DataFile();
    const QString& DataFilePath() const;
    bool DataFileOpened() const;
    bool WritePending() const;
    TCategory* CurrentCategory() const;
    TRecord* CurrentRecord() const;
    int32_t SelectedCategoryID() const;
    TRecordListModel* RecordListModel() const;
    // The record form holds edits that are not saved.
    bool DataFormModified() const;

    void MarkDataChanged();
    // Opens the data file at path as Create/Choose Data File does, after offering to save a
    // modified record; false when the user stayed with the open file.
    bool OpenFile(const QString& path);
    // The answer to a second start: restore and raise the window.
    void BringToFront();

    // Timers, one-shot; their handlers are ordinary members so tests can fire them.
    QTimer& TimerSelectCategory();
    QTimer& TimerClearDataForm();
    QTimer& TimerWriteCache();
    QTimer& TimerSearch();
    void TimerWriteCacheTimer();
    void TimerSelectCategoryTimer();
    void TimerClearDataFormTimer();
    void TimerSearchTimer();

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
    void ImportFromExcel();
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
};
