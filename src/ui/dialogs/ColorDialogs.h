// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

class QWidget;

// Every colour dialog of the program goes through here.
namespace ColorDialogs {

// The colour chosen in the standard colour dialog, or an invalid colour when it was cancelled.
QColor Run(QWidget* parent, const QColor& initial, const QString& title);

} // namespace ColorDialogs

// Test mode: results are queued, dialogs are recorded instead of shown.
namespace ColorDialogTesting {

void Enable();
void Disable();
// The result of the next dialog; an invalid colour cancels it.
void QueueResult(const QColor& color);
int PendingResults();
// The initial colours of the dialogs shown since the last call.
QList<QColor> TakeShown();
// Titles of the dialogs that found no queued result since the last call.
QStringList TakeUnanswered();

} // namespace ColorDialogTesting
