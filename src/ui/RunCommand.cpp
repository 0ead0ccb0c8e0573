// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RunCommand.h"

#include "ui/ErrorText.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QCoreApplication>

#include <exception>

bool RunCommand(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        MessageBoxes::ShowError(parent, ErrorText(error));
    } catch (...) {
        MessageBoxes::ShowError(parent, QCoreApplication::translate("RunCommand", "Unknown error."));
    }
    return false;
}
