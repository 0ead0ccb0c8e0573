// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/HelpSearch.h"

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
// home, and a find that searches the page shown and lists every page that holds the words. Made
// once; F1 shows it at the start page. Escape and Ctrl+W close it; it keeps its size in the
// settings file and never opens larger than the screen.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    // The size at the first start, before one was remembered.
    static constexpr QSize kFirstSize{900, 640};

    explicit THelpWindow(const QString& helpFolder, QWidget* parent = nullptr);

    // Shows, raises and activates the window at the start page.
    void ShowTopics();
    // The page "<!-- shortcut tables -->" lists the keys of window's commands under heading, before
    // the help window's own.
    void AddShortcutSource(const QString& heading, const QWidget* window);

    THelpBrowser* Browser() const { return FBrowser; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    // The remembered size, or the first one, made to fit the screen's free area.
    void ApplyRememberedSize();
    void FillContents();
    void SourceChanged(const QUrl& source);
    void ContentsItemActivated(QListWidgetItem* item);
    QString ShortcutTables() const;
    // Finds the search box's text from the selection on (incremental: from its start), wrapping
    // around the page.
    void FindInPage(bool backward, bool incremental);
    // Lists the pages that hold the search box's text.
    void ListFoundPages();
    // Opens the page of a found item at the first match.
    void FoundPageActivated(QListWidgetItem* item);

    THelpBrowser* FBrowser;
    QListWidget* FContents;
    QLineEdit* FFindBox;
    QLabel* FFindStatus;
    QWidget* FFoundPanel;
    QLabel* FFoundCaption;
    QListWidget* FFoundPages;
    THelpSearch FSearch;
    QAction* FBack = nullptr;
    QAction* FForward = nullptr;
    QAction* FHome = nullptr;
    QAction* FFindNext = nullptr;
    QAction* FFindPrevious = nullptr;
    QAction* FFocusFindBox = nullptr;
    QAction* FClose = nullptr;
    struct TShortcutSource {
        QString Heading;
        QPointer<const QWidget> Window;
    };
    QList<TShortcutSource> FShortcutSources;
};
