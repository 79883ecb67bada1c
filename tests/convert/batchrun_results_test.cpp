// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QUrl>
#include <QtEndian>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/programexit.h"
#include "runfixture.h"

// Where results land: never on a result of the same run, never through a link, and never as
// half a file.
namespace slate::testing {
namespace {

using Action = FakeBridge::Action;
using Problem = WriteProblem;

const QByteArray kCompound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

class ResultTest : public RunFixture {
  protected:
    RunSummary run() {
        return BatchRun(jobs, view, bridge, dialogs, reporter, nativeFileSystem()).start();
    }
    void intoFolder(const QString& folder) {
        QDir().mkpath(folder);
        view.choose(true, false, folder);
    }
};

struct CollisionCase {
    const char* name;
    const char* first;
    const char* second;
    bool intoOneFolder;
    const char* result;
};

void PrintTo(const CollisionCase& c, std::ostream* os) {
    *os << c.name;
}

class CollisionTest : public ResultTest, public ::testing::WithParamInterface<CollisionCase> {};

TEST_P(CollisionTest, ALaterFileNeverReplacesAResultOfTheSameRun) {
    const CollisionCase& c = GetParam();
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    const QString first = addSource(QString::fromUtf8(c.first));
    const QString second = source(QString::fromUtf8(c.second));
    jobs.append(second);
    addSource(QStringLiteral("other.odp"));
    const QString out = dir.filePath(QStringLiteral("out"));
    if (c.intoOneFolder)
        intoFolder(out);
    const QString result =
        (c.intoOneFolder ? out : dir.path()) + QLatin1Char('/') + QString::fromUtf8(c.result);
    // The second file's target as the run spells it.
    const QString spelled =
        c.intoOneFolder ? result : GetFolderPath(second) + QString::fromUtf8(c.result);
    // Each file's result says which file of the run it came from.
    view.onEvents = [&](int turn) { bridge.content = kCompound + QByteArray::number(turn); };

    const RunSummary summary = run();

    ASSERT_EQ(reporter.steps(), QList<int>{160});
    EXPECT_EQ(reporter.reports[0].description,
              QStringLiteral("%1 was not converted: its result %2 would replace the one this run "
                             "made from %3.")
                  .arg(quoted(second), quoted(spelled), quoted(first)))
        << reporter.reports[0].description.toStdString();
    EXPECT_EQ(read(result), kCompound + "1");
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 2);
    EXPECT_EQ(summary.attempted, 3);
    EXPECT_EQ(summary.converted, 2);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollisionTest,
    ::testing::Values(
        CollisionCase{"SameNameFromTwoFolders", "d1/x.odp", "d2/x.odp", true, "x.ppt"},
        CollisionCase{"ExtensionsDifferingInCase", "y.odp", "y.ODP", false, "y.ppt"},
        CollisionCase{"SameFileListedTwice", "z.odp", "z.odp", false, "z.ppt"},
        CollisionCase{"FolderSpelledTwoWays", "w.odp", "sub/../w.odp", false, "w.ppt"}),
    [](const auto& info) { return std::string(info.param.name); });

class CaseBlindTest : public RunFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(CaseBlindTest, NamesDifferingInCaseCollideOnlyWhereTheFileSystemIgnoresCase) {
    MemoryFileSystem files(QLatin1Char('\\'));
    files.ignoreCase = GetParam();
    files.addFolder(QStringLiteral(R"(D:\Out)"));
    jobs.append(QStringLiteral(R"(C:\a\Deck.odp)"));
    jobs.append(QStringLiteral(R"(C:\b\deck.odp)"));
    view.choose(true, false, QStringLiteral(R"(D:\Out)"));

    const RunSummary summary = runOn(files);

    EXPECT_EQ(summary.converted, files.ignoreCase ? 1 : 2);
    EXPECT_EQ(reporter.steps(), files.ignoreCase ? QList<int>{160} : QList<int>{});
}

INSTANTIATE_TEST_SUITE_P(FileSystems, CaseBlindTest, ::testing::Bool(), [](const auto& info) {
    return info.param ? std::string("IgnoresCase") : std::string("KeepsCase");
});

TEST_F(ResultTest, ALinkAtTheResultsNameIsReplacedAndWhatItLeadsToIsLeftAlone) {
    addSource(QStringLiteral("talks/x.odp"));
    const QString victim =
        writeTestFile(dir.filePath(QStringLiteral("elsewhere/victim.txt")), "precious");
    const QString result = dir.filePath(QStringLiteral("talks/x.ppt"));
    ASSERT_TRUE(QFile::link(victim, result));

    const RunSummary summary = run();

    EXPECT_TRUE(reporter.reports.isEmpty());
    EXPECT_EQ(summary.converted, 1);
    EXPECT_EQ(read(victim), QByteArray("precious"));
    EXPECT_FALSE(QFileInfo(result).isSymLink());
    EXPECT_EQ(read(result), bridge.content);
    EXPECT_EQ(entries(dir.filePath(QStringLiteral("elsewhere"))), QStringList{"victim.txt"});
}

class InterruptedSaveTest : public ResultTest, public ::testing::WithParamInterface<Action> {};

TEST_P(InterruptedSaveTest, LeavesTheOldResultAndNothingElse) {
    addSource(QStringLiteral("x.odp"));
    const QString result = writeTestFile(dir.filePath(QStringLiteral("x.ppt")), "old result");
    bridge.addRule({GetParam(),
                    QStringLiteral("executeDispatch"),
                    0,
                    {},
                    QStringLiteral("The office stopped answering")});
    // What an office leaves when it stops halfway: part of the file and its own temporary.
    bridge.onCall = [](const FakeBridge::Call& call) {
        if (call.name != QLatin1String("executeDispatch"))
            return;
        const QString written = QUrl(call.url).toLocalFile();
        writeTestFile(written, "half");
        writeTestFile(QFileInfo(written).dir().filePath(QStringLiteral("lu1234.tmp")), "half");
    };

    const RunSummary summary = run();

    EXPECT_EQ(reporter.steps(), QList<int>{160});
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(read(result), QByteArray("old result"));
    EXPECT_EQ(entries(dir.path()), (QStringList{"x.odp", "x.ppt"}));
}

INSTANTIATE_TEST_SUITE_P(HowTheSaveEnds, InterruptedSaveTest,
                         ::testing::Values(Action::DispatchFailure, Action::Fail),
                         [](const auto& info) {
                             return info.param == Action::Fail ? std::string("OfficeDied")
                                                               : std::string("OfficeFailed");
                         });

TEST_F(ResultTest, WhenTheProgramEndsDuringASaveItsFolderIsRemoved) {
    addSource(QStringLiteral("x.odp"));
    bridge.onCall = [](const FakeBridge::Call& call) {
        if (call.name != QLatin1String("executeDispatch"))
            return;
        writeTestFile(QUrl(call.url).toLocalFile(), "half");
        program::exitNow(9);
    };

    EXPECT_EXIT(run(), ::testing::ExitedWithCode(9), "");

    EXPECT_EQ(entries(dir.path()), QStringList{"x.odp"});
}

// The start of an OpenDocument package whose first entry names its kind.
QByteArray packageStart(const QByteArray& mimetype) {
    QByteArray head("PK\x03\x04", 4);
    head += QByteArray(14, '\0');
    char number[4];
    qToLittleEndian<quint32>(mimetype.size(), number);
    head += QByteArray(number, 4) + QByteArray(number, 4);
    qToLittleEndian<quint16>(8, number);
    head += QByteArray(number, 2) + QByteArray(2, '\0');
    return head + "mimetype" + mimetype + "PK\x03\x04";
}

struct CauseCase {
    const char* name;
    Problem folderProblem;  // when the save folder is made
    Problem diagnosis;      // when the office reported a failure
    const char* mimetype;   // of the source
    const char* sentence;   // after the message; empty: none
};

void PrintTo(const CauseCase& c, std::ostream* os) {
    *os << c.name;
}

class FailureCauseTest : public RunFixture, public ::testing::WithParamInterface<CauseCase> {};

TEST_P(FailureCauseTest, AFailedSaveSaysWhyWhenTheSystemKnows) {
    const CauseCase& c = GetParam();
    MemoryFileSystem files(QLatin1Char('\\'));
    files.addFolder(QStringLiteral(R"(D:\Out)"));
    files.saveFolderProblem = c.folderProblem;
    files.diagnosis = c.diagnosis;
    const QString deck = QStringLiteral(R"(C:\Talks\Q1.odp)");
    files.addFile(deck).content = packageStart(c.mimetype);
    bridge.addRule({Action::DispatchFailure, QStringLiteral("executeDispatch"), 0, {}, {}});
    jobs.append(deck);
    view.choose(true, false, QStringLiteral(R"(D:\Out)"));

    runOn(files);

    ASSERT_EQ(reporter.steps(), QList<int>{160});
    QString expected =
        QStringLiteral("The office could not save \"D:/Out/Q1.ppt\" as PowerPoint 97.");
    if (*c.sentence)
        expected += QLatin1Char(' ') + QString::fromUtf8(c.sentence);
    EXPECT_EQ(reporter.reports[0].description, expected);
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")),
              c.folderProblem == Problem::None ? 1 : 0);
}

const char* const kPresentation = "application/vnd.oasis.opendocument.presentation";

INSTANTIATE_TEST_SUITE_P(
    Causes, FailureCauseTest,
    ::testing::Values(CauseCase{"ReadOnlyFileSystem", Problem::ReadOnlyFileSystem, Problem::None,
                                kPresentation, "The folder is on a read-only file system."},
                      CauseCase{"NoPermission", Problem::PermissionDenied, Problem::None,
                                kPresentation, "You have no permission to write in the folder."},
                      CauseCase{"NoSpaceLeft", Problem::None, Problem::NoSpace, kPresentation,
                                "There is no space left on the device."},
                      CauseCase{"NameTooLong", Problem::None, Problem::NameTooLong, kPresentation,
                                "The file name is too long for the file system."},
                      CauseCase{"Drawing", Problem::None, Problem::None,
                                "application/vnd.oasis.opendocument.graphics",
                                "The source file is not a presentation "
                                "(application/vnd.oasis.opendocument.graphics)."},
                      CauseCase{"NoKnownCause", Problem::None, Problem::None, kPresentation, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResultTest, AReadOnlyOutputFolderIsNamedAsTheCause) {
    addSource(QStringLiteral("x.odp"));
    const QString out = dir.filePath(QStringLiteral("out"));
    intoFolder(out);
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // A read-only file system of this process' own, over the output folder.
        ::close(channel[0]);
        const bool mounted =
            (::unshare(CLONE_NEWNS) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", QFile::encodeName(out).constData(), "tmpfs", MS_RDONLY, nullptr) == 0;
        if (!mounted)
            ::_exit(2);
        run();
        const QByteArray description = reporter.reports.value(0).description.toUtf8();
        const bool sent =
            ::write(channel[1], description.constData(), description.size()) == description.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray description;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        description.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no read-only file system can be mounted here (needs mount rights)";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(QString::fromUtf8(description),
              QStringLiteral("The office could not save %1 as PowerPoint 97. The folder is on a "
                             "read-only file system.")
                  .arg(quoted(out + QStringLiteral("/x.ppt"))));
}

}  // namespace
}  // namespace slate::testing
