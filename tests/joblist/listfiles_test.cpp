// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "joblist/addfolder.h"
#include "support/memoryfilesystem.h"

namespace slate {
namespace {

using testing::MemoryFileSystem;

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

void PrintTo(const WildcardCase& c, std::ostream* os) {
    *os << '"' << c.name << "\" vs \"" << c.pattern << '"';
}

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, FollowsTheClassicRules) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(MatchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    ListFiles, WildcardTest,
    ::testing::Values(
        // "*.*" is every name, with or without a dot.
        WildcardCase{"a.odp", "*.*", true}, WildcardCase{"README", "*.*", true},
        WildcardCase{".hidden", "*.*", true}, WildcardCase{"a.b.c", "*.*", true},
        // An extension pattern: case-insensitive, and no longer extensions.
        WildcardCase{"a.odp", "*.odp", true}, WildcardCase{"A.ODP", "*.odp", true},
        WildcardCase{".ODP", "*.odp", true}, WildcardCase{"a.odpx", "*.odp", false},
        WildcardCase{"aodp", "*.odp", false}, WildcardCase{"a.odp.bak", "*.odp", false},
        WildcardCase{"x.tar.odp", "*.odp", true}, WildcardCase{"notes.txt", "*.txt", true},
        WildcardCase{"notes.txt", "*.odp", false},
        // An answer typed with its own dot gives two dots.
        WildcardCase{"a.odp", "*..odp", false}, WildcardCase{"a..odp", "*..odp", true},
        // "?" is exactly one character, also a non-ASCII one.
        WildcardCase{"a1.odp", "a?.odp", true}, WildcardCase{"a.odp", "a?.odp", false},
        WildcardCase{"a12.odp", "a?.odp", false}, WildcardCase{"aé.odp", "a?.odp", true},
        WildcardCase{"ÉTÉ.odp", "été.*", true}, WildcardCase{"name", "name.*", true},
        WildcardCase{"a*b", "a*b", true}, WildcardCase{"", "*", true},
        WildcardCase{"x", "", false}));

struct SafetyCase {
    const char16_t* name;
    bool unsafe;
};

class UnsafeCharactersTest : public ::testing::TestWithParam<SafetyCase> {};

TEST_P(UnsafeCharactersTest, RefusesOnlyWhatCannotBeStored) {
    EXPECT_EQ(HasUnsafeCharacters(QString::fromUtf16(GetParam().name)), GetParam().unsafe);
}

INSTANTIATE_TEST_SUITE_P(
    ListFiles, UnsafeCharactersTest,
    ::testing::Values(SafetyCase{u"", false}, SafetyCase{u"plain name", false},
                      SafetyCase{u"café 日本", false}, SafetyCase{u"\U0001F600", false},
                      SafetyCase{u"a\x1F\tx", false}, SafetyCase{u"new\nline", false},
                      SafetyCase{u"x\x7F\x80\x9F", false}, SafetyCase{u"why?", false},
                      SafetyCase{u"\xD800x", true}, SafetyCase{u"x\xDC00", true}));

TEST(UnsafeCharacters, StoredNamesMustBeValidUtf8) {
    EXPECT_FALSE(HasUnsafeCharacters(QByteArrayView("caf\xC3\xA9")));
    EXPECT_FALSE(HasUnsafeCharacters(QByteArrayView("ok\x01?")));
    EXPECT_FALSE(HasUnsafeCharacters(QByteArrayView("")));
    EXPECT_TRUE(HasUnsafeCharacters(QByteArrayView("caf\xE9")));
    EXPECT_TRUE(HasUnsafeCharacters(QByteArrayView("\xFF\xFE")));
    EXPECT_TRUE(HasUnsafeCharacters(QByteArrayView("\xED\xA0\x80")));  // an encoded surrogate
}

class ListFilesTest : public ::testing::Test {
  protected:
    MemoryFileSystem fs;
};

TEST_F(ListFilesTest, NamesExistingFilesInListingOrder) {
    fs.addTree({"/s/b.odp", "/s/B.odp", "/s/a.ODP", "/s/c.odpx", "/s/sub/deeper.odp"});
    const QStringList expected = {"a.ODP", "B.odp", "b.odp"};
    EXPECT_EQ(ListFiles(QStringLiteral("/s"), QStringLiteral("*.odp"), fs), expected);
    EXPECT_EQ(ListFiles(QStringLiteral("/s/"), QStringLiteral("*.odp"), fs), expected);
}

TEST_F(ListFilesTest, HiddenAndSystemFilesIncludedFoldersNever) {
    fs.addFile(QStringLiteral("/s/.hidden"));
    fs.addFile(QStringLiteral("/s/system"), attribute::kSystem | attribute::kArchive);
    fs.addFile(QStringLiteral("/s/flags"), 39);
    fs.addFolder(QStringLiteral("/s/folder.odp"));
    fs.addLink(QStringLiteral("/s/folderlink"), QStringLiteral("/s/folder.odp"));
    fs.addLink(QStringLiteral("/s/filelink"), QStringLiteral("/s/system"));
    fs.addLink(QStringLiteral("/s/dangling"), QStringLiteral("/gone"));
    fs.addSpecial(QStringLiteral("/s/pipe"));
    EXPECT_EQ(ListFiles(QStringLiteral("/s"), QStringLiteral("*.*"), fs),
              QStringList({".hidden", "filelink", "flags", "system"}));
}

TEST_F(ListFilesTest, UndecodableAndUnmatchedNamesAreLeftOutAndTold) {
    fs.addFile(QStringLiteral("/s/good.odp"));
    fs.addFile(QStringLiteral("/s/notes.txt"));
    fs.addSpecial(QStringLiteral("/s/pipe.txt"));
    fs.addUndecodable(QStringLiteral("/s/bad\\xE9.odp"), MemoryFileSystem::Kind::File);
    fs.addUndecodable(QStringLiteral("/s/bad\\xE9.txt"), MemoryFileSystem::Kind::File);
    QList<std::pair<WalkSkip, QString>> told;
    const WalkNotice notice = [&](const QString& path, WalkSkip why) { told.append({why, path}); };
    EXPECT_EQ(ListFiles(QStringLiteral("/s"), QStringLiteral("*.odp"), fs, notice),
              QStringList({"good.odp"}));
    const QList<std::pair<WalkSkip, QString>> expected{
        {WalkSkip::UndecodableName, QStringLiteral("/s/bad\\xE9.odp")},
        {WalkSkip::NotMatching, QStringLiteral("/s/notes.txt")}};
    EXPECT_EQ(told, expected);
}

TEST_F(ListFilesTest, NothingToListGivesNoNames) {
    fs.addTree({"/s/a.txt", "/empty/", "/closed/a.odp"});
    fs.failListing(QStringLiteral("/closed"), listingerror::kPermissionDenied);
    EXPECT_TRUE(ListFiles(QStringLiteral("/s"), QStringLiteral("*.odp"), fs).isEmpty());
    EXPECT_TRUE(ListFiles(QStringLiteral("/empty"), QStringLiteral("*.*"), fs).isEmpty());
    EXPECT_TRUE(ListFiles(QStringLiteral("/closed"), QStringLiteral("*.*"), fs).isEmpty());
    EXPECT_TRUE(ListFiles(QStringLiteral("/missing"), QStringLiteral("*.*"), fs).isEmpty());
    EXPECT_TRUE(ListFiles(QStringLiteral("/s/a.txt"), QStringLiteral("*.*"), fs).isEmpty());
}

TEST_F(ListFilesTest, ManyMatchesAreAllReturned) {
    for (int i = 0; i < 151; ++i)
        fs.addFile(QStringLiteral("/s/f%1.odp").arg(i, 3, 10, QLatin1Char('0')));
    const QStringList names = ListFiles(QStringLiteral("/s"), QStringLiteral("*.odp"), fs);
    ASSERT_EQ(names.size(), 151);
    EXPECT_EQ(names.first(), QStringLiteral("f000.odp"));
    EXPECT_EQ(names.last(), QStringLiteral("f150.odp"));
}

TEST(IsExistingFile, OnlyExistingRegularFiles) {
    MemoryFileSystem fs;
    fs.addFile(QStringLiteral("/s/a.odp"));
    fs.addFolder(QStringLiteral("/s/sub"));
    fs.addSpecial(QStringLiteral("/s/pipe"));
    fs.addLink(QStringLiteral("/s/link"), QStringLiteral("/s/a.odp"));
    EXPECT_TRUE(IsExistingFile(QStringLiteral("/s/a.odp"), fs));
    EXPECT_TRUE(IsExistingFile(QStringLiteral("/s/link"), fs));
    EXPECT_FALSE(IsExistingFile(QStringLiteral("/s/sub"), fs));
    EXPECT_FALSE(IsExistingFile(QStringLiteral("/s/pipe"), fs));
    EXPECT_FALSE(IsExistingFile(QStringLiteral("/s/*.odp"), fs));
    EXPECT_FALSE(IsExistingFile(QStringLiteral("/s/missing.odp"), fs));
    EXPECT_FALSE(IsExistingFile(QString(), fs));
}

}  // namespace
}  // namespace slate
