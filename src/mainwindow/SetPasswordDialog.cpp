// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/SetPasswordDialog.h"

#include "ui/dialogs/MessageBoxes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

TSetPasswordDialog::TSetPasswordDialog(QWidget* parent)
    : TPasswordDialog(tr("Set the password for the current data file here:"), parent),
      FEditPassword(AddPasswordBox(QStringLiteral("EditPassword"), tr("Password:"))),
      FEditAgain(AddPasswordBox(QStringLiteral("EditAgain"), tr("Again:"))),
      FCheckEncrypt(new QCheckBox(tr("Encrypt the data file with this password"), this)) {
    setObjectName(QStringLiteral("DlgSetPassword"));
    auto* note =
        new QLabel(tr("Without encryption, the password only keeps Quillery from opening the file: the "
                      "records are not encrypted, and other programs can read them. Encrypt anything "
                      "secret."),
                   this);
    note->setObjectName(QStringLiteral("LabelPlainNote"));
    note->setWordWrap(true);
    FCheckEncrypt->setObjectName(QStringLiteral("CheckEncrypt"));
    AddBelowBoxes(note);
    AddBelowBoxes(FCheckEncrypt);
    // No close box: the dialog ends by its buttons (Escape answers Cancel).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

QString TSetPasswordDialog::Password() const {
    return FEditPassword->text();
}

bool TSetPasswordDialog::Encrypt() const {
    return FCheckEncrypt->isChecked();
}

void TSetPasswordDialog::SetEncrypt(bool encrypt) {
    FCheckEncrypt->setChecked(encrypt);
}

void TSetPasswordDialog::accept() {
    if (FEditPassword->text() != FEditAgain->text()) {
        MessageBoxes::ShowError(this, tr("The two passwords should be identical."));
        return;
    }
    if (Encrypt() && FEditPassword->text().isEmpty()) {
        MessageBoxes::ShowError(this,
                                tr("An encrypted data file needs a password. Type one in both boxes, or "
                                   "untick encryption to remove the password."));
        return;
    }
    TPasswordDialog::accept();
}
