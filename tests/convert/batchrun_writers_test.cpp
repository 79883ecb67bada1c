// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QUrl>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "convert/savefolder.h"
#include "runfixture.h"

// Which targets a run refuses when other programs write into the same folders and when the
// list holds results of its own sources: only what this run wrote and still stands, and
// every file it has yet to convert.
namespace slate::testing {
namespace {

// What another program does to the output folder while the run is at its second file.
enum class OtherWriter {
    None,
    // Replaces the first result; the number of the file it replaced goes to a new file at
    // the second file's target.
    ReusesTheNumber,
    // Replaces the first result, at the name the second file's result will take too.
    ReplacesTheResult,
};

struct TargetCase {
    const char* name;
    std::vector<const char*> sources;
    bool intoOut;
    OtherWriter other;
    int converted;
    // The run's reports; "%1" and "%2" stand for the first and second source.
    std::vector<const char*> reports;
};

void PrintTo(const TargetCase& c, std::ostream* os) {
    *os << c.name;
}

class TargetTest : public RunFixture, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(TargetTest, OnlyThisRunsStandingResultsAndItsOwnSourcesAreRefused) {
    const TargetCase& c = GetParam();
    MemoryFileSystem files;
    files.addFolder(QStringLiteral("/out"));
    QStringList sources;
    for (const char* source : c.sources) {
        sources << QString::fromUtf8(source);
        files.addFile(sources.last()).content = "deck " + QByteArray(source);
        jobs.append(sources.last());
    }
    view.choose(c.intoOut, !c.intoOut, QStringLiteral("/out"));
    const QString firstResult =
        resultPathFor(c.intoOut ? QStringLiteral("/out/") + GetFileName(sources[0]) : sources[0],
                      QLatin1Char('/'));
    bool acted = false;
    bridge.onCall = [&](const FakeBridge::Call& call) {
        if (acted || call.name != QLatin1String("loadComponentFromURL") ||
            call.url != url(sources[1]))
            return;
        acted = true;
        const quint64 freed = files.fileId(firstResult).value_or(FileId{}).inode;
        if (c.other != OtherWriter::None)
            files.addFile(firstResult).content = "another program's";
        if (c.other == OtherWriter::ReusesTheNumber) {
            files
                .addFile(resultPathFor(QStringLiteral("/out/") + GetFileName(sources[1]),
                                       QLatin1Char('/')))
                .inode = freed;
        }
    };

    const RunSummary summary = runOn(files);

    QStringList expected;
    for (const char* report : c.reports)
        expected << QString::fromUtf8(report).arg(sources[0], sources[1]);
    QStringList descriptions;
    for (const auto& report : reporter.reports)
        descriptions << report.description;
    EXPECT_EQ(descriptions, expected);
    EXPECT_EQ(summary.converted, c.converted);
    for (const QString& source : sources)
        EXPECT_EQ(files.head(source, 100), "deck " + source.toUtf8()) << source.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargetTest,
    ::testing::Values(
        TargetCase{"AnotherProgramsFileWithAFreedNumber",
                   {"/in/s03.odp", "/in/s13.odp"},
                   true,
                   OtherWriter::ReusesTheNumber,
                   2,
                   {}},
        TargetCase{"AResultAnotherProgramReplaced",
                   {"/in/a/x.odp", "/in/b/x.odp"},
                   true,
                   OtherWriter::ReplacesTheResult,
                   2,
                   {}},
        TargetCase{"AListedResultNameBeforeItsSource",
                   {"/d/a.ppt", "/d/a.odp"},
                   false,
                   OtherWriter::None,
                   0,
                   {"The output file \"/d/a.ppt\" would replace its own source; the file was "
                    "not converted and is left as it was.",
                    "\"%2\" was not converted: its result \"/d/a.ppt\" would replace \"%1\", "
                    "which this run also converts; both are left as they were."}},
        TargetCase{"AListedResultNameAfterItsSource",
                   {"/d/a.odp", "/d/a.ppt"},
                   false,
                   OtherWriter::None,
                   0,
                   {"\"%1\" was not converted: its result \"/d/a.ppt\" would replace \"%2\", "
                    "which this run also converts; both are left as they were.",
                    "The output file \"/d/a.ppt\" would replace its own source; the file was "
                    "not converted and is left as it was."}}),
    [](const auto& info) { return std::string(info.param.name); });

// Three programs at once into one folder, over overlapping lists: every refusal would be false,
// since no list holds two files of one name. Freed file numbers are reused at once on most
// file systems, so a run that recognised its results by number alone refused files here.
TEST(ManyWritersTest, ThreeRunsIntoOneFolderRefuseNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    constexpr int kCopies = 3;
    constexpr int kSources = 40;
    for (int i = 0; i < kSources; ++i)
        writeTestFile(dir.filePath(QStringLiteral("in/s%1.odp").arg(i, 2, 10, QLatin1Char('0'))),
                      "deck");
    struct Copy {
        JobList jobs;
        RecordingRunView view;
        FakeBridge bridge;
        ScriptedDialogs dialogs;
        RecordingReporter reporter;
    };
    std::vector<std::unique_ptr<Copy>> copies;
    for (int k = 0; k < kCopies; ++k) {
        auto copy = std::make_unique<Copy>();
        copy->view.choose(true, false, out);
        copy->bridge.content += QByteArray::number(k);
        for (int i = k * 5; i < kSources; ++i)
            copy->jobs.append(
                dir.filePath(QStringLiteral("in/s%1.odp").arg(i, 2, 10, QLatin1Char('0'))));
        copies.push_back(std::move(copy));
    }
    std::vector<std::thread> threads;
    for (auto& copy : copies) {
        threads.emplace_back([&c = *copy] {
            BatchRun run(c.jobs, c.view, c.bridge, c.dialogs, c.reporter, nativeFileSystem());
            for (int round = 0; round < 3; ++round)
                run.start();
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    for (const auto& copy : copies) {
        for (const auto& report : copy->reporter.reports)
            EXPECT_FALSE(report.description.contains(QStringLiteral("this run made")))
                << report.description.toStdString();
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), kSources);
}

// A save folder beside the one this program has open, its owner differing in one part of
// what the name records (host, boot, pid namespace, pid, start), or made by a program that
// was killed.
struct LeftFolderCase {
    const char* name;
    int part;  // of the owner as the name records it; -1: a killed program's; -2: another form
    const char* value;
    bool removed;
};

void PrintTo(const LeftFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class LeftFolderTest : public ::testing::TestWithParam<LeftFolderCase> {};

TEST_P(LeftFolderTest, TheFirstSaveIntoAFolderRemovesOnlyWhatProvablyGoneProgramsLeft) {
    const LeftFolderCase& c = GetParam();
    QTemporaryDir dir;
    FileSystem& fs = nativeFileSystem();
    WriteProblem problem = WriteProblem::None;
    const QString own = fs.createSaveFolder(dir.path(), &problem);
    ASSERT_FALSE(own.isEmpty());
    QString left;
    if (c.part == -1) {
        const pid_t child = ::fork();
        if (child == 0) {
            WriteProblem childProblem = WriteProblem::None;
            const QString folder = fs.createSaveFolder(dir.path(), &childProblem);
            writeTestFile(folder + QStringLiteral("/lu1.tmp"), "half");
            ::kill(::getpid(), SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        for (const QString& name : QDir(dir.path()).entryList(QDir::Dirs | QDir::Hidden)) {
            if (dir.filePath(name) != own && name.startsWith(QLatin1String(".slatemere-save-")))
                left = dir.filePath(name);
        }
        ASSERT_FALSE(left.isEmpty());
    } else {
        QStringList parts = QFileInfo(own).fileName().split(QLatin1Char('~'));
        ASSERT_EQ(parts.size(), 6);
        parts[5] = QStringLiteral("other1");
        if (c.part >= 0 && c.value)
            parts[c.part] = QString::fromUtf8(c.value);
        left = c.part == -2 ? dir.filePath(QString::fromUtf8(c.value))
                            : dir.filePath(parts.join(QLatin1Char('~')));
        writeTestFile(left + QStringLiteral("/lu1.tmp"), "half");
    }

    { SaveFolder next(fs, dir.path()); }

    EXPECT_EQ(QFileInfo::exists(left), !c.removed);
    EXPECT_TRUE(QFileInfo::exists(own));
    fs.removeSaveFolder(own);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, LeftFolderTest,
    ::testing::Values(LeftFolderCase{"KilledProgram", -1, "", true},
                      LeftFolderCase{"EarlierBoot", 1, "00000000000000000000000000000000", true},
                      LeftFolderCase{"PidUsedAgain", 4, "1", true},
                      LeftFolderCase{"RunningProgram", 0, nullptr, false},
                      LeftFolderCase{"AnotherHost", 0, ".slatemere-save-elsewhere", false},
                      LeftFolderCase{"AnotherPidNamespace", 2, "1", false},
                      LeftFolderCase{"AnotherForm", -2, ".slatemere-save-Ab12Cd", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace slate::testing
