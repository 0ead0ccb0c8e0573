#include "app/OpenFileRequests.h"

#include "ui/dialogs/MessageBoxes.h"

#include <QApplication>

#include <exception>

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
    try {
        FOpenFile(filePath);
    } catch (const std::exception& error) {
        MessageBoxes::ShowError(QApplication::activeWindow(), QString::fromStdString(error.what()));
    }
    FOpening = false;
    if (!FPending.isEmpty()) {
        FRetry.start(0);
    }
}
