#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include <gtest/gtest.h>

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

    QTemporaryDir dir;
    QString root;
    QStringList fifos;
    RecordingReporter reporter;
};

TEST_F(RealTreeTest, ListingOrderAndNames) {
    for (const char* name : {"b.odp", "B.odp", "a.odp", "C.odp", "é.odp", "日本.odp", "x.odpx"})
        touch(QString::fromUtf8(name));
    QDir().mkdir(path(QStringLiteral("folder.odp")));
    EXPECT_EQ(ListFiles(root, QStringLiteral("*.odp")),
              QStringList({"a.odp", "B.odp", "b.odp", "C.odp", "é.odp", "日本.odp"}));
    EXPECT_TRUE(ListFiles(root, QStringLiteral("*.ppt")).isEmpty());
}

TEST_F(RealTreeTest, FifosNeitherBlockNorCount) {
    touch(QStringLiteral("a.odp"));
    fifo(QStringLiteral("pipe.odp"));
    touch(QStringLiteral("sub/b.odp"));
    fifo(QStringLiteral("sub/pipe"));
    EXPECT_FALSE(withDeadline([&] { return IsExistingFile(path(QStringLiteral("pipe.odp"))); }));
    EXPECT_EQ(withDeadline([&] { return ListFiles(root, QStringLiteral("*.*")); }),
              QStringList({"a.odp"}));
    QStringList added;
    withDeadline([&] {
        return AddFilesOfTree(
            root,
            {QStringLiteral("*.*"), reporter, location::kAddFolder, {}, [&](const QString& p) {
                 added.append(p);
             }});
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
        GetSubDirectories2016(folders, true, reporter);
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
    AddFilesOfTree(
        root, {QStringLiteral("*.odp"), reporter, location::kAddFolder, {}, [&](const QString& p) {
                   added.append(p);
               }});
    EXPECT_EQ(added, QStringList({path(QStringLiteral("shown.odp")),
                                  path(QStringLiteral(".hidden-dir/inside.odp"))}));
}

}  // namespace
}  // namespace slate
