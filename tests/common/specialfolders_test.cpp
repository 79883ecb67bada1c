// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "common/errorpolicy.h"
#include "common/specialfolders.h"
#include "support/memoryfilesystem.h"

using namespace slate;
using slate::testing::MemoryFileSystem;

TEST(DesktopFolder, RootDesktopIsNotDoubled) {
    EXPECT_EQ(DesktopFolderFrom(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(DesktopFolderFrom(QStringLiteral("/home/u/Desktop")),
              QStringLiteral("/home/u/Desktop/"));
}

TEST(DesktopFolder, NoDesktopIsAnError) {
    EXPECT_THROW(DesktopFolderFrom(QString()), AppError);
}

namespace {
struct OutputFolderCase {
    const char* name;
    const char* existing;  // "" for none; a file when it ends in ".txt"
    const char* expected;
};
class DefaultOutput : public ::testing::TestWithParam<OutputFolderCase> {};
}  // namespace

TEST_P(DefaultOutput, IsTheDesktopOnlyWhenThatFolderExists) {
    MemoryFileSystem fs;
    fs.addFolder(QStringLiteral("/home/u"));
    const QString existing = QString::fromUtf8(GetParam().existing);
    if (existing.endsWith(QLatin1String(".txt")))
        fs.addFile(existing);
    else if (!existing.isEmpty())
        fs.addFolder(existing);
    const QString desktop =
        existing.endsWith(QLatin1String(".txt")) ? existing : QStringLiteral("/home/u/Desktop");
    EXPECT_EQ(DefaultOutputFolder(desktop, QStringLiteral("/home/u"), fs),
              QString::fromUtf8(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(
    DesktopFolder, DefaultOutput,
    ::testing::Values(OutputFolderCase{"Exists", "/home/u/Desktop", "/home/u/Desktop/"},
                      OutputFolderCase{"Missing", "", "/home/u/"},
                      OutputFolderCase{"AFileOfThatName", "/home/u/Desktop.txt", "/home/u/"}),
    [](const auto& info) { return info.param.name; });

TEST(DesktopFolder, WithoutEvenAHomeFolderItIsAnError) {
    MemoryFileSystem fs;
    EXPECT_THROW(DefaultOutputFolder(QString(), QString(), fs), AppError);
}
