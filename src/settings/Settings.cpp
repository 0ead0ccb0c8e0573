#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

struct TFolders {
    QString Program;
    QString Settings;
    QString Data;
    QString Backup;
    QString Templates;
    QString Icons;
    QString Help;
    QString AppData;
    QString Temp;
};

TFolders& Folders() {
    static TFolders folders;
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
// "Icons/" and "help/".
void SetFolders(const QString& program, const QString& settingsFolder, const QString& dataParent,
                const QString& shareFolder, const QString& appData) {
    TFolders& f = Folders();
    f.Program = program;
    f.Settings = settingsFolder + QStringLiteral("Ledgrin.ini");
    f.Data = dataParent + QStringLiteral("Data/");
    f.Backup = dataParent + QStringLiteral("Backup/");
    f.Templates = shareFolder + QStringLiteral("Templates/");
    f.Icons = shareFolder + QStringLiteral("Icons/");
    f.Help = shareFolder + QStringLiteral("help/");
    f.AppData = appData;
    f.Temp = appData.isEmpty() ? QString() : appData + QStringLiteral("Temp/");
    if (!f.AppData.isEmpty()) {
        QDir().mkpath(f.AppData);
        QDir().mkpath(f.Temp);
    }
    PrintListFont() = TPrintListFont();
}

} // namespace

void TDataGlobal::Initialize(const QString& executableFolder) {
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

void TDataGlobal::InitializeForTesting(const QString& root) {
    const QString program = WithSlash(root) + QStringLiteral("program/");
    QDir().mkpath(program);
    SetFolders(program, program, program, program, WithSlash(root) + QStringLiteral("appdata/Quillery/"));
}

QString TDataGlobal::ProgramFolder() {
    return Folders().Program;
}
QString TDataGlobal::SettingsFilePath() {
    return Folders().Settings;
}
QString TDataGlobal::DataFolder() {
    return Folders().Data;
}
QString TDataGlobal::BackupFolder() {
    return Folders().Backup;
}
QString TDataGlobal::TemplatesFolder() {
    return Folders().Templates;
}
QString TDataGlobal::TemplateFilePath() {
    return Folders().Templates + QStringLiteral("template1.tpl");
}
QString TDataGlobal::IconsFolder() {
    return Folders().Icons;
}
QString TDataGlobal::HelpFolder() {
    return Folders().Help;
}
QString TDataGlobal::AppDataFolder() {
    return Folders().AppData;
}
QString TDataGlobal::TempFolder() {
    return Folders().Temp;
}

TPrintListFont& PrintListFont() {
    static TPrintListFont font;
    return font;
}

TSettingsFile::TSettingsFile()
    : FSettings(new QSettings(TDataGlobal::SettingsFilePath(), QSettings::IniFormat)) {
    FSettings->beginGroup(QStringLiteral("Ledgrin"));
}

TSettingsFile::~TSettingsFile() {
    delete FSettings;
}

QString TSettingsFile::ReadString(const QString& key, const QString& defaultValue) const {
    const QVariant value = FSettings->value(key);
    if (!value.isValid())
        return defaultValue;
    // An unquoted value with commas in a hand-edited file comes back as a list.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

int TSettingsFile::ReadInteger(const QString& key, int defaultValue) const {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    const QString text = ReadString(key);
    if (!decimal.match(text).hasMatch())
        return defaultValue;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

void TSettingsFile::WriteString(const QString& key, const QString& value) {
    FSettings->setValue(key, value);
}

void TSettingsFile::WriteInteger(const QString& key, int value) {
    FSettings->setValue(key, QString::number(value));
}

bool TSettingsFile::Flush() {
    FSettings->sync();
    return FSettings->status() == QSettings::NoError;
}
