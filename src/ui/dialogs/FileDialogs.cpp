#include "ui/dialogs/FileDialogs.h"

#include "ui/dialogs/ScriptedAnswers.h"

#include <QDir>
#include <QFileDialog>

namespace {

TScriptedAnswers<QString, FileDialogs::TOptions>& Script() {
    static TScriptedAnswers<QString, FileDialogs::TOptions> script;
    return script;
}

} // namespace

namespace FileDialogs {

QString Run(QWidget* parent, const TOptions& options) {
    if (Script().Enabled()) {
        Script().RecordShown(options);
        QString result;
        Script().TakeAnswer(QStringLiteral("File dialog: ") + options.Title, result);
        return result;
    }
    QFileDialog dialog(parent, options.Title, options.Folder, options.Filter);
    dialog.setDefaultSuffix(options.DefaultSuffix);
    dialog.setSizeGripEnabled(true);
    if (options.Mode == TMode::SaveFile) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!options.AcceptLabel.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, options.AcceptLabel);
    if (!options.FileName.isEmpty()) {
        dialog.selectFile(QDir(options.Folder).filePath(options.FileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace FileDialogs

namespace FileDialogTesting {

void Enable() {
    Script().Enable();
}
void Disable() {
    Script().Disable();
}
void QueueResult(const QString& path) {
    Script().Queue(path);
}
int PendingResults() {
    return Script().PendingAnswers();
}
QList<FileDialogs::TOptions> TakeShown() {
    return Script().TakeShown();
}
QStringList TakeUnanswered() {
    return Script().TakeUnanswered();
}

} // namespace FileDialogTesting
