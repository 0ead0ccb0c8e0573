// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QWidget;

// One key of a window's commands as the help lists it.
struct TShortcut {
    QString Keys;        // "Ctrl+N", in the desktop's spelling
    QString Description; // "New Record"
};

// The keys of every command (QAction) of window and its children, in the order the commands
// were made, leaving out those of windows of their own inside it. A command with several keys gets
// one row per key.
QList<TShortcut> WindowShortcuts(const QWidget& window);

// An HTML table of shortcuts under a heading, texts escaped.
QString ShortcutTableHtml(const QString& heading, const QList<TShortcut>& shortcuts);
