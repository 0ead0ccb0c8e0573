#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every file dialog of the program goes through here.
namespace FileDialogs {

enum class TMode {
    ChooseFile, // an open dialog in which the named file need not exist
    SaveFile    // a save dialog that asks before overwriting an existing file
};

struct TOptions {
    TMode Mode = TMode::ChooseFile;
    QString Title;
    QString Filter;        // "Ledgrin files (*.lgd)"
    QString DefaultSuffix; // added to a name typed without one
    QString Folder;        // the folder the dialog starts in
    QString FileName;      // the proposed file name, empty for none
    QString AcceptLabel;   // the accept button's caption, empty for the dialog's own
};

// The chosen full path, or an empty string when the dialog was cancelled.
QString Run(QWidget* parent, const TOptions& options);

} // namespace FileDialogs

// Test mode: results are queued, dialogs are recorded instead of shown.
namespace FileDialogTesting {

void Enable();
void Disable();
// The result of the next dialog; an empty path cancels it.
void QueueResult(const QString& path);
int PendingResults();
QList<FileDialogs::TOptions> TakeShown();
// Titles of the dialogs that found no queued result since the last call.
QStringList TakeUnanswered();

} // namespace FileDialogTesting
