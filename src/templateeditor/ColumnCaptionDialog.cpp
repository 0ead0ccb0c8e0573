// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/ColumnCaptionDialog.h"

#include "templateeditor/DialogLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TColumnCaptionDialog::TColumnCaptionDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), FCaptionEdit(new QLineEdit(this)) {
    setObjectName(QStringLiteral("DlgSetColumnCaption"));
    const TDialogLayout layout(this, tr("Please specify the column caption. If you leave it blank, the "
                                        "text field will not be shown in the list view as a column. "
                                        "You can always change this later."));
    auto* caption = new QLabel(tr("Caption:"), this);
    caption->setBuddy(FCaptionEdit);
    FCaptionEdit->setObjectName(QStringLiteral("LabeledEdit1"));
    layout.Fields()->addWidget(caption);
    layout.Fields()->addWidget(FCaptionEdit);
}

bool TColumnCaptionDialog::Execute(QString& caption) {
    FCaptionEdit->clear();
    if (exec() != QDialog::Accepted)
        return false;
    caption = FCaptionEdit->text();
    return true;
}

void TColumnCaptionDialog::showEvent(QShowEvent* event) {
    setWindowTitle(tr("Quillery"));
    FCaptionEdit->setFocus();
    QDialog::showEvent(event);
}
