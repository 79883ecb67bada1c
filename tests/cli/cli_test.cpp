// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "common/platform/filesystem.h"
#include "common/platform/resourcelimits.h"
#include "convert/fileurl.h"
#include "support/compoundfile.h"
#include "support/fakebridge.h"
#include "support/fakeoffice.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

using Kind = ParsedCommandLine::Kind;

struct ParseCase {
    const char* name;
    QStringList arguments;
    Kind kind;
    const char* errorPart = "";
};
void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, RecognisesCommandsAndRefusesBadArguments) {
    const ParseCase& c = GetParam();
    const ParsedCommandLine parsed = parseCommandLine(c.arguments);
    EXPECT_EQ(parsed.kind, c.kind) << parsed.error.toStdString();
    EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.errorPart)))
        << parsed.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTest,
    ::testing::Values(
        ParseCase{"Nothing", {}, Kind::UsageError, "no command"},
        ParseCase{"UnknownCommand", {"frobnicate"}, Kind::UsageError, "frobnicate"},
        ParseCase{"Help", {"--help"}, Kind::Help}, ParseCase{"ShortHelp", {"-h"}, Kind::Help},
        ParseCase{"HelpAfterCommand", {"convert", "-o", "x", "--help"}, Kind::Help},
        ParseCase{"Version", {"--version"}, Kind::Version},
        ParseCase{"NoPath", {"convert", "-q"}, Kind::UsageError, "no file or folder"},
        ParseCase{"OnePath", {"convert", "a.odp"}, Kind::Convert},
        ParseCase{"OutputWithoutValue", {"convert", "a.odp", "-o"}, Kind::UsageError, "-o"},
        ParseCase{"EmptyInlineOutput",
                  {"convert", "--output-dir=", "a"},
                  Kind::UsageError,
                  "--output-dir"},
        ParseCase{"ZeroTimeout", {"convert", "--timeout", "0", "a"}, Kind::UsageError, "0"},
        ParseCase{"WordTimeout", {"convert", "--timeout=soon", "a"}, Kind::UsageError, "soon"},
        ParseCase{"UnknownOption", {"convert", "--fast", "a"}, Kind::UsageError, "--fast"},
        ParseCase{"DashAloneIsAPath", {"convert", "-"}, Kind::Convert},
        ParseCase{"ZeroJobs", {"convert", "-j", "0", "a"}, Kind::UsageError, "\"0\""},
        ParseCase{"TooManyJobs", {"convert", "--jobs=17", "a"}, Kind::UsageError, "17"},
        ParseCase{"WordJobs", {"convert", "-jmany", "a"}, Kind::UsageError, "many"},
        ParseCase{
            "NegativeRestart", {"convert", "--restart-after", "-1", "a"}, Kind::UsageError, "-1"},
        ParseCase{"JobsWithOffice",
                  {"convert", "-j", "2", "--office", "pipe,name=x;urp;", "a"},
                  Kind::UsageError,
                  "--office"},
        ParseCase{"FlagWithAValue", {"convert", "--quiet=no", "a"}, Kind::UsageError, "--quiet"},
        ParseCase{"QuietAndVerbose", {"convert", "-q", "-v", "a"}, Kind::UsageError, "--verbose"},
        ParseCase{"QuietAndVerboseTogether", {"convert", "-qv", "a"}, Kind::UsageError, "--quiet"},
        ParseCase{
            "ShardPastItsCount", {"convert", "--shard", "3/3", "a"}, Kind::UsageError, "--shard"},
        ParseCase{"ShardNotKOfN", {"convert", "--shard=half", "a"}, Kind::UsageError, "K/N"},
        ParseCase{"ReportWithoutFile", {"convert", "a", "--report"}, Kind::UsageError, "--report"},
        ParseCase{"SameOfficeTwice",
                  {"convert", "--office", "x", "--office", "x", "a"},
                  Kind::UsageError,
                  "twice"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseTest, TakesEveryOptionInBothSpellings) {
    const ParsedCommandLine a = parseCommandLine(
        {"convert", "-o", "out", "-e", "*", "--timeout", "30", "--office", "pipe,name=x;urp;",
         "--office=y", "--restart-after", "0", "-q", "--timings", "a.odp", "--", "-b.odp"});
    ASSERT_EQ(a.kind, Kind::Convert);
    EXPECT_EQ(a.convert.outputDir, QStringLiteral("out"));
    EXPECT_EQ(a.convert.extension, QStringLiteral("*"));
    EXPECT_EQ(a.convert.timeoutSeconds, 30);
    EXPECT_EQ(a.convert.officeConnections, (QStringList{"pipe,name=x;urp;", "y"}));
    EXPECT_EQ(a.convert.restartAfter, 0);
    EXPECT_TRUE(a.convert.quiet);
    EXPECT_TRUE(a.convert.timings);
    EXPECT_EQ(a.convert.paths, (QStringList{"a.odp", "-b.odp"}));

    const ParsedCommandLine b =
        parseCommandLine({"convert", "--output-dir=out", "--extension=txt", "a"});
    EXPECT_EQ(b.convert.outputDir, QStringLiteral("out"));
    EXPECT_EQ(b.convert.extension, QStringLiteral("txt"));
    const ParsedCommandLine plain = parseCommandLine({"convert", "a"});
    EXPECT_EQ(plain.convert.extension, QStringLiteral("odp"));
    EXPECT_EQ(plain.convert.jobs, std::nullopt);
    EXPECT_EQ(plain.convert.restartAfter, 200);
    EXPECT_EQ(parseCommandLine({"convert", "-j4", "a"}).convert.jobs, 4);
    EXPECT_EQ(parseCommandLine({"convert", "--jobs", "auto", "a"}).convert.jobs, kAutoJobs);
}

TEST(OfficesToStartTest, AutoSaysWhenMemoryHoldsFewerOfficesThanTheFilesWouldUse) {
    QString text;
    QTextStream err(&text);
    ConvertArguments arguments;
    arguments.jobs = 3;
    EXPECT_EQ(officesToStart(arguments, 10, 2, 100LL << 20, err), 3);
    EXPECT_EQ(officesToStart(arguments, 2, 2, 100LL << 20, err), 2);
    arguments.jobs = kAutoJobs;
    EXPECT_EQ(officesToStart(arguments, 10, 2, 24000LL << 20, err), 2);
    // Only offices that would start count: one file needs one, which the memory holds.
    EXPECT_EQ(officesToStart(arguments, 1, 4, 300LL << 20, err), 1);
    EXPECT_EQ(text, QString());

    EXPECT_EQ(officesToStart(arguments, 10, 4, 300LL << 20, err), 1);
    EXPECT_EQ(text, QStringLiteral("Starting 1 office, not one for each of the 4 cores: 300 MB of "
                                   "memory is free and an office takes about 250 MB.\n"));
}

TEST(OfficesToStartTest, AutoSaysWhatTheAffinityMaskQuotaOrCgroupMemoryAllowed) {
    QString text;
    QTextStream err(&text);
    ConvertArguments arguments;
    arguments.jobs = kAutoJobs;
    const QString mask = coreLimitNote({2, 8, CpuGrant::Limit::Affinity});
    EXPECT_EQ(officesToStart(arguments, 10, 2, 24000LL << 20, err, mask), 2);
    // Fewer files than cores: the files limited it, not the mask.
    EXPECT_EQ(officesToStart(arguments, 2, 2, 24000LL << 20, err, mask), 2);
    EXPECT_EQ(officesToStart(arguments, 10, 1, 24000LL << 20, err,
                             coreLimitNote({1, 8, CpuGrant::Limit::Quota, 1.5})),
              1);
    EXPECT_EQ(officesToStart(arguments, 10, 4, 600LL << 20, err, {},
                             memoryLimitNote({600LL << 20, MemoryGrant::Limit::Cgroup, 1LL << 30})),
              2);
    EXPECT_EQ(text.split(QLatin1Char('\n')),
              (QStringList{"Starting 2 offices, one for each core this process may use: this "
                           "process's CPU affinity mask allows 2 of the 8 cores.",
                           "Starting 1 office, one for each core this process may use: the "
                           "cgroup's CPU quota (cpu.max) grants 1.5 CPUs of the 8 cores.",
                           "Starting 2 offices, not one for each of the 4 cores: 600 MB of memory "
                           "is free within the cgroup's memory.max of 1024 MB and an office takes "
                           "about 250 MB.",
                           ""}));
}

TEST(CommandLineTest, OnlyItsCommandsLeaveTheWindowAlone) {
    const auto invoked = [](std::vector<const char*> args) {
        args.insert(args.begin(), "slatemere-converter");
        return isCommandLineInvocation(static_cast<int>(args.size()),
                                       const_cast<char**>(args.data()));
    };
    EXPECT_FALSE(invoked({}));
    EXPECT_FALSE(invoked({"-platform", "offscreen"}));
    EXPECT_TRUE(invoked({"convert", "a.odp"}));
    EXPECT_TRUE(invoked({"--help"}));
    EXPECT_TRUE(invoked({"--version"}));
}

class ConvertCommandTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::deque<FakeBridge> bridges = std::deque<FakeBridge>(1);
    FakeBridge& bridge = bridges.front();
    // The offices of the last command, as its pool made them.
    std::deque<testing::FakeOffice*> offices;
    // Runs on each office as the pool makes it.
    std::function<void(testing::FakeOffice&)> onOffice;
    QString outText;
    QString errText;

    QString file(const QString& name, const QByteArray& content = "deck") {
        return testing::writeTestFile(dir.filePath(name), content);
    }
    int convert(const QStringList& arguments) { return convertWith(arguments, 1); }
    // The command on a pool of `officeCount` fake offices, the first of them `bridge`.
    int convertWith(QStringList arguments, int officeCount) {
        while (static_cast<int>(bridges.size()) < officeCount)
            bridges.emplace_back();
        arguments.prepend(QStringLiteral("convert"));
        const ParsedCommandLine parsed = parseCommandLine(arguments);
        EXPECT_EQ(parsed.kind, Kind::Convert) << parsed.error.toStdString();
        return convertParsed(parsed.convert, officeCount);
    }
    int convertParsed(const ConvertArguments& arguments, int officeCount = 1) {
        outText.clear();
        errText.clear();
        QTextStream out(&outText);
        QTextStream err(&errText);
        offices.clear();
        OfficePool pool(
            [this, made = testing::fakeOffices(bridges, &offices)](int index) {
                auto office = made(index);
                if (onOffice)
                    onOffice(static_cast<testing::FakeOffice&>(*office));
                return office;
            },
            officeCount);
        return runConvert(arguments, pool, nativeFileSystem(), out, err);
    }
    QStringList loadedUrls() const {
        QStringList urls;
        for (const FakeBridge::Call& c : bridge.calls()) {
            if (c.name == QLatin1String("loadComponentFromURL"))
                urls << c.url;
        }
        return urls;
    }
    bool exists(const QString& name) const { return QFileInfo::exists(dir.filePath(name)); }
};

TEST_F(ConvertCommandTest, ConvertsEachFileBesideItsSourceAndSaysSo) {
    const QString a = file(QStringLiteral("a.odp"));
    const QString b = file(QStringLiteral("talks/b.odp"));

    EXPECT_EQ(convert({a, b}), exitcode::kConverted);

    EXPECT_TRUE(exists(QStringLiteral("a.ppt")));
    EXPECT_TRUE(exists(QStringLiteral("talks/b.ppt")));
    const QStringList out = outText.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 2) << outText.toStdString();
    EXPECT_EQ(out[0], QStringLiteral("Done."));
    EXPECT_TRUE(out[1].startsWith(QStringLiteral("Converted 2 of 2 files in ")));
    EXPECT_TRUE(out[1].endsWith(QStringLiteral(" s")));
    EXPECT_EQ(errText, QStringLiteral("Processing: a.odp (1/2)\nProcessing: b.odp (2/2)\n"));
}

TEST_F(ConvertCommandTest, AFolderAddsItsTreeOfTheChosenExtension) {
    file(QStringLiteral("deck/a.odp"));
    file(QStringLiteral("deck/notes.txt"));
    file(QStringLiteral("deck/~lock.odp"));
    file(QStringLiteral("deck/sub/b.odp"));

    EXPECT_EQ(convert({dir.filePath(QStringLiteral("deck"))}), exitcode::kConverted);
    EXPECT_EQ(loadedUrls(), (QStringList{fileUrlFromPath(dir.filePath("deck/a.odp")),
                                         fileUrlFromPath(dir.filePath("deck/sub/b.odp"))}));

    bridge.clearLog();
    EXPECT_EQ(convert({QStringLiteral("-e"), QStringLiteral("txt"), dir.filePath("deck")}),
              exitcode::kConverted);
    EXPECT_EQ(loadedUrls(), QStringList{fileUrlFromPath(dir.filePath("deck/notes.txt"))});
}

TEST_F(ConvertCommandTest, RelativePathsAreMadeAbsolute) {
    file(QStringLiteral("rel/a.odp"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const int status = convert({QStringLiteral("rel/../rel/a.odp")});
    QDir::setCurrent(before);

    EXPECT_EQ(status, exitcode::kConverted);
    EXPECT_EQ(loadedUrls(), QStringList{fileUrlFromPath(dir.filePath("rel/a.odp"))});
}

TEST_F(ConvertCommandTest, OutputDirectoryCollectsEveryResult) {
    const QString a = file(QStringLiteral("src/a.odp"));
    QDir().mkpath(dir.filePath(QStringLiteral("out")));

    EXPECT_EQ(convert({QStringLiteral("-o"), dir.filePath(QStringLiteral("out")), a}),
              exitcode::kConverted);
    EXPECT_TRUE(exists(QStringLiteral("out/a.ppt")));
    EXPECT_FALSE(exists(QStringLiteral("src/a.ppt")));
}

struct FailedFileCase {
    const char* name;
    QStringList options;
    int outLines;
    bool oneLineFailure;
    bool progress;
};
void PrintTo(const FailedFileCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedFileTest : public ConvertCommandTest,
                       public ::testing::WithParamInterface<FailedFileCase> {};

TEST_P(FailedFileTest, GivesTheLinesOfItsMode) {
    const FailedFileCase& c = GetParam();
    const QString a = file(QStringLiteral("a.odp"));
    const QString b = file(QStringLiteral("b.odp"));
    bridge.failAt(QStringLiteral("loadComponentFromURL"), QStringLiteral("type detection failed"),
                  0, QStringLiteral("a.odp"));

    EXPECT_EQ(convert(c.options + QStringList{a, b}), exitcode::kFailures);

    EXPECT_TRUE(exists(QStringLiteral("b.ppt")));
    const QStringList out = outText.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), c.outLines) << outText.toStdString();
    if (c.outLines == 2) {
        EXPECT_EQ(out[0], QStringLiteral("Done."));
        EXPECT_TRUE(out[1].startsWith(QStringLiteral("Converted 1 of 2 files in ")));
        EXPECT_TRUE(out[1].endsWith(QStringLiteral(" s (1 failed)"))) << out[1].toStdString();
    }
    const QString progressA = QStringLiteral("Processing: a.odp (1/2)\n");
    const QString progressB = QStringLiteral("Processing: b.odp (2/2)\n");
    if (c.oneLineFailure) {
        const QString failure =
            QStringLiteral("slatemere-converter: %1: type detection failed\n").arg(a);
        EXPECT_EQ(errText, c.progress ? progressA + failure + progressB : failure);
        return;
    }
    // In full: every report of the failed file, each four lines and an empty one.
    const int reports = int(errText.count(QStringLiteral("Please email screenshot")));
    EXPECT_GE(reports, 1);
    EXPECT_TRUE(errText.startsWith(progressA + QStringLiteral("type detection failed\nin "
                                                              "Pellory2021/08/31.Form1."
                                                              "PushButton2_Click at line 134\n\n")))
        << errText.toStdString();
    EXPECT_TRUE(errText.endsWith(QStringLiteral("\n\n") + progressB));
    EXPECT_EQ(errText.count(QLatin1Char('\n')), 2 + 5 * reports);
    EXPECT_FALSE(errText.contains(QStringLiteral("slatemere-converter:")));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FailedFileTest,
    ::testing::Values(FailedFileCase{"Default", {}, 2, true, true},
                      FailedFileCase{"Quiet", {QStringLiteral("-q")}, 0, true, false},
                      FailedFileCase{"Verbose", {QStringLiteral("--verbose")}, 2, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConvertCommandTest, QuietSuccessPrintsNothing) {
    EXPECT_EQ(convert({QStringLiteral("-q"), file(QStringLiteral("a.odp"))}), exitcode::kConverted);
    EXPECT_EQ(outText + errText, QString());
}

TEST_F(ConvertCommandTest, TheSameSourceGivenTwiceIsConvertedOnce) {
    file(QStringLiteral("base/x.odp"));
    file(QStringLiteral("base/y.odp"));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("base")), dir.filePath(QStringLiteral("via"))));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const int status =
        convert({QStringLiteral("base"), QStringLiteral("base/x.odp"),
                 QStringLiteral("./base/../base/x.odp"), QStringLiteral("via/y.odp")});
    QDir::setCurrent(before);

    EXPECT_EQ(status, exitcode::kConverted);
    EXPECT_EQ(loadedUrls(), (QStringList{fileUrlFromPath(dir.filePath("base/x.odp")),
                                         fileUrlFromPath(dir.filePath("base/y.odp"))}));
    EXPECT_TRUE(outText.contains(QRegularExpression(
        QStringLiteral(R"(\nConverted 2 of 2 files in \d+\.\d s \(3 duplicates\)\n$)"))))
        << outText.toStdString();
}

TEST_F(ConvertCommandTest, WhatTheWalkSkipsIsToldAndCounted) {
    file(QStringLiteral("deck/a.odp"));
    file(QStringLiteral("deck/notes.txt"));
    file(QStringLiteral("deck/old.ppt"));
    const QByteArray odd = dir.filePath(QStringLiteral("deck/caf")).toUtf8() + "\xE9";
    ASSERT_EQ(::mkdir(odd.constData(), 0700), 0);

    EXPECT_EQ(convert({dir.filePath(QStringLiteral("deck"))}), exitcode::kFailures);
    ::rmdir(odd.constData());

    EXPECT_EQ(loadedUrls(), QStringList{fileUrlFromPath(dir.filePath("deck/a.odp"))});
    EXPECT_TRUE(errText.startsWith(QStringLiteral("slatemere-converter: %1: name is not valid "
                                                  "UTF-8; skipped\n")
                                       .arg(dir.filePath(QStringLiteral("deck/caf\\xE9")))))
        << errText.toStdString();
    EXPECT_TRUE(outText.contains(QRegularExpression(QStringLiteral(
        R"(\nConverted 1 of 1 files in \d+\.\d s \(1 name not valid UTF-8, 2 files not matching \*\.odp\)\n$)"))))
        << outText.toStdString();
}

TEST_F(ConvertCommandTest, ANameThatIsNotUtf8IsSaidToBeSo) {
    const QByteArray name = dir.filePath(QStringLiteral("caf")).toUtf8() + "\xE9.odp";
    QByteArray program("slatemere-converter"), command("convert");
    char* argv[] = {program.data(), command.data(), const_cast<char*>(name.constData())};
    QStringList undecodable;
    const QStringList arguments = decodeArguments(3, argv, &undecodable);
    ParsedCommandLine parsed = parseCommandLine(arguments);
    parsed.convert.undecodable = undecodable;

    EXPECT_EQ(convertParsed(parsed.convert), exitcode::kUsage);

    EXPECT_EQ(errText, QStringLiteral("slatemere-converter: %1: the name is not valid UTF-8, so "
                                      "it cannot be opened\n")
                           .arg(dir.filePath(QStringLiteral("caf\\xE9.odp"))));
    EXPECT_TRUE(bridge.log().isEmpty());
}

// A batch split over tasks, each converting its part, resumed with --update and reported.
class BatchTaskTest : public ConvertCommandTest {
  protected:
    void SetUp() override {
        for (FakeBridge& b : bridges)
            b.content = testing::compoundFile();
    }
    // The report's lines as (source, status) pairs relative to the test folder, in order.
    QStringList reportLines() const {
        QFile report(dir.filePath(QStringLiteral("report.jsonl")));
        EXPECT_TRUE(report.open(QIODevice::ReadOnly));
        QStringList lines;
        for (const QByteArray& line : report.readAll().split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            lines
                << QDir(dir.path()).relativeFilePath(o.value(QLatin1String("source")).toString()) +
                       QLatin1Char(' ') + o.value(QLatin1String("status")).toString();
        }
        return lines;
    }
    int task(QStringList options) {
        options << QStringLiteral("--report") << dir.filePath(QStringLiteral("report.jsonl"))
                << dir.filePath(QStringLiteral("d"));
        return convert(options);
    }
    void age(const QString& name, int seconds) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(seconds),
                                  QFileDevice::FileModificationTime));
    }
};

TEST_F(BatchTaskTest, ShardsShareTheFilesAndAnUpdateConvertsOnlyWhatIsNotCurrent) {
    for (const char* name : {"d/a.odp", "d/b.odp", "d/c.odp"})
        file(QString::fromLatin1(name));
    const QByteArray odd = dir.filePath(QStringLiteral("d/caf")).toUtf8() + "\xE9.odp";
    const int fd = ::open(odd.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    QStringList loaded;
    for (const char* shard : {"0/2", "1/2"}) {
        task({QStringLiteral("--shard"), QString::fromLatin1(shard)});
        loaded << loadedUrls();
        bridge.clearLog();
    }
    loaded.sort();
    EXPECT_EQ(loaded, (QStringList{fileUrlFromPath(dir.filePath("d/a.odp")),
                                   fileUrlFromPath(dir.filePath("d/b.odp")),
                                   fileUrlFromPath(dir.filePath("d/c.odp"))}));
    QStringList lines = reportLines();
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"d/a.odp converted", "d/b.odp converted", "d/c.odp converted",
                                  "d/caf\\xE9.odp skipped"}));

    // b's source changed since, c's result was cut short; a stays as it is.
    age(QStringLiteral("d/a.ppt"), 10);
    age(QStringLiteral("d/b.ppt"), -60);
    QFile::resize(dir.filePath(QStringLiteral("d/c.ppt")), 1000);
    QFile::remove(dir.filePath(QStringLiteral("report.jsonl")));
    EXPECT_EQ(task({QStringLiteral("--update")}), exitcode::kFailures);  // the odd name
    EXPECT_EQ(loadedUrls(), (QStringList{fileUrlFromPath(dir.filePath("d/b.odp")),
                                         fileUrlFromPath(dir.filePath("d/c.odp"))}));
    EXPECT_TRUE(outText.contains(QStringLiteral("Converted 2 of 2 files in ")));
    EXPECT_TRUE(outText.contains(
        QStringLiteral("(1 up to date, 1 name not valid UTF-8, 3 files not matching")))
        << outText.toStdString();
    EXPECT_EQ(reportLines(), (QStringList{"d/caf\\xE9.odp skipped", "d/a.odp up-to-date",
                                          "d/b.odp converted", "d/c.odp converted"}));

    // Everything current: no office is started and the task succeeds.
    ::unlink(odd.constData());
    bridge.clearLog();
    EXPECT_EQ(task({QStringLiteral("--update"), QStringLiteral("--shard"), QStringLiteral("0/1")}),
              exitcode::kConverted);
    EXPECT_EQ(loadedUrls(), QStringList());
    EXPECT_TRUE(outText.contains(QStringLiteral("Converted 0 of 0 files in ")) &&
                outText.contains(QStringLiteral("(3 up to date, 3 files not matching")))
        << outText.toStdString();
}

TEST_F(BatchTaskTest, AResultFoundUpToDateStillTakesItsNameInTheRun) {
    file(QStringLiteral("d/x/talk.odp"));
    file(QStringLiteral("d/y/talk.odp"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const QStringList options{QStringLiteral("-q"), QStringLiteral("-o"), out};

    EXPECT_EQ(task(options), exitcode::kFailures);
    EXPECT_EQ(task(QStringList(options) << QStringLiteral("--update")), exitcode::kFailures);
    EXPECT_EQ(loadedUrls().size(), 3) << "the second run opened y/talk.odp again only";
    EXPECT_EQ(reportLines(), (QStringList{"d/x/talk.odp converted", "d/y/talk.odp failed",
                                          "d/x/talk.odp up-to-date", "d/y/talk.odp failed"}));
    EXPECT_TRUE(errText.contains(QStringLiteral("would replace the one this run made from")))
        << errText.toStdString();
}

TEST(CommandLineHelp, EveryExampleIsACommandThatParses) {
    const QStringList lines = commandLineHelp(QStringLiteral("slatemere-converter")).split('\n');
    int examples = 0;
    for (const QString& line : lines) {
        if (!line.startsWith(QStringLiteral("  slatemere-converter convert ")))
            continue;
        ++examples;
        QStringList words = line.section(QStringLiteral(" || "), 0, 0)
                                .split(QLatin1Char(' '), Qt::SkipEmptyParts)
                                .mid(1);
        words.replaceInStrings(QStringLiteral("'"), QString());
        EXPECT_EQ(parseCommandLine(words).kind, Kind::Convert) << line.toStdString();
    }
    EXPECT_GE(examples, 4);
}

struct RefusedCase {
    const char* name;
    enum { MissingOutputDir, FolderWithoutMatches, MissingPath } setup;
    const char* message;
};
void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedCommandTest : public ConvertCommandTest,
                           public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedCommandTest, EndsWithUsageStatusBeforeAnyOfficeCall) {
    const RefusedCase& c = GetParam();
    const QString a = file(QStringLiteral("a.odp"));
    QStringList arguments;
    switch (c.setup) {
        case RefusedCase::MissingOutputDir:
            arguments = {QStringLiteral("-o"), dir.filePath(QStringLiteral("none")), a};
            break;
        case RefusedCase::FolderWithoutMatches:
            arguments = {QStringLiteral("-e"), QStringLiteral("key"), dir.path()};
            break;
        case RefusedCase::MissingPath:
            arguments = {a, dir.filePath(QStringLiteral("gone.odp"))};
            break;
    }

    EXPECT_EQ(convert(arguments), exitcode::kUsage);

    EXPECT_TRUE(errText.contains(QString::fromUtf8(c.message))) << errText.toStdString();
    EXPECT_TRUE(outText.isEmpty()) << outText.toStdString();
    EXPECT_TRUE(bridge.log().isEmpty()) << "no office is started for nothing";
    EXPECT_FALSE(exists(QStringLiteral("a.ppt")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedCommandTest,
    ::testing::Values(
        RefusedCase{"MissingOutputDir", RefusedCase::MissingOutputDir,
                    "Folder does not exist. Please select another folder.\n"},
        RefusedCase{"FolderWithoutMatches", RefusedCase::FolderWithoutMatches, "No files added.\n"},
        RefusedCase{"MissingPath", RefusedCase::MissingPath, "gone.odp: No such file or folder\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConvertCommandTest, AnUnreachableOfficeEndsBeforeTheRun) {
    const QString a = file(QStringLiteral("a.odp"));
    bridge.addRule({FakeBridge::Action::Unavailable,
                    QStringLiteral("obtainServiceManager"),
                    0,
                    {},
                    QStringLiteral("nothing listens")});

    EXPECT_EQ(convert({a}), exitcode::kNoOffice);

    EXPECT_EQ(errText, QStringLiteral("The office could not be reached: nothing listens\n"));
    EXPECT_EQ(bridge.log().size(), 1);
}

TEST_F(ConvertCommandTest, TimingsGiveOneLinePerFile) {
    const QString a = file(QStringLiteral("a.odp"));
    const QString b = file(QStringLiteral("b.odp"));

    EXPECT_EQ(convert({QStringLiteral("--timings"), a, b}), exitcode::kConverted);

    const QRegularExpression line(
        QStringLiteral(R"(^Timing: file (\d+): (\d+\.\d{3}) s, office (\d+\.\d{3}) s: (.*)$)"),
        QRegularExpression::MultilineOption);
    QStringList files;
    for (auto it = line.globalMatch(errText); it.hasNext();) {
        const auto m = it.next();
        EXPECT_LE(m.captured(3).toDouble(), m.captured(2).toDouble());
        files << m.captured(4);
    }
    EXPECT_EQ(files, (QStringList{a, b}));
    EXPECT_TRUE(outText.startsWith(QStringLiteral("Done.\nConverted 2 of 2 files in ")))
        << outText.toStdString();
}

TEST_F(ConvertCommandTest, SeveralOfficesShareTheFilesAndPrintAsOneWould) {
    const QStringList files{file(QStringLiteral("a.odp")), file(QStringLiteral("b.odp")),
                            file(QStringLiteral("c.odp")), file(QStringLiteral("d.odp"))};
    bridges.emplace_back();
    for (FakeBridge& office : bridges)
        office.failAt(QStringLiteral("loadComponentFromURL"), QStringLiteral("cannot load b"), 0,
                      QStringLiteral("b.odp"));

    EXPECT_EQ(convertWith(QStringList{QStringLiteral("--timings")} + files, 2),
              exitcode::kFailures);

    EXPECT_TRUE(exists(QStringLiteral("a.ppt")) && exists(QStringLiteral("c.ppt")) &&
                exists(QStringLiteral("d.ppt")));
    EXPECT_FALSE(exists(QStringLiteral("b.ppt")));
    const QStringList progress = errText.split('\n').filter(QStringLiteral("Processing: "));
    ASSERT_EQ(progress.size(), 4) << errText.toStdString();
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(progress[i].endsWith(QStringLiteral(" (%1/4)").arg(i + 1)));
    EXPECT_TRUE(errText.contains(QStringLiteral("b.odp: cannot load b\n")))
        << errText.toStdString();
    EXPECT_EQ(errText.count(QStringLiteral("Timing: file ")), 4) << errText.toStdString();
    EXPECT_TRUE(outText.contains(QStringLiteral("Done.\nConverted 3 of 4 files in ")));
}

// The office's process changes at each restart, as the real one's does; each run of it
// converts the same number of files.
TEST_F(ConvertCommandTest, OneOfficeIsRestartedAfterSoManyFiles) {
    QStringList files;
    for (int i = 1; i <= 10; ++i)
        files << file(QStringLiteral("f%1.odp").arg(i));
    QList<int> restartedAfter;
    onOffice = [&](testing::FakeOffice& office) {
        office.onRestart = [&] {
            restartedAfter << bridge.count(QStringLiteral("loadComponentFromURL"));
        };
    };

    EXPECT_EQ(convertWith(QStringList{QStringLiteral("-j1"), QStringLiteral("--restart-after"),
                                      QStringLiteral("3")} +
                              files,
                          1),
              exitcode::kConverted);
    EXPECT_EQ(restartedAfter, (QList<int>{3, 6, 9}));
}

TEST_F(ConvertCommandTest, AnOfficeWithoutThePowerPointFilterEndsBeforeTheRun) {
    const QString a = file(QStringLiteral("a.odp"));
    bridge.exportFilters.clear();

    EXPECT_EQ(convert({a}), exitcode::kNoOffice);

    EXPECT_EQ(errText,
              QStringLiteral("LibreOffice has no \"MS PowerPoint 97\" export filter, which "
                             "the conversion needs. On Debian and Ubuntu it comes with "
                             "the package libreoffice-impress (sudo apt install "
                             "libreoffice-impress).\n"));
    EXPECT_EQ(bridge.count(QStringLiteral("loadComponentFromURL")), 0);
}

// A file under 21 folders of 200-byte names, deeper than any path the system opens; made one
// folder at a time through open folders. Returns its path.
QString deepFile(const QString& top) {
    int fd = ::open(QFile::encodeName(top).constData(), O_RDONLY | O_DIRECTORY);
    QString path = top;
    const QByteArray name(200, 'd');
    for (int level = 0; level < 21 && fd >= 0; ++level) {
        ::mkdirat(fd, name.constData(), 0700);
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        path += QLatin1Char('/') + QString::fromLatin1(name);
    }
    EXPECT_GE(fd, 0);
    const int file = ::openat(fd, "x.odp", O_WRONLY | O_CREAT, 0600);
    EXPECT_EQ(::write(file, "deck", 4), 4);
    ::close(file);
    ::close(fd);
    return path + QStringLiteral("/x.odp");
}

struct WalkSkipCase {
    const char* name;
    bool deep;        // a file too deep to open beside deck/a.odp
    bool onlyByName;  // the folder holds only files left out by name
    bool verbose;
    int status;
    const char* summary;              // the remark the summary ends with; empty: no summary
    std::vector<const char*> errors;  // lines on standard error, "%1" the folder walked
};
void PrintTo(const WalkSkipCase& c, std::ostream* os) {
    *os << c.name;
}

class WalkSkipTest : public ConvertCommandTest,
                     public ::testing::WithParamInterface<WalkSkipCase> {};

TEST_P(WalkSkipTest, EveryFileTheWalkLeavesOutIsCountedAndTheLostOnesNamed) {
    const WalkSkipCase& c = GetParam();
    const QString deck = dir.filePath(QStringLiteral("deck"));
    if (!c.onlyByName)
        file(QStringLiteral("deck/a.odp"));
    file(QStringLiteral("deck/~draft.odp"));
    file(QStringLiteral("deck/.name.odp"));
    QString deep;
    if (c.deep)
        deep = deepFile(deck);
    QStringList options{deck};
    if (c.verbose)
        options.prepend(QStringLiteral("--verbose"));

    EXPECT_EQ(convert(options), c.status);
    if (c.deep)
        nativeFileSystem().removeSaveFolder(deck + QLatin1Char('/') +
                                            QString(200, QLatin1Char('d')));

    QStringList errors;
    for (const char* line : c.errors)
        errors << QString::fromUtf8(line)
                      .replace(QStringLiteral("%2"), deep)
                      .replace(QStringLiteral("%1"), deck);
    QStringList lines = errText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf(
        [](const QString& line) { return line.startsWith(QLatin1String("Processing: ")); });
    EXPECT_EQ(lines, errors) << errText.toStdString();
    if (*c.summary) {
        EXPECT_TRUE(outText.trimmed().endsWith(QString::fromUtf8(c.summary)))
            << outText.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WalkSkipTest,
    ::testing::Values(
        WalkSkipCase{"DraftsAndHiddenFiles",
                     false,
                     false,
                     false,
                     exitcode::kConverted,
                     "s (2 left out by name)",
                     {}},
        WalkSkipCase{"NamedWhenVerbose",
                     false,
                     false,
                     true,
                     exitcode::kConverted,
                     "s (2 left out by name)",
                     {"slatemere-converter: %1/.name.odp: a hidden file; left out",
                      "slatemere-converter: %1/~draft.odp: the name starts with \"~\"; left "
                      "out"}},
        WalkSkipCase{
            "OnlyFilesLeftOutByName",
            false,
            true,
            false,
            exitcode::kUsage,
            "",
            {"No files added.", "slatemere-converter: nothing to convert: 2 left out by name"}},
        WalkSkipCase{"TooDeepToOpen",
                     true,
                     false,
                     false,
                     exitcode::kFailures,
                     "s (2 left out by name, 1 file left out: path too long)",
                     {"slatemere-converter: %2: path too long for the office to open; left "
                      "out"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MessageCase {
    const char* name;
    enum { ControlCharacters, SourceGone, MissingOutputFolder } setup;
    int status;
    const char* error;  // the line that names the problem, "%1" the test's folder
};
void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.name;
}

class MessageTest : public ConvertCommandTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(MessageTest, EachProblemIsOneLineThatNamesItsFile) {
    const MessageCase& c = GetParam();
    QStringList arguments;
    switch (c.setup) {
        case MessageCase::ControlCharacters:
            arguments = {file(QStringLiteral("a\n\tb.odp"), "")};
            break;
        case MessageCase::SourceGone: {
            const QString gone = file(QStringLiteral("b.odp"));
            bridge.onCall = [gone](const FakeBridge::Call& call) {
                if (call.name == QLatin1String("loadComponentFromURL"))
                    QFile::remove(gone);
            };
            bridge.failAt(QStringLiteral("loadComponentFromURL"),
                          QStringLiteral("Unsupported URL <%1>: \"type detection failed\"")
                              .arg(fileUrlFromPath(gone)));
            arguments = {gone};
            break;
        }
        case MessageCase::MissingOutputFolder:
            arguments = {QStringLiteral("-o"), dir.filePath(QStringLiteral("none")),
                         file(QStringLiteral("a.odp"))};
            break;
    }

    EXPECT_EQ(convert(arguments), c.status);

    QStringList lines = errText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeIf(
        [](const QString& line) { return line.startsWith(QLatin1String("Processing: ")); });
    EXPECT_EQ(lines, QStringList{QString::fromUtf8(c.error).arg(dir.path())})
        << errText.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageTest,
    ::testing::Values(
        MessageCase{
            "NameWithALineBreakAndATab", MessageCase::ControlCharacters, exitcode::kFailures,
            "slatemere-converter: '%1/a'$'\\n'$'\\t''b.odp': The file '%1/a'$'\\n'$'\\t''b.odp' "
            "is empty (0 bytes); there is nothing to convert."},
        MessageCase{"SourceDeletedMidRun", MessageCase::SourceGone, exitcode::kFailures,
                    "slatemere-converter: %1/b.odp: \"%1/b.odp\" is gone: it was moved or "
                    "deleted after it was listed."},
        MessageCase{"MissingOutputFolder", MessageCase::MissingOutputFolder, exitcode::kUsage,
                    "slatemere-converter: %1/none: Folder does not exist. Please select another "
                    "folder."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace slate
