// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintProgress.h"

#include <QApplication>
#include <QProgressDialog>

#include <algorithm>

namespace {

const int kShowAfterMs = 500;
const int kEventsEveryMs = 50;

} // namespace

TPrintProgress::TPrintProgress(QWidget* parent) : FParent(parent) {
    FStarted.start();
    FSinceEvents.start();
}

TPrintProgress::~TPrintProgress() = default;

void TPrintProgress::Begin(const QString& label, int total) {
    FLabel = label;
    FTotal = total;
    if (FDialog) {
        FDialog->setLabelText(label);
        FDialog->setRange(0, total);
        FDialog->setValue(0);
    }
}

void TPrintProgress::Show() {
    FDialog = std::make_unique<QProgressDialog>(FLabel, tr("&Cancel"), 0, FTotal, FParent);
    FDialog->setObjectName(QStringLiteral("PrintProgress"));
    FDialog->setWindowTitle(tr("Print"));
    // Modal, so that nothing can start a second print or change the list while this one runs.
    FDialog->setWindowModality(Qt::ApplicationModal);
    FDialog->setAutoReset(false);
    FDialog->setAutoClose(false);
    FDialog->setMinimumDuration(0);
    FDialog->show();
}

void TPrintProgress::Step(int done) {
    if (FSinceEvents.elapsed() < kEventsEveryMs) {
        return;
    }
    if (!FDialog && FStarted.elapsed() >= kShowAfterMs) {
        Show();
    }
    if (FDialog) {
        FDialog->setValue(std::min(done, FTotal));
    }
    QApplication::processEvents();
    FSinceEvents.restart();
    if (FDialog && FDialog->wasCanceled()) {
        throw EPrintCancelled();
    }
}
