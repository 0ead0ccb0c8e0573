// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every file dialog of the program goes through here.
namespace FileDialogs {

enum class TMode {
    ChooseFile,   // an open dialog in which the named file need not exist
    SaveFile,     // a save dialog that asks before overwriting an existing file
    ChooseTarget, // a save dialog that asks nothing about an existing file (the caller adds to it)
    OpenFile      // an open dialog that takes only a file that exists
};

// Looks at a chosen file before the dialog closes: an empty result takes it, otherwise the text
// is shown in an error box and the dialog stays open for another choice.
using TFileCheck = std::function<QString(const QString& path)>;

struct TOptions {
    TMode Mode = TMode::ChooseFile;
    QString Title;
    QString Filter;        // "Ledgrin files (*.lgd)"
    QString DefaultSuffix; // added to a name typed without one
    QString Folder;        // the folder the dialog starts in
    QString FileName;      // the proposed file name, empty for none
    QString AcceptLabel;   // the accept button's caption, empty for the dialog's own
    TFileCheck Check;      // none takes any file
};

// The chosen full path, or an empty string when the dialog was cancelled.
QString Run(QWidget* parent, const TOptions& options);

} // namespace FileDialogs

// Test mode: results are queued, dialogs are recorded instead of shown.
namespace FileDialogTesting {

void Enable();
void Disable();
// The result of the next dialog; an empty path cancels it. A result the dialog's check refuses is
// shown as the error box and the dialog takes the next queued result.
void QueueResult(const QString& path);
int PendingResults();
QList<FileDialogs::TOptions> TakeShown();
// Titles of the dialogs that found no queued result since the last call.
QStringList TakeUnanswered();

} // namespace FileDialogTesting
