// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "joblist/adddrop.h"
#include "joblist/joblist.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

class AddDropTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tree.isValid()); }
    QString touch(const QString& relative) {
        return testing::writeTestFile(tree.filePath(relative));
    }
    QString at(const QString& relative) const { return tree.filePath(relative); }
    int drop(const QStringList& paths) {
        return AddDroppedPaths(
            paths, jobs, reporter, [this] { ++eventTurns; }, nativeFileSystem());
    }

    QTemporaryDir tree;
    JobList jobs;
    testing::RecordingReporter reporter;
    int eventTurns = 0;
};

TEST_F(AddDropTest, DroppedFilesAreAddedAsTheyAreInDragOrder) {
    const QString b = touch("b.txt");
    const QString tilde = touch("~$a.odp");
    const QString a = touch("a.odp");
    EXPECT_EQ(drop({b, tilde, a}), 3);
    EXPECT_EQ(jobs.texts(), QStringList({b, tilde, a}));
}

TEST_F(AddDropTest, AFolderAddsEveryFileOfItsTreeButLockAndHiddenFiles) {
    touch("deck/one.odp");
    touch("deck/notes.txt");
    touch("deck/~$one.odp");
    touch("deck/.hidden.odp");
    touch("deck/inner/two.ppt");
    drop({at("deck")});
    EXPECT_EQ(jobs.texts(),
              QStringList({at("deck/notes.txt"), at("deck/one.odp"), at("deck/inner/two.ppt")}));
    EXPECT_GT(eventTurns, 0);
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(AddDropTest, FoldersAndFilesKeepTheOrderOfTheDrag) {
    touch("first/x.odp");
    touch("second/y.odp");
    const QString loose = touch("loose.odp");
    drop({at("second"), loose, at("first") + QLatin1Char('/')});
    EXPECT_EQ(jobs.texts(), QStringList({at("second/y.odp"), loose, at("first/x.odp")}));
}

TEST_F(AddDropTest, APathThatIsNoFolderIsAddedEvenWhenItIsMissing) {
    drop({at("gone.odp")});
    EXPECT_EQ(jobs.texts(), QStringList({at("gone.odp")}));
}

}  // namespace
}  // namespace slate
