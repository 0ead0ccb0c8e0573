#include "mainwindow/SetPasswordDialog.h"

#include "ui/dialogs/MessageBoxes.h"

#include <QLineEdit>

TSetPasswordDialog::TSetPasswordDialog(QWidget* parent)
    : TPasswordDialog(QStringLiteral("Set the password for the current data file here:"), parent),
      FEditPassword(AddPasswordBox(QStringLiteral("EditPassword"), QStringLiteral("Password:"))),
      FEditAgain(AddPasswordBox(QStringLiteral("EditAgain"), QStringLiteral("Again:"))) {
    setObjectName(QStringLiteral("DlgSetPassword"));
    // No close box: the dialog ends by its buttons (Escape answers Cancel).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

QString TSetPasswordDialog::Password() const {
    return FEditPassword->text();
}

void TSetPasswordDialog::accept() {
    if (FEditPassword->text() != FEditAgain->text()) {
        MessageBoxes::ShowError(this, QStringLiteral("The two passwords should be identical."));
        return;
    }
    TPasswordDialog::accept();
}
