// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintFieldsDialog.h"

#include "print/PageFile.h"
#include "ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QListWidget* NewFieldList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays visible while the other list has the focus.
    QPalette palette = list->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    list->setPalette(palette);
    return list;
}

QToolButton* NewMoveButton(QWidget* parent, const char* name, const char* themeIcon,
                           QStyle::StandardPixmap arrow, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(themeIcon), parent->style()->standardIcon(arrow)));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(false);
    return button;
}

} // namespace

TPrintFieldsDialog::TPrintFieldsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormPrintSelFields"));
    setWindowTitle(tr("Select Fields"));

    FPrintList = NewFieldList(this, "LVPrint");
    FLeftOutList = NewFieldList(this, "LVNotPrint");
    auto* printLabel = new QLabel(tr("Print these fields:"), this);
    printLabel->setBuddy(FPrintList);
    auto* notPrintLabel = new QLabel(tr("Do not print these fields:"), this);
    notPrintLabel->setBuddy(FLeftOutList);

    QToolButton* moveRight = NewMoveButton(this, "BtnMoveRight", "go-next", QStyle::SP_ArrowRight,
                                           tr("Do not print the selected fields"));
    QToolButton* moveLeft = NewMoveButton(this, "BtnMoveLeft", "go-previous", QStyle::SP_ArrowLeft,
                                          tr("Print the selected fields"));
    QToolButton* moveUp =
        NewMoveButton(this, "BtnMoveUp", "go-up", QStyle::SP_ArrowUp, tr("Print the selected field earlier"));
    QToolButton* moveDown = NewMoveButton(this, "BtnMoveDown", "go-down", QStyle::SP_ArrowDown,
                                          tr("Print the selected field later"));
    connect(moveRight, &QToolButton::clicked, this, &TPrintFieldsDialog::LeaveOutSelected);
    connect(moveLeft, &QToolButton::clicked, this, &TPrintFieldsDialog::PrintSelected);
    connect(moveUp, &QToolButton::clicked, this, &TPrintFieldsDialog::MoveUp);
    connect(moveDown, &QToolButton::clicked, this, &TPrintFieldsDialog::MoveDown);

    QDialogButtonBox* buttons = NewOkCancelButtons(this, tr("&OK"));

    auto* across = new QVBoxLayout();
    across->addStretch();
    across->addWidget(moveRight);
    across->addWidget(moveLeft);
    across->addStretch();
    auto* order = new QVBoxLayout();
    order->addStretch();
    order->addWidget(moveUp);
    order->addWidget(moveDown);
    order->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(printLabel, 0, 1);
    grid->addWidget(notPrintLabel, 0, 3);
    grid->addLayout(order, 1, 0);
    grid->addWidget(FPrintList, 1, 1);
    grid->addLayout(across, 1, 2);
    grid->addWidget(FLeftOutList, 1, 3);
    grid->addWidget(buttons, 2, 0, 1, 4);
    setFixedSize(sizeHint().expandedTo(QSize(378, 234)));
}

std::vector<TPrintFieldsDialog::TEntry> TPrintFieldsDialog::Entries(const QListWidget& list) {
    std::vector<TEntry> entries;
    for (int row = 0; row < list.count(); ++row) {
        const QListWidgetItem* item = list.item(row);
        entries.emplace_back(item->text(), item->data(Qt::UserRole).toInt());
    }
    return entries;
}

void TPrintFieldsDialog::SetEntries(QListWidget& list, const std::vector<TEntry>& entries) {
    list.clear();
    for (const TEntry& entry : entries) {
        auto* item = new QListWidgetItem(entry.first, &list);
        item->setData(Qt::UserRole, entry.second);
    }
}

void TPrintFieldsDialog::ResetColumns(const std::vector<QString>& captions) {
    std::vector<TEntry> entries;
    for (size_t column = 0; column < captions.size(); ++column) {
        entries.emplace_back(TrimBlanks(captions[column]), static_cast<int>(column));
    }
    SetEntries(*FPrintList, entries);
    FLeftOutList->clear();
}

std::vector<int> TPrintFieldsDialog::PrintColumns() const {
    std::vector<int> columns;
    for (const TEntry& entry : Entries(*FPrintList)) {
        columns.push_back(entry.second);
    }
    return columns;
}

int TPrintFieldsDialog::PrintCount() const {
    return FPrintList->count();
}

int TPrintFieldsDialog::exec() {
    FSavedPrint = Entries(*FPrintList);
    FSavedLeftOut = Entries(*FLeftOutList);
    return QDialog::exec();
}

void TPrintFieldsDialog::reject() {
    SetEntries(*FPrintList, FSavedPrint);
    SetEntries(*FLeftOutList, FSavedLeftOut);
    QDialog::reject();
}

void TPrintFieldsDialog::MoveSelectedEntries(QListWidget& from, QListWidget& to) {
    // In the order of the list they leave, not the order they were selected in.
    for (int row = 0; row < from.count();) {
        if (from.item(row)->isSelected()) {
            QListWidgetItem* item = from.takeItem(row);
            item->setSelected(false);
            to.addItem(item);
        } else {
            ++row;
        }
    }
    to.clearSelection();
}

void TPrintFieldsDialog::LeaveOutSelected() {
    MoveSelectedEntries(*FPrintList, *FLeftOutList);
}

void TPrintFieldsDialog::PrintSelected() {
    MoveSelectedEntries(*FLeftOutList, *FPrintList);
}

void TPrintFieldsDialog::MoveSelected(int offset) {
    int row = 0;
    while (row < FPrintList->count() && !FPrintList->item(row)->isSelected()) {
        ++row;
    }
    const int target = row + offset;
    if (row == FPrintList->count() || target < 0 || target >= FPrintList->count()) {
        return;
    }
    QListWidgetItem* item = FPrintList->takeItem(row);
    FPrintList->insertItem(target, item);
    FPrintList->clearSelection();
    FPrintList->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
}

void TPrintFieldsDialog::MoveUp() {
    MoveSelected(-1);
}

void TPrintFieldsDialog::MoveDown() {
    MoveSelected(1);
}
