// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintOptionsDialog.h"

#include "print/PrintFieldsDialog.h"
#include "settings/Settings.h"
#include "ui/DialogButtons.h"
#include "ui/dialogs/FontDialogs.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kPageNumberCaptions[] = {
    QT_TRANSLATE_NOOP("TPrintOptionsDialog", "Include Page Numbers as Headers"),
    QT_TRANSLATE_NOOP("TPrintOptionsDialog", "Include Page Numbers as Footers"),
    QT_TRANSLATE_NOOP("TPrintOptionsDialog", "Do not Include Page Numbers")};

} // namespace

TPrintOptionsDialog::TPrintOptionsDialog(QWidget* parent)
    : QDialog(parent), FFieldsDialog(new TPrintFieldsDialog(this)) {
    setObjectName(QStringLiteral("FormPrintSel"));
    setWindowTitle(tr("Print"));

    auto* whatBox = new QGroupBox(tr(" What to Print "), this);
    FPrintRecordChoice = new QRadioButton(tr("Print Current Record"), whatBox);
    FPrintRecordChoice->setObjectName(QStringLiteral("RBPrintRecord"));
    FPrintListChoice = new QRadioButton(tr("Print Current List"), whatBox);
    FPrintListChoice->setObjectName(QStringLiteral("RBPrintList"));
    FFieldsButton = new QPushButton(whatBox);
    FFieldsButton->setObjectName(QStringLiteral("BtnSelectFields"));
    FFontButton = new QPushButton(whatBox);
    FFontButton->setObjectName(QStringLiteral("BtnFont"));
    auto* whatLayout = new QVBoxLayout(whatBox);
    whatLayout->addWidget(FPrintRecordChoice);
    whatLayout->addWidget(FPrintListChoice);
    auto* listButtons = new QHBoxLayout();
    listButtons->addSpacing(16);
    listButtons->addWidget(FFieldsButton);
    listButtons->addWidget(FFontButton);
    whatLayout->addLayout(listButtons);
    connect(FPrintListChoice, &QRadioButton::toggled, this, &TPrintOptionsDialog::EnableListButtons);
    connect(FFieldsButton, &QPushButton::clicked, this, &TPrintOptionsDialog::SelectFields);
    connect(FFontButton, &QPushButton::clicked, this, &TPrintOptionsDialog::ChooseFont);

    auto* numbersBox = new QGroupBox(tr(" Page Numbers "), this);
    numbersBox->setObjectName(QStringLiteral("RGPageNumbers"));
    auto* numbersLayout = new QVBoxLayout(numbersBox);
    for (const char* caption : kPageNumberCaptions) {
        auto* button = new QRadioButton(tr(caption), numbersBox);
        numbersLayout->addWidget(button);
        FPageNumberButtons.push_back(button);
    }
    FPageNumberButtons.front()->setChecked(true);

    QDialogButtonBox* buttons = NewOkCancelButtons(this, tr("&OK"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(whatBox);
    layout->addWidget(numbersBox);
    layout->addWidget(buttons);
    FitToTexts();
}

void TPrintOptionsDialog::Prepare(bool recordSelected, const std::vector<QString>& columnCaptions) {
    FPrintRecordChoice->setEnabled(recordSelected);
    QRadioButton* chosen = recordSelected ? FPrintRecordChoice : FPrintListChoice;
    chosen->setChecked(true);
    chosen->setFocus();
    EnableListButtons();
    FFieldsDialog->ResetColumns(columnCaptions);
    UpdateFieldsCaption();
    UpdateFontCaption();
}

void TPrintOptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    (FPrintRecordChoice->isChecked() ? FPrintRecordChoice : FPrintListChoice)->setFocus();
}

bool TPrintOptionsDialog::PrintRecord() const {
    return FPrintRecordChoice->isChecked();
}

TPageNumbers TPrintOptionsDialog::PageNumbers() const {
    for (size_t i = 0; i < FPageNumberButtons.size(); ++i) {
        if (FPageNumberButtons[i]->isChecked()) {
            return static_cast<TPageNumbers>(i);
        }
    }
    return TPageNumbers::Header;
}

std::vector<int> TPrintOptionsDialog::PrintColumns() const {
    return FFieldsDialog->PrintColumns();
}

void TPrintOptionsDialog::EnableListButtons() {
    const bool list = FPrintListChoice->isChecked();
    FFieldsButton->setEnabled(list);
    FFontButton->setEnabled(list);
}

void TPrintOptionsDialog::SelectFields() {
    FFieldsDialog->exec();
    UpdateFieldsCaption();
}

void TPrintOptionsDialog::ChooseFont() {
    TPrintListFont& printFont = PrintListFont();
    QFont initial(printFont.Name);
    initial.setPointSize(std::max(1, printFont.Size));
    const std::optional<QFont> chosen = FontDialogs::Run(this, initial, tr("Font"));
    if (!chosen) {
        return;
    }
    // Only the face and the size are kept: a list always prints in the regular style.
    printFont.Name = chosen->family();
    const int size = chosen->pointSize() > 0 ? chosen->pointSize() : qRound(chosen->pointSizeF());
    if (size > 0) {
        printFont.Size = size;
    }
    UpdateFontCaption();
}

void TPrintOptionsDialog::UpdateFieldsCaption() {
    const int count = FFieldsDialog->PrintCount();
    // English says "Field" up to one; a translation gives each text its own plural forms.
    FFieldsButton->setText(count > 1 ? tr("%n Fields Selected", nullptr, count)
                                     : tr("%n Field Selected", nullptr, count));
    FitToTexts();
}

void TPrintOptionsDialog::UpdateFontCaption() {
    FFontButton->setText(tr("Font: %1 %2pt").arg(PrintListFont().Name).arg(PrintListFont().Size));
    FitToTexts();
}

void TPrintOptionsDialog::FitToTexts() {
    // The buttons' captions (a count, a font's name, a translation) decide the width. Their box
    // is laid out first, so that the dialog's layout asks it for its new size.
    FFieldsButton->parentWidget()->layout()->activate();
    layout()->activate();
    setFixedSize(layout()->totalSizeHint().expandedTo(QSize(290, 224)));
}
