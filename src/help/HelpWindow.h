// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class THelpBrowser;

// The help window: the contents (the links of the start page) beside the page, back, forward and
// home, and a search of the page's text. Made once; F1 shows it at the start page.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(const QString& helpFolder, QWidget* parent = nullptr);

    // Shows, raises and activates the window at the start page.
    void ShowTopics();
    // The page "<!-- shortcut tables -->" lists the keys of window's commands under heading.
    void AddShortcutSource(const QString& heading, const QWidget* window);

    THelpBrowser* Browser() const { return FBrowser; }

private:
    void CreateActions();
    void FillContents();
    void SourceChanged(const QUrl& source);
    void ContentsItemActivated(QListWidgetItem* item);
    QString ShortcutTables() const;
    // Finds the search box's text from the selection on (incremental: from its start), wrapping
    // around the page.
    void FindInPage(bool backward, bool incremental);

    THelpBrowser* FBrowser;
    QListWidget* FContents;
    QLineEdit* FFindBox;
    QLabel* FFindStatus;
    QAction* FBack = nullptr;
    QAction* FForward = nullptr;
    QAction* FHome = nullptr;
    QAction* FFindNext = nullptr;
    QAction* FFindPrevious = nullptr;
    QAction* FFocusFindBox = nullptr;
    struct TShortcutSource {
        QString Heading;
        QPointer<const QWidget> Window;
    };
    QList<TShortcutSource> FShortcutSources;
};
