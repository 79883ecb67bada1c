// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "joblist/treefiles.h"
#include "support/memoryfilesystem.h"
#include "support/scripteddialogs.h"

namespace slate {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingReporter;

class TreeFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.addFile(QStringLiteral("/s/a.odp"));
        fs.addFile(QStringLiteral("/s/~lock.odp"));
        fs.addFile(QStringLiteral("/s/.usual-hidden.odp"));  // archive + hidden: 34
        fs.addFile(QStringLiteral("/s/only-hidden.odp"), attribute::kHidden);
        fs.addFile(QStringLiteral("/s/locked-hidden.odp"),
                   attribute::kArchive | attribute::kHidden | attribute::kReadOnly);
        fs.addFile(QStringLiteral("/s/notes.txt"));
        fs.addFile(QStringLiteral("/s/sub/b.odp"));
        fs.addFile(QStringLiteral("/s/sub/~c.odp"));
        fs.addFile(QStringLiteral("/s/closed/d.odp"));
        fs.failListing(QStringLiteral("/s/closed"), listingerror::kPermissionDenied);
    }

    QStringList add(const QString& start, const QString& pattern,
                    const ProcessEvents& events = {}) {
        QStringList added;
        const int count = AddFilesOfTree(start,
                                         {pattern, reporter, location::kAddFolder, events,
                                          [&](const QString& path) {
                                              if (path == failingPath)
                                                  throw AppError(QStringLiteral("List is full"));
                                              added.append(path);
                                          }},
                                         fs);
        EXPECT_EQ(count, added.size());
        return added;
    }

    MemoryFileSystem fs;
    RecordingReporter reporter;
    QString failingPath;
};

TEST_F(TreeFilesTest, AddsMatchingFilesOfTheWholeTree) {
    EXPECT_EQ(
        add(QStringLiteral("/s"), QStringLiteral("*.odp")),
        QStringList({"/s/a.odp", "/s/locked-hidden.odp", "/s/only-hidden.odp", "/s/sub/b.odp"}));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(TreeFilesTest, EveryExtensionWithStarDotStar) {
    EXPECT_EQ(add(QStringLiteral("/s"), QStringLiteral("*.*")),
              QStringList({"/s/a.odp", "/s/locked-hidden.odp", "/s/notes.txt", "/s/only-hidden.odp",
                           "/s/sub/b.odp"}));
}

TEST_F(TreeFilesTest, DoubledSeparatorsAreCleaned) {
    EXPECT_EQ(add(QStringLiteral("/s/"), QStringLiteral("*.txt")), QStringList({"/s/notes.txt"}));

    MemoryFileSystem rooted;
    rooted.addFile(QStringLiteral("/a.odp"));
    rooted.addFile(QStringLiteral("/usr/b.odp"));
    fs = rooted;
    EXPECT_EQ(add(QStringLiteral("/"), QStringLiteral("*.odp")),
              QStringList({"/a.odp", "/usr/b.odp"}));
}

TEST_F(TreeFilesTest, AnUnlistableStartFolderAddsNothing) {
    EXPECT_TRUE(add(QStringLiteral("/s/closed"), QStringLiteral("*.*")).isEmpty());
    EXPECT_TRUE(add(QStringLiteral("/missing"), QStringLiteral("*.*")).isEmpty());
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(TreeFilesTest, FailuresAreReportedWhereTheyHappenAndTheAddGoesOn) {
    failingPath = QStringLiteral("/s/a.odp");
    fs.hideAttributes(QStringLiteral("/s/sub/b.odp"));
    int calls = 0;
    const QStringList added = add(QStringLiteral("/s"), QStringLiteral("*.odp"), [&] {
        if (++calls == 1)
            throw AppError(QStringLiteral("Out of memory"));
    });
    // A failed attribute test counts as passed, so b.odp is still added.
    EXPECT_EQ(added, QStringList({"/s/locked-hidden.odp", "/s/only-hidden.odp", "/s/sub/b.odp"}));
    ASSERT_EQ(reporter.reports.size(), 3);
    EXPECT_EQ(reporter.reports[0].location, location::kFolderWalker);
    EXPECT_EQ(reporter.reports[0].step, 114);
    EXPECT_EQ(reporter.reports[1].location, location::kAddFolder);
    EXPECT_EQ(reporter.reports[1].step, 132);
    EXPECT_EQ(reporter.reports[1].description, QStringLiteral("List is full"));
    EXPECT_EQ(reporter.reports[2].location, location::kAddFolder);
    EXPECT_EQ(reporter.reports[2].step, 130);
}

}  // namespace
}  // namespace slate
