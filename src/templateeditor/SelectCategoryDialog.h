// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;

// Asks which category a new category copies its template from.
class TSelectCategoryDialog : public QDialog {
    Q_OBJECT

public:
    explicit TSelectCategoryDialog(QWidget* parent = nullptr);

    // Offers names with the first one chosen; the position chosen, or -1 on Cancel.
    int Execute(const QStringList& names);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* FCategoryChoice;
};
