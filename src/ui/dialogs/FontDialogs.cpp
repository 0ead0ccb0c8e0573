// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/FontDialogs.h"

#include "ui/dialogs/ScriptedAnswers.h"

#include <QFontDialog>

namespace {

TScriptedAnswers<std::optional<QFont>, QFont>& Script() {
    static TScriptedAnswers<std::optional<QFont>, QFont> script;
    return script;
}

} // namespace

namespace FontDialogs {

std::optional<QFont> Run(QWidget* parent, const QFont& initial, const QString& title) {
    if (Script().Enabled()) {
        Script().RecordShown(initial);
        std::optional<QFont> result;
        Script().TakeAnswer(QStringLiteral("Font dialog: ") + title, result);
        return result;
    }
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, initial, parent, title);
    return accepted ? std::optional<QFont>(chosen) : std::nullopt;
}

} // namespace FontDialogs

namespace FontDialogTesting {

void Enable() {
    Script().Enable();
}
void Disable() {
    Script().Disable();
}
void QueueResult(const std::optional<QFont>& font) {
    Script().Queue(font);
}
int PendingResults() {
    return Script().PendingAnswers();
}
QList<QFont> TakeShown() {
    return Script().TakeShown();
}
QStringList TakeUnanswered() {
    return Script().TakeUnanswered();
}

} // namespace FontDialogTesting
