#pragma once

#include "PasswordDialog.h"

// Asks for the password of a data file that has one.
class TDlgCheckPassword : public TPasswordDialog {
    Q_OBJECT

public:
    explicit TDlgCheckPassword(QWidget* parent = nullptr);

    QString Password() const;

private:
    QLineEdit* FEditPassword;
};
