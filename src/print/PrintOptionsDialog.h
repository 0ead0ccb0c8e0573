// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/PageLayout.h"

#include <QDialog>
#include <QString>

#include <vector>

class QPushButton;
class QRadioButton;
class TPrintFieldsDialog;

// "Print": whether to print the current record or the current list, the list's fields and font,
// and where the page numbers go. Made once and kept for the run: the page-number option stays as
// the user left it, the rest is set afresh at every showing.
class TPrintOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit TPrintOptionsDialog(QWidget* parent = nullptr);

    // Sets the dialog up for a showing: a record print can be chosen only while a record is
    // selected, and every column of the record list (captions in column order) is to print.
    void Prepare(bool recordSelected, const std::vector<QString>& columnCaptions);

    bool PrintRecord() const;
    TPageNumbers PageNumbers() const;
    // The print list: column positions of the record list in print order.
    std::vector<int> PrintColumns() const;
    TPrintFieldsDialog& FieldsDialog() const { return *FFieldsDialog; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The list's fields and font can be chosen only while the list is to print.
    void EnableListButtons();
    void SelectFields();
    void ChooseFont();
    void UpdateFieldsCaption();
    void UpdateFontCaption();
    // Keeps the dialog's fixed size large enough for its texts.
    void FitToTexts();

    QRadioButton* FPrintRecordChoice;
    QRadioButton* FPrintListChoice;
    QPushButton* FFieldsButton;
    QPushButton* FFontButton;
    std::vector<QRadioButton*> FPageNumberButtons;
    TPrintFieldsDialog* FFieldsDialog;
};
