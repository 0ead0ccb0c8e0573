// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <utility>
#include <vector>

class QListWidget;
class QToolButton;

// "Select Fields": which columns of the record list a list print shows, and in which order. The
// left list prints, the right one does not; each entry is a column's caption and its position in
// the record list.
class TPrintFieldsDialog : public QDialog {
    Q_OBJECT

public:
    using TEntry = std::pair<QString, int>; // caption, column position

    explicit TPrintFieldsDialog(QWidget* parent = nullptr);

    // Every column goes to the print list, in the record list's order, captioned without blanks.
    void ResetColumns(const std::vector<QString>& captions);
    // The print list's column positions, in print order.
    std::vector<int> PrintColumns() const;
    int PrintCount() const;

    int exec() override;
    void reject() override;

private:
    // The selected entries go from one list to the other.
    void LeaveOutSelected();
    void PrintSelected();
    // The selected entry of the print list prints one place earlier or later.
    void MoveUp();
    void MoveDown();
    // Moves the first selected entry of the print list by offset places, if it can go there.
    void MoveSelected(int offset);

    static std::vector<TEntry> Entries(const QListWidget& list);
    static void SetEntries(QListWidget& list, const std::vector<TEntry>& entries);
    static void MoveSelectedEntries(QListWidget& from, QListWidget& to);

    QListWidget* FPrintList;
    QListWidget* FLeftOutList;
    // Both lists as they were when the dialog opened, for Cancel.
    std::vector<TEntry> FSavedPrint;
    std::vector<TEntry> FSavedLeftOut;
};
