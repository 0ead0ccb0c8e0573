// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/SelectCategoryDialog.h"

#include "templateeditor/DialogLayout.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

TSelectCategoryDialog::TSelectCategoryDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), FCategoryChoice(new QComboBox(this)) {
    setObjectName(QStringLiteral("DlgSelectCategory"));
    const TDialogLayout layout(this, tr("Please select the category that you want to copy template from:"));
    FCategoryChoice->setObjectName(QStringLiteral("CBCategory"));
    FCategoryChoice->setEditable(false);
    layout.Fields()->addWidget(FCategoryChoice);
}

int TSelectCategoryDialog::Execute(const QStringList& names) {
    FCategoryChoice->clear();
    FCategoryChoice->addItems(names);
    FCategoryChoice->setCurrentIndex(names.isEmpty() ? -1 : 0);
    return exec() == QDialog::Accepted ? FCategoryChoice->currentIndex() : -1;
}

void TSelectCategoryDialog::showEvent(QShowEvent* event) {
    setWindowTitle(tr("Quillery"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FCategoryChoice->setFocus();
    QDialog::showEvent(event);
}
