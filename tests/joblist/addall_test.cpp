// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/settings.h"
#include "joblist/addall.h"
#include "joblist/joblist.h"
#include "support/memoryfilesystem.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingReporter;
using testing::ScriptedDialogs;

class AddAllTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(tree.isValid());
        settingsFile = std::make_unique<ScopedSettingsFile>(home.filePath("settings.conf"));
    }
    void touch(const QString& relative) { testing::writeTestFile(tree.filePath(relative)); }
    QString at(const QString& relative) const { return tree.filePath(relative); }
    void click(FileSystem& fs = nativeFileSystem()) {
        AddAllFilesInFolder({dialogs, reporter, jobs, [this](bool busy) { busyCalls << busy; },
                             [this] { ++eventTurns; }, fs});
    }

    QTemporaryDir home;
    QTemporaryDir tree;
    std::unique_ptr<ScopedSettingsFile> settingsFile;
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    JobList jobs;
    QList<bool> busyCalls;
    int eventTurns = 0;
};

TEST_F(AddAllTest, AddsMatchingFilesOfTheWholeTreeLevelByLevelUnderTheBusyPointer) {
    touch("b.odp");
    touch("a.ODP");
    touch("notes.txt");
    touch("~$lock.odp");
    touch("sub/deep/c.odp");
    touch("sub/d.odp");
    dialogs.inputAnswers << "odp";
    dialogs.folderAnswers << tree.path();
    click();
    EXPECT_EQ(jobs.texts(),
              QStringList({at("a.ODP"), at("b.odp"), at("sub/d.odp"), at("sub/deep/c.odp")}));
    EXPECT_EQ(busyCalls, (QList<bool>{true, false}));
    EXPECT_GT(eventTurns, 0);
    EXPECT_TRUE(reporter.reports.isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].text, kExtensionPrompt);
    EXPECT_EQ(dialogs.shown[0].defaultAnswer, QStringLiteral("odp"));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Please select folder:"));
}

TEST_F(AddAllTest, RemembersTheExtensionEvenWhenThePickerIsCancelled) {
    dialogs.inputAnswers << "txt";
    click();
    EXPECT_TRUE(jobs.texts().isEmpty());
    EXPECT_EQ(GetSetting(Setting::Extension), QStringLiteral("txt"));
    dialogs.inputAnswers << "";
    click();
    EXPECT_EQ(dialogs.shown.last().kind, QStringLiteral("input"));
    EXPECT_EQ(dialogs.shown.last().defaultAnswer, QStringLiteral("txt"));
    EXPECT_TRUE(busyCalls.isEmpty());
}

TEST_F(AddAllTest, CancellingTheExtensionAddsAndStoresNothing) {
    dialogs.inputAnswers << "";
    click();
    EXPECT_FALSE(ReadSetting(Setting::Extension).has_value());
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(jobs.texts().isEmpty());
}

TEST_F(AddAllTest, ThePickerOpensWhereTheLastPickWasAndTwoClicksAddEverythingTwice) {
    touch("x.odp");
    dialogs.inputAnswers << "odp"
                         << "odp";
    dialogs.folderAnswers << tree.path() << tree.path();
    click();
    click();
    EXPECT_EQ(dialogs.shown[3].defaultAnswer, tree.path());
    EXPECT_EQ(GetSetting(Setting::LastFolder), tree.path());
    EXPECT_EQ(jobs.texts(), QStringList({at("x.odp"), at("x.odp")}));
}

struct AnswerCase {
    const char* answer;
    QStringList expected;
};
class AddAllAnswers : public AddAllTest, public ::testing::WithParamInterface<AnswerCase> {};
TEST_P(AddAllAnswers, AreUsedExactlyAsTyped) {
    touch("a.odp");
    touch("b.txt");
    touch("noext");
    dialogs.inputAnswers << QString::fromUtf8(GetParam().answer);
    dialogs.folderAnswers << tree.path();
    click();
    QStringList expected;
    for (const QString& name : GetParam().expected)
        expected << at(name);
    EXPECT_EQ(jobs.texts(), expected);
}
INSTANTIATE_TEST_SUITE_P(AddAll, AddAllAnswers,
                         ::testing::Values(AnswerCase{"*", {"a.odp", "b.txt", "noext"}},
                                           AnswerCase{"TXT", {"b.txt"}},
                                           AnswerCase{".odp", {}},  // "*..odp" matches none
                                           AnswerCase{"od", {}}));

TEST_F(AddAllTest, ARootFolderGivesSingleSeparators) {
    MemoryFileSystem fs;
    fs.addFile("/top.odp");
    fs.addFile("/sub/inner.odp");
    dialogs.inputAnswers << "odp";
    dialogs.folderAnswers << "/";
    click(fs);
    EXPECT_EQ(jobs.texts(), QStringList({"/top.odp", "/sub/inner.odp"}));
}

}  // namespace
}  // namespace slate
