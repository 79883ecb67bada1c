// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QUrl>

#include <gtest/gtest.h>

#include "convert/fileurl.h"

namespace slate {
namespace {

struct UrlCase {
    const char* path;  // UTF-8
    char separator;
    const char* url;
};

void PrintTo(const UrlCase& c, std::ostream* os) {
    *os << '"' << c.path << "\" with '" << c.separator << '\'';
}

class FileUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(FileUrlTest, EncodesPathIntoFileUrl) {
    const UrlCase& c = GetParam();
    EXPECT_EQ(fileUrlFromPath(QString::fromUtf8(c.path), QLatin1Char(c.separator)),
              QString::fromUtf8(c.url));
}

INSTANTIATE_TEST_SUITE_P(
    DriveLetterPaths, FileUrlTest,
    ::testing::Values(
        UrlCase{"C:\\Talks\\Q1.odp", '\\', "file:///C:/Talks/Q1.odp"},
        UrlCase{"\\\\srv\\share\\a.odp", '\\', "file://///srv/share/a.odp"},
        UrlCase{"", '\\', "file:///"},
        UrlCase{"C:\\My Talks\\a.odp", '\\', "file:///C:/My%20Talks/a.odp"},
        UrlCase{"C:\\x\\a#b.odp", '\\', "file:///C:/x/a%23b.odp"},
        UrlCase{"C:\\x\\100%.odp", '\\', "file:///C:/x/100%25.odp"},
        // Unencoded, the office would read this as "aA.odp".
        UrlCase{"C:\\x\\a%41.odp", '\\', "file:///C:/x/a%2541.odp"},
        UrlCase{"C:\\x\\\xC3\xA9t\xC3\xA9.odp", '\\', "file:///C:/x/%C3%A9t%C3%A9.odp"},
        UrlCase{"C:\\\xE6\x97\xA5\xE6\x9C\xAC\\a.odp", '\\', "file:///C:/%E6%97%A5%E6%9C%AC/a.odp"},
        // A slash is not the separator here, but still one in the URL.
        UrlCase{"C:\\x/y\\a.odp", '\\', "file:///C:/x/y/a.odp"}));

INSTANTIATE_TEST_SUITE_P(
    NativePaths, FileUrlTest,
    ::testing::Values(UrlCase{"/home/u/Q1.odp", '/', "file:///home/u/Q1.odp"},
                      UrlCase{"", '/', "file:///"},
                      UrlCase{"/home/u/My Talks/a.odp", '/', "file:///home/u/My%20Talks/a.odp"},
                      UrlCase{"/home/u/a#b.odp", '/', "file:///home/u/a%23b.odp"},
                      UrlCase{"/home/u/a%41.odp", '/', "file:///home/u/a%2541.odp"},
                      UrlCase{"/home/u/\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.odp", '/',
                              "file:///home/u/%C3%A9/%E6%97%A5%E6%9C%AC.odp"},
                      UrlCase{"/home/u/q?.odp", '/', "file:///home/u/q%3F.odp"},
                      // A backslash is an ordinary character of a native name.
                      UrlCase{"/home/u/a\\b.odp", '/', "file:///home/u/a%5Cb.odp"}));

class FileUrlRoundTripTest : public ::testing::TestWithParam<const char*> {};

// Whatever the office's URL parser makes of the URL must be the file we meant.
TEST_P(FileUrlRoundTripTest, UrlLeadsBackToTheSamePath) {
    const QString path = QString::fromUtf8(GetParam());
    const QUrl url(fileUrlFromPath(path, QLatin1Char('/')), QUrl::StrictMode);
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_EQ(url.toLocalFile(), path);
}

INSTANTIATE_TEST_SUITE_P(NativePaths, FileUrlRoundTripTest,
                         ::testing::Values("/home/u/Q1.odp", "/home/u/My Talks/a b.odp",
                                           "/tmp/a#b.odp", "/tmp/a%41.odp", "/tmp/100%.odp",
                                           "/tmp/%%.odp", "/tmp/q?x=1&y.odp",
                                           "/tmp/semi;colon:[x].odp",
                                           "/tmp/\xC3\xA9t\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.odp",
                                           "/tmp/back\\slash.odp", "/tmp/plus+tilde~.odp", "/"));

}  // namespace
}  // namespace slate
