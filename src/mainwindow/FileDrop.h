// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QWidget;

// Files dropped on the main window: a data file opens as if it had been chosen, a spreadsheet
// starts the import wizard with it. Anything else, several files, or a file whose command is
// disabled now is refused, so the cursor shows no drop.
class TFileDrop : public QObject {
    Q_OBJECT

public:
    // chooseDataFile and importWorkbook are the commands a drop stands for.
    TFileDrop(QWidget* window, const QAction& chooseDataFile, const QAction& importWorkbook);

signals:
    // After the drop is over, so that its boxes and dialogs never run inside the drag.
    void DataFileDropped(const QString& path);
    void WorkbookDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QAction& FChooseDataFile;
    const QAction& FImportWorkbook;
};
