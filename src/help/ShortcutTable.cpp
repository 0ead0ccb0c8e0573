// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ShortcutTable.h"

#include <QAction>
#include <QCoreApplication>
#include <QSet>
#include <QWidget>

namespace {

// The caption as a menu shows it: without the "&" of its access key and without a trailing "..."
// (or the "…" that translations use).
QString PlainCaption(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    if (caption.endsWith(QStringLiteral("..."))) {
        caption.chop(3);
    } else if (caption.endsWith(QChar(0x2026))) {
        caption.chop(1);
    }
    return caption.trimmed();
}

// "ActionSetFocusToSearchBox" as "Set Focus To Search Box".
QString NameWords(const QString& objectName) {
    QString name = objectName;
    if (name.startsWith(QStringLiteral("Action"))) {
        name.remove(0, 6);
    }
    QString words;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        // A capital begins a word, unless it goes on a run of capitals ("PDFFile": "PDF File").
        const bool wordStart =
            i > 0 && c.isUpper() &&
            (name.at(i - 1).isLower() || (i + 1 < name.size() && name.at(i + 1).isLower()));
        if (wordStart) {
            words += QLatin1Char(' ');
        }
        words += c;
    }
    return words;
}

// The window whose command the action is: that of the widget it belongs to.
const QWidget* OwningWindow(const QAction& action) {
    for (const QObject* owner = action.parent(); owner != nullptr; owner = owner->parent()) {
        if (owner->isWidgetType()) {
            return static_cast<const QWidget*>(owner)->window();
        }
    }
    return nullptr;
}

// The command as its menu names it.
QString CommandName(const QString& caption, const QString& hint, const QString& objectName) {
    for (const QString& text : {PlainCaption(caption), hint.trimmed()}) {
        if (!text.isEmpty()) {
            return text;
        }
    }
    return NameWords(objectName);
}

} // namespace

QList<TShortcut> WindowShortcuts(const QWidget& window) {
    QList<TShortcut> shortcuts;
    QSet<QString> listed;
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (OwningWindow(*action) != &window) {
            continue;
        }
        for (const QKeySequence& keys : action->shortcuts()) {
            const QString text = keys.toString(QKeySequence::NativeText);
            if (!keys.isEmpty() && !listed.contains(text)) {
                listed.insert(text);
                shortcuts.append(
                    {text, CommandName(action->text(), action->statusTip(), action->objectName())});
            }
        }
    }
    return shortcuts;
}

QString ShortcutTableHtml(const QString& heading, const QList<TShortcut>& shortcuts) {
    QString html = QStringLiteral("<h2>%1</h2>\n<table class=\"keys\" border=\"1\" cellpadding=\"4\" "
                                  "cellspacing=\"0\">\n<tr><th>%2</th><th>%3</th></tr>\n")
                       .arg(heading.toHtmlEscaped(),
                            QCoreApplication::translate("ShortcutTable", "Keys").toHtmlEscaped(),
                            QCoreApplication::translate("ShortcutTable", "Command").toHtmlEscaped());
    for (const TShortcut& shortcut : shortcuts) {
        html += QStringLiteral("<tr><td><kbd>%1</kbd></td><td>%2</td></tr>\n")
                    .arg(shortcut.Keys.toHtmlEscaped(), shortcut.Description.toHtmlEscaped());
    }
    return html + QStringLiteral("</table>\n");
}
