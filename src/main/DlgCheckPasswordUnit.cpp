#include "DlgCheckPasswordUnit.h"

#include <QLineEdit>

TDlgCheckPassword::TDlgCheckPassword(QWidget* parent)
    : TPasswordDialog(QStringLiteral("Please specify the password for the current data file:"), parent),
      FEditPassword(AddPasswordBox(QStringLiteral("EditPassword"), QString())) {
    setObjectName(QStringLiteral("DlgCheckPassword"));
}

QString TDlgCheckPassword::Password() const {
    return FEditPassword->text();
}
