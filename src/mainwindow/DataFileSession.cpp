// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/DataFileSession.h"

#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/Error.h"
#include "core/FileCopy.h"
#include "core/FileStamp.h"
#include "mainwindow/CheckPasswordDialog.h"
#include "mainwindow/SetPasswordDialog.h"
#include "settings/Folders.h"
#include "settings/RecentFiles.h"
#include "settings/Settings.h"
#include "ui/ErrorText.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

const char* const kTemplatesQuestion = QT_TRANSLATE_NOOP(
    "TDataFileSession",
    "You have specified a new data file. Do you want to use existing templates?\r\n\r\n"
    "Click Yes to apply existing templates to your data file, or click No to just create a blank data file."
    "\r\n\r\n");
const char* const kBackupInUse =
    QT_TRANSLATE_NOOP("TDataFileSession", "This file is in use. Can not overwrite current data file! "
                                          "Please use another file name, or save it to another folder.");
const char* const kUnwrittenChanges = QT_TRANSLATE_NOOP(
    "TDataFileSession",
    "The latest changes could not be written to the data file.\r\n\r\n"
    "Click No to keep them and stay with this data file; Quillery tries to write them again later. "
    "Click Yes to discard them.");
const char* const kWritePlain = QT_TRANSLATE_NOOP(
    "TDataFileSession",
    "Write the data file without encryption?\r\n\r\n"
    "Its records will then be readable text: anyone who copies the file can read them with another "
    "program, password or not.");
const char* const kDataFilePattern = "*.lgd";
const char* const kDataFileSuffix = "lgd";
const char* const kChangedElsewhere = QT_TRANSLATE_NOOP(
    "TDataFileSession",
    "The data file %1 was changed by another program after Quillery read it.\r\n\r\n"
    "Click Yes to open the other program's version (the changes made here since the last write are "
    "lost), No to replace it with Quillery's data, or Cancel to decide later (the changes stay "
    "unwritten).");
constexpr int kWriteCacheMs = 60000;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

FileDialogs::TOptions DataFileDialog(FileDialogs::TMode mode, const QString& title, const QString& folder) {
    FileDialogs::TOptions options;
    options.Mode = mode;
    options.Title = title;
    options.Filter = QCoreApplication::translate("TDataFileSession", "Ledgrin files (%1)")
                         .arg(QString::fromLatin1(kDataFilePattern));
    options.DefaultSuffix = QString::fromLatin1(kDataFileSuffix);
    options.Folder = folder;
    return options;
}

// Where a file dialog starts: the remembered file's folder (or with nearest, the nearest folder
// above it that still exists); otherwise the default folder, made when missing.
QString DialogFolder(const QString& remembered, const QString& fallback, bool nearest) {
    if (!remembered.isEmpty()) {
        QString folder = QFileInfo(remembered).absolutePath();
        while (nearest && !QFileInfo(folder).isDir() && !QDir(folder).isRoot())
            folder = QFileInfo(folder).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    QDir().mkpath(fallback);
    return fallback;
}

} // namespace

TDataFileSession::TDataFileSession(QWidget* window)
    : QObject(window), FWindow(window), FData(std::make_unique<TDataFile>()),
      FSetPasswordDialog(new TSetPasswordDialog(window)),
      FCheckPasswordDialog(new TCheckPasswordDialog(window)) {
    TimerWriteCache.setSingleShot(true);
    TimerWriteCache.setInterval(kWriteCacheMs);
    connect(&TimerWriteCache, &QTimer::timeout, this, &TDataFileSession::TimerWriteCacheTimer);
}

TDataFileSession::~TDataFileSession() = default;

void TDataFileSession::ShowError(const QString& text) {
    MessageBoxes::ShowError(FWindow, text);
}

void TDataFileSession::MarkDataChanged() {
    FWritePending = true;
    if (!TimerWriteCache.isActive())
        TimerWriteCache.start();
    emit DataChanged();
}

void TDataFileSession::TimerWriteCacheTimer() {
    TimerWriteCache.stop();
    Write();
}

bool TDataFileSession::FlushWriteCache() {
    if (!FWritePending)
        return true;
    TimerWriteCache.stop();
    return Write();
}

bool TDataFileSession::Write() {
    if (FPath.isEmpty())
        return true;
    try {
        if (ChangedSince(LocalPath(FPath), FStamp)) {
            // Another program wrote the file since it was read here: never overwrite it blindly.
            const QMessageBox::StandardButton answer = MessageBoxes::Show(
                FWindow, MessageBoxes::TKind::Warning, tr(kChangedElsewhere).arg(FPath),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel)
                return false;
            if (answer == QMessageBox::Yes) {
                FOpened = false;
                Open();
                return true;
            }
        }
        FStamp = FData->SaveToFile(LocalPath(FPath));
    } catch (const std::exception& error) {
        ShowError(ErrorText(error));
        return false;
    }
    FWritePending = false;
    return true;
}

bool TDataFileSession::ConfirmDiscardUnwritten() {
    return MessageBoxes::Show(FWindow, MessageBoxes::TKind::Warning, tr(kUnwrittenChanges),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TDataFileSession::Discard() {
    emit AboutToDiscard();
    FHistory.Clear();
    FData = std::make_unique<TDataFile>();
    TimerWriteCache.stop();
    FWritePending = false;
}

void TDataFileSession::Open() {
    if (FPath.isEmpty())
        ThrowAssertion(kAssertionFailure, "FormMainUnit", 833);
    Discard();
    if (QFileInfo::exists(FPath)) {
        // An encrypted file asks for its password before anything of it is read; that answer
        // then also opens the gate inside it.
        struct TCancelled {};
        std::optional<QString> typed;
        try {
            FStamp = FData->LoadFromFile(
                LocalPath(FPath),
                [&] {
                    if (FCheckPasswordDialog->exec() != QDialog::Accepted)
                        throw TCancelled();
                    typed = FCheckPasswordDialog->Password();
                    return typed->toStdString();
                },
                [this](const TMessage& finished) {
                    MessageBoxes::Show(FWindow, MessageBoxes::TKind::Information,
                                       MessageText(finished.Template, finished.Arguments), QMessageBox::Ok);
                });
        } catch (const TCancelled&) {
            Refuse();
            return;
        } catch (const EStreamError& error) {
            // The store's text names no file; the box does.
            ShowError(QStringLiteral("%1\r\n\r\n%2").arg(ErrorText(error), FPath));
            Refuse();
            return;
        } catch (const std::exception& error) {
            ShowError(ErrorText(error));
            Refuse();
            return;
        }
        if (FData->HasPassword()) {
            if (!typed && FCheckPasswordDialog->exec() != QDialog::Accepted) {
                Refuse();
                return;
            }
            if (!PasswordMatches(typed ? *typed : FCheckPasswordDialog->Password(), FData->PasswordDigest)) {
                ShowError(tr("Password error."));
                Refuse();
                return;
            }
        }
    } else {
        // A new, empty data file reaches the disk with the first write.
        FStamp = StampOf(LocalPath(FPath));
        MarkDataChanged();
    }
    // Only a file that opened becomes the one the next start opens and heads the recent files.
    TSettingsFile().WriteString(QStringLiteral("DataFile"), FPath);
    TRecentFiles::Add(FPath);
    FOpened = true;
    emit OpenedChanged(true);
}

void TDataFileSession::Refuse() {
    Discard();
    FPath.clear();
    FOpened = false;
    emit OpenedChanged(false);
}

bool TDataFileSession::Choose(const std::function<bool()>& leaving) {
    const QString remembered = TSettingsFile().ReadString(QStringLiteral("DataFile"));
    FileDialogs::TOptions options =
        DataFileDialog(FileDialogs::TMode::ChooseFile, tr("Create/Choose a Data File"),
                       DialogFolder(remembered, TFolders::DataFolder(), true));
    if (!remembered.isEmpty())
        options.FileName = QFileInfo(remembered).fileName();
    // A name that does not exist yet makes a new data file.
    options.AcceptLabel = tr("&Open or Create");
    const QString chosen = FileDialogs::Run(FWindow, options);
    if (chosen.isEmpty())
        return false;
    if (!FPath.isEmpty()) {
        if (!leaving())
            return false;
        const bool hadPending = FWritePending;
        TimerWriteCache.stop();
        if (!Write() && hadPending && !ConfirmDiscardUnwritten()) {
            // Keep the current file and its unwritten changes; retry on the next occasion.
            TimerWriteCache.start();
            return false;
        }
    }
    if (!QFileInfo::exists(chosen) && !CreateDataFile(chosen))
        return false;
    FPath = chosen;
    FOpened = false;
    Open();
    return true;
}

bool TDataFileSession::CreateDataFile(const QString& path) {
    const bool fromTemplates =
        MessageBoxes::Show(FWindow, MessageBoxes::TKind::Confirmation, tr(kTemplatesQuestion),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    // The new file is made at once, so a folder that does not exist or cannot be written is found
    // now, while the open file is still there to go back to.
    if (fromTemplates) {
        const QString source = TFolders::TemplateFilePath();
        try {
            CopyFileReplacing(LocalPath(source), LocalPath(path));
            return true;
        } catch (const std::exception& error) {
            ShowError(tr("Cannot copy the template file %1 to %2: %3\r\n\r\nThe new data file starts empty.")
                          .arg(QDir::toNativeSeparators(source), path, ErrorText(error)));
        }
    }
    try {
        TDataFile().SaveToFile(LocalPath(path));
    } catch (const std::exception& error) {
        ShowError(ErrorText(error));
        return false;
    }
    return true;
}

void TDataFileSession::SetPassword() {
    // Encryption is offered for a first password and kept for an encrypted file.
    FSetPasswordDialog->SetEncrypt(FData->IsEncrypted() || !FData->HasPassword());
    if (FSetPasswordDialog->exec() != QDialog::Accepted)
        return;
    const bool encrypt = FSetPasswordDialog->Encrypt();
    if (FData->IsEncrypted() && !encrypt &&
        MessageBoxes::Show(FWindow, MessageBoxes::TKind::Warning, tr(kWritePlain),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString password = FSetPasswordDialog->Password();
    FData->PasswordDigest = DigestOfTypedPassword(password);
    // Every password gets a key of its own, with a fresh salt.
    FData->EncryptionKey = encrypt ? TDataFileKey::Derive(password.toStdString()) : nullptr;
    MarkDataChanged();
}

void TDataFileSession::Backup() {
    if (FPath.isEmpty() || !FlushWriteCache())
        return;
    TSettingsFile settings;
    FileDialogs::TOptions options = DataFileDialog(
        FileDialogs::TMode::SaveFile, tr("Save a Copy of Data File As"),
        DialogFolder(settings.ReadString(QStringLiteral("BackupDataFile")), TFolders::BackupFolder(), false));
    options.FileName = QFileInfo(FPath).fileName();
    const QString chosen = FileDialogs::Run(FWindow, options);
    if (chosen.isEmpty())
        return;
    if (IsSameFile(LocalPath(chosen), LocalPath(FPath))) {
        ShowError(tr(kBackupInUse));
        return;
    }
    try {
        CopyFileReplacing(LocalPath(FPath), LocalPath(chosen));
    } catch (const std::exception& error) {
        ShowError(ErrorText(error));
        return;
    }
    settings.WriteString(QStringLiteral("BackupDataFile"), chosen);
}
