// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/platform/filesystem.h"

namespace slate {
namespace {

class SaveFilesTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir dir;
    FileSystem& fs = nativeFileSystem();
};

TEST_F(SaveFilesTest, APrivateFolderIsRemovedWithItsContentButNotWhatItsLinksLeadTo) {
    WriteProblem problem = WriteProblem::Unknown;
    const QString folder = fs.createSaveFolder(dir.path(), &problem);
    ASSERT_EQ(problem, WriteProblem::None);
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith(QStringLiteral(".slatemere-save-")));
    EXPECT_EQ(QFile::permissions(folder) & (QFile::ReadOther | QFile::ReadGroup), 0);
    write(QStringLiteral("keep/precious.txt"), "precious");
    const QString inside = QFileInfo(folder).fileName() + QLatin1Char('/');
    write(inside + QStringLiteral("lu1.tmp"), "half");
    write(inside + QStringLiteral("deeper/x.ppt"), "half");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("keep")), folder + QStringLiteral("/link")));

    fs.removeSaveFolder(folder);

    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("keep/precious.txt"))));
}

TEST_F(SaveFilesTest, WhatTheSystemTellsAboutAFailedWrite) {
    write(QStringLiteral("blocker"), "");
    QDir().mkpath(path(QStringLiteral("folder/x.ppt")));
    write(QStringLiteral("new.ppt"), "new");
    WriteProblem problem = WriteProblem::None;

    EXPECT_EQ(fs.createSaveFolder(path(QStringLiteral("missing")), &problem), QString());
    EXPECT_EQ(problem, WriteProblem::FolderMissing);
    EXPECT_EQ(fs.replace(path(QStringLiteral("new.ppt")), path(QStringLiteral("folder/x.ppt"))),
              WriteProblem::FolderInTheWay);
    EXPECT_EQ(fs.diagnose(dir.path(), QString(300, QLatin1Char('n')), 1),
              WriteProblem::NameTooLong);
    EXPECT_EQ(fs.diagnose(dir.path(), QStringLiteral("x.ppt"), 1), WriteProblem::None);
    EXPECT_EQ(fs.diagnose(path(QStringLiteral("blocker")), QStringLiteral("x.ppt"), 1),
              WriteProblem::FolderMissing);
}

struct SpaceCase {
    const char* name;
    qint64 freeBytes;  // left on the file system
    WriteProblem expected;
};

void PrintTo(const SpaceCase& c, std::ostream* os) {
    *os << c.name;
}

class SpaceTest : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(SpaceTest, NoSpaceIsTheCauseWheneverAResultCouldNotHaveFitted) {
    const SpaceCase& c = GetParam();
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    const pid_t child = ::fork();
    if (child == 0) {
        // A small file system of this process' own, filled up to what the case leaves.
        const bool mounted =
            (::unshare(CLONE_NEWNS) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=2m") == 0;
        if (!mounted)
            ::_exit(100);
        struct statvfs fs {};
        ::statvfs(mountPoint.constData(), &fs);
        const qint64 fill = qint64(fs.f_bavail) * qint64(fs.f_frsize) - c.freeBytes;
        QFile filler(dir.filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly) || filler.write(QByteArray(fill, 'x')) != fill)
            ::_exit(101);
        filler.close();
        ::_exit(
            int(nativeFileSystem().diagnose(dir.path(), QStringLiteral("s03.ppt"), 400 * 1024)));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 100)
        GTEST_SKIP() << "no file system can be mounted here (needs mount rights)";
    EXPECT_EQ(WEXITSTATUS(status), int(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Room, SpaceTest,
    ::testing::Values(SpaceCase{"NothingLeft", 0, WriteProblem::NoSpace},
                      SpaceCase{"LessThanAResult", 200 * 1024, WriteProblem::NoSpace},
                      SpaceCase{"RoomForAResult", 1024 * 1024, WriteProblem::None}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace slate
