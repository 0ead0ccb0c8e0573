#include "templateeditor/SelectCategoryDialog.h"

#include "templateeditor/DialogLayout.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

TSelectCategoryDialog::TSelectCategoryDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), CBCategory(new QComboBox(this)) {
    setObjectName(QStringLiteral("DlgSelectCategory"));
    const TDialogLayout layout(
        this, QStringLiteral("Please select the category that you want to copy template from:"));
    CBCategory->setObjectName(QStringLiteral("CBCategory"));
    CBCategory->setEditable(false);
    layout.Fields()->addWidget(CBCategory);
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
