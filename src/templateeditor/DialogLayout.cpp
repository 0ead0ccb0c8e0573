#include "templateeditor/DialogLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The wrapped text is laid out about this many characters wide, whatever the font's size.
constexpr int kTextWidthInCharacters = 40;

QPushButton* DialogButton(const char* name, const char* text, QDialog* dialog) {
    auto* button = new QPushButton(QLatin1String(text), dialog);
    button->setObjectName(QLatin1String(name));
    return button;
}

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

    QPushButton* ok = DialogButton("BtnOK", "O&K", dialog);
    ok->setDefault(true);
    QPushButton* cancel = DialogButton("BtnCancel", "&Cancel", dialog);
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
}
