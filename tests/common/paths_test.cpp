// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "common/errorpolicy.h"
#include "common/paths.h"

namespace slate {
namespace {

struct PathCase {
    const char* input;
    const char* expected;
    char separator;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << '"' << c.input << "\" sep '" << c.separator << '\'';
}

QString q(const char* text) {
    return QString::fromUtf8(text);
}

class GetFileNameTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetFileNameTest, TakesTextAfterLastSeparator) {
    const PathCase& c = GetParam();
    EXPECT_EQ(GetFileName(q(c.input), QLatin1Char(c.separator)), q(c.expected));
}
INSTANTIATE_TEST_SUITE_P(
    Paths, GetFileNameTest,
    ::testing::Values(PathCase{R"(C:\a\b.odp)", "b.odp", '\\'}, PathCase{"b.odp", "b.odp", '\\'},
                      PathCase{R"(C:\a\)", "", '\\'}, PathCase{"/a/b.odp", "b.odp", '/'},
                      PathCase{"b.odp", "b.odp", '/'}, PathCase{"/a/", "", '/'},
                      // The other separator is plain text.
                      PathCase{R"(/a/b\c.odp)", R"(b\c.odp)", '/'}));

class GetFolderPathTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetFolderPathTest, KeepsTrailingSeparator) {
    const PathCase& c = GetParam();
    EXPECT_EQ(GetFolderPath(q(c.input), QLatin1Char(c.separator)), q(c.expected));
}
INSTANTIATE_TEST_SUITE_P(
    Paths, GetFolderPathTest,
    ::testing::Values(PathCase{R"(C:\a\b.odp)", R"(C:\a\)", '\\'}, PathCase{"b.odp", "", '\\'},
                      PathCase{R"(\\srv\share\b.odp)", R"(\\srv\share\)", '\\'},
                      PathCase{"/a/b.odp", "/a/", '/'}, PathCase{"b.odp", "", '/'},
                      PathCase{"//srv/share/b.odp", "//srv/share/", '/'},
                      PathCase{"/b.odp", "/", '/'}));

class GetExtensionTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetExtensionTest, TakesTextAfterLastDotAnywhere) {
    const PathCase& c = GetParam();
    EXPECT_EQ(GetExtension(q(c.input)), q(c.expected));
}
INSTANTIATE_TEST_SUITE_P(
    Paths, GetExtensionTest,
    ::testing::Values(PathCase{R"(C:\a\b.odp)", "odp", '\\'}, PathCase{R"(C:\a\b.)", "", '\\'},
                      PathCase{R"(C:\a\b)", R"(C:\a\b)", '\\'},
                      PathCase{R"(C:\a.b\c)", R"(b\c)", '\\'}, PathCase{"/a/b.odp", "odp", '/'},
                      PathCase{"/a/b.", "", '/'}, PathCase{"/a/b", "/a/b", '/'},
                      PathCase{"/a.b/c", "b/c", '/'}, PathCase{"/a/b.tar.gz", "gz", '/'}));

class FixBackslashesTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(FixBackslashesTest, CollapsesDoubledSeparators) {
    const PathCase& c = GetParam();
    EXPECT_EQ(FixBackslashes(q(c.input), QLatin1Char(c.separator)), q(c.expected));
}
INSTANTIATE_TEST_SUITE_P(
    Paths, FixBackslashesTest,
    ::testing::Values(PathCase{R"(C:\a\\b.ppt)", R"(C:\a\b.ppt)", '\\'},
                      PathCase{R"(C:\a\\\b.ppt)", R"(C:\a\\b.ppt)", '\\'},
                      PathCase{R"(\\srv\share\\b.ppt)", R"(\\srv\share\b.ppt)", '\\'},
                      PathCase{R"(\a\\b)", R"(\\a\b)", '\\'}, PathCase{R"(\\\)", R"(\\)", '\\'},
                      PathCase{"", "", '\\'},
                      // The native twins: a leading run becomes exactly one "/".
                      PathCase{"/a//b.ppt", "/a/b.ppt", '/'},
                      PathCase{"/a///b.ppt", "/a//b.ppt", '/'},
                      PathCase{"//srv/share//b.ppt", "/srv/share/b.ppt", '/'},
                      PathCase{"/a//b", "/a/b", '/'}, PathCase{"///", "/", '/'},
                      PathCase{"", "", '/'}, PathCase{"//name", "/name", '/'},
                      PathCase{"a////b", "a//b", '/'}));

TEST(PathPositions, LongTextsAreRefusedNotMisread) {
    const QString fits = QString(32763, QLatin1Char('a')) + QStringLiteral("/x.b");
    ASSERT_EQ(fits.size(), 32767);
    EXPECT_EQ(GetExtension(fits), QStringLiteral("b"));
    EXPECT_EQ(GetFolderPath(fits).size(), 32764);

    const QString tooLong = QString(32768, QLatin1Char('a'));
    EXPECT_THROW(GetExtension(tooLong), AppError);
    EXPECT_THROW(GetFolderPath(tooLong), AppError);
    EXPECT_EQ(GetFileName(tooLong), tooLong);
}

}  // namespace
}  // namespace slate
