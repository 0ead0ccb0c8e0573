// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/ColorDialogs.h"

#include "ui/dialogs/ScriptedAnswers.h"

#include <QColorDialog>

namespace {

TScriptedAnswers<QColor, QColor>& Script() {
    static TScriptedAnswers<QColor, QColor> script;
    return script;
}

} // namespace

namespace ColorDialogs {

QColor Run(QWidget* parent, const QColor& initial, const QString& title) {
    if (Script().Enabled()) {
        Script().RecordShown(initial);
        QColor result;
        Script().TakeAnswer(QStringLiteral("Colour dialog: ") + title, result);
        return result;
    }
    return QColorDialog::getColor(initial, parent, title);
}

} // namespace ColorDialogs

namespace ColorDialogTesting {

void Enable() {
    Script().Enable();
}
void Disable() {
    Script().Disable();
}
void QueueResult(const QColor& color) {
    Script().Queue(color);
}
int PendingResults() {
    return Script().PendingAnswers();
}
QList<QColor> TakeShown() {
    return Script().TakeShown();
}
QStringList TakeUnanswered() {
    return Script().TakeUnanswered();
}

} // namespace ColorDialogTesting
