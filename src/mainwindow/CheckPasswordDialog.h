// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/PasswordDialog.h"

// Asks for the password of a data file that has one.
class TCheckPasswordDialog : public TPasswordDialog {
    Q_OBJECT

public:
    explicit TCheckPasswordDialog(QWidget* parent = nullptr);

    QString Password() const;

private:
    QLineEdit* FEditPassword;
};
