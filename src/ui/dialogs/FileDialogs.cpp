// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/FileDialogs.h"

#include "ui/dialogs/MessageBoxes.h"
#include "ui/dialogs/ScriptedAnswers.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

TScriptedAnswers<QString, FileDialogs::TOptions>& Script() {
    static TScriptedAnswers<QString, FileDialogs::TOptions> script;
    return script;
}

// True when check takes path; otherwise its complaint is shown over parent.
bool Passes(QWidget* parent, const FileDialogs::TFileCheck& check, const QString& path) {
    const QString complaint = check ? check(path) : QString();
    if (complaint.isEmpty())
        return true;
    MessageBoxes::ShowError(parent, complaint);
    return false;
}

// A file dialog that closes on a chosen file only when the check takes it.
class TCheckedFileDialog : public QFileDialog {
public:
    TCheckedFileDialog(QWidget* parent, const FileDialogs::TOptions& options)
        : QFileDialog(parent, options.Title, options.Folder, options.Filter), FCheck(options.Check) {
        // Only the dialog of our own sees the choice before it closes.
        if (FCheck)
            setOption(QFileDialog::DontUseNativeDialog);
    }

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.isEmpty() || QFileInfo(files.constFirst()).isDir() ||
            Passes(this, FCheck, files.constFirst()))
            QFileDialog::accept();
    }

private:
    FileDialogs::TFileCheck FCheck;
};

} // namespace

namespace FileDialogs {

QString Run(QWidget* parent, const TOptions& options) {
    if (Script().Enabled()) {
        Script().RecordShown(options);
        QString result;
        while (Script().TakeAnswer(QStringLiteral("File dialog: ") + options.Title, result)) {
            if (result.isEmpty() || Passes(parent, options.Check, result))
                return result;
        }
        return QString();
    }
    TCheckedFileDialog dialog(parent, options);
    dialog.setDefaultSuffix(options.DefaultSuffix);
    dialog.setSizeGripEnabled(true);
    if (options.Mode == TMode::SaveFile || options.Mode == TMode::ChooseTarget) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, options.Mode == TMode::ChooseTarget);
    } else if (options.Mode == TMode::OpenFile) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
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
