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
    void BtnMoveRightClick();
    void BtnMoveLeftClick();
    void BtnMoveUpClick();
    void BtnMoveDownClick();
    // Moves the first selected entry of the print list by offset places, if it can go there.
    void MoveSelected(int offset);

    static std::vector<TEntry> Entries(const QListWidget& list);
    static void SetEntries(QListWidget& list, const std::vector<TEntry>& entries);
    static void MoveSelectedEntries(QListWidget& from, QListWidget& to);

    QListWidget* LVPrint;
    QListWidget* LVNotPrint;
    // Both lists as they were when the dialog opened, for Cancel.
    std::vector<TEntry> FSavedPrint;
    std::vector<TEntry> FSavedNotPrint;
};
