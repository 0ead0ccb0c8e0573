// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

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
    void Remove(const QString& key);
    // Writes pending values to disk; false when the file could not be written.
    bool Flush();

private:
    class QSettings* FSettings;
};
