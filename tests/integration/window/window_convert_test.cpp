// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <QProcess>
#include <QTimer>

#include <csignal>

#include "app/mainwindow.h"
#include "common/platform/filesystem.h"
#include "common/settings.h"
#include "convert/officepool.h"
#include "convert/uno/unooffices.h"
#include "joblist/joblist.h"
#include "officefixture.h"
#include "support/fakes.h"
#include "support/officeprocesses.h"
#include "support/powerpointfile.h"
#include "support/scripteddialogs.h"
#include "support/windowcontrols.h"

namespace slate::testing {
namespace {

// The window as a user drives it, with the real office behind it.
class WindowWithOffice : public OfficeSuite, protected ScriptedWindowServices {
  protected:
    void SetUp() override {
        ASSERT_TRUE(settingsFolder.isValid());
        window = std::make_unique<MainWindow>(services(bridge(), nativeFileSystem(), dir_.path()));
        window->setCloseAction([] {});
        window->Form_Load();
        window->show();
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowWithOffice, StartConvertingWritesGenuinePowerPointFilesIntoTheChosenFolder) {
    QDir(dir_.path()).mkpath(QStringLiteral("talks"));
    QDir(dir_.path()).mkpath(QStringLiteral("out"));
    makeOdp(bridge(), path(QStringLiteral("talks/Q1 review #2.odp")),
            SlideContent{{QStringLiteral("Quarter one"), QStringLiteral("Numbers")}, true});
    makeOdp(bridge(), path(QStringLiteral("talks/Übersicht.odp")),
            SlideContent{{QStringLiteral("Überblick")}, false});

    dialogs.openAnswers << [&](const OpenFileRequest&) {
        return path(QStringLiteral("talks")) + QChar(0) + QStringLiteral("Q1 review #2.odp") +
               QChar(0) + QStringLiteral("Übersicht.odp");
    };
    QTest::mouseClick(controlOf<QPushButton>(*window, "PushButton1"), Qt::LeftButton);
    ASSERT_EQ(window->jobList().count(), 2);

    dialogs.folderAnswers << path(QStringLiteral("out"));
    QTest::mouseClick(controlOf<QPushButton>(*window, "PushButton3"), Qt::LeftButton);
    ASSERT_EQ(controlOf<QLineEdit>(*window, "Text1")->text(),
              path(QStringLiteral("out")) + QLatin1Char('/'));

    QTest::mouseClick(controlOf<QPushButton>(*window, "PushButton2"), Qt::LeftButton);

    EXPECT_TRUE(reporter.reports.isEmpty());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(controlOf<QProgressBar>(*window, "ProgressBar1")->text(),
              QStringLiteral("Progress Bar"));
    EXPECT_FALSE(window->isBusy());
    QString why;
    const auto first = readPowerPoint97(path(QStringLiteral("out/Q1 review #2.ppt")), &why);
    ASSERT_TRUE(first.has_value()) << why.toStdString();
    EXPECT_EQ(first->slides, 2);
    EXPECT_TRUE(first->slideTexts.contains(QStringLiteral("Quarter one")));
    EXPECT_TRUE(isPowerPoint97File(path(QStringLiteral("out/Übersicht.ppt")), &why))
        << why.toStdString();
}

TEST_F(WindowWithOffice, AFileTheOfficeCannotOpenIsReportedAndTheNextOneConverts) {
    QFile bad(path(QStringLiteral("broken.odp")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a presentation");
    bad.close();
    makeOdp(bridge(), path(QStringLiteral("good.odp")), SlideContent{});
    controlOf<QRadioButton>(*window, "Option2")->click();
    window->jobList().append(path(QStringLiteral("broken.odp")));
    window->jobList().append(path(QStringLiteral("good.odp")));

    QTest::mouseClick(controlOf<QPushButton>(*window, "PushButton2"), Qt::LeftButton);

    ASSERT_FALSE(reporter.reports.isEmpty());
    EXPECT_EQ(reporter.reports.first().step, 134);
    EXPECT_TRUE(reporter.reports.first().description.contains(QStringLiteral("broken.odp")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("broken.ppt"))));
    EXPECT_TRUE(isPowerPoint97File(path(QStringLiteral("good.ppt"))));
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Done."));
}

// The window on two offices of its own, as the program runs it.
class WindowOnTwoOffices : public OfficeSuite, protected ScriptedWindowServices {
  protected:
    void SetUp() override {
        OfficeOptions options = testOfficeOptions();
        options.profileDir = path(QStringLiteral("profiles"));
        pool = std::make_unique<OfficePool>(unoOffices(options), 2);
        pool->grow(1);
        WindowServices s = services(pool->bridge(0), nativeFileSystem(), dir_.path());
        s.offices = pool.get();
        window = std::make_unique<MainWindow>(s);
        window->setCloseAction([] {});
        window->setOfficeCount([](int) { return 2; });
        controlOf<QRadioButton>(*window, "Option2")->setChecked(true);
    }
    void TearDown() override {
        window.reset();
        pool.reset();
        EXPECT_EQ(officeChildProcesses(), QList<qint64>{bridge().officeProcessId()});
    }

    std::unique_ptr<OfficePool> pool;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowOnTwoOffices, AnOfficeKilledMidRunFailsTheFileItHeldAndTheRestConvert) {
    const qint64 suiteOffice = runningOffice();
    QStringList names;
    for (int i = 1; i <= 6; ++i) {
        names << QStringLiteral("deck%1").arg(i);
        makeOdp(bridge(), path(names.last() + QStringLiteral(".odp")), SlideContent::numbered(150));
        window->jobList().append(path(names.last() + QStringLiteral(".odp")));
    }
    // Once the second office has taken the second deck, it dies.
    qint64 killed = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QList<qint64> ours = officeChildProcesses();
        ours.removeAll(suiteOffice);
        const QString text = controlOf<QProgressBar>(*window, "ProgressBar1")->text();
        if (!killed && ours.size() == 2 && text.contains(QStringLiteral("deck2"))) {
            killed = *std::max_element(ours.begin(), ours.end());
            ::kill(static_cast<pid_t>(killed), SIGKILL);
        }
    });
    watch.start(20);
    QTest::mouseClick(controlOf<QPushButton>(*window, "PushButton2"), Qt::LeftButton);
    watch.stop();

    ASSERT_NE(killed, 0) << "the second office never took a deck";
    int converted = 0;
    for (const QString& name : names)
        converted += isPowerPoint97File(path(name + QStringLiteral(".ppt"))) ? 1 : 0;
    EXPECT_GE(converted, 5);
    EXPECT_EQ(converted == 6, reporter.reports.isEmpty());
    if (!reporter.reports.isEmpty()) {
        EXPECT_FALSE(isPowerPoint97File(path(QStringLiteral("deck2.ppt"))));
    }
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Done."));
}

// Closing the window ends the program at once: the real program, closed mid-run, leaves no
// office, no lock, no temporary or save folder, and only whole results.
TEST_F(OfficeSuite, TheWindowClosedMidRunLeavesNothingBehind) {
    QStringList args{path(QStringLiteral("out"))};
    ASSERT_TRUE(QDir().mkpath(args.first()));
    for (int i = 1; i <= 8; ++i) {
        args << path(QStringLiteral("deck%1.odp").arg(i));
        makeOdp(bridge(), args.last(), SlideContent::numbered(60));
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral("cache")));
    program.setProcessEnvironment(env);
    program.start(
        qEnvironmentVariable("SLATE_TEST_BIN_DIR") + QStringLiteral("/slate-window-bench"),
        args + QStringList{QStringLiteral("--close-after"), QStringLiteral("2500")});
    ASSERT_TRUE(program.waitForFinished(120000)) << program.errorString().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    QThread::msleep(300);
    QStringList left = entriesOf(path(QStringLiteral("cache/slatemere-converter/office-profiles")));
    left = left.filter(QRegularExpression(QStringLiteral("\\.(lock|tmp)$")));
    EXPECT_EQ(left, QStringList{});
    for (const QString& entry : entriesOf(path(QStringLiteral("out"))))
        EXPECT_TRUE(isPowerPoint97File(path(QStringLiteral("out/") + entry)))
            << entry.toStdString();
    QProcess ps;
    ps.start(QStringLiteral("pgrep"), {QStringLiteral("-f"), path(QStringLiteral("cache"))});
    ps.waitForFinished();
    EXPECT_EQ(ps.readAllStandardOutput(), QByteArray())
        << "an office of the closed window still runs";
}

}  // namespace
}  // namespace slate::testing
