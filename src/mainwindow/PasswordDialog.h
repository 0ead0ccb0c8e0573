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
    void showEvent(QShowEvent* event) override;

private:
    QVBoxLayout* FLayout;
    class QFormLayout* FBoxes;
    QList<QLineEdit*> FEdits;
};

// The stored password digest of what the user typed (its UTF-8 bytes).
std::string DigestOfTypedPassword(const QString& password);
// Whether typed matches digest. Files from older systems hold the digest of the Windows-1252
// bytes, so a password that Latin-1 can hold is tried that way too.
bool PasswordMatches(const QString& typed, const std::string& digest);
