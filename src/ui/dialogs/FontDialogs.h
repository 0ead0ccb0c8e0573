// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QWidget;

// Every font dialog of the program goes through here.
namespace FontDialogs {

// The font chosen in the standard font dialog, or nothing when it was cancelled.
std::optional<QFont> Run(QWidget* parent, const QFont& initial, const QString& title);

} // namespace FontDialogs

// Test mode: results are queued, dialogs are recorded instead of shown.
namespace FontDialogTesting {

void Enable();
void Disable();
// The result of the next dialog; nothing cancels it.
void QueueResult(const std::optional<QFont>& font);
int PendingResults();
// The initial fonts of the dialogs shown since the last call.
QList<QFont> TakeShown();
// Titles of the dialogs that found no queued result since the last call.
QStringList TakeUnanswered();

} // namespace FontDialogTesting
