// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "ui/ErrorText.h"
#include "ui/dialogs/MessageBoxes.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        MessageBoxes::ShowError(activeWindow(), ErrorText(error));
    }
    return false;
}
