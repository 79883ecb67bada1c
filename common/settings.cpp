// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/settings.h"

#include <QLocale>
#include <QSettings>

#include <cmath>
#include <memory>

#include "common/errorpolicy.h"
#include "common/product.h"

namespace slate {

namespace {

QString& overridePath() {
    static QString path;
    return path;
}

// A fresh object per call: QSettings re-reads the file when another copy changed it, and the
// write is flushed before the object goes.
std::unique_ptr<QSettings> openStore() {
    std::unique_ptr<QSettings> store;
    if (overridePath().isEmpty()) {
        store =
            std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                        product::kSettingsApplication, product::kSettingsSection);
    } else {
        store = std::make_unique<QSettings>(overridePath(), QSettings::IniFormat);
    }
    // Only our own section counts: no organisation-wide or system-wide values leak in.
    store->setFallbacksEnabled(false);
    return store;
}

// A "/" or "\" would make QSettings file the value in a sub-group.
void checkKey(const QString& key) {
    if (key.isEmpty() || key.contains(QLatin1Char('/')) || key.contains(QLatin1Char('\\')))
        throw AppError(QStringLiteral("Invalid setting name \"%1\"").arg(key));
}

struct SettingEntry {
    Setting key;
    const char* name;
    SettingDefault fallback;
};

const SettingEntry& entry(Setting key) {
    static const SettingEntry table[] = {
        {Setting::Text1, "Text1", QString()},
        {Setting::Option1, "Option1", 1},
        {Setting::Option2, "Option2", 0},
        {Setting::LastFolderDot, "LastFolderDot", QString()},
        {Setting::LastFolder, "LastFolder", QString()},
        {Setting::Extension, "Extension", "odp"},
        {Setting::Snapshot, "Snapshot", QString()},
        {Setting::Offices, "Offices", "auto"},
    };
    for (const SettingEntry& e : table) {
        if (e.key == key)
            return e;
    }
    throw AppError(QStringLiteral("Unknown setting %1").arg(static_cast<int>(key)));
}

}  // namespace

QString settingName(Setting key) {
    return QString::fromLatin1(entry(key).name);
}

QString GetSetting(Setting key) {
    return GetSetting(settingName(key), entry(key).fallback);
}

std::optional<QString> ReadSetting(Setting key) {
    return ReadSetting(settingName(key));
}

void SaveSetting(Setting key, const QString& value) {
    SaveSetting(settingName(key), value);
}

bool GetBooleanSetting(Setting key) {
    return GetBooleanSetting(settingName(key), entry(key).fallback);
}

std::optional<QString> ReadSetting(const QString& key) {
    checkKey(key);
    const auto store = openStore();
    if (!store->contains(key))
        return std::nullopt;
    return store->value(key).toString();
}

QString GetSetting(const QString& key, const SettingDefault& fallback) {
    return ReadSetting(key).value_or(fallback.text());
}

void SaveSetting(const QString& key, const QString& value) {
    checkKey(key);
    const auto store = openStore();
    // QSettings would rewrite a file it could not parse from the part it understood.
    if (store->status() == QSettings::FormatError) {
        throw AppError(QStringLiteral("The settings file \"%1\" is damaged. It was left unchanged "
                                      "and the setting \"%2\" was not saved.")
                           .arg(store->fileName(), key));
    }
    store->setValue(key, value);
    store->sync();
    if (store->status() != QSettings::NoError) {
        throw AppError(QStringLiteral("The setting \"%1\" could not be saved: the settings file "
                                      "\"%2\" cannot be read or written.")
                           .arg(key, store->fileName()));
    }
}

bool ReadBoolean(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = QLocale::c().toDouble(word, &ok);
    if (ok && std::isfinite(number))
        return number != 0.0;
    throw AppError(
        QStringLiteral("Type mismatch: \"%1\" is neither True, False nor a number").arg(text));
}

bool GetBooleanSetting(const QString& key, const SettingDefault& fallback) {
    const QString text = GetSetting(key, fallback);
    try {
        return ReadBoolean(text);
    } catch (const AppError& e) {
        // The user has to find the value to mend it.
        throw AppError(QStringLiteral("%1 (the setting \"%2\" in the settings file \"%3\")")
                           .arg(e.description(), key, settingsFilePath()));
    }
}

QString settingsFilePath() {
    return openStore()->fileName();
}

void setSettingsFile(const QString& path) {
    overridePath() = path;
}

QString settingsFileOverride() {
    return overridePath();
}

}  // namespace slate
