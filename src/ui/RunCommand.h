// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Runs a command and shows any error it raises in the error box: no exception leaves a slot, and
// the window stays usable. False when the command failed.
bool RunCommand(QWidget* parent, const std::function<void()>& command);

// Connects signal to command, run through RunCommand with parent's error box.
template <class TSender, class TSignal>
void ConnectCommand(TSender* sender, TSignal signal, QWidget* parent, std::function<void()> command) {
    QObject::connect(sender, signal, parent,
                     [parent, command = std::move(command)] { RunCommand(parent, command); });
}
