// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OpenFileRequests.h"

#include "ui/RunCommand.h"

#include <QApplication>

namespace {

constexpr int kRetryMs = 250;

} // namespace

TOpenFileRequests::TOpenFileRequests(TOpenFile openFile, QObject* parent)
    : QObject(parent), FOpenFile(std::move(openFile)) {
    FRetry.setSingleShot(true);
    connect(&FRetry, &QTimer::timeout, this, &TOpenFileRequests::OpenPending);
}

void TOpenFileRequests::Request(const QString& filePath) {
    FPending = filePath;
    // Never from inside the caller (a socket's signal): the opening shows modal boxes.
    FRetry.start(0);
}

void TOpenFileRequests::OpenPending() {
    if (FOpening || FPending.isEmpty()) {
        return;
    }
    if (QApplication::activeModalWidget() != nullptr) {
        FRetry.start(kRetryMs);
        return;
    }
    FRetry.stop();
    FOpening = true;
    // One request at a time; a request that arrives during the opening waits for the next round.
    const QString filePath = FPending;
    FPending.clear();
    RunCommand(QApplication::activeWindow(), [&] { FOpenFile(filePath); });
    FOpening = false;
    if (!FPending.isEmpty()) {
        FRetry.start(0);
    }
}
