// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFile>
#include <QThread>
#include <QUrl>

#include <signal.h>
#include <sys/wait.h>

#include "convert/parallelrun.h"
#include "convert/runview.h"
#include "joblist/joblist.h"
#include "officefixture.h"
#include "support/officeprocesses.h"
#include "support/powerpointfile.h"
#include "support/scripteddialogs.h"

// Files shared between two real offices, one of which dies.
namespace slate::testing {
namespace {

// A real bridge that kills its own office at a chosen moment: as its third file begins (the
// office idle between files), or as its third file is being loaded.
class KillingBridge : public UnoBridge {
  public:
    enum class When { Never, BetweenFiles, DuringLoad };
    explicit KillingBridge(When when) : UnoBridge(testOfficeOptions()), when_(when) {}

    qint64 killed = 0;
    QString killedDuring;  // the URL being loaded when the office was killed

  protected:
    OfficeRef doObtainServiceManager(const QString& name) override {
        if (when_ == When::BetweenFiles && closes_ == 2)
            kill();
        return UnoBridge::doObtainServiceManager(name);
    }
    OfficeRef doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                     const QString& frame, qint16 flags,
                                     const PropertyList& arguments) override {
        if (++loads_ == 3 && when_ == When::DuringLoad) {
            killedDuring = url;
            kill();
        }
        return UnoBridge::doLoadComponentFromURL(desktop, url, frame, flags, arguments);
    }
    void doClose(OfficeObject& document, bool deliverOwnership) override {
        UnoBridge::doClose(document, deliverOwnership);
        ++closes_;
    }

  private:
    void kill() {
        killed = officeProcessId();
        ASSERT_NE(killed, 0);
        ::kill(static_cast<pid_t>(killed), SIGKILL);
        // Until the whole process has ended, not only its main thread, it would still count
        // as running; it is left for the bridge to reap.
        siginfo_t info{};
        for (int i = 0; i < 1000 && info.si_pid != killed; ++i) {
            if (::waitid(P_PID, static_cast<id_t>(killed), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
                break;
            if (info.si_pid != killed)
                QThread::msleep(10);
        }
        EXPECT_EQ(info.si_pid, killed);
        when_ = When::Never;
    }

    When when_;
    int loads_ = 0;
    int closes_ = 0;
};

class SharedRunTest : public OfficeSuite {
  protected:
    JobList jobs;
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    QStringList started;

    QStringList addDecks(int count) {
        const QString first = path(QStringLiteral("deck1.odp"));
        makeOdp(bridge(), first, SlideContent::numbered(2));
        QStringList files{first};
        for (int i = 2; i <= count; ++i) {
            files << path(QStringLiteral("deck%1.odp").arg(i));
            EXPECT_TRUE(QFile::copy(first, files.last()));
        }
        for (const QString& file : files)
            jobs.append(file);
        return files;
    }

    // A pool office over a bridge the test owns, and ends itself once it has looked at it.
    class TestOffice : public PooledOffice {
      public:
        explicit TestOffice(UnoBridge& bridge) : bridge_(bridge) {}
        OfficeBridge& bridge() override { return bridge_; }
        bool ownsProcess() const override { return true; }
        qint64 runId() const override { return bridge_.officeProcessId(); }
        void restart() override { bridge_.restart(); }
        void shutdown() override {}
        void endForGood() override { bridge_.endForGood(); }

      private:
        UnoBridge& bridge_;
    };

    RunSummary run(const QList<UnoBridge*>& bridges) {
        class BesideSources : public RunView {
            void setProgressValue(double) override {}
            void setProgressText(const QString&) override {}
            void setMousePointer(MousePointer) override {}
            void processPendingEvents() override {}
            OutputChoice outputChoice() const override {
                return {OutputChoice::Place::BesideSource, {}};
            }
        } view;
        OfficePool pool(
            [&bridges](int index) { return std::make_unique<TestOffice>(*bridges.at(index)); },
            static_cast<int>(bridges.size()));
        QList<int> offices;
        for (const OfficePool::Check& check : pool.reach(pool.limit())) {
            EXPECT_TRUE(check.usable()) << check.reason.toStdString();
            offices << static_cast<int>(offices.size());
        }
        BatchRun batch(jobs, view, pool.bridge(0), dialogs, reporter, nativeFileSystem());
        batch.onFileStarted = [this](int, int, const QString& source) { started << source; };
        ParallelRun parallel(batch, jobs, view, pool, offices, reporter);
        return batch.start();
    }

    static QString result(const QString& source) {
        return source.chopped(4) + QStringLiteral(".ppt");
    }
};

class KilledOfficeTest : public SharedRunTest,
                         public ::testing::WithParamInterface<KillingBridge::When> {};

TEST_P(KilledOfficeTest, IsReplacedWhileTheOtherGoesOnAndNoFileRunsTwice) {
    QStringList files = addDecks(10);
    KillingBridge dying(GetParam());
    UnoBridge other(testOfficeOptions());
    other.obtainServiceManager();
    const qint64 otherOffice = other.officeProcessId();

    const RunSummary summary = run({&dying, &other});
    const qint64 dyingAfter = dying.officeProcessId();
    const qint64 otherAfter = other.officeProcessId();
    dying.shutdown();
    other.shutdown();

    ASSERT_NE(dying.killed, 0) << "the office was never killed";
    EXPECT_NE(dyingAfter, dying.killed);
    EXPECT_EQ(otherAfter, otherOffice) << "the other office was disturbed";
    started.sort();
    files.sort();
    EXPECT_EQ(started, files);
    EXPECT_EQ(summary.attempted, 10);
    QString lost;
    if (GetParam() == KillingBridge::When::DuringLoad) {
        // The file under way fails as it would with one office; the office's next file
        // already gets a fresh one.
        lost = QUrl(dying.killedDuring).toLocalFile();
        ASSERT_FALSE(reporter.reports.isEmpty());
        EXPECT_EQ(reporter.reports.first().step, 134);
        EXPECT_TRUE(reporter.reports.first().description.startsWith(
            QStringLiteral("The office stopped answering")))
            << reporter.reports.first().description.toStdString();
        EXPECT_EQ(summary.converted, 9);
    } else {
        for (const auto& r : reporter.reports)
            ADD_FAILURE() << r.step << ": " << r.description.toStdString();
        EXPECT_EQ(summary.converted, 10);
    }
    for (const QString& file : files) {
        QString why;
        EXPECT_EQ(isPowerPoint97File(result(file), &why), file != lost)
            << file.toStdString() << ": " << why.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, KilledOfficeTest,
                         ::testing::Values(KillingBridge::When::BetweenFiles,
                                           KillingBridge::When::DuringLoad),
                         [](const auto& info) {
                             return info.param == KillingBridge::When::BetweenFiles
                                        ? std::string("BetweenFiles")
                                        : std::string("DuringLoad");
                         });

}  // namespace
}  // namespace slate::testing
