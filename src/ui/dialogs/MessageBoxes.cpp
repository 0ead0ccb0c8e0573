// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/MessageBoxes.h"

#include "ui/dialogs/ScriptedAnswers.h"

#include <QCoreApplication>

namespace {

TScriptedAnswers<QMessageBox::StandardButton, MessageBoxTesting::TShownBox>& Script() {
    static TScriptedAnswers<QMessageBox::StandardButton, MessageBoxTesting::TShownBox> script;
    return script;
}

QString KindTitle(MessageBoxes::TKind kind) {
    switch (kind) {
    case MessageBoxes::TKind::Information:
        return QCoreApplication::translate("MessageBoxes", "Information");
    case MessageBoxes::TKind::Warning:
        return QCoreApplication::translate("MessageBoxes", "Warning");
    case MessageBoxes::TKind::Error:
        return QCoreApplication::translate("MessageBoxes", "Error");
    case MessageBoxes::TKind::Confirmation:
        return QCoreApplication::translate("MessageBoxes", "Confirm");
    }
    return QString();
}

QMessageBox::Icon KindIcon(MessageBoxes::TKind kind) {
    switch (kind) {
    case MessageBoxes::TKind::Information:
        return QMessageBox::Information;
    case MessageBoxes::TKind::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::TKind::Error:
        return QMessageBox::Critical;
    case MessageBoxes::TKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ScriptedAnswer(MessageBoxes::TKind kind, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
    const QString description = KindTitle(kind) + QStringLiteral(": ") + text;
    QMessageBox::StandardButton answer = MessageBoxes::EscapeAnswer(buttons);
    QMessageBox::StandardButton queued = QMessageBox::NoButton;
    if (Script().TakeAnswer(description, queued)) {
        if (queued == QMessageBox::Default) {
            answer = MessageBoxes::EnterAnswer(buttons, defaultButton);
        } else if (queued == QMessageBox::Escape) {
            answer = MessageBoxes::EscapeAnswer(buttons);
        } else if (buttons.testFlag(queued)) {
            answer = queued;
        } else {
            Script().RecordUnanswered(description + QStringLiteral(" (queued answer is not a button)"));
        }
    }
    Script().RecordShown({kind, text, buttons, answer, defaultButton});
    return answer;
}

} // namespace

namespace MessageBoxes {

QMessageBox::StandardButton EscapeAnswer(QMessageBox::StandardButtons buttons) {
    if (buttons.testFlag(QMessageBox::Cancel)) {
        return QMessageBox::Cancel;
    }
    if (buttons.testFlag(QMessageBox::No)) {
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton EnterAnswer(QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
    if (defaultButton != QMessageBox::NoButton) {
        return defaultButton;
    }
    for (const QMessageBox::StandardButton accepting :
         {QMessageBox::Ok, QMessageBox::Save, QMessageBox::Open, QMessageBox::Yes}) {
        if (buttons.testFlag(accepting)) {
            return accepting;
        }
    }
    return EscapeAnswer(buttons);
}

QMessageBox::StandardButton Show(QWidget* parent, TKind kind, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    if (Script().Enabled()) {
        return ScriptedAnswer(kind, text, buttons, defaultButton);
    }
    // The texts break lines with CR LF and may end in blank lines; the box wants neither.
    QMessageBox box(KindIcon(kind), KindTitle(kind),
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed(), buttons,
                    parent);
    box.setEscapeButton(EscapeAnswer(buttons));
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    const int result = box.exec();
    // Closing the box by its title bar gives the escape answer too.
    return buttons.testFlag(static_cast<QMessageBox::StandardButton>(result))
               ? static_cast<QMessageBox::StandardButton>(result)
               : EscapeAnswer(buttons);
}

} // namespace MessageBoxes

namespace MessageBoxTesting {

void Enable() {
    Script().Enable();
}
void Disable() {
    Script().Disable();
}
void QueueAnswer(QMessageBox::StandardButton answer) {
    Script().Queue(answer);
}
int PendingAnswers() {
    return Script().PendingAnswers();
}
QList<TShownBox> TakeShown() {
    return Script().TakeShown();
}
QStringList TakeUnanswered() {
    return Script().TakeUnanswered();
}

} // namespace MessageBoxTesting
