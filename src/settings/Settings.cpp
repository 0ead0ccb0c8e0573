// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Settings.h"

#include "settings/Folders.h"

#include <QRegularExpression>
#include <QSettings>

TPrintListFont& PrintListFont() {
    static TPrintListFont font;
    return font;
}

TSettingsFile::TSettingsFile()
    : FSettings(new QSettings(TFolders::SettingsFilePath(), QSettings::IniFormat)) {
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

void TSettingsFile::Remove(const QString& key) {
    FSettings->remove(key);
}

bool TSettingsFile::Flush() {
    FSettings->sync();
    return FSettings->status() == QSettings::NoError;
}
