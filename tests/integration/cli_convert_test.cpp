// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <signal.h>

#include "officefixture.h"
#include "support/officeprocesses.h"
#include "support/powerpointfile.h"

// The command line, run as the user runs it, against a real office of its own.
namespace slate::testing {
namespace {

QString program() {
    return qEnvironmentVariable("SLATE_TEST_BIN_DIR") + QStringLiteral("/slatemere-converter");
}

// soffice.bin processes whose command line names `profileRoot`: the offices that one run of the
// command line started, wherever they were re-parented.
QList<qint64> officesUnder(const QString& profileRoot) {
    QList<qint64> found;
    for (const QString& entry :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = cmdline.readAll();
        if (text.contains("soffice.bin") && text.contains(profileRoot.toUtf8()))
            found << entry.toLongLong();
    }
    return found;
}

// An office that starts and never answers is given up after --timeout, not the start's own
// limit; no office is needed for it.
TEST(CliTimeoutTest, AStartedOfficeThatNeverAnswersIsGivenTheTimeout) {
    QTemporaryDir dir;
    const QString standIn = dir.filePath(QStringLiteral("soffice"));
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    QFile script(standIn);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho $$ > '" + pidFile.toUtf8() + "'\nexec sleep 60\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile deck(dir.filePath(QStringLiteral("a.odp")));
    ASSERT_TRUE(deck.open(QIODevice::WriteOnly));
    deck.write("deck");
    deck.close();
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SLATEMERE_OFFICE"), standIn);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();

    process.start(program(), {QStringLiteral("convert"), QStringLiteral("--timeout"),
                              QStringLiteral("2"), deck.fileName()});

    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError())
                    .contains(QStringLiteral("did not accept a connection within 2 seconds")));
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    EXPECT_NE(::kill(static_cast<pid_t>(pid.readAll().trimmed().toLongLong()), 0), 0)
        << "the stand-in office still runs";
}

class CliOfficeTest : public OfficeSuite {
  protected:
    QTemporaryDir cache;  // the command line's own office profiles live here
    QProcess process;
    QString out;
    QString err;

    void start(const QStringList& arguments, const QString& workingDir = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingDir.isEmpty() ? dir_.path() : workingDir);
        process.start(program(), QStringList{QStringLiteral("convert")} + arguments);
        ASSERT_TRUE(process.waitForStarted(10000)) << process.errorString().toStdString();
    }
    int finish() {
        EXPECT_TRUE(process.waitForFinished(180000));
        out = QString::fromUtf8(process.readAllStandardOutput());
        err += QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    int run(const QStringList& arguments) {
        start(arguments);
        return finish();
    }
    void TearDown() override {
        EXPECT_EQ(officesUnder(cache.path()), QList<qint64>{}) << "an office was left behind";
    }
    void odp(const QString& name, const QStringList& slides) {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        makeOdp(bridge(), path(name), SlideContent{slides, true});
    }
    void raw(const QString& name, const QByteArray& content) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    void expectDeck(const QString& ppt, const QStringList& slides) {
        QString why;
        const auto contents = readPowerPoint97(path(ppt), &why);
        ASSERT_TRUE(contents) << ppt.toStdString() << ": " << why.toStdString();
        EXPECT_EQ(contents->slides, slides.size()) << ppt.toStdString();
        for (const QString& text : slides)
            EXPECT_TRUE(contents->slideTexts.contains(text))
                << text.toStdString() << " in " << contents->slideTexts.join('|').toStdString();
    }
};

TEST_F(CliOfficeTest, ConvertsAFolderTreeAndReportsTheFilesTheOfficeCannotTake) {
    const QStringList names{
        QStringLiteral("plain"), QStringLiteral("with spaces"), QStringLiteral("#1 100%"),
        QStringLiteral("\u00dcbersicht \u65e5\u672c"), QStringLiteral("sub/nested")};
    for (const QString& name : names)
        odp(QStringLiteral("decks/") + name + QStringLiteral(".odp"),
            {QFileInfo(name).fileName(), QStringLiteral("Two")});
    raw(QStringLiteral("decks/corrupt.odp"), QByteArray("PK\x03\x04 this is no presentation"));
    raw(QStringLiteral("decks/empty.odp"), QByteArray());

    EXPECT_EQ(run({path(QStringLiteral("decks"))}), 1) << err.toStdString();

    for (const QString& name : names)
        expectDeck(QStringLiteral("decks/") + name + QStringLiteral(".ppt"),
                   {QFileInfo(name).fileName(), QStringLiteral("Two")});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("decks/corrupt.ppt"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("decks/empty.ppt"))));
    EXPECT_TRUE(out.startsWith(QStringLiteral("Done.\nConverted 5 of 7 files in ")))
        << out.toStdString();
    EXPECT_TRUE(out.endsWith(QStringLiteral(" s (2 failed)\n"))) << out.toStdString();
    // One line per failed file, naming it and why.
    for (const char* bad : {"corrupt.odp", "empty.odp"}) {
        const QString source = path(QStringLiteral("decks/")) + QString::fromLatin1(bad);
        EXPECT_TRUE(err.contains(QStringLiteral("\nslatemere-converter: %1: ").arg(source)));
    }
    EXPECT_EQ(err.count(QStringLiteral("Processing: ")), 7);
    EXPECT_EQ(err.count(QLatin1Char('\n')), 9) << err.toStdString();
}

TEST_F(CliOfficeTest, TwoOfficesConvertATreeAndTheFirstOfTwoSameNamesKeepsTheResult) {
    odp(QStringLiteral("tree/a.odp"), {QStringLiteral("A")});
    odp(QStringLiteral("tree/one/x.odp"), {QStringLiteral("First x")});
    odp(QStringLiteral("tree/two/x.odp"), {QStringLiteral("Second x")});
    odp(QStringLiteral("tree/two/deeper/b.odp"), {QStringLiteral("B")});
    QDir().mkpath(path(QStringLiteral("out")));

    EXPECT_EQ(run({QStringLiteral("-j"), QStringLiteral("2"), QStringLiteral("-o"),
                   QStringLiteral("out"), path(QStringLiteral("tree"))}),
              1)
        << err.toStdString();

    expectDeck(QStringLiteral("out/a.ppt"), {QStringLiteral("A")});
    expectDeck(QStringLiteral("out/b.ppt"), {QStringLiteral("B")});
    // The one earlier in the list keeps the name, as with one office.
    const QRegularExpressionMatch refused =
        QRegularExpression(QStringLiteral("/(one|two)/x\\.odp\" was not converted: its result "
                                          "\"[^\"]*/out/x\\.ppt\" would replace the one this run "
                                          "made from \"[^\"]*/(one|two)/x\\.odp\""))
            .match(err);
    ASSERT_TRUE(refused.hasMatch()) << err.toStdString();
    EXPECT_NE(refused.captured(1), refused.captured(2));
    expectDeck(QStringLiteral("out/x.ppt"),
               {refused.captured(2) == QLatin1String("one") ? QStringLiteral("First x")
                                                            : QStringLiteral("Second x")});
    EXPECT_EQ(entriesOf(path(QStringLiteral("out"))), (QStringList{"a.ppt", "b.ppt", "x.ppt"}));
    EXPECT_TRUE(out.contains(QStringLiteral("Converted 3 of 4 files"))) << out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(
        cache.filePath(QStringLiteral("slatemere-converter/office-profiles/slot-2"))))
        << "a second office never started";
}

// The processor time a process has used so far, in clock ticks.
qint64 busyTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

TEST_F(CliOfficeTest, SeveralRunningOfficesShareTheFilesAndAreLeftRunning) {
    UnoBridge second(testOfficeOptions());
    second.obtainServiceManager();
    const QList<qint64> offices{runningOffice(), second.officeProcessId()};
    QStringList arguments;
    for (const qint64 pid : offices)
        arguments << QStringLiteral("--office") << acceptedConnection(pid);
    for (const char* name : {"a", "b", "c", "d"}) {
        odp(QString::fromLatin1(name) + QStringLiteral(".odp"), {QString::fromLatin1(name)});
        arguments << path(QString::fromLatin1(name) + QStringLiteral(".odp"));
    }

    const qint64 idle[] = {busyTicks(offices[0]), busyTicks(offices[1])};

    EXPECT_EQ(run(arguments), 0) << err.toStdString();

    // Each office worked: converting even a small deck takes several ticks.
    EXPECT_GT(busyTicks(offices[0]) - idle[0], 5);
    EXPECT_GT(busyTicks(offices[1]) - idle[1], 5);
    for (const char* name : {"a", "b", "c", "d"})
        expectDeck(QString::fromLatin1(name) + QStringLiteral(".ppt"), {QString::fromLatin1(name)});
    EXPECT_EQ((QList<qint64>{bridge().officeProcessId(), second.officeProcessId()}), offices);
    EXPECT_FALSE(QFileInfo::exists(cache.filePath(QStringLiteral("slatemere-converter"))))
        << "an office of its own was started";
    second.shutdown();
}

TEST_F(CliOfficeTest, RelativeFilesIntoAnOutputFolder) {
    odp(QStringLiteral("src/one.odp"), {QStringLiteral("One")});
    odp(QStringLiteral("src/two.odp"), {QStringLiteral("Two")});
    QDir().mkpath(path(QStringLiteral("out")));

    EXPECT_EQ(run({QStringLiteral("-o"), QStringLiteral("out"), QStringLiteral("src/one.odp"),
                   QStringLiteral("src/../src/two.odp")}),
              0)
        << err.toStdString();

    expectDeck(QStringLiteral("out/one.ppt"), {QStringLiteral("One")});
    expectDeck(QStringLiteral("out/two.ppt"), {QStringLiteral("Two")});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("src/one.ppt"))));
}

TEST_F(CliOfficeTest, NothingToDoEndsWithStatusTwoWithoutStartingAnOffice) {
    raw(QStringLiteral("a.odp"), "x");
    QDir().mkpath(path(QStringLiteral("emptyfolder")));
    const QList<QStringList> cases{
        {},
        {QStringLiteral("--no-such-option"), QStringLiteral("a.odp")},
        {QStringLiteral("missing.odp")},
        {path(QStringLiteral("emptyfolder"))},
        {QStringLiteral("-o"), QStringLiteral("nowhere"), QStringLiteral("a.odp")},
    };
    for (const QStringList& arguments : cases) {
        err.clear();
        EXPECT_EQ(run(arguments), 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(cache.filePath(QStringLiteral("slatemere-converter"))))
        << "an office profile was made, so an office was started";
}

TEST_F(CliOfficeTest, AnOfficeThatDoesNotListenEndsWithStatusThree) {
    raw(QStringLiteral("a.odp"), "x");
    EXPECT_EQ(run({QStringLiteral("--office"),
                   QStringLiteral("pipe,name=slate-nobody-%1;urp;")
                       .arg(QCoreApplication::applicationPid()),
                   QStringLiteral("a.odp")}),
              3);
    EXPECT_TRUE(err.startsWith(QStringLiteral("The office could not be reached: ")));
}

TEST_F(CliOfficeTest, TerminatingTheRunLeavesNoOfficeBehind) {
    odp(QStringLiteral("a.odp"), {QStringLiteral("A")});
    QStringList files;
    // Enough files that the run is still going, with its office, when the check is made.
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("copy%1.odp").arg(i);
        QFile::copy(path(QStringLiteral("a.odp")), path(name));
        files << name;
    }
    start(files);
    // Once the second file is under way the office is up and working. Progress comes on
    // standard error, so that is the channel to wait on.
    process.setReadChannel(QProcess::StandardError);
    while (!err.contains(QStringLiteral("(2/60)")) && process.waitForReadyRead(60000))
        err += QString::fromUtf8(process.readAllStandardError());
    ASSERT_TRUE(err.contains(QStringLiteral("(2/60)"))) << err.toStdString();
    ASSERT_FALSE(officesUnder(cache.path()).isEmpty()) << cache.path().toStdString() << "\n"
                                                       << err.toStdString();

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);

    EXPECT_EQ(finish(), 128 + SIGTERM);
    for (int i = 0; i < 50 && !officesUnder(cache.path()).isEmpty(); ++i)
        QThread::msleep(100);
}

TEST_F(CliOfficeTest, TerminatingTheRunDuringASaveLeavesNothingBehind) {
    const QString src = path(QStringLiteral("src"));
    const QString out = path(QStringLiteral("out"));
    QDir().mkpath(src);
    QDir().mkpath(out);
    makeOdp(bridge(), src + QStringLiteral("/deck.odp"), SlideContent::numbered(300, true));
    raw(QStringLiteral("out/deck.ppt"), "old result");

    start({QStringLiteral("-o"), out, src + QStringLiteral("/deck.odp")});
    QElapsedTimer waited;
    waited.start();
    while (!saveUnderWay(out) && process.state() == QProcess::Running && waited.elapsed() < 120000)
        QThread::usleep(500);
    ASSERT_TRUE(saveUnderWay(out)) << "the save was not caught under way";
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);

    EXPECT_EQ(finish(), 128 + SIGTERM);
    EXPECT_EQ(entriesOf(src), QStringList{"deck.odp"});
    EXPECT_EQ(entriesOf(out), QStringList{"deck.ppt"});
    QFile old(path(QStringLiteral("out/deck.ppt")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old result"));
}

// Offices that ignore SIGTERM, as a busy one may: each is given its grace period, all of them at
// once, and a second signal ends them without waiting.
class SignalledRunTest : public CliOfficeTest, public ::testing::WithParamInterface<int> {};

TEST_P(SignalledRunTest, EndsEveryOfficeAtOnceAndASecondSignalWithoutWaiting) {
    const int signalCount = GetParam();
    const QString pids = path(QStringLiteral("pids"));
    const QString standIn = path(QStringLiteral("soffice"));
    {
        QFile script(standIn);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho $$ >> '" + pids.toUtf8() +
                     "'\ntrap '' TERM\nexec sleep 60\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList files;
    for (const char* name : {"a.odp", "b.odp", "c.odp"}) {
        raw(QString::fromLatin1(name), "deck");
        files << QString::fromLatin1(name);
    }
    qputenv("SLATEMERE_OFFICE", QFile::encodeName(standIn));
    start(QStringList{QStringLiteral("-j3"), QStringLiteral("-q")} + files);
    qunsetenv("SLATEMERE_OFFICE");
    const auto standIns = [&] {
        QFile file(pids);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().split('\n')
                                              : QList<QByteArray>{};
    };
    for (int i = 0; i < 1000 && standIns().size() < 3; ++i)
        QThread::msleep(10);
    ASSERT_EQ(standIns().size(), 3);

    QElapsedTimer ending;
    ending.start();
    const auto pid = static_cast<pid_t>(process.processId());
    ::kill(pid, SIGINT);
    if (signalCount == 2) {
        QThread::msleep(200);
        ::kill(pid, SIGINT);
    }

    EXPECT_EQ(finish(), 128 + SIGINT);
    // One grace period of two seconds, not one for each office; none after a second signal.
    EXPECT_LT(ending.elapsed(), signalCount == 2 ? 1200 : 3500) << err.toStdString();
    for (const QByteArray& each : standIns())
        EXPECT_NE(::kill(static_cast<pid_t>(each.toLongLong()), 0), 0)
            << "stand-in " << each.data();
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalledRunTest, ::testing::Values(1, 2), [](const auto& info) {
    return std::string(info.param == 1 ? "One" : "Two");
});

}  // namespace
}  // namespace slate::testing
