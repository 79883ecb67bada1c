// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/programfolder.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

// How a launcher may reach the program: the path handed to the rule, made inside `root`,
// where the program itself is "lib/prog/prog".
struct Reach {
    const char* name;
    QString (*make)(const QDir& root);
};

QString link(const QDir& root, const QString& target, const QString& at) {
    QDir().mkpath(QFileInfo(root.filePath(at)).path());
    EXPECT_TRUE(QFile::link(target, root.filePath(at)));
    return root.filePath(at);
}

const Reach kReaches[] = {
    {"Directly", [](const QDir& root) { return root.filePath(QStringLiteral("lib/prog/prog")); }},
    {"ThroughDotDot",
     [](const QDir& root) { return root.filePath(QStringLiteral("bin/../lib/prog/prog")); }},
    {"RelativeLinkOnPath",
     [](const QDir& root) {
         return link(root, QStringLiteral("../lib/prog/prog"), QStringLiteral("bin/prog"));
     }},
    {"LinkToALink",
     [](const QDir& root) {
         link(root, QStringLiteral("../lib/prog/prog"), QStringLiteral("bin/prog"));
         return link(root, root.filePath(QStringLiteral("bin/prog")),
                     QStringLiteral("home/me/prog"));
     }},
};

class ProgramFolderRule : public ::testing::TestWithParam<Reach> {};

TEST_P(ProgramFolderRule, IsTheFolderOfTheRealProgram) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir root(temp.path());
    testing::writeTestFile(root.filePath(QStringLiteral("lib/prog/prog")), "program");
    QDir().mkpath(root.filePath(QStringLiteral("bin")));
    const QString expected =
        QFileInfo(root.filePath(QStringLiteral("lib/prog"))).canonicalFilePath();
    EXPECT_EQ(programFolderOf(GetParam().make(root)), expected);
}

INSTANTIATE_TEST_SUITE_P(Launchers, ProgramFolderRule, ::testing::ValuesIn(kReaches),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramFolder, MissingProgramGivesNoFolder) {
    EXPECT_TRUE(programFolderOf(QStringLiteral("/nonexistent/prog")).isEmpty());
}

TEST(ProgramFolder, RunningFromTheBuildIsTheBuildsProgramFolder) {
    const QString bin = qEnvironmentVariable("SLATE_TEST_BIN_DIR");
    ASSERT_FALSE(bin.isEmpty());
    EXPECT_EQ(ProgramFolder(), QFileInfo(bin).canonicalFilePath());
}

}  // namespace
}  // namespace slate
