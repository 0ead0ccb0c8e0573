// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's folders, resolved once at start-up in one place. An installed copy (one with
// <prefix>/share/quillery/ beside its bin folder, or whose folder is not writable) keeps the
// settings in $XDG_CONFIG_HOME/Quillery/, "Data/" and "Backup/" under AppDataFolder, and reads
// "Templates/", "Icons/", "help/" and "translations/" from <prefix>/share/quillery/. Any other copy (a build
// tree, a portable copy) keeps them all beside the executable. Every folder ends with "/".
class TFolders {
public:
    // Start-up set-up: resolves the folders for the executable in executableFolder and creates
    // AppDataFolder and TempFolder.
    static void Initialize(const QString& executableFolder);
    // Tests: every folder under root (root/program/ holds settings, Data, Backup, Templates,
    // Icons, help, translations; root/appdata/Quillery/ is AppDataFolder). Creates root/program and the app
    // folders.
    static void InitializeForTesting(const QString& root);

    static QString ProgramFolder();      // the executable's folder; holds the others when writable
    static QString SettingsFilePath();   // ".../Ledgrin.ini"
    static QString DataFolder();         // ".../Data/"
    static QString BackupFolder();       // ".../Backup/"
    static QString TemplatesFolder();    // ".../Templates/"
    static QString TemplateFilePath();   // TemplatesFolder() + "template1.tpl"
    static QString IconsFolder();        // ".../Icons/"
    static QString HelpFolder();         // ".../help/": the help pages
    static QString TranslationsFolder(); // ".../translations/": the program's .qm files
    static QString AppDataFolder();      // "$XDG_DATA_HOME/Quillery/" (or ~/.local/share/Quillery/)
    static QString TempFolder();         // AppDataFolder() + "Temp/"
};
