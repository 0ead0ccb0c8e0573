#include "DlgSetPasswordUnit.h"

#include "MessageBoxes.h"

#include <QLineEdit>

TDlgSetPassword::TDlgSetPassword(QWidget* parent)
    : TPasswordDialog(QStringLiteral("Set the password for the current data file here:"), parent),
      FEditPassword(AddPasswordBox(QStringLiteral("EditPassword"), QStringLiteral("Password:"))),
      FEditAgain(AddPasswordBox(QStringLiteral("EditAgain"), QStringLiteral("Again:"))) {
    setObjectName(QStringLiteral("DlgSetPassword"));
    // No close box: the dialog ends by its buttons (Escape answers Cancel).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

QString TDlgSetPassword::Password() const {
    return FEditPassword->text();
}

void TDlgSetPassword::accept() {
    if (FEditPassword->text() != FEditAgain->text()) {
        MessageBoxes::ShowError(this, QStringLiteral("The two passwords should be identical."));
        return;
    }
    TPasswordDialog::accept();
}
