// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes in the settings file: every key the program reads gives text, or a whole number that
// is the key's value written in decimal, or the default; nothing crashes.

#include "settings/Folders.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "FuzzSettings: %s\n", what);
    std::abort();
}

void Prepare() {
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    static int argc = 1;
    static char name[] = "fuzz_settings";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    TFolders::InitializeForTesting(QDir::tempPath() + QStringLiteral("/quillery-fuzz-settings-") +
                                   QString::number(QCoreApplication::applicationPid()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Prepare();
    QFile file(TFolders::SettingsFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Fail("cannot write the settings file");
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    const TSettingsFile settings;
    settings.ReadString(QStringLiteral("DataFile"));
    settings.ReadString(QStringLiteral("BackupDataFile"));
    settings.ReadString(QStringLiteral("PrintListFontName"), QStringLiteral("Arial"));
    for (const char* key : {"PanelLeftWidth", "ListView1Height", "SelectedCategoryID", "PrintListFontSize"}) {
        const QString name = QString::fromLatin1(key);
        const int value = settings.ReadInteger(name, -7777);
        if (value == -7777)
            continue;
        // A number read must be what the file says, give or take a sign and leading zeros.
        bool ok = false;
        if (settings.ReadString(name).toInt(&ok, 10) != value || !ok)
            Fail("a whole number was read that the file does not hold");
    }
    return 0;
}
