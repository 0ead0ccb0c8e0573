// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SecondStarts.h"

#include "app/SingleInstance.h"
#include "mainwindow/MainWindow.h"

TSecondStarts::TSecondStarts(TSingleInstanceGuard& guard, TMainWindow& window)
    : FOpenRequests([&window](const QString& filePath) { window.OpenFile(filePath); }) {
    connect(&guard, &TSingleInstanceGuard::ActivationRequested, &window, &TMainWindow::BringToFront);
    connect(&guard, &TSingleInstanceGuard::OpenFileRequested, &FOpenRequests, &TOpenFileRequests::Request);
}
