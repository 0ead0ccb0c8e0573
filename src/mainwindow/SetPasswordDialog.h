// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/PasswordDialog.h"

class QCheckBox;

// Sets the password of the open data file: two boxes that must hold the same text.
class TSetPasswordDialog : public TPasswordDialog {
    Q_OBJECT

public:
    explicit TSetPasswordDialog(QWidget* parent = nullptr);

    QString Password() const;
    // Whether "Encrypt the data file with this password" is ticked; set before showing.
    bool Encrypt() const;
    void SetEncrypt(bool encrypt);

    // O&K closes the dialog only when the two boxes agree.
    void accept() override;

private:
    QLineEdit* FEditPassword;
    QLineEdit* FEditAgain;
    QCheckBox* FCheckEncrypt;
};
