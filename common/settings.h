#pragma once

#include <QString>

#include <optional>

// The per-user settings store: named text values under the application name "Harnwick" and
// the section "Slatemere Converter". On Linux that is the file
// $XDG_CONFIG_HOME/Harnwick/Slatemere Converter.conf, keys under [General]. Nothing is
// cached: every read looks at the store and every write is on disk when it returns, so
// another running copy sees it at its next read.
namespace slate {

// The names of every setting the program keeps.
namespace setting {
inline const QString kText1 = QStringLiteral("Text1");
inline const QString kOption1 = QStringLiteral("Option1");
inline const QString kOption2 = QStringLiteral("Option2");
inline const QString kLastFolderDot = QStringLiteral("LastFolderDot");
inline const QString kLastFolder = QStringLiteral("LastFolder");
inline const QString kExtension = QStringLiteral("Extension");
inline const QString kSnapshot = QStringLiteral("Snapshot");
}  // namespace setting

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
