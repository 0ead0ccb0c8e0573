// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/DialogLayout.h"

#include "ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The wrapped text is laid out about this many characters wide, whatever the font's size.
constexpr int kTextWidthInCharacters = 40;

} // namespace

TDialogLayout::TDialogLayout(QDialog* dialog, const QString& text)
    : FText(new QLabel(text, dialog)), FFields(new QVBoxLayout) {
    auto* layout = new QVBoxLayout(dialog);
    // The dialog is as large as its contents want at the font it has, and no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FText->setObjectName(QStringLiteral("LabelPrompt"));
    FText->setWordWrap(true);
    FText->setMinimumWidth(FText->fontMetrics().averageCharWidth() * kTextWidthInCharacters);
    layout->addWidget(FText);
    FFields->setSpacing(2);
    layout->addLayout(FFields);
    layout->addSpacing(6);

    QDialogButtonBox* buttons = NewOkCancelButtons(dialog, tr("O&K"));
    buttons->setCenterButtons(true);
    layout->addWidget(buttons);
}
