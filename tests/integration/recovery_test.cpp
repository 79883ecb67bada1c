// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <thread>

#include <signal.h>

#include "convert/fileurl.h"
#include "officefixture.h"
#include "support/officeprocesses.h"
#include "support/powerpointfile.h"

namespace slate::testing {
namespace {

using namespace std::chrono_literals;

class OfficeRecoveryTest : public OfficeSuite {
  protected:
    void convertAndCheck(OfficeBridge& bridge, const QString& name) {
        const QString odp = path(name + QStringLiteral(".odp"));
        const QString ppt = path(name + QStringLiteral(".ppt"));
        makeOdp(bridge, odp, SlideContent::numbered(2));
        EXPECT_TRUE(saveThroughOffice(bridge, odp, ppt, kPowerPoint97).succeeded());
        QString why;
        EXPECT_TRUE(isPowerPoint97File(ppt, &why)) << why.toStdString();
    }

    static void loadNewPresentation(OfficeBridge& bridge, const OfficeRef& desktop) {
        bridge.loadComponentFromURL(desktop, QStringLiteral("private:factory/simpress"),
                                    QStringLiteral("_blank"), 0,
                                    {MakePropertyValue(bridge, QStringLiteral("Hidden"), true)});
    }
};

TEST_F(OfficeRecoveryTest, OfficeKilledBetweenFilesIsStartedAgain) {
    convertAndCheck(bridge(), QStringLiteral("first"));
    const qint64 first = bridge().officeProcessId();
    const OfficeRef oldDesktop = desktop();
    // The office keeps its temporary files in a folder of its profile slot, not in /tmp.
    const QString temp = environmentValue(first, "TMPDIR");
    ASSERT_TRUE(temp.startsWith(testOfficeOptions().effectiveProfileDir())) << temp.toStdString();
    const QStringList leftByFirst =
        QDir(temp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_FALSE(leftByFirst.isEmpty());

    ASSERT_EQ(::kill(static_cast<pid_t>(first), SIGKILL), 0);
    ASSERT_TRUE(waitForProcessEnd(first, 10000));

    // A call on an object of the dead office fails with a readable reason ...
    EXPECT_TRUE(officeErrorOf([&] {
                    loadNewPresentation(bridge(), oldDesktop);
                }).startsWith(QStringLiteral("The office stopped answering (DisposedException: ")));
    // ... and the next file gets a fresh office.
    convertAndCheck(bridge(), QStringLiteral("second"));
    EXPECT_NE(bridge().officeProcessId(), first);
    EXPECT_NE(bridge().officeProcessId(), 0);
    // What the killed office left there went with the new start.
    for (const QString& name : leftByFirst)
        EXPECT_FALSE(QFileInfo::exists(temp + QLatin1Char('/') + name)) << name.toStdString();
}

TEST_F(OfficeRecoveryTest, OfficeDyingDuringACallFailsThatCall) {
    const qint64 pid = runningOffice();
    const OfficeRef desk = desktop();
    // Stopped first, so the call is certainly under way when the office dies.
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGSTOP), 0);
    std::thread killer([pid] {
        std::this_thread::sleep_for(500ms);
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    });

    const QString failure = officeErrorOf([&] { loadNewPresentation(bridge(), desk); });
    killer.join();

    EXPECT_TRUE(failure.startsWith(QStringLiteral("The office stopped answering")))
        << failure.toStdString();
    convertAndCheck(bridge(), QStringLiteral("after"));
    EXPECT_NE(bridge().officeProcessId(), pid);
}

TEST_F(OfficeRecoveryTest, HungOfficeFailsTheCallAtTheLimitAndIsReplaced) {
    bridge().shutdown();
    OfficeOptions options = testOfficeOptions();
    options.callTimeoutSeconds = 3;
    UnoBridge quick(options);
    convertAndCheck(quick, QStringLiteral("before"));
    const qint64 hung = quick.officeProcessId();
    const OfficeRef desk = quick.createInstance(quick.obtainServiceManager(), kDesktopService);
    ASSERT_EQ(::kill(static_cast<pid_t>(hung), SIGSTOP), 0);

    QElapsedTimer timer;
    timer.start();
    const QString failure = officeErrorOf([&] { loadNewPresentation(quick, desk); });
    const qint64 waited = timer.elapsed();

    EXPECT_EQ(failure, QStringLiteral("LibreOffice did not answer within 3 seconds"));
    EXPECT_GE(waited, 2900);
    EXPECT_LT(waited, 8000);
    EXPECT_TRUE(waitForProcessEnd(hung, 5000)) << "the hung office was not killed";
    convertAndCheck(quick, QStringLiteral("after"));
    EXPECT_NE(quick.officeProcessId(), hung);
    quick.shutdown();
    EXPECT_EQ(officeChildProcesses(), QList<qint64>{});
}

}  // namespace
}  // namespace slate::testing
