// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <optional>

// The per-user settings store: named text values under the application name "Harnwick" and
// the section "Slatemere Converter". On Linux that is the file
// $XDG_CONFIG_HOME/Harnwick/Slatemere Converter.conf, keys under [General]. Nothing is
// cached: every read looks at the store and every write is on disk when it returns, so
// another running copy sees it at its next read.
namespace slate {

// A default as a reader states it: a text, a number or a Boolean. It comes back in its text
// form: 1, 0, False, odp.
class SettingDefault {
  public:
    SettingDefault(const QString& text) : text_(text) {}
    SettingDefault(const char* text) : text_(QString::fromUtf8(text)) {}
    SettingDefault(int number) : text_(QString::number(number)) {}
    SettingDefault(bool value) : text_(value ? QStringLiteral("True") : QStringLiteral("False")) {}

    const QString& text() const { return text_; }

  private:
    QString text_;
};

// The stored text, even when it is empty; the default when the key is missing. Reading never
// creates the file, its folder or the key.
QString GetSetting(const QString& key, const SettingDefault& fallback = QString());
// The stored text, or nothing when the key is missing.
std::optional<QString> ReadSetting(const QString& key);
// Writes the value and returns once it is on disk. Throws AppError when it could not be
// stored; a damaged file is then left as it was, so no other setting is lost.
void SaveSetting(const QString& key, const QString& value);

// True/False in any letter case, or a number (zero false, anything else true); any other text
// throws AppError.
bool ReadBoolean(const QString& text);
// A setting read as a Boolean; a stored text that is not one throws AppError naming the key
// and the settings file.
bool GetBooleanSetting(const QString& key, const SettingDefault& fallback);

// Every setting the program keeps. Each one's name and the default its readers get when it
// is missing stand once, in the table behind settingName().
enum class Setting {
    Text1,          // the output folder; missing means the Desktop, looked up by the reader
    Option1,        // "Save results to this folder:" selected
    Option2,        // "Save results in folder of original file" selected
    LastFolderDot,  // where the output folder picker opens
    LastFolder,     // where the add-folder picker opens
    Extension,      // the extension the folder add looks for
    Snapshot,       // the sample files, scrambled; empty until recorded
    Offices,        // how many offices a run may use at most; "auto" for one per core
};

QString settingName(Setting key);
QString GetSetting(Setting key);
std::optional<QString> ReadSetting(Setting key);
void SaveSetting(Setting key, const QString& value);
bool GetBooleanSetting(Setting key);

// The file that holds the settings.
QString settingsFilePath();
// Keeps the settings in `path` instead of the per-user store; empty text goes back to it.
void setSettingsFile(const QString& path);
QString settingsFileOverride();

// Points the store at another file for its lifetime.
class ScopedSettingsFile {
  public:
    explicit ScopedSettingsFile(const QString& path) : previous_(settingsFileOverride()) {
        setSettingsFile(path);
    }
    ~ScopedSettingsFile() { setSettingsFile(previous_); }
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

  private:
    QString previous_;
};

}  // namespace slate
