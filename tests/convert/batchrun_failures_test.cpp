// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFileInfo>

#include <sys/stat.h>
#include <sys/time.h>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "runfixture.h"

namespace slate::testing {
namespace {

using Action = FakeBridge::Action;

class RunFailureTest : public RunFixture {
  protected:
    QStringList sources;

    void SetUp() override {
        for (const char* name : {"a.odp", "b.odp", "c.odp"})
            sources << addSource(QString::fromLatin1(name));
    }
    RunSummary run() {
        return BatchRun(jobs, view, bridge, dialogs, reporter, nativeFileSystem()).start();
    }
    QString target(int i) const {
        QString t = sources[i];
        return t.replace(QStringLiteral(".odp"), QStringLiteral(".ppt"));
    }
    // Gives a file an old modification time, as a result left from an earlier day.
    static void age(const QString& path) {
        const struct timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(utimes(QFile::encodeName(path).constData(), old), 0);
    }
    void expectOnlySecondFileFailed(const RunSummary& summary) {
        EXPECT_TRUE(QFileInfo::exists(target(0)));
        EXPECT_TRUE(QFileInfo::exists(target(2)));
        EXPECT_EQ(summary.attempted, 3);
        EXPECT_EQ(summary.converted, 2);
        EXPECT_EQ(summary.failed, 1);
        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
        for (const auto& r : reporter.reports)
            EXPECT_EQ(r.location, location::kConvert);
    }
};

TEST_F(RunFailureTest, AFileThatCannotBeLoadedIsReportedAtEachStepThatNeedsItAndTheRunGoesOn) {
    bridge.failAt(QStringLiteral("loadComponentFromURL"), QStringLiteral("type detection failed"),
                  0, QStringLiteral("b.odp"));

    const RunSummary summary = run();

    ASSERT_EQ(reporter.steps(), (QList<int>{134, 138, 140, 160, 162}));
    EXPECT_EQ(reporter.reports[0].description, QStringLiteral("type detection failed"));
    EXPECT_FALSE(QFileInfo::exists(target(1)));
    expectOnlySecondFileFailed(summary);
    // The failed file's steps do not borrow the previous file's document or frame.
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 2);
    EXPECT_EQ(bridge.count(QStringLiteral("Close")), 2);
}

TEST_F(RunFailureTest, AnEmptyDocumentIsALoadFailureNamingTheFile) {
    bridge.addRule({Action::EmptyDocument, QStringLiteral("loadComponentFromURL"), 2, {}, {}});

    const RunSummary summary = run();

    ASSERT_EQ(reporter.steps(), (QList<int>{134, 138, 140, 160, 162}));
    EXPECT_TRUE(reporter.reports[0].description.contains(sources[1]))
        << reporter.reports[0].description.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target(1)));
    expectOnlySecondFileFailed(summary);
}

TEST_F(RunFailureTest, AnEmptySourceFileIsNotHandedToTheOffice) {
    source(QStringLiteral("b.odp"), QByteArray());

    const RunSummary summary = run();

    ASSERT_EQ(reporter.steps(), (QList<int>{134, 138, 140, 160, 162}));
    EXPECT_TRUE(reporter.reports[0].description.contains(sources[1]));
    EXPECT_TRUE(reporter.reports[0].description.contains(QStringLiteral("empty")));
    EXPECT_FALSE(bridge.log().join('\n').contains(QStringLiteral("b.odp, _blank")));
    EXPECT_FALSE(QFileInfo::exists(target(1)));
    expectOnlySecondFileFailed(summary);
}

struct SaveCase {
    const char* name;
    Action action;
    bool targetExistedBefore;
    QByteArray written;
    const char* descriptionPart;  // nullptr: the save counts
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveVerificationTest : public RunFailureTest,
                             public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveVerificationTest, OnlyAFinishedPowerPointFileTakesTheName) {
    const SaveCase& c = GetParam();
    if (c.targetExistedBefore) {
        source(QStringLiteral("b.ppt"), "old result");
        age(target(1));
    }
    bridge.addRule({c.action, QStringLiteral("executeDispatch"), 0, QStringLiteral("b.ppt"), {}});
    const auto write = bridge.writeTarget;
    bridge.writeTarget = [&](const QString& u, const QByteArray& data) {
        write(u, u.contains(QStringLiteral("b.ppt")) ? c.written : data);
    };

    const RunSummary summary = run();

    QStringList expected{"a.odp", "a.ppt", "b.odp", "b.ppt", "c.odp", "c.ppt"};
    if (c.descriptionPart && !c.targetExistedBefore)
        expected.removeOne(QStringLiteral("b.ppt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              expected)
        << "nothing of the save is left behind";
    if (!c.descriptionPart) {
        EXPECT_TRUE(reporter.reports.isEmpty());
        EXPECT_EQ(read(target(1)), c.written);
        EXPECT_EQ(summary.converted, 3);
        return;
    }
    ASSERT_EQ(reporter.steps(), QList<int>{160});
    const QString description = reporter.reports[0].description;
    EXPECT_TRUE(description.contains(target(1))) << description.toStdString();
    EXPECT_TRUE(description.contains(QString::fromUtf8(c.descriptionPart)))
        << description.toStdString();
    EXPECT_EQ(read(target(1)), c.targetExistedBefore ? QByteArray("old result") : QByteArray());
    // The document is still closed, and the other files are unaffected.
    EXPECT_EQ(bridge.count(QStringLiteral("Close")), 3);
    EXPECT_EQ(summary.converted, 2);
    EXPECT_EQ(summary.failed, 1);
}

const QByteArray kCompound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 new result", 19);

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveVerificationTest,
    ::testing::Values(SaveCase{"OfficeReportsFailure", Action::DispatchFailure, true, kCompound,
                               "could not save"},
                      SaveCase{"SuccessButNothingWritten", Action::SilentNoWrite, false, kCompound,
                               "did not write"},
                      SaveCase{"SuccessButNothingWrittenOverAnOldFile", Action::SilentNoWrite, true,
                               kCompound, "did not write"},
                      SaveCase{"OldFileReplaced", Action::UnknownResult, true, kCompound, nullptr},
                      SaveCase{"NoResultButFileWritten", Action::UnknownResult, false, kCompound,
                               nullptr},
                      SaveCase{"EmptyFileWritten", Action::UnknownResult, true, "", "empty file"},
                      SaveCase{"NotAPowerPointFile", Action::UnknownResult, true, "plain text",
                               "not as a PowerPoint 97 file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunFailureTest, APresentationAlreadyInPowerPointFormIsNotSavedOverItself) {
    const QString ppt = addSource(QStringLiteral("talk.ppt"), "original bytes");

    const RunSummary summary = run();

    ASSERT_EQ(reporter.steps(), QList<int>{160});
    EXPECT_TRUE(reporter.reports[0].description.contains(ppt));
    EXPECT_TRUE(reporter.reports[0].description.contains(QStringLiteral("own source")));
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 3);
    EXPECT_FALSE(logAtResults().join('\n').contains(QStringLiteral("URL=") + url(ppt)));
    EXPECT_EQ(read(ppt), QByteArray("original bytes"));
    EXPECT_EQ(summary.converted, 3);
    EXPECT_EQ(summary.failed, 1);
}

TEST_F(RunFailureTest, TheSourceIsAlsoRecognisedThroughALinkedOutputFolder) {
    jobs.clear();
    const QString ppt = addSource(QStringLiteral("talks/talk.ppt"), "original bytes");
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("talks")), link));
    view.choose(true, false, link);

    run();

    EXPECT_EQ(reporter.steps(), QList<int>{160});
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 0);
    EXPECT_EQ(read(ppt), QByteArray("original bytes"));
}

TEST_F(RunFailureTest, AMissingSavePropertyStopsTheSaveInsteadOfSavingElsewhere) {
    // The URL property of the second file cannot be made.
    bridge.failAt(QStringLiteral("Bridge_GetStruct"), QStringLiteral("automation error"), 6);

    const RunSummary summary = run();

    EXPECT_EQ(reporter.steps(), (QList<int>{154, 160}));
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 2);
    EXPECT_FALSE(QFileInfo::exists(target(1)));
    expectOnlySecondFileFailed(summary);
}

TEST_F(RunFailureTest, WithoutAnOfficeEveryStepThatNeedsItIsReportedForEveryFile) {
    bridge.addRule({Action::Unavailable,
                    QStringLiteral("obtainServiceManager"),
                    0,
                    {},
                    QStringLiteral("The office cannot be reached")});

    const RunSummary summary = run();

    const QList<int> perFile{130, 132, 134, 136, 138, 140, 154, 156, 158, 160, 162};
    ASSERT_EQ(reporter.steps(), perFile + perFile + perFile);
    EXPECT_EQ(reporter.reports[0].description, QStringLiteral("The office cannot be reached"));
    EXPECT_EQ(summary.converted, 0);
    EXPECT_EQ(summary.failed, 3);
    EXPECT_EQ(summary.reports, 33);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(RunFailureTest, AReportDuringTheRunHoldsItUntilDismissedAndTheRunCarriesOn) {
    bridge.failAt(QStringLiteral("Close"), QStringLiteral("close vetoed"), 1);
    QStringList seenAtReport;
    reporter.onReport = [&](const RecordingReporter::Report&) { seenAtReport = bridge.log(); };

    const RunSummary summary = run();

    EXPECT_EQ(reporter.steps(), QList<int>{162});
    // Nothing of the second file happened before the report was dismissed.
    EXPECT_EQ(seenAtReport.size(), 17);
    EXPECT_EQ(summary.converted, 3);
    EXPECT_EQ(summary.failed, 1);
}

}  // namespace
}  // namespace slate::testing
