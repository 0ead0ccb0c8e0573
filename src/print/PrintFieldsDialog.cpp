#include "print/PrintFieldsDialog.h"

#include "print/DialogButtons.h"
#include "print/PageFile.h"

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
    setWindowTitle(QStringLiteral("Select Fields"));

    LVPrint = NewFieldList(this, "LVPrint");
    LVNotPrint = NewFieldList(this, "LVNotPrint");
    auto* printLabel = new QLabel(QStringLiteral("Print these fields:"), this);
    printLabel->setBuddy(LVPrint);
    auto* notPrintLabel = new QLabel(QStringLiteral("Do not print these fields:"), this);
    notPrintLabel->setBuddy(LVNotPrint);

    QToolButton* moveRight = NewMoveButton(this, "BtnMoveRight", "go-next", QStyle::SP_ArrowRight,
                                           QStringLiteral("Do not print the selected fields"));
    QToolButton* moveLeft = NewMoveButton(this, "BtnMoveLeft", "go-previous", QStyle::SP_ArrowLeft,
                                          QStringLiteral("Print the selected fields"));
    QToolButton* moveUp = NewMoveButton(this, "BtnMoveUp", "go-up", QStyle::SP_ArrowUp,
                                        QStringLiteral("Print the selected field earlier"));
    QToolButton* moveDown = NewMoveButton(this, "BtnMoveDown", "go-down", QStyle::SP_ArrowDown,
                                          QStringLiteral("Print the selected field later"));
    connect(moveRight, &QToolButton::clicked, this, &TPrintFieldsDialog::BtnMoveRightClick);
    connect(moveLeft, &QToolButton::clicked, this, &TPrintFieldsDialog::BtnMoveLeftClick);
    connect(moveUp, &QToolButton::clicked, this, &TPrintFieldsDialog::BtnMoveUpClick);
    connect(moveDown, &QToolButton::clicked, this, &TPrintFieldsDialog::BtnMoveDownClick);

    QDialogButtonBox* buttons = NewOkCancelButtons(this);

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
    grid->addWidget(LVPrint, 1, 1);
    grid->addLayout(across, 1, 2);
    grid->addWidget(LVNotPrint, 1, 3);
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
    SetEntries(*LVPrint, entries);
    LVNotPrint->clear();
}

std::vector<int> TPrintFieldsDialog::PrintColumns() const {
    std::vector<int> columns;
    for (const TEntry& entry : Entries(*LVPrint)) {
        columns.push_back(entry.second);
    }
    return columns;
}

int TPrintFieldsDialog::PrintCount() const {
    return LVPrint->count();
}

int TPrintFieldsDialog::exec() {
    FSavedPrint = Entries(*LVPrint);
    FSavedNotPrint = Entries(*LVNotPrint);
    return QDialog::exec();
}

void TPrintFieldsDialog::reject() {
    SetEntries(*LVPrint, FSavedPrint);
    SetEntries(*LVNotPrint, FSavedNotPrint);
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

void TPrintFieldsDialog::BtnMoveRightClick() {
    MoveSelectedEntries(*LVPrint, *LVNotPrint);
}

void TPrintFieldsDialog::BtnMoveLeftClick() {
    MoveSelectedEntries(*LVNotPrint, *LVPrint);
}

void TPrintFieldsDialog::MoveSelected(int offset) {
    int row = 0;
    while (row < LVPrint->count() && !LVPrint->item(row)->isSelected()) {
        ++row;
    }
    const int target = row + offset;
    if (row == LVPrint->count() || target < 0 || target >= LVPrint->count()) {
        return;
    }
    QListWidgetItem* item = LVPrint->takeItem(row);
    LVPrint->insertItem(target, item);
    LVPrint->clearSelection();
    LVPrint->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
}

void TPrintFieldsDialog::BtnMoveUpClick() {
    MoveSelected(-1);
}

void TPrintFieldsDialog::BtnMoveDownClick() {
    MoveSelected(1);
}
