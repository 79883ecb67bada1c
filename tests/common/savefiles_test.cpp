#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    EXPECT_EQ(fs.diagnose(dir.path(), QString(300, QLatin1Char('n'))), WriteProblem::NameTooLong);
    EXPECT_EQ(fs.diagnose(dir.path(), QStringLiteral("x.ppt")), WriteProblem::None);
    EXPECT_EQ(fs.diagnose(path(QStringLiteral("blocker")), QStringLiteral("x.ppt")),
              WriteProblem::FolderMissing);
}

}  // namespace
}  // namespace slate
