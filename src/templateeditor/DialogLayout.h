// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

class QDialog;
class QLabel;
class QVBoxLayout;

// The layout the editor's two small dialogs share: a wrapped text on top, the dialog's own fields
// below it, and "O&K" (the default button) and "&Cancel" (answers Escape) at the bottom. The
// dialog takes the size its contents need at the current font, so no text is ever cut off.
class TDialogLayout {
    Q_DECLARE_TR_FUNCTIONS(TDialogLayout)

public:
    TDialogLayout(QDialog* dialog, const QString& text);

    // Where the dialog puts its fields, between the text and the buttons.
    QVBoxLayout* Fields() const { return FFields; }
    QLabel* Text() const { return FText; }

private:
    QLabel* FText;
    QVBoxLayout* FFields;
};
