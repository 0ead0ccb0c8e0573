// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ShortcutTable.h"

#include <QAction>
#include <QWidget>

namespace {

// The caption as a menu shows it: without the "&" of its access key and without a trailing "...".
QString PlainCaption(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    if (caption.endsWith(QStringLiteral("..."))) {
        caption.chop(3);
    }
    return caption.trimmed();
}

QString Description(const QAction& action) {
    for (const QString& text : {PlainCaption(action.text()), action.statusTip()}) {
        if (!text.isEmpty()) {
            return text;
        }
    }
    return action.objectName();
}

// Whether action works in window rather than in a window of its own inside it (the help window);
// the menus that pop up from window's menu bar are window's.
bool WorksIn(const QAction& action, const QWidget& window) {
    const auto* owner = qobject_cast<const QWidget*>(action.parent());
    while (owner != nullptr && owner != &window && (!owner->isWindow() || owner->windowType() == Qt::Popup))
        owner = owner->parentWidget();
    return owner == nullptr || owner == &window;
}

} // namespace

QList<TShortcut> WindowShortcuts(const QWidget& window) {
    QList<TShortcut> shortcuts;
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (!WorksIn(*action, window))
            continue;
        for (const QKeySequence& keys : action->shortcuts()) {
            if (!keys.isEmpty()) {
                shortcuts.append({keys.toString(QKeySequence::NativeText), Description(*action)});
            }
        }
    }
    return shortcuts;
}

QString ShortcutTableHtml(const QString& heading, const QList<TShortcut>& shortcuts) {
    QString html = QStringLiteral("<h2>%1</h2>\n<table class=\"keys\" border=\"1\" cellpadding=\"4\" "
                                  "cellspacing=\"0\">\n<tr><th>Keys</th><th>Command</th></tr>\n")
                       .arg(heading.toHtmlEscaped());
    for (const TShortcut& shortcut : shortcuts) {
        html += QStringLiteral("<tr><td><kbd>%1</kbd></td><td>%2</td></tr>\n")
                    .arg(shortcut.Keys.toHtmlEscaped(), shortcut.Description.toHtmlEscaped());
    }
    return html + QStringLiteral("</table>\n");
}
