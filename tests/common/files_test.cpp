// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/files.h"

namespace slate {
namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("b.odp"));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        folder = dir.filePath(QStringLiteral("sub"));
        ASSERT_TRUE(QDir().mkdir(folder));
    }

    FileSystem& fs = nativeFileSystem();
    QTemporaryDir dir;
    QString file;
    QString folder;
};

TEST_F(FilesTest, PathExistsForFilesAndFolders) {
    EXPECT_TRUE(PathExists(file, fs));
    EXPECT_TRUE(PathExists(folder, fs));
    EXPECT_TRUE(PathExists(folder + QLatin1Char('/'), fs));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("missing.odp")), fs));
    EXPECT_FALSE(PathExists(QString(), fs));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("*.odp")), fs));
}

TEST_F(FilesTest, FolderExistsOnlyForFolders) {
    EXPECT_TRUE(FolderExists(folder, fs));
    EXPECT_TRUE(FolderExists(folder + QLatin1Char('/'), fs));
    EXPECT_TRUE(FolderExists(QStringLiteral("/"), fs));
    EXPECT_FALSE(FolderExists(file, fs));
    EXPECT_FALSE(FolderExists(file + QLatin1Char('/'), fs));
    EXPECT_FALSE(FolderExists(dir.filePath(QStringLiteral("missing")), fs));
    EXPECT_FALSE(FolderExists(QString(), fs));
}

TEST_F(FilesTest, LinksAreFollowed) {
    const QString fileLink = dir.filePath(QStringLiteral("file-link"));
    const QString folderLink = dir.filePath(QStringLiteral("folder-link"));
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(file, fileLink));
    ASSERT_TRUE(QFile::link(folder, folderLink));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dangling));
    EXPECT_TRUE(PathExists(fileLink, fs));
    EXPECT_FALSE(FolderExists(fileLink, fs));
    EXPECT_TRUE(FolderExists(folderLink, fs));
    EXPECT_FALSE(PathExists(dangling, fs));
    EXPECT_FALSE(FolderExists(dangling, fs));
}

}  // namespace
}  // namespace slate
