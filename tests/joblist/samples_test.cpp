// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "common/apptitle.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/settings.h"
#include "joblist/joblist.h"
#include "joblist/samples.h"
#include "support/fakes.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

using testing::RecordingReporter;
using testing::RecordingShell;
using testing::ScriptedDialogs;

QString codes(std::initializer_list<int> values) {
    QString out;
    for (const int v : values)
        out.append(QChar(v));
    return out;
}

struct ScrambleCase {
    const char* name;
    QString text;
    QString key;
    QString scrambled;
};
class Scramble : public ::testing::TestWithParam<ScrambleCase> {};

TEST_P(Scramble, GivesTheExpectedCodesAndComesBack) {
    const ScrambleCase& c = GetParam();
    EXPECT_EQ(ScrambleText(c.text, c.key), c.scrambled);
    EXPECT_EQ(UnscrambleText(c.scrambled, c.key), c.text);
}

// Beyond ASCII the codes are those of the UTF-8 bytes: "Ɔ" is C6 86, "ƅ" is C6 85.
INSTANTIATE_TEST_SUITE_P(
    Samples, Scramble,
    ::testing::Values(ScrambleCase{"Empty", QString(), QStringLiteral("quillmot"), QString()},
                      ScrambleCase{"AddsKeyCodes", QStringLiteral("AB"), QStringLiteral("ab"),
                                   codes({162, 164})},
                      ScrambleCase{"KeyCycles", QStringLiteral("aaaaa"), QStringLiteral("bc"),
                                   codes({195, 196, 195, 196, 195})},
                      ScrambleCase{"KeyLongerThanText", QStringLiteral("!"),
                                   QStringLiteral("quillmot"), codes({33 + 113})},
                      ScrambleCase{"SumOf256WrapsTo1", QString::fromUtf8("\u0186"),
                                   QStringLiteral("zz"), codes({198 + 122 - 255, 1})},
                      ScrambleCase{"SumOf255Stays255", QString::fromUtf8("\u0185"),
                                   QStringLiteral("zz"), codes({198 + 122 - 255, 255})},
                      ScrambleCase{"LowestCode", codes({1}), QStringLiteral("a"), codes({98})}),
    [](const auto& info) { return std::string(info.param.name); });

class ScrambleRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(ScrambleRoundTrip, KeepsEveryPathAndWritesOnlyCodes1To255) {
    const QString path = QString::fromUtf8(GetParam());
    for (const QString& key : {kSampleKey, QStringLiteral("zzzzzzzz"), QStringLiteral("a")}) {
        const QString scrambled = ScrambleText(path, key);
        EXPECT_EQ(scrambled.size(), path.toUtf8().size());
        for (const QChar c : scrambled) {
            EXPECT_GE(c.unicode(), 1);
            EXPECT_LE(c.unicode(), 255);
        }
        EXPECT_EQ(UnscrambleText(scrambled, key), path) << key.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, ScrambleRoundTrip,
                         ::testing::Values("/opt/Slatemere/Samples/a.odp|/opt/S/Samples/b.odp",
                                           "/home/zoë/Präsentationen/café ÿ.odp",
                                           "/home/用户/日本語のスライド.odp",
                                           "/home/u/\xF0\x9F\x93\x8A chart.odp", "~`!@#$%^&*()"));

TEST(Scramble, LeavesAsciiTextItsLengthAndDiffersFromIt) {
    const QString text = QStringLiteral("/opt/Slatemere/Samples/Welcome.odp");
    const QString scrambled = ScrambleText(text, kSampleKey);
    EXPECT_EQ(scrambled.size(), text.size());
    EXPECT_NE(scrambled, text);
}

TEST(Scramble, TheKeyIsEightLowercaseLetters) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[a-z]{8}$")).match(kSampleKey).hasMatch());
}

TEST(Scramble, ProcessesEventsBeforeEveryByte) {
    int turns = 0;
    ScrambleText(QString::fromUtf8("ab日"), kSampleKey, [&] { ++turns; });
    EXPECT_EQ(turns, 5);
    turns = 0;
    UnscrambleText(codes({10, 20, 30}), kSampleKey, [&] { ++turns; });
    EXPECT_EQ(turns, 3);
}

TEST(Scramble, RefusesWhatCouldNotComeBack) {
    EXPECT_THROW(ScrambleText(QStringLiteral("a"), QString()), AppError);
    EXPECT_THROW(UnscrambleText(QStringLiteral("a"), QString()), AppError);
    EXPECT_THROW(ScrambleText(QString(QChar(0)) + QStringLiteral("a"), kSampleKey), AppError);
    EXPECT_THROW(UnscrambleText(QStringLiteral("ab") + QChar(0x100), kSampleKey), AppError);
}

class SamplesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(program.isValid());
        settingsFile = std::make_unique<ScopedSettingsFile>(home.filePath("settings.conf"));
        folder = program.path();
    }
    QString sample(const QString& name) const {
        return folder + QStringLiteral("/Samples/") + name;
    }
    void touch(const QString& path) { testing::writeTestFile(path); }
    QString recorded() const {
        return UnscrambleText(ReadSetting(Setting::Snapshot).value_or(QStringLiteral("<missing>")),
                              kSampleKey);
    }
    void click() { LoadSamplesClick(jobs, folder, dialogs, shell, reporter, fs); }

    QTemporaryDir home;
    QTemporaryDir program;
    QString folder;
    std::unique_ptr<ScopedSettingsFile> settingsFile;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingReporter reporter;
    JobList jobs;
    FileSystem& fs = nativeFileSystem();
};

TEST_F(SamplesTest, RecordsEveryFileOfTheSampleFolderScrambled) {
    touch(sample("b.odp"));
    touch(sample("a.odp"));
    QDir().mkpath(sample("sub"));
    int turns = 0;
    RecordSampleFiles(folder, fs, [&] { ++turns; });
    const QString expected = sample("a.odp") + QLatin1Char('|') + sample("b.odp");
    EXPECT_EQ(ReadSetting(Setting::Snapshot), ScrambleText(expected, kSampleKey));
    EXPECT_EQ(recorded(), expected);
    EXPECT_EQ(turns, expected.size());
}

TEST_F(SamplesTest, AnEmptyOrMissingSampleFolderRecordsEmptyText) {
    RecordSampleFiles(folder, fs);
    EXPECT_EQ(ReadSetting(Setting::Snapshot), QString());
    QDir().mkpath(sample(QString()));
    SaveSetting(Setting::Snapshot, QStringLiteral("old"));
    RecordSampleFiles(folder, fs);
    EXPECT_EQ(ReadSetting(Setting::Snapshot), QString());
}

TEST_F(SamplesTest, LoadingAddsEachRecordedSampleOnceAndAsksEveryTime) {
    touch(sample("a.odp"));
    touch(sample("b.odp"));
    RecordSampleFiles(folder, fs);
    click();
    click();
    EXPECT_EQ(jobs.texts(), QStringList({sample("a.odp"), sample("b.odp")}));
    EXPECT_TRUE(reporter.reports.isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 2);
    for (const auto& shown : dialogs.shown) {
        EXPECT_EQ(shown.text, kOpenSamplesQuestion);
        EXPECT_EQ(shown.caption, appTitle());
        EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
        EXPECT_EQ(shown.icon, MsgIcon::None);
    }
    EXPECT_TRUE(shell.openedFolders.isEmpty());
}

TEST_F(SamplesTest, KeepsWhatIsListedAndAddsOnlyTheMissingSamplesAtTheEnd) {
    touch(sample("a.odp"));
    touch(sample("b.odp"));
    RecordSampleFiles(folder, fs);
    jobs.append(QStringLiteral("/elsewhere/x.odp"));
    jobs.append(sample("b.odp"));
    click();
    EXPECT_EQ(jobs.texts(),
              QStringList({QStringLiteral("/elsewhere/x.odp"), sample("b.odp"), sample("a.odp")}));
}

TEST_F(SamplesTest, SkipsSamplesDeletedSinceTheyWereRecordedWithoutAWord) {
    touch(sample("a.odp"));
    touch(sample("b.odp"));
    touch(sample("c.odp"));
    RecordSampleFiles(folder, fs);
    ASSERT_TRUE(QFile::remove(sample("b.odp")));
    touch(sample("new.odp"));
    click();
    EXPECT_EQ(jobs.texts(), QStringList({sample("a.odp"), sample("c.odp")}));
    EXPECT_EQ(dialogs.messageTexts(), QStringList({kOpenSamplesQuestion}));
}

TEST_F(SamplesTest, WithNothingRecordedAddsNothingButStillAsks) {
    touch(sample("a.odp"));
    click();
    EXPECT_TRUE(jobs.texts().isEmpty());
    EXPECT_EQ(dialogs.messageTexts(), QStringList({kOpenSamplesQuestion}));
    EXPECT_FALSE(ReadSetting(Setting::Snapshot).has_value());
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(SamplesTest, YesOpensTheSampleFolderAndNoDoesNot) {
    dialogs.messageAnswers << MsgAnswer::No << MsgAnswer::Yes;
    click();
    EXPECT_TRUE(shell.openedFolders.isEmpty());
    click();
    EXPECT_EQ(shell.openedFolders, QStringList({folder + QStringLiteral("/Samples/")}));
}

TEST_F(SamplesTest, SamplesUnderANonAsciiProgramFolderComeBackIntact) {
    folder = program.filePath(QString::fromUtf8("Présentations 日本"));
    touch(sample(QString::fromUtf8("Übersicht ÿ.odp")));
    touch(sample(QString::fromUtf8("会議.odp")));
    RecordSampleFiles(folder, fs);
    click();
    EXPECT_EQ(jobs.texts(), QStringList({sample(QString::fromUtf8("Übersicht ÿ.odp")),
                                         sample(QString::fromUtf8("会議.odp"))}));
}

TEST_F(SamplesTest, TheSamplesBesideTheBuiltProgramAreGenuinePresentations) {
    const QString bin = qEnvironmentVariable("SLATE_TEST_BIN_DIR");
    if (bin.isEmpty() || !QDir(bin + QStringLiteral("/Samples")).exists())
        GTEST_SKIP() << "no Samples folder beside the built program";
    folder = bin;
    RecordSampleFiles(folder, fs);
    click();
    EXPECT_GE(jobs.count(), 3);
    const QByteArray odpHeader("mimetypeapplication/vnd.oasis.opendocument.presentation");
    for (const QString& path : jobs.texts()) {
        EXPECT_TRUE(path.startsWith(folder + QStringLiteral("/Samples/"))) << path.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray head = file.read(30 + odpHeader.size());
        EXPECT_TRUE(head.startsWith("PK") && head.mid(30) == odpHeader) << path.toStdString();
        EXPECT_LT(file.size(), 100 * 1024) << path.toStdString();
    }
}

TEST_F(SamplesTest, AFailureIsReportedAtStep100AndEndsTheClick) {
    touch(sample("a.odp"));
    RecordSampleFiles(folder, fs);
    LoadSamplesClick(jobs, folder, dialogs, shell, reporter, fs,
                     [] { throw AppError(QStringLiteral("events failed")); });
    ASSERT_EQ(reporter.reports.size(), 1);
    EXPECT_EQ(reporter.reports[0].description, QStringLiteral("events failed"));
    EXPECT_EQ(reporter.reports[0].location, location::kLoadSamples);
    EXPECT_EQ(reporter.reports[0].step, 100);
    EXPECT_TRUE(jobs.texts().isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(SamplesTest, ATamperedRecordIsReportedAndChangesNothing) {
    SaveSetting(Setting::Snapshot, QString::fromUtf8("abc日"));
    jobs.append(QStringLiteral("/x.odp"));
    click();
    ASSERT_EQ(reporter.steps(), QList<int>({100}));
    EXPECT_TRUE(reporter.reports[0].description.contains(QStringLiteral("U+65E5")));
    EXPECT_EQ(jobs.texts(), QStringList({QStringLiteral("/x.odp")}));
    EXPECT_EQ(ReadSetting(Setting::Snapshot), QString::fromUtf8("abc日"));
}

}  // namespace
}  // namespace slate
