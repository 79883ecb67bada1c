// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include "common/platform/filesystem.h"

namespace slate {
namespace {

using namespace attribute;

// Runs `check` as a user without special rights and answers its result; the superuser may
// read and write everything, so a check about permissions runs in a child that gave them up.
bool asOrdinaryUser(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

class PosixFileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }
    void touch(const QString& name) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    void makeFolder(const QString& name) { ASSERT_TRUE(QDir().mkpath(path(name))); }

    FileSystem& fs = nativeFileSystem();
    QTemporaryDir dir;
};

TEST_F(PosixFileSystemTest, AttributeValuesOfEachKind) {
    touch(QStringLiteral("plain.odp"));
    touch(QStringLiteral(".hidden.odp"));
    makeFolder(QStringLiteral("folder"));
    makeFolder(QStringLiteral(".hidden-folder"));
    ASSERT_EQ(::mkfifo(path(QStringLiteral("pipe")).toUtf8().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("folder")), path(QStringLiteral("folder-link"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("plain.odp")), path(QStringLiteral("file-link"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("dangling"))));

    EXPECT_EQ(fs.attributes(path(QStringLiteral("plain.odp"))), kArchive);
    EXPECT_EQ(fs.attributes(path(QStringLiteral(".hidden.odp"))), kArchive | kHidden);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("folder"))), kFolder);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("folder/"))), kFolder);
    EXPECT_EQ(fs.attributes(path(QStringLiteral(".hidden-folder/"))), kFolder | kHidden);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("pipe"))), kSystem);
    // A trailing separator must not hide that the folder is a link.
    EXPECT_EQ(fs.attributes(path(QStringLiteral("folder-link/"))), kFolder | kReparsePoint);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("file-link"))), kArchive | kReparsePoint);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("dangling"))), kReparsePoint);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("plain.odp/"))), std::nullopt);
    EXPECT_EQ(fs.attributes(path(QStringLiteral("missing"))), std::nullopt);
    EXPECT_EQ(fs.attributes(QString()), std::nullopt);
    EXPECT_TRUE(*fs.attributes(QStringLiteral("/")) & kFolder);
}

TEST_F(PosixFileSystemTest, ReadOnlyWhenTheUserMayNotWrite) {
    touch(QStringLiteral("locked.odp"));
    touch(QStringLiteral("open.odp"));
    ASSERT_EQ(::chmod(dir.path().toUtf8().constData(), 0755), 0);
    ASSERT_EQ(::chmod(path(QStringLiteral("locked.odp")).toUtf8().constData(), 0444), 0);
    ASSERT_EQ(::chmod(path(QStringLiteral("open.odp")).toUtf8().constData(), 0666), 0);
    EXPECT_TRUE(asOrdinaryUser([this] {
        return fs.attributes(path(QStringLiteral("locked.odp"))) == (kArchive | kReadOnly) &&
               fs.attributes(path(QStringLiteral("open.odp"))) == kArchive;
    }));
}

TEST_F(PosixFileSystemTest, RootFolder) {
    EXPECT_TRUE(fs.isRootFolder(QStringLiteral("/")));
    EXPECT_TRUE(fs.isRootFolder(QStringLiteral("//")));
    EXPECT_FALSE(fs.isRootFolder(dir.path()));
    EXPECT_FALSE(fs.isRootFolder(QString()));
}

TEST_F(PosixFileSystemTest, ListsEntriesWithAttributesAndNameValidity) {
    touch(QStringLiteral("a.odp"));
    touch(QStringLiteral("é日本.odp"));
    makeFolder(QStringLiteral("sub"));
    const QByteArray undecodable = path(QStringLiteral("x")).toUtf8().chopped(1) + "bad\xff.odp";
    const int fd = ::open(undecodable.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    QList<FolderEntry> entries = fs.listFolder(dir.path());
    ASSERT_EQ(entries.size(), 4);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    EXPECT_EQ(entries[0].name, QStringLiteral("a.odp"));
    EXPECT_EQ(entries[0].attributes, kArchive);
    EXPECT_TRUE(entries[0].validName);
    EXPECT_FALSE(entries[1].validName);
    EXPECT_TRUE(entries[1].name.startsWith(QStringLiteral("bad")));
    EXPECT_EQ(entries[2].name, QStringLiteral("sub"));
    EXPECT_TRUE(entries[2].isFolder());
    EXPECT_EQ(entries[3].name, QStringLiteral("é日本.odp"));
    EXPECT_TRUE(entries[3].validName);
    // Qt cannot name it, so it would stay behind.
    ::unlink(undecodable.constData());
}

TEST_F(PosixFileSystemTest, ListingFailuresCarryTheirCodes) {
    touch(QStringLiteral("file"));
    const auto codeOf = [this](const QString& folder) {
        try {
            fs.listFolder(folder);
        } catch (const FolderListingError& error) {
            EXPECT_FALSE(error.description().isEmpty());
            return error.code();
        }
        return 0;
    };
    EXPECT_EQ(codeOf(path(QStringLiteral("missing"))), listingerror::kPathNotFound);
    EXPECT_EQ(codeOf(path(QStringLiteral("file"))), listingerror::kPathNotFound);
    EXPECT_EQ(codeOf(QString()), listingerror::kPathNotFound);

    makeFolder(QStringLiteral("closed"));
    ASSERT_EQ(::chmod(dir.path().toUtf8().constData(), 0755), 0);
    ASSERT_EQ(::chmod(path(QStringLiteral("closed")).toUtf8().constData(), 0), 0);
    EXPECT_TRUE(asOrdinaryUser(
        [&] { return codeOf(path(QStringLiteral("closed"))) == listingerror::kPermissionDenied; }));
    ::chmod(path(QStringLiteral("closed")).toUtf8().constData(), 0700);
}

TEST_F(PosixFileSystemTest, RegularFilesOnlyWithoutOpeningThem) {
    touch(QStringLiteral("a.odp"));
    makeFolder(QStringLiteral("sub"));
    ASSERT_EQ(::mkfifo(path(QStringLiteral("pipe")).toUtf8().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("a.odp")), path(QStringLiteral("link"))));
    const QByteArray locked = path(QStringLiteral("a.odp")).toUtf8();

    EXPECT_TRUE(fs.state(path(QStringLiteral("a.odp"))).regularFile);
    EXPECT_TRUE(fs.state(path(QStringLiteral("link"))).regularFile);
    ASSERT_EQ(::chmod(locked.constData(), 0), 0);
    EXPECT_TRUE(fs.state(path(QStringLiteral("a.odp"))).regularFile);
    EXPECT_FALSE(fs.state(path(QStringLiteral("sub"))).regularFile);
    EXPECT_FALSE(fs.state(path(QStringLiteral("pipe"))).regularFile);  // would block if opened
    EXPECT_FALSE(fs.state(path(QStringLiteral("*.odp"))).regularFile);
    EXPECT_FALSE(fs.state(QString()).regularFile);
}

TEST_F(PosixFileSystemTest, StateAndCanonicalPath) {
    QFile written(path(QStringLiteral("a.odp")));
    ASSERT_TRUE(written.open(QIODevice::WriteOnly) && written.write("abc") == 3);
    written.close();
    makeFolder(QStringLiteral("sub"));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("sub")), path(QStringLiteral("link"))));
    const FileState file = fs.state(path(QStringLiteral("a.odp")));
    const FileState folder = fs.state(path(QStringLiteral("link")));
    EXPECT_TRUE(file.exists && file.regularFile);
    EXPECT_EQ(file.size, 3);
    EXPECT_TRUE(folder.exists && !folder.regularFile);
    EXPECT_EQ(folder.size, 0);
    EXPECT_FALSE(fs.state(path(QStringLiteral("missing"))).exists);

    const QString real = QDir(dir.path()).canonicalPath() + QStringLiteral("/sub");
    EXPECT_EQ(fs.canonicalPath(path(QStringLiteral("link/"))), real);
    EXPECT_EQ(fs.canonicalPath(path(QStringLiteral("missing"))), QString());
}

struct DecodeCase {
    const char* stored;
    const char16_t* shown;
    bool valid;
};

class DecodeFileNameTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeFileNameTest, ShowsStrayBytesAsEscapes) {
    bool valid = !GetParam().valid;
    EXPECT_EQ(decodeFileName(QByteArrayView(GetParam().stored), &valid),
              QString::fromUtf16(GetParam().shown));
    EXPECT_EQ(valid, GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Names, DecodeFileNameTest,
                         ::testing::Values(DecodeCase{"caf\xC3\xA9 \xE2\x82\xAC", u"café €", true},
                                           DecodeCase{"new\nline?", u"new\nline?", true},
                                           DecodeCase{"caf\xE9.odp", u"caf\\xE9.odp", false},
                                           DecodeCase{"\xFF\xFE\xF0\x9F\x98\x80",
                                                      u"\\xFF\\xFE\U0001F600", false},
                                           DecodeCase{"end\xE2\x82", u"end\\xE2\\x82", false},
                                           DecodeCase{"\xC0\xAF", u"\\xC0\\xAF", false},
                                           DecodeCase{"\xED\xA0\x80", u"\\xED\\xA0\\x80", false}));

}  // namespace
}  // namespace slate
