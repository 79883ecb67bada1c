// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFileInfo>
#include <QUrl>

#include "common/apptitle.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "runfixture.h"

namespace slate::testing {
namespace {

using Outcome = RunSummary::Outcome;

class BatchRunTest : public RunFixture {
  protected:
    RunSummary run() {
        BatchRun batch(jobs, view, bridge, dialogs, reporter, nativeFileSystem());
        const RunSummary summary = batch.start();
        EXPECT_FALSE(batch.isConverting());
        return summary;
    }
};

TEST_F(BatchRunTest, OneFileMakesTheCallsInOrderAndSavesBesideItsSource) {
    const QString src = addSource(QStringLiteral("talks/Q1.odp"));
    const QString out = dir.filePath(QStringLiteral("talks/Q1.ppt"));

    const RunSummary summary = run();

    EXPECT_EQ(logAtResults(), fileCalls(url(src), url(out), QStringLiteral("frame#1")));
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(entries(dir.filePath(QStringLiteral("talks"))), (QStringList{"Q1.odp", "Q1.ppt"}));
    const QList<FakeBridge::Call> calls = bridge.calls();
    // The office wrote into a folder of its own beside the result.
    EXPECT_EQ(QFileInfo(QFileInfo(QUrl(calls[15].url).toLocalFile()).path()).path(),
              QFileInfo(out).path());
    // The dispatch helper comes from the file's own service manager, and the frame from the
    // controller asked for the second time.
    EXPECT_EQ(calls[1].target, QStringLiteral("serviceManager#1"));
    EXPECT_EQ(calls[5].target, QStringLiteral("serviceManager#1"));
    EXPECT_EQ(calls[8].target, QStringLiteral("controller#2"));
    EXPECT_EQ(calls[15].target, QStringLiteral("dispatchHelper#1"));
    EXPECT_EQ(calls[16].target, QStringLiteral("document#1"));
    EXPECT_EQ(bridge.liveObjects(), 0) << "no office reference may outlive the run";

    EXPECT_EQ(view.events, (QStringList{"value 100", "text Processing: Q1.odp", "events",
                                        "pointer busy", "pointer busy", "pointer busy",
                                        "pointer default", "value 0", "text Progress Bar"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Done."));
    EXPECT_EQ(dialogs.shown[0].caption, appTitle());
    EXPECT_EQ(dialogs.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::None);
    EXPECT_TRUE(reporter.reports.isEmpty());
    EXPECT_EQ(summary.outcome, Outcome::Completed);
    EXPECT_EQ(summary.attempted, 1);
    EXPECT_EQ(summary.converted, 1);
    EXPECT_EQ(summary.failed, 0);
}

TEST_F(BatchRunTest, ThreeFilesGetFreshObjectsAndAdvanceTheBarByThirds) {
    QStringList sources;
    for (const char* name : {"a.odp", "b.odp", "c.odp"})
        sources << addSource(QString::fromLatin1(name));

    const RunSummary summary = run();

    QStringList expected;
    for (int i = 0; i < 3; ++i) {
        QString target = sources[i];
        target.replace(QStringLiteral(".odp"), QStringLiteral(".ppt"));
        expected += fileCalls(url(sources[i]), url(target), QStringLiteral("frame#%1").arg(i + 1));
    }
    EXPECT_EQ(logAtResults(), expected);
    // One service manager for the file and one for each of its four property values.
    EXPECT_EQ(bridge.count(QStringLiteral("obtainServiceManager")), 15);
    EXPECT_EQ(bridge.count(QStringLiteral("Bridge_GetStruct")), 12);
    ASSERT_EQ(view.values.size(), 4);
    EXPECT_DOUBLE_EQ(view.values[0], 1.0 / 3.0 * 100.0);
    EXPECT_DOUBLE_EQ(view.values[1], 2.0 / 3.0 * 100.0);
    EXPECT_DOUBLE_EQ(view.values[2], 100.0);
    EXPECT_EQ(view.values[3], 0.0);
    EXPECT_EQ(view.events.last(), QStringLiteral("text Progress Bar"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(summary.converted, 3);
}

struct Refusal {
    const char* name;
    bool emptyList;
    bool option1;
    bool option2;
    enum { Empty, Missing, AFile, AFolder } text1;
    const char* message;  // nullptr: the run starts
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.name;
}

class RefusalTest : public BatchRunTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, RefusesWithItsMessageAndTouchesNothing) {
    const Refusal& c = GetParam();
    const QString src = c.emptyList ? QString() : addSource(QStringLiteral("a.odp"));
    view.intoFolder = c.option1;
    view.besideSource = c.option2;
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    switch (c.text1) {
        case Refusal::Empty:
            break;
        case Refusal::Missing:
            view.folder = dir.filePath(QStringLiteral("nowhere"));
            break;
        case Refusal::AFile:
            view.folder = src.isEmpty() ? source(QStringLiteral("f.txt")) : src;
            break;
        case Refusal::AFolder:
            view.folder = out;
            break;
    }

    const RunSummary summary = run();

    if (!c.message) {
        EXPECT_EQ(summary.outcome, Outcome::Completed);
        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
        return;
    }
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_EQ(dialogs.shown[0].caption, appTitle());
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::None);
    EXPECT_TRUE(view.events.isEmpty()) << "pointer and progress bar stay as they were";
    EXPECT_TRUE(bridge.log().isEmpty());
    EXPECT_TRUE(reporter.reports.isEmpty());
    EXPECT_EQ(summary.attempted, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), src.isEmpty() ? 0 : 1)
        << "no file is written";
}

const char* const kNoFolder = "Folder does not exist. Please select another folder.";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalTest,
    ::testing::Values(
        Refusal{"EmptyList", true, false, true, Refusal::Empty, "No files added."},
        Refusal{"EmptyListBeforeFolder", true, true, false, Refusal::Missing, "No files added."},
        Refusal{"Option1MissingFolder", false, true, false, Refusal::Missing, kNoFolder},
        Refusal{"Option1NamesAFile", false, true, false, Refusal::AFile, kNoFolder},
        Refusal{"Option1EmptyText", false, true, false, Refusal::Empty, kNoFolder},
        Refusal{"NeitherOptionMissingFolder", false, false, false, Refusal::Missing, kNoFolder},
        Refusal{"Option2EmptyText", false, false, true, Refusal::Empty, nullptr},
        Refusal{"Option2MissingFolder", false, false, true, Refusal::Missing, nullptr},
        Refusal{"Option1ExistingFolder", false, true, false, Refusal::AFolder, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchRunTest, SecondClickWhileRunningIsIgnored) {
    addSource(QStringLiteral("a.odp"));
    addSource(QStringLiteral("b.odp"));
    BatchRun batch(jobs, view, bridge, dialogs, reporter, nativeFileSystem());
    QList<bool> busyDuringRun;
    QList<Outcome> secondClicks;
    view.onEvents = [&](int) {
        busyDuringRun << batch.isConverting();
        secondClicks << batch.start().outcome;
    };

    const RunSummary summary = batch.start();

    EXPECT_EQ(busyDuringRun, (QList<bool>{true, true}));
    EXPECT_EQ(secondClicks, (QList<Outcome>{Outcome::Ignored, Outcome::Ignored}));
    EXPECT_EQ(bridge.count(QStringLiteral("loadComponentFromURL")), 2);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(summary.converted, 2);
    EXPECT_FALSE(batch.isConverting());
    // After the run a click starts a new one.
    EXPECT_EQ(batch.start().outcome, Outcome::Completed);
}

TEST_F(BatchRunTest, ClearingTheListDuringTheFirstFileReportsEachRemainingRowTwice) {
    addSource(QStringLiteral("a.odp"));
    addSource(QStringLiteral("b.odp"));
    addSource(QStringLiteral("c.odp"));
    view.onEvents = [&](int turn) {
        if (turn == 1)
            jobs.clear();
    };

    const RunSummary summary = run();

    ASSERT_EQ(reporter.steps(), (QList<int>{110, 112, 110, 112}));
    EXPECT_EQ(reporter.reports[1].description, QStringLiteral("Division by zero"));
    for (const auto& r : reporter.reports)
        EXPECT_EQ(r.location, location::kConvert);
    // The first file was read before the list was cleared and is still converted; the gone
    // rows reach no office call.
    EXPECT_EQ(bridge.count(QStringLiteral("loadComponentFromURL")), 1);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("a.ppt"))));
    EXPECT_EQ(summary.attempted, 3);
    EXPECT_EQ(summary.converted, 1);
    EXPECT_EQ(summary.failed, 2);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(view.events.mid(view.events.size() - 3),
              (QStringList{"pointer default", "value 0", "text Progress Bar"}));
}

TEST_F(BatchRunTest, RowsAddedDuringTheRunChangeTheDivisorButAreNotConverted) {
    addSource(QStringLiteral("a.odp"));
    addSource(QStringLiteral("b.odp"));
    const QString late = source(QStringLiteral("late.odp"));
    view.onEvents = [&](int turn) {
        if (turn == 1)
            jobs.append(late);
    };

    const RunSummary summary = run();

    EXPECT_EQ(view.values, (QList<double>{50.0, 2.0 / 3.0 * 100.0, 0.0}));
    EXPECT_EQ(summary.attempted, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("late.ppt"))));
    EXPECT_EQ(jobs.count(), 3);
}

TEST_F(BatchRunTest, OptionsAndFolderAreReadAgainForEveryFile) {
    addSource(QStringLiteral("a.odp"));
    addSource(QStringLiteral("b.odp"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    view.onEvents = [&](int turn) {
        if (turn == 2) {
            view.choose(true, false, out);
        }
    };

    run();

    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("a.ppt"))));
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/b.ppt")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("b.ppt"))));
}

TEST_F(BatchRunTest, AFolderEmptiedDuringTheRunStopsTheFilesThatFollow) {
    addSource(QStringLiteral("a.odp"));
    addSource(QStringLiteral("b.odp"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    view.choose(true, false, out);
    view.onEvents = [&](int turn) {
        if (turn == 2)
            view.folder.clear();
    };

    run();

    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/a.ppt")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/b.ppt")));
    ASSERT_FALSE(reporter.reports.isEmpty());
    EXPECT_EQ(reporter.reports.first().step, 144);
}

TEST_F(BatchRunTest, ListsLongerThanSixteenBitRowsAreConvertedToTheEnd) {
    constexpr int kRows = 32767 + 3;
    MemoryFileSystem files;
    for (int i = 1; i <= kRows; ++i)
        jobs.append(QStringLiteral("/deck/%1.odp").arg(i));
    // Only the newest file's calls are kept; the whole log would be needlessly large.
    view.onEvents = [&](int) { bridge.clearLog(); };

    const RunSummary summary = runOn(files);

    EXPECT_EQ(summary.attempted, kRows);
    EXPECT_EQ(summary.converted, kRows);
    EXPECT_TRUE(reporter.reports.isEmpty());
    EXPECT_TRUE(bridge.log().join('\n').contains(QStringLiteral("/deck/32770.odp")));
    ASSERT_GE(view.values.size(), kRows);
    EXPECT_DOUBLE_EQ(view.values[kRows - 1], 100.0);
}

}  // namespace
}  // namespace slate::testing
