#include <QStandardPaths>

#include <gtest/gtest.h>

#include "common/errorpolicy.h"
#include "common/specialfolders.h"

using namespace slate;

TEST(DesktopFolder, IsTheUsersDesktopWithATrailingSeparator) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    ASSERT_FALSE(desktop.isEmpty());
    EXPECT_EQ(GetDesktopFolder(), desktop + QLatin1Char('/'));
}

TEST(DesktopFolder, RootDesktopIsNotDoubled) {
    EXPECT_EQ(DesktopFolderFrom(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(DesktopFolderFrom(QStringLiteral("/home/u/Desktop")),
              QStringLiteral("/home/u/Desktop/"));
}

TEST(DesktopFolder, NoDesktopIsAnError) {
    EXPECT_THROW(DesktopFolderFrom(QString()), AppError);
}
