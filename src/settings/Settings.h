#pragma once

#include <QString>
#include <QVariant>

// The program's folders, resolved once at start-up in one place. An installed copy (one with
// <prefix>/share/quillery/ beside its bin folder, or whose folder is not writable) keeps the
// settings in $XDG_CONFIG_HOME/Quillery/, "Data/" and "Backup/" under AppDataFolder, and reads
// "Templates/", "Icons/" and "help/" from <prefix>/share/quillery/. Any other copy (a build tree,
// a portable copy) keeps them all beside the executable. Every folder ends with "/".
class TDataGlobal {
public:
    // Start-up set-up: resolves the folders for the executable in executableFolder and creates
    // AppDataFolder and TempFolder.
    static void Initialize(const QString& executableFolder);
    // Tests: every folder under root (root/program/ holds settings, Data, Backup, Templates,
    // Icons, help; root/appdata/Quillery/ is AppDataFolder). Creates root/program and the app folders.
    static void InitializeForTesting(const QString& root);

    static QString ProgramFolder();    // the executable's folder; holds the others when writable
    static QString SettingsFilePath(); // ".../Ledgrin.ini"
    static QString DataFolder();       // ".../Data/"
    static QString BackupFolder();     // ".../Backup/"
    static QString TemplatesFolder();  // ".../Templates/"
    static QString TemplateFilePath(); // TemplatesFolder() + "template1.tpl"
    static QString IconsFolder();      // ".../Icons/"
    static QString HelpFolder();       // ".../help/": the help pages
    static QString AppDataFolder();    // "$XDG_DATA_HOME/Quillery/" (or ~/.local/share/Quillery/)
    static QString TempFolder();       // AppDataFolder() + "Temp/"
};

// The font lists are printed in: "Arial", 9 points at start, then as read from the settings.
struct TPrintListFont {
    QString Name = QStringLiteral("Arial");
    int Size = 9;
};
TPrintListFont& PrintListFont();

// The settings file "Ledgrin.ini", section "Ledgrin", opened and closed within each operation:
// make one on the stack, read or write, let it go.
class TSettingsFile {
public:
    TSettingsFile();
    ~TSettingsFile();
    TSettingsFile(const TSettingsFile&) = delete;
    TSettingsFile& operator=(const TSettingsFile&) = delete;

    QString ReadString(const QString& key, const QString& defaultValue = QString()) const;
    // A value that is missing or not a whole decimal number gives defaultValue.
    int ReadInteger(const QString& key, int defaultValue) const;
    void WriteString(const QString& key, const QString& value);
    void WriteInteger(const QString& key, int value);
    // Writes pending values to disk; false when the file could not be written.
    bool Flush();

private:
    class QSettings* FSettings;
};
