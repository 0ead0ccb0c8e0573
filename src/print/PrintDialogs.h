// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

// Every print, page setup and print preview dialog of the program goes through here.
namespace PrintDialogs {

// The print dialog on printer, offering the pages 1 to pageCount. True when the user chose to
// print; printer then holds the choices.
bool RunPrint(QWidget* parent, QPrinter& printer, int pageCount);
// The page setup dialog on printer. True when the user confirmed; printer then holds the choices.
bool RunPageSetup(QWidget* parent, QPrinter& printer);
// The print preview of printer, whose pages paint draws.
void RunPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint);

} // namespace PrintDialogs

// Test mode: answers are queued; the print and page setup dialogs are recorded instead of shown.
namespace PrintDialogTesting {

struct TPrintAnswer {
    bool Accept = true;
    QString PdfFile;  // the printer prints into this PDF file
    int FromPage = 0; // a page range, 0 for every page
    int ToPage = 0;
};

void Enable();
void Disable();
void QueuePrint(const TPrintAnswer& answer);
// The page layout the user chooses in the next page setup dialog; nothing cancels it.
void QueuePageSetup(const std::optional<QPageLayout>& layout);
int PendingAnswers();
// What was shown since the last call: "Print: pages 1 to 3", "Page setup", "Preview: 3 pages".
QStringList TakeShown();
// The dialogs that found no queued answer since the last call.
QStringList TakeUnanswered();

} // namespace PrintDialogTesting
