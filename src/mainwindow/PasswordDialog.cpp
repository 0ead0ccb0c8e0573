// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/PasswordDialog.h"

#include "core/Password.h"
#include "ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

TPasswordDialog::TPasswordDialog(const QString& text, QWidget* parent)
    : QDialog(parent), FLayout(new QVBoxLayout(this)), FBoxes(new QFormLayout) {
    setWindowTitle(tr("Quillery"));
    setModal(true);
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("LabelText"));
    label->setWordWrap(true);
    FLayout->setContentsMargins(16, 14, 16, 12);
    FLayout->setSpacing(10);
    FLayout->addWidget(label);
    FLayout->addLayout(FBoxes);

    FLayout->addSpacing(4);
    FLayout->addWidget(NewOkCancelButtons(this, tr("O&K")));
    setMinimumWidth(380);
}

QLineEdit* TPasswordDialog::AddPasswordBox(const QString& objectName, const QString& label) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setEchoMode(QLineEdit::Password);
    if (label.isEmpty()) {
        FBoxes->addRow(edit);
    } else {
        FBoxes->addRow(label, edit);
    }
    FEdits.append(edit);
    return edit;
}

void TPasswordDialog::AddBelowBoxes(QWidget* widget) {
    // Before the spacing and the buttons, which are always the last two items.
    FLayout->insertWidget(FLayout->count() - 2, widget);
}

void TPasswordDialog::showEvent(QShowEvent* event) {
    for (QLineEdit* edit : FEdits) {
        edit->clear();
    }
    if (!FEdits.isEmpty()) {
        FEdits.constFirst()->setFocus();
    }
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

std::string DigestOfTypedPassword(const QString& password) {
    const QByteArray bytes = password.toUtf8();
    return ::DigestOfTypedPassword(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

bool PasswordMatches(const QString& typed, const std::string& digest) {
    const QByteArray bytes = typed.toUtf8();
    return ::PasswordMatches(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), digest);
}
