// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/FileStamp.h"
#include "core/RecordHistory.h"

#include <functional>
#include <memory>

class QWidget;
class TCheckPasswordDialog;
class TDataFile;
class TSetPasswordDialog;

// The open data file's life: choosing or creating it, opening it behind its password, the write
// cache that writes every change at most a minute later, setting the password and backing up.
// A failed write keeps the change pending, so the next change, Backup, another file or closing
// try again.
class TDataFileSession : public QObject {
    Q_OBJECT

public:
    // window parents the session's dialogs and message boxes.
    explicit TDataFileSession(QWidget* window);
    ~TDataFileSession() override;

    TDataFile& DataFile() { return *FData; }
    const TDataFile& DataFile() const { return *FData; }
    // The record changes of the open data file that can be undone; it goes with the data.
    TRecordHistory& History() { return FHistory; }
    const QString& Path() const { return FPath; }
    void SetPath(const QString& path) { FPath = path; }
    bool Opened() const { return FOpened; }
    // Changes that have not reached the data file yet (also after a write that failed).
    bool WritePending() const { return FWritePending; }

    // Every change to the data comes here, so that the write cache writes it.
    void MarkDataChanged();
    // Writes pending changes now; false when the write failed (the error has been shown).
    bool FlushWriteCache();
    // Opens the data file at Path(), asking for its password; refused, it leaves no file open.
    void Open();
    // Lets the user choose another data file or name a new one. leaving runs before the open file
    // is left and may refuse; a choice that is made opens the file and returns true.
    bool Choose(const std::function<bool()>& leaving);
    void SetPassword();
    void Backup();
    // Asks whether to drop changes that could not be written; true to drop them.
    bool ConfirmDiscardUnwritten();

    // One-shot, 60 s; its handler is an ordinary member so tests can fire it.
    QTimer TimerWriteCache;
    void TimerWriteCacheTimer();

signals:
    // The open data is about to go: let go of every category and record shown.
    void AboutToDiscard();
    // A data file was opened (true) or refused (false); the data has been replaced either way.
    void OpenedChanged(bool opened);
    // The data was changed (MarkDataChanged).
    void DataChanged();

private:
    bool Write();
    void Discard();
    void Refuse();
    // Writes a new data file at path, from the starter templates when the user wants them;
    // false (with the reason shown) when it cannot be written.
    bool CreateDataFile(const QString& path);
    void ShowError(const QString& text);

    QWidget* FWindow;
    std::unique_ptr<TDataFile> FData;
    TRecordHistory FHistory;
    QString FPath;
    // The file as it was read or last written, to tell when another program changed it.
    TFileStamp FStamp;
    bool FOpened = false;
    bool FWritePending = false;
    TSetPasswordDialog* FSetPasswordDialog;
    TCheckPasswordDialog* FCheckPasswordDialog;
};
