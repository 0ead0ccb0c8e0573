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

// The keys of the commands (QAction) of window and its widgets, in the order the commands were
// made; the commands of another window it owns (a dialog, the help window) are not its own. A
// command with several keys gets one row per key; a key two commands share is listed once, for
// the first. Each command goes by the name its menu shows: the caption without the "&" of its access
// key and without a trailing "...", else its hint, else the words of its name ("ActionNextCategory"
// gives "Next Category"), never the name itself.
QList<TShortcut> WindowShortcuts(const QWidget& window);

// An HTML table of shortcuts under a heading, texts escaped.
QString ShortcutTableHtml(const QString& heading, const QList<TShortcut>& shortcuts);
