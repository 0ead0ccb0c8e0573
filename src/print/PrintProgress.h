// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <exception>
#include <memory>

class QProgressDialog;
class QWidget;

// Thrown when the user cancels a long print; the command then ends without a message.
class EPrintCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Printing was cancelled"; }
};

// The progress of a long print. Work that takes longer than half a second shows a dialog with
// Cancel; while it works, the windows are repainted a few times a second.
class TPrintProgress {
    Q_DECLARE_TR_FUNCTIONS(TPrintProgress)

public:
    explicit TPrintProgress(QWidget* parent);
    ~TPrintProgress();
    TPrintProgress(const TPrintProgress&) = delete;
    TPrintProgress& operator=(const TPrintProgress&) = delete;

    // A new stage of total steps, described by label.
    void Begin(const QString& label, int total);
    // done steps of the stage are done. Throws EPrintCancelled once Cancel has been pressed.
    void Step(int done);

    // The dialog, once it is shown (tests press its Cancel).
    QProgressDialog* Dialog() const { return FDialog.get(); }

private:
    void Show();

    QPointer<QWidget> FParent;
    std::unique_ptr<QProgressDialog> FDialog;
    QElapsedTimer FStarted;
    QElapsedTimer FSinceEvents;
    QString FLabel;
    int FTotal = 0;
};
