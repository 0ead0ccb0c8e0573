// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;
class QVBoxLayout;

// What the two password dialogs share: caption "Quillery", a text above the boxes, boxes that show
// "*", the buttons "O&K" (default) and "&Cancel", centred on the desktop, boxes emptied and the
// first focused on every showing.
class TPasswordDialog : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDialog(const QString& text, QWidget* parent = nullptr);

protected:
    // A password box with its label, in the order the user tabs through them.
    QLineEdit* AddPasswordBox(const QString& objectName, const QString& label);
    // A widget under the boxes, above the buttons, in the order they are added.
    void AddBelowBoxes(QWidget* widget);
    void showEvent(QShowEvent* event) override;

private:
    QVBoxLayout* FLayout;
    class QFormLayout* FBoxes;
    QList<QLineEdit*> FEdits;
};

// The data store's password rule (core/Password.h) for the text of a password box.
std::string DigestOfTypedPassword(const QString& password);
bool PasswordMatches(const QString& typed, const std::string& digest);
