// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

#include <gtest/gtest.h>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "joblist/addfolder.h"
#include "joblist/treefiles.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

// The folder services against the real file system: links, FIFOs and listing order.
namespace slate {
namespace {

using testing::RecordingReporter;

class RealTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path()).canonicalPath();
    }
    QString path(const QString& relative) const { return root + QLatin1Char('/') + relative; }
    void touch(const QString& relative) { testing::writeTestFile(path(relative)); }
    void fifo(const QString& relative) {
        ASSERT_EQ(::mkfifo(path(relative).toUtf8().constData(), 0600), 0);
        fifos.append(path(relative));
    }
    void link(const QString& relative, const QString& target) {
        ASSERT_TRUE(QFile::link(target, path(relative)));
    }

    // Runs `work` with a deadline. Should it hang on a FIFO, opening the FIFOs' other ends
    // until it finishes releases it, so the test fails instead of hanging.
    template <class Work>
    auto withDeadline(Work work) {
        auto result = std::async(std::launch::async, work);
        if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            ADD_FAILURE() << "blocked on a FIFO";
            do {
                for (const QString& name : std::as_const(fifos)) {
                    const int fd = ::open(name.toUtf8().constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0)
                        ::close(fd);
                }
            } while (result.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout);
        }
        return result.get();
    }

    QStringList addTree(const QString& start, const QString& pattern = QStringLiteral("*.odp"),
                        const WalkNotice& notice = {}) {
        QStringList added;
        AddFilesOfTree(start,
                       {pattern,
                        reporter,
                        location::kAddFolder,
                        {},
                        [&](const QString& p) { added.append(p); },
                        notice},
                       fs);
        return added;
    }

    FileSystem& fs = nativeFileSystem();
    QTemporaryDir dir;
    QString root;
    QStringList fifos;
    RecordingReporter reporter;
};

TEST_F(RealTreeTest, SiblingLinksAreWalkedOnceEachInLinearTime) {
    // n0 ... n20, each holding two links, a and b, to the next; the file lies in the last.
    constexpr int k = 20;
    for (int i = 0; i < k; ++i) {
        QDir().mkpath(path(QStringLiteral("n%1").arg(i)));
        for (const char* name : {"a", "b"})
            link(QStringLiteral("n%1/%2").arg(i).arg(QLatin1String(name)),
                 path(QStringLiteral("n%1").arg(i + 1)));
    }
    touch(QStringLiteral("n%1/deep.odp").arg(k));

    QElapsedTimer clock;
    clock.start();
    auto walk = std::async(std::launch::async, [&] { return addTree(path(QStringLiteral("n0"))); });
    if (walk.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        // The walk cannot be stopped from here; ending the program fails the test.
        std::fputs("The walk of sibling links did not end.\n", stderr);
        std::_Exit(1);
    }
    const qint64 elapsed = clock.elapsed();

    EXPECT_EQ(walk.get(),
              QStringList{path(QStringLiteral("n0/") + QStringLiteral("a/").repeated(k) +
                               QStringLiteral("deep.odp"))});
    EXPECT_LT(elapsed, 1000);
}

class LinuxNamesTest : public RealTreeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LinuxNamesTest, OrdinaryNamesAndLongPathsAreWalked) {
    const QString file = QString::fromUtf8(GetParam())
                             .replace(QStringLiteral("<long>"), QString(120, QLatin1Char('x')));
    touch(file);
    EXPECT_EQ(addTree(root), QStringList{path(file)});
}

INSTANTIATE_TEST_SUITE_P(
    RealTree, LinuxNamesTest,
    ::testing::Values("what?/q.odp", "new\nline/n.odp", "tab\tand\x7F\xC2\x85/t.odp",
                      // Over 300 characters with the temporary folder.
                      "Reports <long>/Quarterly <long>/Appendix/Charts and Tables/Final/f.odp"));

TEST_F(RealTreeTest, NamesThatAreNotUtf8AreLeftOutAndTold) {
    touch(QStringLiteral("good.odp"));
    const QByteArray folder = path(QStringLiteral("caf")).toUtf8() + "\xE9";
    const QByteArray file = path(QStringLiteral("bad")).toUtf8() + "\xFF.odp";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const int fd = ::open(file.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    QList<std::pair<WalkSkip, QString>> told;
    EXPECT_EQ(addTree(root, QStringLiteral("*.odp"),
                      [&](const QString& p, WalkSkip why) {
                          told.append({why, p});
                      }),
              QStringList{path(QStringLiteral("good.odp"))});
    const QList<std::pair<WalkSkip, QString>> expected{
        {WalkSkip::UndecodableName, path(QStringLiteral("caf\\xE9"))},
        {WalkSkip::UndecodableName, path(QStringLiteral("bad\\xFF.odp"))}};
    EXPECT_EQ(told, expected);
    // Qt cannot name them, so they would stay behind.
    ::rmdir(folder.constData());
    ::unlink(file.constData());
}

TEST_F(RealTreeTest, TrashAndLostFoldersAreLeftAlone) {
    const QString dataHome = path(QStringLiteral("home/.local/share"));
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    for (const char* left :
         {"usb/.Trash-0/files/deleted.odp", "usb/.Trash-1000/files/d.odp", "usb/.Trash/d.odp",
          "usb/lost+found/#1234.odp", "home/.local/share/Trash/files/d.odp"})
        touch(QString::fromUtf8(left));
    // In the order of the walk: level by level.
    const QStringList walked{
        QStringLiteral("usb/.hidden/kept.odp"), QStringLiteral("usb/.Trash-me/kept.odp"),
        QStringLiteral("usb/Trash/kept.odp"), QStringLiteral("home/.local/share/x.odp")};
    for (const QString& file : walked)
        touch(file);

    const QStringList added = addTree(root);
    qputenv("XDG_DATA_HOME", savedDataHome);
    QStringList expected;
    for (const QString& file : walked)
        expected << path(file);
    EXPECT_EQ(added, expected);
}

TEST_F(RealTreeTest, ListingOrderAndNames) {
    for (const char* name : {"b.odp", "B.odp", "a.odp", "C.odp", "é.odp", "日本.odp", "x.odpx"})
        touch(QString::fromUtf8(name));
    QDir().mkdir(path(QStringLiteral("folder.odp")));
    EXPECT_EQ(ListFiles(root, QStringLiteral("*.odp"), fs),
              QStringList({"a.odp", "B.odp", "b.odp", "C.odp", "é.odp", "日本.odp"}));
    EXPECT_TRUE(ListFiles(root, QStringLiteral("*.ppt"), fs).isEmpty());
}

TEST_F(RealTreeTest, FifosNeitherBlockNorCount) {
    touch(QStringLiteral("a.odp"));
    fifo(QStringLiteral("pipe.odp"));
    touch(QStringLiteral("sub/b.odp"));
    fifo(QStringLiteral("sub/pipe"));
    EXPECT_FALSE(
        withDeadline([&] { return IsExistingFile(path(QStringLiteral("pipe.odp")), fs); }));
    EXPECT_EQ(withDeadline([&] { return ListFiles(root, QStringLiteral("*.*"), fs); }),
              QStringList({"a.odp"}));
    QStringList added;
    withDeadline([&] {
        return AddFilesOfTree(root,
                              {QStringLiteral("*.*"),
                               reporter,
                               location::kAddFolder,
                               {},
                               [&](const QString& p) { added.append(p); }},
                              fs);
    });
    EXPECT_EQ(added,
              QStringList({path(QStringLiteral("a.odp")), path(QStringLiteral("sub/b.odp"))}));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(RealTreeTest, ALinkBackToAnAncestorEndsTheWalk) {
    touch(QStringLiteral("a/b/deep.odp"));
    link(QStringLiteral("a/b/up"), path(QStringLiteral("a")));
    link(QStringLiteral("a/self"), path(QStringLiteral("a")));
    touch(QStringLiteral("elsewhere/e.odp"));
    link(QStringLiteral("a/away"), path(QStringLiteral("elsewhere")));

    FolderList folders = {path(QStringLiteral("a/"))};
    withDeadline([&] {
        GetSubDirectories2016(folders, true, reporter, {}, fs);
        return 0;
    });
    EXPECT_EQ(folders, QStringList({path(QStringLiteral("a/")), path(QStringLiteral("a/away/")),
                                    path(QStringLiteral("a/b/"))}));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(RealTreeTest, AHiddenFileIsAddedOnlyWhenNotAnOrdinaryOne) {
    touch(QStringLiteral("shown.odp"));
    touch(QStringLiteral(".hidden.odp"));
    touch(QStringLiteral(".hidden-dir/inside.odp"));
    touch(QStringLiteral("~$lock.odp"));
    QStringList added;
    AddFilesOfTree(root,
                   {QStringLiteral("*.odp"),
                    reporter,
                    location::kAddFolder,
                    {},
                    [&](const QString& p) { added.append(p); }},
                   fs);
    EXPECT_EQ(added, QStringList({path(QStringLiteral("shown.odp")),
                                  path(QStringLiteral(".hidden-dir/inside.odp"))}));
}

}  // namespace
}  // namespace slate
