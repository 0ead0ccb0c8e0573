#include "print/PrintOptionsDialog.h"

#include "print/DialogButtons.h"
#include "print/PrintFieldsDialog.h"
#include "settings/Settings.h"
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

const char* const kPageNumberCaptions[] = {"Include Page Numbers as Headers",
                                           "Include Page Numbers as Footers", "Do not Include Page Numbers"};

} // namespace

TPrintOptionsDialog::TPrintOptionsDialog(QWidget* parent)
    : QDialog(parent), FFieldsDialog(new TPrintFieldsDialog(this)) {
    setObjectName(QStringLiteral("FormPrintSel"));
    setWindowTitle(QStringLiteral("Print"));

    auto* whatBox = new QGroupBox(QStringLiteral(" What to Print "), this);
    RBPrintRecord = new QRadioButton(QStringLiteral("Print Current Record"), whatBox);
    RBPrintRecord->setObjectName(QStringLiteral("RBPrintRecord"));
    RBPrintList = new QRadioButton(QStringLiteral("Print Current List"), whatBox);
    RBPrintList->setObjectName(QStringLiteral("RBPrintList"));
    BtnSelectFields = new QPushButton(whatBox);
    BtnSelectFields->setObjectName(QStringLiteral("BtnSelectFields"));
    BtnFont = new QPushButton(whatBox);
    BtnFont->setObjectName(QStringLiteral("BtnFont"));
    auto* whatLayout = new QVBoxLayout(whatBox);
    whatLayout->addWidget(RBPrintRecord);
    whatLayout->addWidget(RBPrintList);
    auto* listButtons = new QHBoxLayout();
    listButtons->addSpacing(16);
    listButtons->addWidget(BtnSelectFields);
    listButtons->addWidget(BtnFont);
    whatLayout->addLayout(listButtons);
    connect(RBPrintList, &QRadioButton::toggled, this, &TPrintOptionsDialog::RBPrintListToggled);
    connect(BtnSelectFields, &QPushButton::clicked, this, &TPrintOptionsDialog::BtnSelectFieldsClick);
    connect(BtnFont, &QPushButton::clicked, this, &TPrintOptionsDialog::BtnFontClick);

    auto* numbersBox = new QGroupBox(QStringLiteral(" Page Numbers "), this);
    numbersBox->setObjectName(QStringLiteral("RGPageNumbers"));
    auto* numbersLayout = new QVBoxLayout(numbersBox);
    for (const char* caption : kPageNumberCaptions) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), numbersBox);
        numbersLayout->addWidget(button);
        FPageNumberButtons.push_back(button);
    }
    FPageNumberButtons.front()->setChecked(true);

    QDialogButtonBox* buttons = NewOkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(whatBox);
    layout->addWidget(numbersBox);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(290, 224)));
}

void TPrintOptionsDialog::Prepare(bool recordSelected, const std::vector<QString>& columnCaptions) {
    RBPrintRecord->setEnabled(recordSelected);
    QRadioButton* chosen = recordSelected ? RBPrintRecord : RBPrintList;
    chosen->setChecked(true);
    chosen->setFocus();
    RBPrintListToggled();
    FFieldsDialog->ResetColumns(columnCaptions);
    UpdateFieldsCaption();
    UpdateFontCaption();
}

void TPrintOptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    (RBPrintRecord->isChecked() ? RBPrintRecord : RBPrintList)->setFocus();
}

bool TPrintOptionsDialog::PrintRecord() const {
    return RBPrintRecord->isChecked();
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

void TPrintOptionsDialog::RBPrintListToggled() {
    const bool list = RBPrintList->isChecked();
    BtnSelectFields->setEnabled(list);
    BtnFont->setEnabled(list);
}

void TPrintOptionsDialog::BtnSelectFieldsClick() {
    FFieldsDialog->exec();
    UpdateFieldsCaption();
}

void TPrintOptionsDialog::BtnFontClick() {
    TPrintListFont& printFont = PrintListFont();
    QFont initial(printFont.Name);
    initial.setPointSize(std::max(1, printFont.Size));
    const std::optional<QFont> chosen = FontDialogs::Run(this, initial, QStringLiteral("Font"));
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
    BtnSelectFields->setText(QStringLiteral("%1 Field%2 Selected").arg(count).arg(count > 1 ? "s" : ""));
}

void TPrintOptionsDialog::UpdateFontCaption() {
    BtnFont->setText(QStringLiteral("Font: %1 %2pt").arg(PrintListFont().Name).arg(PrintListFont().Size));
}
