// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/CheckPasswordDialog.h"

#include <QLineEdit>

TCheckPasswordDialog::TCheckPasswordDialog(QWidget* parent)
    : TPasswordDialog(tr("Please specify the password for the current data file:"), parent),
      FEditPassword(AddPasswordBox(QStringLiteral("EditPassword"), QString())) {
    setObjectName(QStringLiteral("DlgCheckPassword"));
}

QString TCheckPasswordDialog::Password() const {
    return FEditPassword->text();
}
