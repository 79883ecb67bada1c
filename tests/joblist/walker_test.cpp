// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "common/errorlocations.h"
#include "joblist/addfolder.h"
#include "support/memoryfilesystem.h"
#include "support/scripteddialogs.h"

namespace slate {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingReporter;

constexpr int kHiddenSystemFolder = 22;

QStringList walk(QStringList start, FileSystem& fs, RecordingReporter& reporter,
                 bool recurse = true, const ProcessEvents& events = {}) {
    GetSubDirectories2016(start, recurse, reporter, events, fs);
    return start;
}

class WalkerTest : public ::testing::Test {
  protected:
    QStringList walk(const QStringList& start, bool recurse = true,
                     const ProcessEvents& events = {}) {
        return slate::walk(start, fs, reporter, recurse, events);
    }

    MemoryFileSystem fs;
    RecordingReporter reporter;
};

TEST_F(WalkerTest, ExtendsLevelByLevelInListingOrder) {
    fs.addFolder(QStringLiteral("/s/B"));
    fs.addFolder(QStringLiteral("/s/A/A1"));
    fs.addFolder(QStringLiteral("/s/A/a0"));
    fs.addFolder(QStringLiteral("/s/B/B1/deep"));
    fs.addFile(QStringLiteral("/s/A/file"));
    EXPECT_EQ(walk({QStringLiteral("/s/")}),
              QStringList(
                  {"/s/", "/s/A/", "/s/B/", "/s/A/a0/", "/s/A/A1/", "/s/B/B1/", "/s/B/B1/deep/"}));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(WalkerTest, ListingOrderIsCaseInsensitiveThenExact) {
    for (const char* name : {"b", "B", "a", "C", "A"})
        fs.addFolder(QStringLiteral("/s/") + QLatin1String(name));
    EXPECT_EQ(walk({QStringLiteral("/s/")}),
              QStringList({"/s/", "/s/A/", "/s/a/", "/s/B/", "/s/b/", "/s/C/"}));
}

TEST_F(WalkerTest, WithoutRecurseOnlyDirectSubFolders) {
    fs.addFolder(QStringLiteral("/s/A/A1"));
    fs.addFolder(QStringLiteral("/t/B"));
    EXPECT_EQ(walk({QStringLiteral("/s/"), QStringLiteral("/t/")}, false),
              QStringList({"/s/", "/t/", "/s/A/", "/t/B/"}));
}

TEST_F(WalkerTest, HiddenSystemFoldersAreNeitherExpandedNorAdded) {
    fs.addFolder(QStringLiteral("/s/sys"), kHiddenSystemFolder);
    fs.addFolder(QStringLiteral("/s/sys/inner"));
    fs.addFolder(QStringLiteral("/s/syslink"), kHiddenSystemFolder | attribute::kReparsePoint);
    fs.addFolder(QStringLiteral("/s/syslink/inner"));
    fs.addFolder(QStringLiteral("/s/.hidden/inner"));
    fs.addFolder(QStringLiteral("/s/archived"), kHiddenSystemFolder | attribute::kArchive);
    fs.addFolder(QStringLiteral("/s/archived/inner"));
    EXPECT_EQ(walk({QStringLiteral("/s/")}),
              QStringList({"/s/", "/s/.hidden/", "/s/archived/", "/s/.hidden/inner/",
                           "/s/archived/inner/"}));
}

TEST_F(WalkerTest, HiddenSystemStartFolderStaysButOnlyTheRootIsExpanded) {
    fs.addFolder(QStringLiteral("/sys"), kHiddenSystemFolder);
    fs.addFolder(QStringLiteral("/sys/inner"));
    EXPECT_EQ(walk({QStringLiteral("/sys/")}), QStringList({"/sys/"}));

    MemoryFileSystem rooted;
    rooted.addFolder(QStringLiteral("/"), kHiddenSystemFolder);
    rooted.addFolder(QStringLiteral("/usr/lib"));
    EXPECT_EQ(slate::walk({QStringLiteral("//")}, rooted, reporter),
              QStringList({"//", "//usr/", "//usr/lib/"}));
}

TEST_F(WalkerTest, OnlyUndecodableNamesAreLeftOutWithTheirSubtrees) {
    const QString odd[] = {QStringLiteral("new\nline"), QStringLiteral("what?"),
                           QStringLiteral("tab\there"), QString(300, QLatin1Char('n'))};
    for (const QString& name : odd)
        fs.addFolder(QStringLiteral("/s/") + name + QStringLiteral("/below"));
    fs.addUndecodable(QStringLiteral("/s/bad\\xE9"), MemoryFileSystem::Kind::Folder);
    fs.addFolder(QStringLiteral("/s/bad\\xE9/below"));
    QList<std::pair<WalkSkip, QString>> told;
    FolderList folders{QStringLiteral("/s/")};
    GetSubDirectories2016(folders, true, reporter, {}, fs, [&](const QString& path, WalkSkip why) {
        told.append({why, path});
    });
    EXPECT_EQ(folders.size(), 9);  // the start, the four odd names and what lies below them
    for (const QString& name : odd)
        EXPECT_TRUE(folders.contains(QStringLiteral("/s/") + name + QStringLiteral("/below/")));
    const QList<std::pair<WalkSkip, QString>> undecodable{
        {WalkSkip::UndecodableName, QStringLiteral("/s/bad\\xE9")}};
    EXPECT_EQ(told, undecodable);
}

TEST_F(WalkerTest, PathsAtTheByteLimitAreKeptButNotExpanded) {
    // 2 bytes a character: 4092 bytes, far fewer characters.
    const QString base = QStringLiteral("/s/") + QString(2044, QChar(0xE9)) + QLatin1Char('x');
    fs.addFolder(base + QStringLiteral("/ab/c"));
    fs.addFolder(base + QStringLiteral("/a/c"));
    QList<std::pair<WalkSkip, QString>> told;
    FolderList folders{QStringLiteral("/s/")};
    GetSubDirectories2016(folders, true, reporter, {}, fs, [&](const QString& path, WalkSkip why) {
        told.append({why, path});
    });
    // "/a/" ends at 4095 bytes and is expanded; "/ab/" reaches 4096 and is not.
    EXPECT_EQ(folders,
              QStringList({"/s/", base + "/", base + "/a/", base + "/ab/", base + "/a/c/"}));
    const QList<std::pair<WalkSkip, QString>> tooLong{{WalkSkip::PathTooLong, base + "/ab/"},
                                                      {WalkSkip::PathTooLong, base + "/a/c/"}};
    EXPECT_EQ(told, tooLong);
}

TEST_F(WalkerTest, UnlistableFoldersAreRemovedAndTheWalkGoesOn) {
    fs.addFolder(QStringLiteral("/s/A/A1"));
    fs.addFolder(QStringLiteral("/s/B/B1"));
    fs.addFolder(QStringLiteral("/s/C/C1"));
    fs.addFolder(QStringLiteral("/t/T1"));
    fs.failListing(QStringLiteral("/s/A"), listingerror::kPermissionDenied);
    fs.failListing(QStringLiteral("/s/B"), listingerror::kPathNotFound);
    fs.failListing(QStringLiteral("/u"), listingerror::kPermissionDenied);
    fs.failListing(QStringLiteral("/s/C/C1"), listingerror::kOtherFailure);
    QList<std::pair<WalkSkip, QString>> told;
    FolderList folders{QStringLiteral("/u/"), QStringLiteral("/s/"), QStringLiteral("/t/")};
    GetSubDirectories2016(folders, true, reporter, {}, fs, [&](const QString& path, WalkSkip why) {
        told.append({why, path});
    });
    EXPECT_EQ(folders, QStringList({"/s/", "/t/", "/s/C/", "/t/T1/", "/s/C/C1/"}));
    EXPECT_TRUE(reporter.reports.isEmpty());
    // A folder that vanished is no news; one that cannot be read is.
    const QList<std::pair<WalkSkip, QString>> unreadable{
        {WalkSkip::Unreadable, QStringLiteral("/u/")},
        {WalkSkip::Unreadable, QStringLiteral("/s/A/")},
        {WalkSkip::Unreadable, QStringLiteral("/s/C/C1/")}};
    EXPECT_EQ(told, unreadable);
}

TEST_F(WalkerTest, RemovalTakesTheFirstEqualEntryWithoutSkippingAny) {
    fs.addFolder(QStringLiteral("/a/a1"));
    fs.addFolder(QStringLiteral("/b/b1"));
    fs.addFolder(QStringLiteral("/c/c1"));
    fs.failListing(QStringLiteral("/b"), listingerror::kPermissionDenied);
    EXPECT_EQ(walk({QStringLiteral("/a/"), QStringLiteral("/b/"), QStringLiteral("/b/"),
                    QStringLiteral("/c/")}),
              QStringList({"/a/", "/c/", "/a/a1/", "/c/c1/"}));
}

TEST_F(WalkerTest, MissingAndFileEntriesStayUnexpanded) {
    fs.addFile(QStringLiteral("/f"));
    fs.addFolder(QStringLiteral("/s/A"));
    EXPECT_EQ(walk({QStringLiteral("/missing/"), QStringLiteral("/f/"), QStringLiteral("/s/")}),
              QStringList({"/missing/", "/f/", "/s/", "/s/A/"}));
}

TEST_F(WalkerTest, LinksBackToAnAncestorAreLeftOut) {
    fs.addFolder(QStringLiteral("/s/a/b"));
    fs.addLink(QStringLiteral("/s/a/b/up"), QStringLiteral("/s/a"));
    fs.addLink(QStringLiteral("/s/a/top"), QStringLiteral("/"));
    fs.addFolder(QStringLiteral("/other/x"));
    fs.addLink(QStringLiteral("/s/a/away"), QStringLiteral("/other"));
    EXPECT_EQ(walk({QStringLiteral("/s/")}),
              QStringList({"/s/", "/s/a/", "/s/a/away/", "/s/a/b/", "/s/a/away/x/"}));
}

TEST_F(WalkerTest, EachRealFolderIsListedOnceHoweverManyLinksLeadThere) {
    fs.addFolder(QStringLiteral("/t/a"));
    fs.addFolder(QStringLiteral("/t/b/inner"));
    fs.addLink(QStringLiteral("/t/a/l1"), QStringLiteral("/t/b"));
    fs.addLink(QStringLiteral("/t/a/l2"), QStringLiteral("/t/b/inner"));
    fs.addLink(QStringLiteral("/t/b/l3"), QStringLiteral("/t/a"));
    EXPECT_EQ(walk({QStringLiteral("/t/"), QStringLiteral("/t/b/")}),
              QStringList({"/t/", "/t/b/", "/t/a/", "/t/b/inner/"}));
    for (auto it = fs.listings.cbegin(); it != fs.listings.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
}

TEST_F(WalkerTest, LetsTheWindowProcessEvents) {
    fs.addFolder(QStringLiteral("/s/A"));
    fs.addFolder(QStringLiteral("/s/B"));
    int calls = 0;
    walk({QStringLiteral("/s/")}, true, [&] { ++calls; });
    // Per examined folder (3), per listed sub-folder (2) and per admitted sub-folder (2).
    EXPECT_EQ(calls, 7);
}

// A file system whose root test fails for chosen folders, as a folder object that cannot be
// read would.
class FailingRootTest : public MemoryFileSystem {
  public:
    QStringList failing;
    bool isRootFolder(const QString& path) override {
        if (failing.contains(path))
            throw AppError(QStringLiteral("Object required"));
        return MemoryFileSystem::isRootFolder(path);
    }
};

TEST(WalkerFailures, AreReportedWithTheWalkersLocationAndTheWalkGoesOn) {
    FailingRootTest fs;
    fs.addFolder(QStringLiteral("/s/sys"), kHiddenSystemFolder);
    fs.addFolder(QStringLiteral("/s/sys/inner"));
    fs.addFolder(QStringLiteral("/s/B"));
    fs.failing = {QStringLiteral("/s/sys/")};
    RecordingReporter reporter;
    // A failed attribute test counts as passed: the hidden+system folder is added and
    // expanded instead of being left alone.
    EXPECT_EQ(walk({QStringLiteral("/s/")}, fs, reporter),
              QStringList({"/s/", "/s/B/", "/s/sys/", "/s/sys/inner/"}));
    ASSERT_EQ(reporter.reports.size(), 4);
    for (const RecordingReporter::Report& report : reporter.reports)
        EXPECT_EQ(report.location, location::kFolderWalker);
    EXPECT_EQ(reporter.reports[0].description, QStringLiteral("Object required"));
    // Phase 1 of the deeper call (read, test), then phase 2 of the outer call (read, test).
    EXPECT_EQ(reporter.steps(), QList<int>({112, 116, 156, 158}));
}

TEST(WalkerFailures, AFailingEventCallbackIsReportedOnce) {
    MemoryFileSystem fs;
    fs.addFolder(QStringLiteral("/s/A"));
    RecordingReporter reporter;
    int calls = 0;
    const ProcessEvents failFirst = [&] {
        if (++calls == 1)
            throw AppError(QStringLiteral("Out of memory"));
    };
    EXPECT_EQ(walk({QStringLiteral("/s/")}, fs, reporter, true, failFirst),
              QStringList({"/s/", "/s/A/"}));
    ASSERT_EQ(reporter.reports.size(), 1);
    EXPECT_EQ(reporter.reports[0].step, 114);
    EXPECT_EQ(reporter.reports[0].location, location::kFolderWalker);
}

TEST(WalkerFailures, AFailureWhileListingEndsThatListingQuietly) {
    MemoryFileSystem fs;
    fs.addFolder(QStringLiteral("/s/A/A1"));
    fs.addFolder(QStringLiteral("/s/B/B1"));
    RecordingReporter reporter;
    int calls = 0;
    // The third call is the one for /s/B while /s/ lists its sub-folders.
    const ProcessEvents failThird = [&] {
        if (++calls == 3)
            throw AppError(QStringLiteral("Out of memory"));
    };
    EXPECT_EQ(walk({QStringLiteral("/s/")}, fs, reporter, true, failThird),
              QStringList({"/s/", "/s/A/", "/s/A/A1/"}));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST(BrowseForFolder, AsksTheDialogsAndPassesCancelOn) {
    testing::ScriptedDialogs dialogs;
    dialogs.folderAnswers.enqueue(QStringLiteral("/home/u/slides"));
    dialogs.folderAnswers.enqueue(QString());
    EXPECT_EQ(BrowseForFolder(dialogs, QStringLiteral("Please select folder:"),
                              QStringLiteral("/home/u")),
              QStringLiteral("/home/u/slides"));
    EXPECT_EQ(BrowseForFolder(dialogs, QStringLiteral("Please select folder:"), QString()),
              QString());
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Please select folder:"));
    EXPECT_EQ(dialogs.shown[0].defaultAnswer, QStringLiteral("/home/u"));
}

}  // namespace
}  // namespace slate
