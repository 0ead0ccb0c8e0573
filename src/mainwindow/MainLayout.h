// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QMainWindow;
class QSplitter;
class QWidget;
class TCategoryBar;
class TRecordForm;
class TRecordList;

// The main window's panes: the category bar on the left; on the right the category header, the
// record list and the record form. It remembers the bar's width and the list's height, also
// while the right pane is hidden or not laid out yet.
class TMainLayout : public QObject {
    Q_OBJECT

public:
    // filterBar sits at the right of the category header, where no narrow window can hide it.
    TMainLayout(QMainWindow* window, QWidget* filterBar);

    TCategoryBar* CategoryBar() const { return FCategoryBar; }
    TRecordList* RecordList() const { return FRecordList; }
    TRecordForm* RecordForm() const { return FRecordForm; }
    QLabel* CategoryLabel() const { return FCategoryLabel; }
    QWidget* LeftPanel() const { return FLeftPanel; }
    QWidget* RightPanel() const { return FRightPanel; }

    void ShowRightPane(bool visible);
    // The hint that a data file has no categories yet, with its button.
    void ShowNoCategoriesHint(bool visible);
    // The remembered sizes as the settings file holds them; a value that is no whole number is
    // left alone.
    void ApplyRemembered(const QString& panelLeftWidth, const QString& listViewHeight);
    int PanelLeftWidth() const;
    int ListViewHeight() const;

signals:
    void EditTemplatesRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateRightPane(QWidget* parent, QWidget* filterBar);
    QWidget* CreateNoCategoriesHint(QWidget* parent);
    void ApplyListViewHeight();

    QSplitter* FMainSplitter;
    QWidget* FLeftPanel;
    TCategoryBar* FCategoryBar;
    QWidget* FRightPanel = nullptr;
    QWidget* FNoCategoriesHint = nullptr;
    QLabel* FCategoryLabel = nullptr;
    QSplitter* FRightSplitter = nullptr;
    TRecordList* FRecordList = nullptr;
    TRecordForm* FRecordForm = nullptr;
    int FListViewHeight;
    bool FListViewHeightPending = false;
};
