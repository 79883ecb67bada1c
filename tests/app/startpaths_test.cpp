// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/startpaths.h"
#include "joblist/joblist.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

// `slatemere-converter a.odp deck/ gone.odp`, started in a folder holding a.odp and deck/.
TEST(StartPaths, ListAFileAndAFolderTreeAndSkipAMissingPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir here(dir.path());
    const QString file = testing::writeTestFile(here.filePath(QStringLiteral("a.odp")));
    const QString inFolder = testing::writeTestFile(here.filePath(QStringLiteral("deck/b.txt")));
    const QString nested = testing::writeTestFile(here.filePath(QStringLiteral("deck/sub/c.odp")));

    JobList jobs;
    testing::RecordingReporter reporter;
    QString errText;
    QTextStream err(&errText);
    const int added = AddStartPaths(
        {QStringLiteral("a.odp"), QStringLiteral("deck/"), QStringLiteral("gone.odp"), file},
        dir.path(), jobs, reporter, err, nativeFileSystem());

    EXPECT_EQ(jobs.texts(), QStringList({file, inFolder, nested, file}));
    EXPECT_EQ(added, 4);
    EXPECT_EQ(errText, QStringLiteral("No such file or folder: gone.odp\n"));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

}  // namespace
}  // namespace slate
