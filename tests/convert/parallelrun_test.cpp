// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDirIterator>
#include <QMap>
#include <QUrl>

#include <atomic>
#include <deque>
#include <thread>

#include "common/programexit.h"
#include "convert/officepool.h"
#include "convert/parallelrun.h"
#include "runfixture.h"
#include "support/fakeoffice.h"

// Several offices at once: what the run leaves and what its caller sees are those of one office.
namespace slate::testing {
namespace {

using Action = FakeBridge::Action;
using namespace std::chrono_literals;

const QByteArray kCompound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

struct Scenario {
    Scenario(const char* name, QStringList rows = {}, bool intoOneFolder = false,
             QStringList failingLoads = {}, bool noOfficeStarts = false, int offices = 2)
        : name(name),
          rows(std::move(rows)),
          intoOneFolder(intoOneFolder),
          failingLoads(std::move(failingLoads)),
          noOfficeStarts(noOfficeStarts),
          offices(offices) {}
    const char* name;
    QStringList rows;  // sources, relative to the folder; a name may stand twice
    bool intoOneFolder;
    QStringList failingLoads;
    bool noOfficeStarts;
    int offices;
};
void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

// What a run leaves behind and says.
struct Outcome {
    QMap<QString, QByteArray> entries;  // every file and folder under the run's folder
    QStringList reports;                // "step: description", sorted
    int attempted = 0;
    int converted = 0;
    int failed = 0;
    int reportCount = 0;
    bool operator==(const Outcome&) const = default;
};
void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "entries " << QStringList(o.entries.keys()).join(", ").toStdString() << "\nreports "
        << o.reports.join(" | ").toStdString() << "\n"
        << o.attempted << " attempted, " << o.converted << " converted, " << o.failed << " failed, "
        << o.reportCount << " reports";
}

// A folder with a scenario's sources and one fake office per worker. Each "saves" the source
// it last loaded, so a result tells which file it came from.
class Bench {
  public:
    Bench(const Scenario& s, int offices) {
        for (const QString& row : s.rows) {
            const QString path = dir.filePath(row);
            if (!QFileInfo::exists(path))
                writeTestFile(path, "presentation " + row.toUtf8());
            jobs.append(path);
        }
        if (s.intoOneFolder) {
            view.choose(true, false, dir.filePath(QStringLiteral("out")));
            QDir().mkpath(view.folder);
        }
        for (int i = 0; i < offices; ++i) {
            FakeBridge& bridge = bridges.emplace_back();
            auto loaded = std::make_shared<QString>();
            bridge.onCall = [loaded](const FakeBridge::Call& call) {
                if (call.name == QLatin1String("loadComponentFromURL"))
                    *loaded = call.url;
                // Long enough for two saves to overlap if they may.
                if (call.name == QLatin1String("executeDispatch"))
                    std::this_thread::sleep_for(10ms);
            };
            bridge.writeTarget = [this, loaded](const QString& url, const QByteArray&) {
                writeTestFile(QUrl(url).toLocalFile(), kCompound + relative(*loaded).toUtf8());
            };
            for (const QString& failing : s.failingLoads)
                bridge.failAt(QStringLiteral("loadComponentFromURL"),
                              QStringLiteral("cannot load ") + failing, 0, failing);
            if (s.noOfficeStarts) {
                bridge.addRule({Action::Unavailable,
                                QStringLiteral("obtainServiceManager"),
                                0,
                                {},
                                QStringLiteral("LibreOffice could not be started")});
            }
        }
    }

    Outcome sequential() {
        BatchRun run(jobs, view, bridges.front(), dialogs, reporter, nativeFileSystem());
        return outcome(run.start());
    }

    // The pool of one fake office for each bridge, each noting the loads at its restarts.
    OfficePool& pool() {
        if (!pool_) {
            pool_ = std::make_unique<OfficePool>(fakeOffices(bridges, &offices),
                                                 static_cast<int>(bridges.size()));
            pool_->grow(pool_->limit());
            for (int i = 0; i < pool_->size(); ++i) {
                offices.at(i)->onRestart = [this, &bridge = bridges.at(i)] {
                    std::lock_guard lock(restartMutex);
                    restartsAtLoad[&bridge] << bridge.count(QStringLiteral("loadComponentFromURL"));
                };
            }
        }
        return *pool_;
    }
    QList<int> everyOffice() const {
        QList<int> all;
        for (int i = 0; i < static_cast<int>(bridges.size()); ++i)
            all << i;
        return all;
    }

    Outcome parallel(int restartAfter = 200) {
        BatchRun run(jobs, view, bridges.front(), dialogs, reporter, nativeFileSystem());
        pool().setRestartAfter(restartAfter);
        ParallelRun parallel(run, jobs, view, pool(), everyOffice(), reporter);
        parallel.onNotice = [this](const QString& text) { notices << text; };
        return outcome(run.start());
    }

    QString relative(const QString& urlOrPath) const {
        QString path = urlOrPath.startsWith(QLatin1String("file:")) ? QUrl(urlOrPath).toLocalFile()
                                                                    : urlOrPath;
        return path.replace(dir.path(), QStringLiteral("<dir>"));
    }

    Outcome outcome(const RunSummary& summary) const {
        Outcome o;
        QDirIterator it(dir.path(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            o.entries.insert(relative(path),
                             file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        for (const RecordingReporter::Report& r : reporter.reports)
            o.reports << QStringLiteral("%1: %2").arg(r.step).arg(relative(r.description));
        o.reports.sort();
        o.attempted = summary.attempted;
        o.converted = summary.converted;
        o.failed = summary.failed;
        o.reportCount = summary.reports;
        return o;
    }

    QTemporaryDir dir;
    JobList jobs;
    RecordingRunView view;
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    std::deque<FakeBridge> bridges;
    std::mutex restartMutex;
    QHash<FakeBridge*, QList<int>> restartsAtLoad;
    QStringList notices;
    std::deque<FakeOffice*> offices;

  private:
    std::unique_ptr<OfficePool> pool_;
};

class SameOutcomeTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(SameOutcomeTest, SeveralOfficesLeaveWhatOneLeaves) {
    const Scenario& s = GetParam();
    const Outcome expected = Bench(s, 1).sequential();
    Bench bench(s, s.offices);

    EXPECT_EQ(bench.parallel(), expected);
    // Offices beyond the number of files are never even asked.
    for (int i = static_cast<int>(s.rows.size()); i < s.offices; ++i)
        EXPECT_EQ(bench.bridges.at(i).log(), QStringList{}) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameOutcomeTest,
    ::testing::Values(Scenario{"DistinctFiles",
                               {"a.odp", "b.odp", "c.odp", "sub/d.odp", "sub/e.odp"}},
                      Scenario{"FailuresInBetween",
                               {"a.odp", "b.odp", "c.odp", "sub/d.odp", "sub/e.odp", "f.odp"},
                               false,
                               {"b.odp", "d.odp"},
                               false,
                               3},
                      // The first in list order is written, the later ones refused, whichever
                      // office is quicker; no result is half of one and half of another.
                      Scenario{"SameNameIntoOneFolder",
                               {"one/x.odp", "two/x.odp", "y.odp", "three/x.odp", "z.odp"},
                               true},
                      Scenario{"SameRowTwice", {"a.odp", "a.odp", "b.odp", "a.odp"}},
                      Scenario{"MoreOfficesThanFiles", {"a.odp", "b.odp"}, false, {}, false, 4},
                      Scenario{"NoOfficeStarts", {"a.odp", "b.odp", "c.odp"}, false, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParallelRunTest, TheCallerSeesFilesStartInOrderAndEachEndAsOneBlock) {
    const Scenario s{"Blocks",
                     {"a.odp", "b.odp", "c.odp", "d.odp", "e.odp", "f.odp"},
                     false,
                     {"b.odp", "e.odp"}};
    Bench bench(s, 2);
    const auto caller = std::this_thread::get_id();
    QStringList timeline;
    bool elsewhere = false;
    const auto note = [&](const QString& line) {
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
        timeline << line;
    };
    bench.reporter.onReport = [&](const RecordingReporter::Report& r) {
        note(QStringLiteral("report %1 %2").arg(r.step).arg(r.description));
    };
    BatchRun run(bench.jobs, bench.view, bench.bridges.front(), bench.dialogs, bench.reporter,
                 nativeFileSystem());
    run.onFileStarted = [&](int index, int count, const QString& source) {
        note(QStringLiteral("start %1/%2 %3").arg(index).arg(count).arg(GetFileName(source)));
    };
    run.onFileFinished = [&](int, const QString& source, bool converted) {
        note(QStringLiteral("end %1 %2").arg(GetFileName(source)).arg(converted));
    };
    ParallelRun parallel(run, bench.jobs, bench.view, bench.pool(), {0, 1}, bench.reporter);
    run.start();

    EXPECT_FALSE(elsewhere);
    const QStringList starts = timeline.filter(QRegularExpression(QStringLiteral("^start ")));
    ASSERT_EQ(starts.size(), 6) << timeline.join('\n').toStdString();
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(starts[i].startsWith(QStringLiteral("start %1/6 ").arg(i + 1)));
    // A failed file's five reports come together, right before its end.
    const qsizetype end = timeline.indexOf(QStringLiteral("end e.odp 0"));
    ASSERT_GE(end, 5) << timeline.join('\n').toStdString();
    QStringList block = timeline.mid(end - 5, 5);
    EXPECT_EQ(block.takeFirst(), QStringLiteral("report 134 cannot load e.odp"));
    for (const QString& line : block)
        EXPECT_TRUE(line.startsWith(QStringLiteral("report 1"))) << line.toStdString();
}

struct RestartCase {
    const char* name;
    int offices;
    int files;
    int every;
};
void PrintTo(const RestartCase& c, std::ostream* os) {
    *os << c.name;
}

class RestartTest : public ::testing::TestWithParam<RestartCase> {};

TEST_P(RestartTest, EachOfficeIsRestartedBetweenFilesAfterSoManyOfThem) {
    const RestartCase& c = GetParam();
    Scenario s{"Restart"};
    for (int i = 1; i <= c.files; ++i)
        s.rows << QStringLiteral("f%1.odp").arg(i);
    Bench bench(s, c.offices);

    EXPECT_EQ(bench.parallel(c.every).converted, c.files);
    int loads = 0;
    for (FakeBridge& bridge : bench.bridges) {
        const int n = bridge.count(QStringLiteral("loadComponentFromURL"));
        loads += n;
        QList<int> expected;
        for (int at = c.every; c.every > 0 && at < n; at += c.every)
            expected << at;
        EXPECT_EQ(bench.restartsAtLoad.value(&bridge), expected) << n << " files";
    }
    EXPECT_EQ(loads, c.files);
}

INSTANTIATE_TEST_SUITE_P(Cases, RestartTest,
                         ::testing::Values(RestartCase{"OneOffice", 1, 5, 2},
                                           RestartCase{"OneOfficeEveryThird", 1, 10, 3},
                                           RestartCase{"TwoOffices", 2, 9, 2},
                                           RestartCase{"Never", 2, 5, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The office crashes after one file and a fresh one takes over: its count starts afresh.
TEST(OfficePoolTest, AnOfficeStartedAgainAfterACrashCountsItsOwnFiles) {
    std::deque<FakeBridge> bridges(1);
    std::deque<FakeOffice*> made;
    OfficePool pool(fakeOffices(bridges, &made), 1);
    pool.setRestartAfter(2);
    pool.grow(1);
    QList<int> restartsBeforeEachFile;
    for (int file = 1; file <= 4; ++file) {
        ASSERT_TRUE(pool.readyForFile(0, nullptr));
        restartsBeforeEachFile << made[0]->restarts();
        if (file == 1)
            made[0]->crash();
    }
    EXPECT_EQ(restartsBeforeEachFile, (QList<int>{0, 0, 0, 1}));
}

TEST(ParallelRunTest, AnOfficeThatCannotStartLeavesItsFilesToTheOthers) {
    Bench bench(Scenario{"LeftOut", {"a.odp", "b.odp", "c.odp", "d.odp"}}, 2);
    bench.bridges[1].addRule({Action::Unavailable,
                              QStringLiteral("obtainServiceManager"),
                              0,
                              {},
                              QStringLiteral("LibreOffice could not be started: no memory")});

    const Outcome o = bench.parallel();

    EXPECT_EQ(o.converted, 4);
    EXPECT_EQ(o.reports, QStringList{});
    EXPECT_EQ(bench.bridges[1].count(QStringLiteral("loadComponentFromURL")), 0);
    EXPECT_EQ(bench.notices,
              QStringList{kOfficeLeftOut + "LibreOffice could not be started: no memory"});
}

// The exit hook ends the offices while files are under way: no office starts any more, and the
// failures of the files it interrupted are not reported as the run's.
TEST(ParallelRunTest, OnceTheProgramEndsNoOfficeStartsAndNoFailureIsReported) {
    Bench bench(Scenario{"Ending", {"a.odp", "b.odp", "c.odp", "d.odp", "e.odp", "f.odp"}}, 2);
    std::atomic<bool> ended{false};
    std::atomic<int> startsAtEnd{-1};
    for (FakeBridge& bridge : bench.bridges) {
        bridge.onCall = [&](const FakeBridge::Call& call) {
            if (ended)
                throw OfficeError(QStringLiteral("Binary URP bridge already disposed"));
            if (call.name == QLatin1String("loadComponentFromURL") &&
                call.url.endsWith(QLatin1String("c.odp"))) {
                std::thread([] { program::runExitHooks(); }).join();
                startsAtEnd = bench.offices[0]->starts() + bench.offices[1]->starts();
                ended = true;
            }
        };
    }

    const Outcome o = bench.parallel();

    EXPECT_EQ(bench.offices[0]->starts() + bench.offices[1]->starts(), startsAtEnd.load());
    EXPECT_EQ(o.reports, QStringList{});
    EXPECT_LT(o.attempted, 6);
}

TEST(ParallelRunTest, AnOfficeThatCannotBeRestartedFailsTheFileAndTheRunGoesOn) {
    Bench bench(Scenario{"RestartFails", {"a.odp", "b.odp", "c.odp"}}, 1);
    bench.pool();
    bench.offices[0]->onRestart = [] { throw AppError(QStringLiteral("cannot end the office")); };

    const Outcome o = bench.parallel(1);

    EXPECT_EQ(o.converted, 1);
    EXPECT_EQ(o.failed, 2);
    EXPECT_EQ(o.reports, (QStringList{"130: cannot end the office", "130: cannot end the office"}));
}

}  // namespace
}  // namespace slate::testing
