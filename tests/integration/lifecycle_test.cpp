// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include "common/programexit.h"
#include "convert/officepool.h"
#include "convert/uno/officeprocess.h"
#include "convert/uno/unooffices.h"
#include "officefixture.h"
#include "support/officeprocesses.h"
#include "support/powerpointfile.h"

namespace slate::testing {
namespace {

// A loopback port that was free a moment ago: nothing listens there.
int freePort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(probe);
    return port;
}

bool processExists(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0;
}

class OfficeLifecycleTest : public OfficeSuite {};

TEST_F(OfficeLifecycleTest, ServiceManagerIsANewReferenceEachTime) {
    const OfficeRef first = bridge().obtainServiceManager();
    const OfficeRef second = bridge().obtainServiceManager();

    EXPECT_NE(first, second);
    // Both reach the same office: no second office was started.
    EXPECT_EQ(officeChildProcesses().size(), 1);
}

TEST_F(OfficeLifecycleTest, ShutdownEndsTheOfficeAndALaterCallStartsAnother) {
    const qint64 first = runningOffice();

    bridge().shutdown();

    EXPECT_FALSE(processExists(first));
    EXPECT_EQ(bridge().officeProcessId(), 0);
    EXPECT_EQ(officeChildProcesses(), QList<qint64>{});
    const qint64 second = runningOffice();
    EXPECT_NE(second, 0);
    EXPECT_NE(second, first);
}

// The office runs a graphics self-test of some seconds when it meets a version its profile has
// not run, as after an upgrade; the program's offices must not pay for it on every start.
TEST_F(OfficeLifecycleTest, AnUpgradedOfficeStartsWithoutItsGraphicsSelfTest) {
    bridge().shutdown();
    const QDir profiles(testOfficeOptions().effectiveProfileDir());
    const QStringList slotNames = profiles.entryList({QStringLiteral("slot-*")}, QDir::Dirs);
    static const QRegularExpression recorded(
        QStringLiteral("ooSetupLastVersion\"[^>]*><value>[^<]*"));
    for (const QString& slot : slotNames) {
        QFile::remove(profiles.filePath(slot + QStringLiteral("/user/GraphicsRenderTests.log")));
        QFile settings(profiles.filePath(slot + QStringLiteral("/user/registrymodifications.xcu")));
        if (!settings.open(QIODevice::ReadWrite))
            continue;
        QString text = QString::fromUtf8(settings.readAll());
        text.replace(recorded, QStringLiteral("ooSetupLastVersion\" oor:op=\"fuse\"><value>1.0"));
        settings.resize(0);
        settings.write(text.toUtf8());
    }

    runningOffice();
    bridge().shutdown();

    for (const QString& slot : profiles.entryList({QStringLiteral("slot-*")}, QDir::Dirs)) {
        EXPECT_FALSE(QFile::exists(
            profiles.filePath(slot + QStringLiteral("/user/GraphicsRenderTests.log"))))
            << slot.toStdString();
    }
}

// The exit hook is the pool's: it ends every office the pool started, and none starts after.
TEST_F(OfficeLifecycleTest, ExitHooksEndThePoolsOfficesForGood) {
    const qint64 suiteOffice = runningOffice();
    OfficePool pool(unoOffices(testOfficeOptions()), 2);
    for (const OfficePool::Check& check : pool.reach(2))
        ASSERT_TRUE(check.usable()) << check.reason.toStdString();
    ASSERT_EQ(officeChildProcesses().size(), 3);

    program::runExitHooks();

    EXPECT_EQ(officeChildProcesses(), QList<qint64>{suiteOffice});
    QString why;
    EXPECT_FALSE(pool.readyForFile(0, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("the program is ending"))) << why.toStdString();
    EXPECT_EQ(officeChildProcesses(), QList<qint64>{suiteOffice});
}

// The office's launcher outlives the office it started and goes on writing into the office's
// temporary folder, as an office does that has dropped its connection but not yet ended. The
// next office starts only once it has gone: its temporary folder holds nothing of the old one.
TEST_F(OfficeLifecycleTest, AnOfficeIsPreparedOnlyAfterTheOneBeforeItHasEnded) {
    const QString office = OfficeProcess::findOffice({}, nullptr);
    ASSERT_FALSE(office.isEmpty());
    const QString innerFile = path(QStringLiteral("inner"));
    const QString launcher = path(QStringLiteral("soffice"));
    {
        QFile script(launcher);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // 81 is the office asking to be started again once it has made a fresh profile.
        script.write("#!/bin/sh\nwhile :; do '" + office.toUtf8() + "' \"$@\" &\necho $! > '" +
                     innerFile.toUtf8() +
                     "'\nwait $!; [ $? = 81 ] || break; done\ntrap '' TERM\n"
                     "while :; do echo old >> \"$TMPDIR/old-office\"; sleep 0.02; done\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    OfficeOptions options = testOfficeOptions();
    options.officeExecutable = launcher;
    options.profileDir = path(QStringLiteral("profiles"));
    UnoBridge bridge(options);
    bridge.obtainServiceManager();
    QFile inner(innerFile);
    ASSERT_TRUE(inner.open(QIODevice::ReadOnly));
    ::kill(static_cast<pid_t>(inner.readAll().trimmed().toLongLong()), SIGKILL);
    const QString leftover = options.profileDir + QStringLiteral("/slot-1.tmp/old-office");
    for (int i = 0; i < 500 && !QFile::exists(leftover); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(QFile::exists(leftover)) << "the launcher did not go on";

    bridge.obtainServiceManager();

    EXPECT_FALSE(QFile::exists(leftover));
    bridge.shutdown();
}

TEST_F(OfficeLifecycleTest, RunningOfficeIsUsedButNeverStopped) {
    const qint64 office = runningOffice();
    const QString accepted = acceptedConnection(office);
    ASSERT_FALSE(accepted.isEmpty());
    OfficeOptions options = testOfficeOptions();
    options.connectUrl = QStringLiteral("uno:") + accepted;
    options.officeExecutable = QStringLiteral("/nonexistent/never-started");

    {
        UnoBridge connected(options);
        const QString odp = path(QStringLiteral("deck.odp"));
        makeOdp(connected, odp, SlideContent::numbered(1));
        EXPECT_TRUE(
            saveThroughOffice(connected, odp, path(QStringLiteral("deck.ppt")), kPowerPoint97)
                .succeeded());
        EXPECT_EQ(connected.officeProcessId(), 0);
        connected.shutdown();
    }

    EXPECT_TRUE(processExists(office));
    EXPECT_EQ(runningOffice(), office);
    EXPECT_TRUE(isPowerPoint97File(path(QStringLiteral("deck.ppt"))));
}

TEST_F(OfficeLifecycleTest, UnreachableRunningOfficeIsReportedUnavailable) {
    const int port = freePort();
    ASSERT_NE(port, 0);
    OfficeOptions options = testOfficeOptions();
    options.connectUrl = QStringLiteral("socket,host=127.0.0.1,port=%1;urp;").arg(port);
    UnoBridge unreachable(options);

    QElapsedTimer timer;
    timer.start();
    try {
        unreachable.obtainServiceManager();
        FAIL() << "connected to nothing";
    } catch (const OfficeUnavailableError& e) {
        EXPECT_TRUE(e.description().startsWith(
            QStringLiteral("LibreOffice could not be reached at \"%1\": ").arg(options.connectUrl)))
            << e.description().toStdString();
    }
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(officeChildProcesses(), QList<qint64>{});
}

}  // namespace
}  // namespace slate::testing
