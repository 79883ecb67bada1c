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

    QTemporaryDir dir;
    QString file;
    QString folder;
};

TEST_F(FilesTest, PathExistsForFilesAndFolders) {
    EXPECT_TRUE(PathExists(file));
    EXPECT_TRUE(PathExists(folder));
    EXPECT_TRUE(PathExists(folder + QLatin1Char('/')));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("missing.odp"))));
    EXPECT_FALSE(PathExists(QString()));
    EXPECT_FALSE(PathExists(dir.filePath(QStringLiteral("*.odp"))));
}

TEST_F(FilesTest, FolderExistsOnlyForFolders) {
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(folder + QLatin1Char('/')));
    EXPECT_TRUE(FolderExists(QStringLiteral("/")));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_FALSE(FolderExists(file + QLatin1Char('/')));
    EXPECT_FALSE(FolderExists(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(FolderExists(QString()));
}

TEST_F(FilesTest, LinksAreFollowed) {
    const QString fileLink = dir.filePath(QStringLiteral("file-link"));
    const QString folderLink = dir.filePath(QStringLiteral("folder-link"));
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(file, fileLink));
    ASSERT_TRUE(QFile::link(folder, folderLink));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dangling));
    EXPECT_TRUE(PathExists(fileLink));
    EXPECT_FALSE(FolderExists(fileLink));
    EXPECT_TRUE(FolderExists(folderLink));
    EXPECT_FALSE(PathExists(dangling));
    EXPECT_FALSE(FolderExists(dangling));
}

}  // namespace
}  // namespace slate
