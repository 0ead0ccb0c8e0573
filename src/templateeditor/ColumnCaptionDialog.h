// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the caption of a text box's list column.
class TColumnCaptionDialog : public QDialog {
    Q_OBJECT

public:
    explicit TColumnCaptionDialog(QWidget* parent = nullptr);

    // Starts with an empty field; true on OK, with the field's text as typed in caption.
    bool Execute(QString& caption);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* FCaptionEdit;
};
