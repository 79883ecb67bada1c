// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

#include <signal.h>

#include "convert/batchrun.h"
#include "convert/runfixture.h"
#include "officefixture.h"
#include "support/officeprocesses.h"

// A save that the office never finishes leaves nothing behind: no lock files beside the
// source, no temporary files or folders beside the result, and the old result as it was.
namespace slate::testing {
namespace {

// Large enough that the office is still writing when the test catches it at it.
constexpr int kSlides = 300;

class InterruptedOfficeSaveTest : public OfficeSuite {
  protected:
    QString src;
    QString out;
    QString result;
    JobList jobs;
    RecordingRunView view;
    ScriptedDialogs dialogs;
    RecordingReporter reporter;

    void SetUp() override {
        src = path(QStringLiteral("src"));
        out = path(QStringLiteral("out"));
        QDir().mkpath(src);
        result = writeTestFile(out + QStringLiteral("/deck.ppt"), "old result");
        makeOdp(bridge(), src + QStringLiteral("/deck.odp"), SlideContent::numbered(kSlides, true));
        jobs.append(src + QStringLiteral("/deck.odp"));
        view.intoFolder = true;
        view.besideSource = false;
        view.folder = out;
    }

    // Runs the batch through `bridge`, doing `interrupt` once the office is writing the result.
    void runInterrupted(OfficeBridge& bridge, const std::function<void()>& interrupt) {
        std::atomic<bool> done{false};
        std::atomic<bool> interrupted{false};
        std::thread watcher([&] {
            while (!done && !saveUnderWay(out))
                QThread::usleep(500);
            if (!done) {
                interrupt();
                interrupted = true;
            }
        });
        BatchRun(jobs, view, bridge, dialogs, reporter, nativeFileSystem()).start();
        done = true;
        watcher.join();
        ASSERT_TRUE(interrupted) << "the save ended before it could be interrupted";
        ASSERT_FALSE(reporter.reports.isEmpty());
        EXPECT_EQ(reporter.reports[0].step, 160) << reporter.reports[0].description.toStdString();
    }

    void expectNothingLeft() {
        EXPECT_EQ(entriesOf(src), QStringList{"deck.odp"});
        EXPECT_EQ(entriesOf(out), QStringList{"deck.ppt"});
        QFile old(result);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old result"));
    }
};

TEST_F(InterruptedOfficeSaveTest, OfficeKilledDuringTheSave) {
    const qint64 office = runningOffice();

    runInterrupted(bridge(), [office] { ::kill(static_cast<pid_t>(office), SIGKILL); });

    EXPECT_TRUE(
        reporter.reports[0].description.startsWith(QStringLiteral("The office stopped answering")))
        << reporter.reports[0].description.toStdString();
    expectNothingLeft();
}

TEST_F(InterruptedOfficeSaveTest, SaveTimedOut) {
    bridge().shutdown();
    OfficeOptions options = testOfficeOptions();
    // Long enough that loading the large deck on a busy machine never reaches it.
    options.callTimeoutSeconds = 6;
    UnoBridge quick(options);
    quick.obtainServiceManager();
    const qint64 office = quick.officeProcessId();

    runInterrupted(quick, [office] { ::kill(static_cast<pid_t>(office), SIGSTOP); });

    EXPECT_EQ(reporter.reports[0].description,
              QStringLiteral("LibreOffice did not answer within 6 seconds"));
    quick.shutdown();
    EXPECT_EQ(officeChildProcesses(), QList<qint64>{});
    expectNothingLeft();
}

}  // namespace
}  // namespace slate::testing
