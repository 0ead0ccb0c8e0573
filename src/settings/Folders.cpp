// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Folders.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

struct TFolderPaths {
    QString Program;
    QString Settings;
    QString Data;
    QString Backup;
    QString Templates;
    QString Icons;
    QString Help;
    QString Translations;
    QString AppData;
    QString Temp;
};

TFolderPaths& Folders() {
    static TFolderPaths folders;
    return folders;
}

QString WithSlash(const QString& path) {
    QString cleaned = QDir::cleanPath(path);
    if (!cleaned.endsWith(QLatin1Char('/')))
        cleaned += QLatin1Char('/');
    return cleaned;
}

// Permission bits do not tell the whole story (root, read-only mounts, ACLs): only creating a
// file does.
bool CanCreateFilesIn(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral(".quillery-probe-XXXXXX"));
    return probe.open();
}

QString UserFolder(QStandardPaths::StandardLocation location) {
    const QString base = QStandardPaths::writableLocation(location);
    return base.isEmpty() ? QString() : WithSlash(base) + QStringLiteral("Quillery/");
}

// settingsFolder holds "Ledgrin.ini", dataParent "Data/" and "Backup/", shareFolder "Templates/",
// "Icons/", "help/" and "translations/".
void SetFolders(const QString& program, const QString& settingsFolder, const QString& dataParent,
                const QString& shareFolder, const QString& appData) {
    TFolderPaths& f = Folders();
    f.Program = program;
    f.Settings = settingsFolder + QStringLiteral("Ledgrin.ini");
    f.Data = dataParent + QStringLiteral("Data/");
    f.Backup = dataParent + QStringLiteral("Backup/");
    f.Templates = shareFolder + QStringLiteral("Templates/");
    f.Icons = shareFolder + QStringLiteral("Icons/");
    f.Help = shareFolder + QStringLiteral("help/");
    f.Translations = shareFolder + QStringLiteral("translations/");
    f.AppData = appData;
    f.Temp = appData.isEmpty() ? QString() : appData + QStringLiteral("Temp/");
    if (!f.AppData.isEmpty()) {
        QDir().mkpath(f.AppData);
        QDir().mkpath(f.Temp);
    }
    // A new set of folders starts with the print font the settings have not changed yet.
    PrintListFont() = TPrintListFont();
}

} // namespace

void TFolders::Initialize(const QString& executableFolder) {
    const QString program = WithSlash(executableFolder);
    const QString appData = UserFolder(QStandardPaths::GenericDataLocation);
    // Found relative to the program first, so a package or an install under any prefix (also a
    // writable one such as ~/.local) finds its own files and keeps no settings in its bin folder.
    const QString installedShare = WithSlash(program + QStringLiteral("../share/quillery"));
    QString share;
    if (QFileInfo(installedShare).isDir()) {
        share = installedShare;
    } else if (!CanCreateFilesIn(program)) {
        share = WithSlash(QStringLiteral(QUILLERY_SHARE_DIR));
    }
    if (share.isEmpty()) {
        SetFolders(program, program, program, program, appData);
    } else {
        SetFolders(program, UserFolder(QStandardPaths::GenericConfigLocation), appData, share, appData);
    }
}

void TFolders::InitializeForTesting(const QString& root) {
    const QString program = WithSlash(root) + QStringLiteral("program/");
    QDir().mkpath(program);
    SetFolders(program, program, program, program, WithSlash(root) + QStringLiteral("appdata/Quillery/"));
}

QString TFolders::ProgramFolder() {
    return Folders().Program;
}
QString TFolders::SettingsFilePath() {
    return Folders().Settings;
}
QString TFolders::DataFolder() {
    return Folders().Data;
}
QString TFolders::BackupFolder() {
    return Folders().Backup;
}
QString TFolders::TemplatesFolder() {
    return Folders().Templates;
}
QString TFolders::TemplateFilePath() {
    return Folders().Templates + QStringLiteral("template1.tpl");
}
QString TFolders::IconsFolder() {
    return Folders().Icons;
}
QString TFolders::HelpFolder() {
    return Folders().Help;
}
QString TFolders::TranslationsFolder() {
    return Folders().Translations;
}
QString TFolders::AppDataFolder() {
    return Folders().AppData;
}
QString TFolders::TempFolder() {
    return Folders().Temp;
}
