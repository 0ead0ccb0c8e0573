#include "templateeditor/ColumnCaptionDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The client area that gives an outer size of 256 x 185 with a usual title bar and border.
constexpr int kClientWidth = 250;
constexpr int kClientHeight = 157;

} // namespace

TColumnCaptionDialog::TColumnCaptionDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), LabeledEdit1(new QLineEdit(this)) {
    setObjectName(QStringLiteral("DlgSetColumnCaption"));
    setFixedSize(kClientWidth, kClientHeight);

    auto* text =
        new QLabel(QStringLiteral("Please specify the column caption. If you leave it blank, the text "
                                  "field will not be shown in the list view as a column. You can "
                                  "always change this later."),
                   this);
    text->setWordWrap(true);
    text->setGeometry(10, 8, 230, 58);

    auto* caption = new QLabel(QStringLiteral("Caption:"), this);
    caption->setGeometry(10, 70, 230, 16);
    caption->setBuddy(LabeledEdit1);
    LabeledEdit1->setObjectName(QStringLiteral("LabeledEdit1"));
    LabeledEdit1->setGeometry(10, 88, 230, 24);

    auto* ok = new QPushButton(QStringLiteral("O&K"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    ok->setGeometry(42, 122, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setAutoDefault(false);
    cancel->setGeometry(130, 122, 80, 26);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TColumnCaptionDialog::Execute(QString& caption) {
    LabeledEdit1->clear();
    if (exec() != QDialog::Accepted)
        return false;
    caption = LabeledEdit1->text();
    return true;
}

void TColumnCaptionDialog::showEvent(QShowEvent* event) {
    setWindowTitle(QStringLiteral("Quillery"));
    LabeledEdit1->setFocus();
    QDialog::showEvent(event);
}
