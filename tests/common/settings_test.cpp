// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <iostream>
#include <optional>

#include "common/errorpolicy.h"
#include "common/settings.h"

using namespace slate;

namespace {

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(f.readAll());
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString hex(const QString& text) {
    return QString::fromLatin1(text.toUtf8().toHex());
}
QString unhex(const QString& text) {
    return QString::fromUtf8(QByteArray::fromHex(text.toLatin1()));
}

QString codes1To255() {
    QString all;
    for (int c = 1; c <= 255; ++c)
        all.append(QChar(c));
    return all;
}

// Another running copy of the program: this test binary run again, doing only the writes and
// reads it is told.
struct OtherCopy {
    QString storeFile;  // empty: the per-user store of the child's environment
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    // Missing keys come back as nullopt.
    QMap<QString, std::optional<QString>> run(const QList<QPair<QString, QString>>& writes,
                                              const QStringList& reads) {
        QStringList writeList;
        for (const auto& [key, value] : writes)
            writeList << key + QLatin1Char('=') + hex(value);
        QProcessEnvironment env = environment;
        env.insert(QStringLiteral("SLATE_CHILD_STORE"), storeFile);
        env.insert(QStringLiteral("SLATE_CHILD_WRITE"), writeList.join(QLatin1Char(';')));
        env.insert(QStringLiteral("SLATE_CHILD_READ"), reads.join(QLatin1Char(',')));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=SettingsOtherCopy.DISABLED_Act"),
                     QStringLiteral("--gtest_also_run_disabled_tests")});
        EXPECT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        QMap<QString, std::optional<QString>> values;
        const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n');
        for (const QString& line : lines) {
            if (!line.startsWith(QLatin1String("READ ")))
                continue;
            const QStringList parts = line.mid(5).trimmed().split(QLatin1Char('='));
            values[parts.at(0)] = parts.at(1) == QLatin1String("-")
                                      ? std::nullopt
                                      : std::optional<QString>(unhex(parts.at(1)));
        }
        return values;
    }
};

class SettingsTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("store.conf"));
    ScopedSettingsFile scoped{file};
};

}  // namespace

// The child side of OtherCopy; runs only when a test starts it.
TEST(SettingsOtherCopy, DISABLED_Act) {
    std::optional<ScopedSettingsFile> scoped;
    if (!qEnvironmentVariableIsEmpty("SLATE_CHILD_STORE"))
        scoped.emplace(qEnvironmentVariable("SLATE_CHILD_STORE"));
    const QString writes = qEnvironmentVariable("SLATE_CHILD_WRITE");
    for (const QString& item : writes.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char('='));
        SaveSetting(parts.at(0), unhex(parts.at(1)));
    }
    const QString reads = qEnvironmentVariable("SLATE_CHILD_READ");
    for (const QString& key : reads.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<QString> value = ReadSetting(key);
        std::cout << "READ " << key.toStdString() << '='
                  << (value ? hex(*value).toStdString() : std::string("-")) << std::endl;
    }
}

struct DefaultCase {
    const char* name;
    SettingDefault fallback;
    const char* expected;
};

class SettingDefaults : public SettingsTest, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(SettingDefaults, MissingKeyGivesTheDefaultInItsTextForm) {
    SaveSetting(QStringLiteral("Other"), QStringLiteral("x"));
    EXPECT_EQ(GetSetting(QStringLiteral("Missing"), GetParam().fallback),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SettingDefaults,
    ::testing::Values(DefaultCase{"Text", "odp", "odp"},
                      DefaultCase{"QString", QStringLiteral("/home/u/Desktop/"),
                                  "/home/u/Desktop/"},
                      DefaultCase{"One", 1, "1"}, DefaultCase{"Zero", 0, "0"},
                      DefaultCase{"MinusOne", -1, "-1"}, DefaultCase{"False", false, "False"},
                      DefaultCase{"True", true, "True"}, DefaultCase{"Empty", QString(), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, MissingFileGivesDefaults) {
    EXPECT_EQ(GetSetting(Setting::Extension), QStringLiteral("odp"));
    EXPECT_EQ(GetSetting(Setting::LastFolder), QString());
    EXPECT_EQ(GetSetting(Setting::LastFolderDot), QString());
    EXPECT_EQ(GetSetting(Setting::Snapshot), QString());
    EXPECT_TRUE(GetBooleanSetting(Setting::Option1));
    EXPECT_FALSE(GetBooleanSetting(Setting::Option2));
    EXPECT_FALSE(ReadSetting(Setting::Text1).has_value());
    EXPECT_EQ(settingName(Setting::LastFolderDot), QStringLiteral("LastFolderDot"));
}

TEST_F(SettingsTest, StoredEmptyValueComesBackEmptyNotTheDefault) {
    SaveSetting(Setting::Text1, QString());
    EXPECT_EQ(GetSetting(settingName(Setting::Text1), QStringLiteral("/home/u/Desktop/")),
              QString());
    ASSERT_TRUE(ReadSetting(Setting::Text1).has_value());
    EXPECT_EQ(
        OtherCopy{file}.run({}, {settingName(Setting::Text1)}).value(settingName(Setting::Text1)),
        QString());
}

TEST_F(SettingsTest, ReadingCreatesNothing) {
    const QString nested = dir.filePath(QStringLiteral("sub/store.conf"));
    ScopedSettingsFile inner(nested);
    EXPECT_EQ(GetSetting(Setting::Option1), QStringLiteral("1"));
    EXPECT_FALSE(ReadSetting(Setting::Snapshot).has_value());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("sub"))));
}

TEST_F(SettingsTest, ReadingAnExistingFileAddsNoKey) {
    SaveSetting(Setting::Option1, QStringLiteral("True"));
    const QString before = readFile(file);
    GetSetting(Setting::Option2);
    EXPECT_EQ(readFile(file), before);
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".lock")));
}

TEST_F(SettingsTest, WriteReplacesOnlyItsOwnKey) {
    SaveSetting(Setting::Option1, QStringLiteral("True"));
    SaveSetting(Setting::Option2, QStringLiteral("False"));
    SaveSetting(Setting::Option1, QStringLiteral("False"));
    EXPECT_EQ(GetSetting(Setting::Option1), QStringLiteral("False"));
    EXPECT_EQ(GetSetting(Setting::Option2), QStringLiteral("False"));
}

TEST_F(SettingsTest, WriteIsOnDiskAtOnce) {
    SaveSetting(Setting::LastFolderDot, QStringLiteral("/data/out"));
    EXPECT_TRUE(readFile(file).contains(QStringLiteral("LastFolderDot=/data/out")));
}

TEST_F(SettingsTest, AnotherCopySeesBothOfTwoWritesAndItsWritesAreSeenHere) {
    SaveSetting(Setting::Option1, QStringLiteral("False"));
    SaveSetting(Setting::Option2, QStringLiteral("True"));
    OtherCopy other{file};
    const auto seen = other.run({}, {settingName(Setting::Option1), settingName(Setting::Option2)});
    EXPECT_EQ(seen.value(settingName(Setting::Option1)), QStringLiteral("False"));
    EXPECT_EQ(seen.value(settingName(Setting::Option2)), QStringLiteral("True"));

    // Same length as before, so only a fresh look at the file can notice the change.
    EXPECT_EQ(GetSetting(Setting::LastFolder), QString());
    SaveSetting(Setting::LastFolder, QStringLiteral("/v1"));
    EXPECT_EQ(GetSetting(Setting::LastFolder), QStringLiteral("/v1"));
    other.run({{settingName(Setting::LastFolder), QStringLiteral("/v2")}}, {});
    EXPECT_EQ(GetSetting(Setting::LastFolder), QStringLiteral("/v2"));
}

TEST_F(SettingsTest, EveryCodeFrom1To255RoundTripsAcrossProcesses) {
    const QString all = codes1To255();
    SaveSetting(Setting::Snapshot, all);
    EXPECT_EQ(OtherCopy{file}
                  .run({}, {settingName(Setting::Snapshot)})
                  .value(settingName(Setting::Snapshot)),
              all);

    QString reversed = all;
    std::reverse(reversed.begin(), reversed.end());
    OtherCopy{file}.run({{settingName(Setting::Snapshot), reversed}}, {});
    EXPECT_EQ(GetSetting(Setting::Snapshot), reversed);
}

TEST_F(SettingsTest, TextsThatLookLikeFileSyntaxRoundTripAcrossProcesses) {
    const QStringList values = {
        QStringLiteral("a, b"),          QStringLiteral("x,y"),
        QStringLiteral("@Variant(\\0)"), QStringLiteral("@@"),
        QStringLiteral("\"quoted\""),    QStringLiteral(" leading and trailing "),
        QStringLiteral(";comment"),      QStringLiteral("#hash"),
        QStringLiteral("C:\\Docs\\"),    QStringLiteral("line\r\nbreak"),
        QStringLiteral("[General]"),     QStringLiteral("k=v"),
        QStringLiteral("日本 é ü")};
    QStringList keys;
    for (int i = 0; i < values.size(); ++i) {
        keys << QStringLiteral("K%1").arg(i);
        SaveSetting(keys.last(), values.at(i));
    }
    const auto seen = OtherCopy{file}.run({}, keys);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(seen.value(keys.at(i)), values.at(i)) << i;
}

TEST(SettingsStore, PerUserFileIsUnderHarnwickAndReadingCreatesNothing) {
    QTemporaryDir home;
    OtherCopy other;
    other.environment.insert(QStringLiteral("HOME"), home.path());
    other.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));

    EXPECT_EQ(other.run({}, {settingName(Setting::Text1)}).value(settingName(Setting::Text1)),
              std::nullopt);
    EXPECT_TRUE(QDir(home.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));

    other.run({{settingName(Setting::Text1), QStringLiteral("/data/out/")}}, {});
    const QString expected = home.filePath("config/Harnwick/Slatemere Converter.conf");
    const QString text = readFile(expected);
    EXPECT_TRUE(text.contains(QStringLiteral("[General]"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Text1=/data/out/"))) << text.toStdString();
    EXPECT_EQ(other.run({}, {settingName(Setting::Text1)}).value(settingName(Setting::Text1)),
              "/data/out/");
}

TEST_F(SettingsTest, UnwritableStoreThrowsAClearError) {
    writeFile(dir.filePath("plainfile"), "not a folder");
    ScopedSettingsFile inner(dir.filePath("plainfile/store.conf"));
    try {
        SaveSetting(Setting::Text1, QStringLiteral("/x/"));
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("\"Text1\" could not be saved")))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(QStringLiteral("plainfile/store.conf")));
    }
    EXPECT_EQ(readFile(dir.filePath("plainfile")), QStringLiteral("not a folder"));
}

TEST_F(SettingsTest, ABooleanThatCannotBeReadNamesItsKeyAndTheFile) {
    SaveSetting(Setting::Option2, QStringLiteral("maybe"));
    EXPECT_TRUE(GetBooleanSetting(Setting::Option1));
    try {
        GetBooleanSetting(Setting::Option2);
        FAIL() << "accepted maybe";
    } catch (const AppError& e) {
        const QString text = e.description();
        EXPECT_TRUE(text.startsWith(QStringLiteral("Type mismatch"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("\"maybe\"")));
        EXPECT_TRUE(text.contains(QStringLiteral("\"Option2\"")));
        EXPECT_TRUE(text.contains(file)) << text.toStdString();
    }
}

TEST_F(SettingsTest, DamagedFileIsLeftIntactAndKeepsItsOtherSettings) {
    const QByteArray damaged = "[General]\nLastFolder=/keep/me\nExtension=ppt\n[Broken\nx=2\n";
    writeFile(file, damaged);
    EXPECT_THROW(SaveSetting(Setting::Text1, QStringLiteral("/new/")), AppError);
    EXPECT_EQ(readFile(file), QString::fromUtf8(damaged));
    EXPECT_EQ(GetSetting(Setting::LastFolder), QStringLiteral("/keep/me"));
    EXPECT_EQ(GetSetting(Setting::Extension), QStringLiteral("ppt"));
}

TEST_F(SettingsTest, KeysThatWouldBecomeGroupsAreRefused) {
    EXPECT_THROW(SaveSetting(QStringLiteral("a/b"), QStringLiteral("x")), AppError);
    EXPECT_THROW(SaveSetting(QStringLiteral("a\\b"), QStringLiteral("x")), AppError);
    EXPECT_THROW(GetSetting(QString()), AppError);
    EXPECT_FALSE(QFileInfo::exists(file));
}

struct BooleanCase {
    const char* text;
    bool value;
};

class ReadBooleanAccepts : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(ReadBooleanAccepts, WordsAndNumbers) {
    EXPECT_EQ(ReadBoolean(QString::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, ReadBooleanAccepts,
                         ::testing::Values(BooleanCase{"True", true}, BooleanCase{"TRUE", true},
                                           BooleanCase{"tRuE", true}, BooleanCase{"False", false},
                                           BooleanCase{"false", false}, BooleanCase{"FALSE", false},
                                           BooleanCase{"1", true}, BooleanCase{"-1", true},
                                           BooleanCase{"2", true}, BooleanCase{"0.5", true},
                                           BooleanCase{"0", false}, BooleanCase{"-0", false},
                                           BooleanCase{"0.0", false}, BooleanCase{" 1 ", true},
                                           BooleanCase{" False ", false}),
                         [](const auto& info) {
                             std::string name = std::to_string(info.index) + "_";
                             for (const char c : std::string(info.param.text))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

class ReadBooleanRefuses : public ::testing::TestWithParam<const char*> {};

TEST_P(ReadBooleanRefuses, AnythingElseWithTypeMismatch) {
    try {
        ReadBoolean(QString::fromUtf8(GetParam()));
        FAIL() << "accepted " << GetParam();
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("Type mismatch")));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ReadBooleanRefuses,
                         ::testing::Values("yes", "", "  ", "Tru", "True1", "1abc", "nan", "inf",
                                           "on"));
