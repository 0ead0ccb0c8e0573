#include "templateeditor/SelectCategoryDialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TSelectCategoryDialog::TSelectCategoryDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), CBCategory(new QComboBox(this)) {
    setObjectName(QStringLiteral("DlgSelectCategory"));
    setFixedSize(245, 138);

    auto* text =
        new QLabel(QStringLiteral("Please select the category that you want to copy template from:"), this);
    text->setWordWrap(true);
    text->setGeometry(12, 10, 221, 34);

    CBCategory->setObjectName(QStringLiteral("CBCategory"));
    CBCategory->setEditable(false);
    CBCategory->setGeometry(12, 52, 221, 24);

    auto* ok = new QPushButton(QStringLiteral("O&K"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    ok->setGeometry(44, 98, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setAutoDefault(false);
    cancel->setGeometry(132, 98, 80, 26);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TSelectCategoryDialog::Execute(const QStringList& names) {
    CBCategory->clear();
    CBCategory->addItems(names);
    CBCategory->setCurrentIndex(names.isEmpty() ? -1 : 0);
    return exec() == QDialog::Accepted ? CBCategory->currentIndex() : -1;
}

void TSelectCategoryDialog::showEvent(QShowEvent* event) {
    setWindowTitle(QStringLiteral("Quillery"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    CBCategory->setFocus();
    QDialog::showEvent(event);
}
