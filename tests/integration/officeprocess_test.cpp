// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <atomic>

#include <signal.h>
#include <unistd.h>

#include "convert/uno/officeoptions.h"
#include "convert/uno/officeprocess.h"
#include "convert/uno/profileslot.h"
#include "convert/uno/unobridge.h"
#include "support/officeprocesses.h"

// Starting, finding and watching the office without a real one: stand-in programs play it.
namespace slate::testing {
namespace {

using namespace std::chrono_literals;

class StandInOfficeTest : public ::testing::Test {
  protected:
    // An executable shell script in the temporary folder.
    QString script(const QString& name, const QByteArray& body) {
        const QString file = dir_.filePath(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("#!/bin/sh\n" + body + "\n");
        out.close();
        out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return file;
    }

    OfficeOptions options(const QString& executable, int startSeconds = 10) {
        OfficeOptions o;
        o.officeExecutable = executable;
        o.startTimeoutSeconds = startSeconds;
        o.profileDir = dir_.filePath(QStringLiteral("profiles"));
        return o;
    }

    static QString startFailure(UnoBridge& bridge) {
        try {
            bridge.obtainServiceManager();
        } catch (const OfficeUnavailableError& e) {
            return e.description();
        }
        return QStringLiteral("<no OfficeUnavailableError>");
    }

    QTemporaryDir dir_;
};

TEST_F(StandInOfficeTest, MissingProgramIsReported) {
    UnoBridge bridge(options(dir_.filePath(QStringLiteral("no/soffice"))));

    EXPECT_EQ(startFailure(bridge),
              QStringLiteral("LibreOffice could not be started: the office program \"%1\" is not "
                             "an executable file")
                  .arg(dir_.filePath(QStringLiteral("no/soffice"))));
}

TEST_F(StandInOfficeTest, OfficeEndingAtOnceIsReportedWithItsLastWords) {
    UnoBridge bridge(
        options(script(QStringLiteral("soffice"), "echo 'no display here' >&2\nexit 3")));

    EXPECT_EQ(startFailure(bridge),
              QStringLiteral("LibreOffice could not be started: the office ended at once (exit "
                             "code 3): no display here"));
    EXPECT_EQ(bridge.officeProcessId(), 0);
}

// A fresh profile makes the office exit with 81 and wait to be started again; an office that
// never stops asking is given up after a few rounds.
TEST_F(StandInOfficeTest, RestartRequestsAreFollowedAFewTimes) {
    const QString starts = dir_.filePath(QStringLiteral("starts"));
    UnoBridge bridge(options(
        script(QStringLiteral("soffice"), "echo start >> '" + starts.toUtf8() + "'\nexit 81")));

    EXPECT_TRUE(startFailure(bridge).endsWith(QStringLiteral("(exit code 81)")));
    QFile log(starts);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count('\n'), 4);
}

TEST_F(StandInOfficeTest, OfficeThatNeverListensIsEndedAtTheStartLimit) {
    const QString pidFile = dir_.filePath(QStringLiteral("pid"));
    UnoBridge bridge(options(
        script(QStringLiteral("soffice"), "echo $$ > '" + pidFile.toUtf8() + "'\nexec sleep 60"),
        2));

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(
        startFailure(bridge),
        QStringLiteral(
            "LibreOffice could not be started: it did not accept a connection within 2 seconds"));
    EXPECT_LT(timer.elapsed(), 6000);
    QFile pid(pidFile);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    const qint64 standIn = pid.readAll().trimmed().toLongLong();
    EXPECT_NE(::kill(static_cast<pid_t>(standIn), 0), 0) << "the stand-in office still runs";
}

// Between a restart and the next start another copy of the program must not take the profile.
TEST_F(StandInOfficeTest, ARestartKeepsTheProfileAndAShutdownGivesItUp) {
    UnoBridge bridge(options(script(QStringLiteral("soffice"), "exit 3")));
    startFailure(bridge);
    const QString profiles = dir_.filePath(QStringLiteral("profiles"));

    bridge.restart();
    EXPECT_EQ(ProfileSlot::acquire(profiles)->number(), 2);

    bridge.shutdown();
    EXPECT_EQ(ProfileSlot::acquire(profiles)->number(), 1);
}

TEST_F(StandInOfficeTest, ARelativeCacheFolderIsNotHandedToTheOffice) {
    const QString seen = dir_.filePath(QStringLiteral("seen"));
    UnoBridge bridge(
        options(script(QStringLiteral("soffice"),
                       "echo \"${XDG_CACHE_HOME-unset}\" > '" + seen.toUtf8() + "'\nexit 3")));
    const QByteArray before = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "relative/cache");

    startFailure(bridge);
    qputenv("XDG_CACHE_HOME", before);

    QFile file(seen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().trimmed(), QByteArray("unset"));
}

TEST_F(StandInOfficeTest, ProgramIsStartedWithAPrivateProfileAndUtf8Locale) {
    const QString seen = dir_.filePath(QStringLiteral("seen"));
    UnoBridge bridge(
        options(script(QStringLiteral("soffice"), "echo \"$LC_ALL\" > '" + seen.toUtf8() +
                                                      "'\nfor a in \"$@\"; do echo \"$a\" >> '" +
                                                      seen.toUtf8() + "'; done\nexit 3")));

    startFailure(bridge);

    QFile file(seen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.value(0), QStringLiteral("C.UTF-8"));
    EXPECT_TRUE(lines.contains(QStringLiteral("--headless")));
    EXPECT_TRUE(lines.contains(QStringLiteral("--norestore")));
    EXPECT_TRUE(lines.contains(QStringLiteral("-env:UserInstallation=file://") +
                               dir_.filePath(QStringLiteral("profiles/slot-1"))));
    const QString accept = lines.filter(QStringLiteral("--accept=pipe,name=")).value(0);
    EXPECT_TRUE(accept.endsWith(QStringLiteral(";urp;StarOffice.ComponentContext")))
        << accept.toStdString();
}

TEST(OfficeFinderTest, LauncherScriptIsReplacedByTheOfficeBinaryBesideIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("program")));
    for (const char* name : {"program/soffice", "program/soffice.bin"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("program/soffice")),
                            dir.filePath(QStringLiteral("soffice"))));
    const QString binary = dir.filePath(QStringLiteral("program/soffice.bin"));

    EXPECT_EQ(OfficeProcess::findOffice(dir.filePath(QStringLiteral("program/soffice")), nullptr),
              binary);
    // Through a symbolic link, as /usr/bin/soffice is.
    EXPECT_EQ(OfficeProcess::findOffice(dir.filePath(QStringLiteral("soffice")), nullptr), binary);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    const QString fromPath = OfficeProcess::findOffice(QString(), nullptr);
    qputenv("PATH", oldPath);
    EXPECT_EQ(fromPath, binary);
}

TEST(OfficeFinderTest, NonExecutableChoiceIsRefusedWithAReason) {
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("soffice")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QString why;

    EXPECT_EQ(OfficeProcess::findOffice(plain.fileName(), &why), QString());
    EXPECT_TRUE(why.contains(plain.fileName())) << why.toStdString();
}

TEST(ProfileSlotTest, CopiesRunningAtOnceGetSeparateProfiles) {
    QTemporaryDir dir;
    auto first = ProfileSlot::acquire(dir.path());
    auto second = ProfileSlot::acquire(dir.path());

    EXPECT_EQ(first->number(), 1);
    EXPECT_EQ(second->number(), 2);
    EXPECT_NE(first->profilePath(), second->profilePath());
    first.reset();
    // The freed profile is used again, already set up.
    EXPECT_EQ(ProfileSlot::acquire(dir.path())->number(), 1);
}

TEST(ProfileSlotTest, LockOfAProgramThatDiedIsTakenOver) {
    QTemporaryDir dir;
    // A lock file as QLockFile writes it, owned by a process that has ended.
    OfficeProcess ended;
    ended.start(QStringLiteral("/bin/true"), {}, {}, dir.filePath(QStringLiteral("true.log")));
    const qint64 deadPid = ended.pid();
    while (ended.isRunning())
        QThread::msleep(5);
    QFile lock(dir.filePath(QStringLiteral("slot-1.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\ntests_integration\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();

    EXPECT_EQ(ProfileSlot::acquire(dir.path())->number(), 1);
}

// Tasks on several hosts share one home: a lock of another host is taken over only once its
// holder has stopped renewing it.
struct ForeignLockCase {
    const char* name;
    int ageSeconds;
    int slotTaken;
};

class ForeignLockTest : public ::testing::TestWithParam<ForeignLockCase> {};

TEST_P(ForeignLockTest, IsFreeOnlyOnceItIsNoLongerRenewed) {
    QTemporaryDir dir;
    QFile lock(dir.filePath(QStringLiteral("slot-1.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    // A live-looking process: on another host it cannot be asked.
    lock.write(QByteArray::number(::getpid()) + "\nslatemere-converter\nnode-elsewhere-7\n");
    ASSERT_TRUE(lock.flush());
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-GetParam().ageSeconds),
                                 QFileDevice::FileModificationTime));
    lock.close();

    EXPECT_EQ(ProfileSlot::acquire(dir.path())->number(), GetParam().slotTaken);
}

INSTANTIATE_TEST_SUITE_P(Ages, ForeignLockTest,
                         ::testing::Values(ForeignLockCase{"RenewedJustNow", 5, 2},
                                           ForeignLockCase{"RenewedFourMinutesAgo", 240, 2},
                                           ForeignLockCase{"HostGoneSixMinutes", 360, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileSlotTest, AHeldSlotRenewsItsLockSoNoOtherHostTakesIt) {
    QTemporaryDir dir;
    const ProfileSlot::Lease lease{std::chrono::milliseconds(2000), std::chrono::milliseconds(50)};
    auto held = ProfileSlot::acquire(dir.path(), 4, lease);
    QFile lock(dir.filePath(QStringLiteral("slot-1.lock")));
    ASSERT_TRUE(lock.open(QIODevice::Append));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    lock.close();
    QThread::msleep(300);

    EXPECT_LT(QFileInfo(lock.fileName()).lastModified().secsTo(QDateTime::currentDateTime()), 5);
    EXPECT_EQ(ProfileSlot::acquire(dir.path(), 4, lease)->number(), 2);
    held.reset();
    EXPECT_FALSE(QFile::exists(lock.fileName())) << "a renewal brought the lock back";
}

TEST(ProfileSlotTest, FullOrUnusableFolderIsReported) {
    QTemporaryDir dir;
    auto only = ProfileSlot::acquire(dir.path(), 1);
    EXPECT_THROW(ProfileSlot::acquire(dir.path(), 1), OfficeUnavailableError);

    QFile file(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_THROW(ProfileSlot::acquire(file.fileName() + QStringLiteral("/profiles")),
                 OfficeUnavailableError);
}

struct ProfileFolderCase {
    const char* name;
    const char* cacheHome;  // "%1" stands for the test's folder
    const char* home;
    bool openedUp;         // the private folder under the temporary one exists, open to others
    const char* expected;  // empty: no folder can be used
    bool temporary;
};
void PrintTo(const ProfileFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileFolderTest : public ::testing::TestWithParam<ProfileFolderCase> {};

TEST_P(ProfileFolderTest, FollowsTheXdgRulesAndFallsBackToAPrivateTemporaryFolder) {
    const ProfileFolderCase& c = GetParam();
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("home")));
    QDir().mkpath(dir.filePath(QStringLiteral("tmp")));
    const QString own = dir.filePath(QStringLiteral("tmp/slatemere-converter-%1").arg(::getuid()));
    if (c.openedUp) {
        QDir().mkpath(own);
        QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                       QFile::ReadOther | QFile::ExeOther);
    }
    const auto filled = [&](const char* text) {
        return QString::fromUtf8(text)
            .arg(dir.path())
            .replace(QStringLiteral("%u"), QString::number(::getuid()));
    };

    const ProfileFolder folder = defaultProfileFolder(filled(c.cacheHome), filled(c.home),
                                                      dir.filePath(QStringLiteral("tmp")));

    EXPECT_EQ(folder.path, filled(c.expected));
    EXPECT_EQ(folder.temporary, c.temporary);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileFolderTest,
    ::testing::Values(ProfileFolderCase{"CacheHome", "%1/cache", "%1/home", false,
                                        "%1/cache/slatemere-converter/office-profiles", false},
                      ProfileFolderCase{"RelativeCacheHomeIsIgnored", "cache", "%1/home", false,
                                        "%1/home/.cache/slatemere-converter/office-profiles",
                                        false},
                      ProfileFolderCase{"NoHome", "", "", false,
                                        "%1/tmp/slatemere-converter-%u/office-profiles", true},
                      ProfileFolderCase{"RelativeHome", "", "home", false,
                                        "%1/tmp/slatemere-converter-%u/office-profiles", true},
                      ProfileFolderCase{"MissingHome", "", "%1/gone", false,
                                        "%1/tmp/slatemere-converter-%u/office-profiles", true},
                      ProfileFolderCase{"PrivateFolderOpenToOthers", "", "", true, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Settings files as a new profile, an office's own writing and a changed setting leave them.
class DocumentLockingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DocumentLockingTest, TheProfileTurnsDocumentLocksOffRecordsTheVersionAndKeepsTheRest) {
    QTemporaryDir dir;
    auto slot = ProfileSlot::acquire(dir.path());
    const QString settings =
        slot->profilePath() + QStringLiteral("/user/registrymodifications.xcu");
    const QByteArray before(GetParam());
    if (!before.isEmpty()) {
        QDir().mkpath(QFileInfo(settings).path());
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }

    slot->prepareSettings(QStringLiteral("7.4"));
    slot->prepareSettings(QStringLiteral("7.4"));

    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QXmlStreamReader xml(after);
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << after.constData();
    EXPECT_EQ(after.count("UseLocking"), 1) << after.constData();
    EXPECT_TRUE(
        after.contains("<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop "
                       "oor:name=\"UseLocking\" oor:op=\"fuse\"><value>false</value>"))
        << after.constData();
    EXPECT_EQ(after.contains("FirstRun"), before.contains("FirstRun"));
    EXPECT_EQ(after.count("ooSetupLastVersion"), 1) << after.constData();
    EXPECT_TRUE(after.contains("oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\"><value>7.4<"));
}

// Without the recorded version every start of the office pays for its graphics self-test.
TEST(OfficeVersionTest, TheInstalledOfficeTellsItsVersion) {
    const QString office = OfficeProcess::findOffice({}, nullptr);
    ASSERT_FALSE(office.isEmpty());
    const QString version = OfficeProcess::installedVersion(office);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]+\\.[0-9]+$")).match(version).hasMatch())
        << version.toStdString();
    EXPECT_TRUE(OfficeProcess::installedVersion(QStringLiteral("/nonexistent/soffice")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DocumentLockingTest,
    ::testing::Values(
        "",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
        "xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n<item "
        "oor:path=\"/org.openoffice.Setup/Office\"><prop oor:name=\"FirstRun\" "
        "oor:op=\"fuse\"><value>false</value></prop></item>\n<item "
        "oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"UseLocking\" "
        "oor:op=\"fuse\"><value>true</value></prop></item>\n</oor:items>\n",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
        "xmlns:oor=\"http://openoffice.org/2001/registry\">\n<item "
        "oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" "
        "oor:op=\"fuse\"><value>7.3</value></prop></item>\n</oor:items>\n"),
    [](const auto& info) {
        return std::string(info.index == 0   ? "NewProfile"
                           : info.index == 1 ? "LockingWasOn"
                                             : "OlderVersion");
    });

TEST(WatchdogTest, FiresOnlyWhenNotDisarmedInTime) {
    OfficeProcess keeper;
    std::atomic<int> fired{0};

    keeper.arm(50ms, [&] { ++fired; });
    QThread::msleep(300);
    EXPECT_TRUE(keeper.disarm());
    EXPECT_EQ(fired, 1);

    keeper.arm(10s, [&] { ++fired; });
    EXPECT_FALSE(keeper.disarm());
    QThread::msleep(100);
    EXPECT_EQ(fired, 1);
}

TEST(WatchdogTest, StopEndsAStoppedProcessGroup) {
    QTemporaryDir dir;
    OfficeProcess process;
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("sleep 60 & wait")}, {},
                  dir.filePath(QStringLiteral("sh.log")));
    const qint64 pid = process.pid();
    ASSERT_NE(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGSTOP);

    process.stop(500ms);

    EXPECT_EQ(process.pid(), 0);
    EXPECT_NE(::kill(static_cast<pid_t>(pid), 0), 0);
    // The child of the child went with it: nothing is left in the group. Killed with its
    // parent, it is reaped by whoever adopts it, a moment later.
    bool groupGone = false;
    for (int i = 0; i < 200 && !groupGone; ++i) {
        groupGone = ::kill(-static_cast<pid_t>(pid), 0) != 0;
        if (!groupGone)
            QThread::msleep(10);
    }
    EXPECT_TRUE(groupGone);
}

TEST(WatchdogTest, AnEndedOfficesPipeCannotEndTheProgramYetTheOfficeKeepsItsSignals) {
    QTemporaryDir dir;
    OfficeProcess process;
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 60")}, {},
                  dir.filePath(QStringLiteral("sh.log")));
    struct sigaction ours {};
    ::sigaction(SIGPIPE, nullptr, &ours);
    QFile status(QStringLiteral("/proc/%1/status").arg(process.pid()));
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    QByteArray ignored;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigIgn:"))
            ignored = line;
    process.stop(500ms);

    EXPECT_EQ(ours.sa_handler, SIG_IGN);
    const quint64 mask = ignored.mid(7).trimmed().toULongLong(nullptr, 16);
    EXPECT_EQ(mask & (1ULL << (SIGPIPE - 1)), 0u) << ignored.toStdString();
}

}  // namespace
}  // namespace slate::testing
