// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every question and message box of the program goes through here.
namespace MessageBoxes {

enum class TKind { Information, Warning, Error, Confirmation };

// Shows a modal box and returns the button chosen. Escape (or closing the box) answers Cancel
// when the box has it, otherwise No, otherwise OK. Enter answers defaultButton, or the first
// accepting button when it is NoButton; questions that destroy or drop something make the safe
// answer the default.
QMessageBox::StandardButton Show(QWidget* parent, TKind kind, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

inline void ShowError(QWidget* parent, const QString& text) {
    Show(parent, TKind::Error, text, QMessageBox::Ok);
}

QMessageBox::StandardButton EscapeAnswer(QMessageBox::StandardButtons buttons);
// The button Enter presses: defaultButton when given, otherwise the first accepting button, as
// QMessageBox chooses it.
QMessageBox::StandardButton EnterAnswer(QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton);

} // namespace MessageBoxes

// Test mode: answers are queued, boxes are recorded instead of shown.
namespace MessageBoxTesting {

struct TShownBox {
    MessageBoxes::TKind Kind;
    QString Text;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Answer;
    QMessageBox::StandardButton DefaultButton;
};

// Turns test mode on and forgets earlier answers and records.
void Enable();
void Disable();
// The answer of the next box. An answer that is not one of the box's buttons counts as unanswered.
// QMessageBox::Default answers as Enter would, QMessageBox::Escape as Escape would.
void QueueAnswer(QMessageBox::StandardButton answer);
int PendingAnswers();
QList<TShownBox> TakeShown();
// Descriptions of the boxes that found no usable answer since the last call.
QStringList TakeUnanswered();

} // namespace MessageBoxTesting
