// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/joblistview.h"
#include "joblist/joblist.h"
#include "support/tempfiles.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

class ConvertButton : public WindowTest {
  protected:
    QString makeSource(const QString& name) {
        return testing::writeTestFile(programFolder.filePath(name), "presentation");
    }
};

TEST_F(ConvertButton, ConvertsEveryRowBesideItsSourceWhileTheWindowIsBusy) {
    MainWindow& w = window();
    control<QRadioButton>("Option2")->setChecked(true);
    w.jobList().append(makeSource(QStringLiteral("one.odp")));
    w.jobList().append(makeSource(QStringLiteral("two.odp")));
    QList<bool> busyWhileLoading;
    bridge.onCall = [&](const FakeBridge::Call& call) {
        if (call.name == QLatin1String("loadComponentFromURL"))
            busyWhileLoading << w.isBusy();
    };
    QTest::mouseClick(control<QPushButton>("PushButton2"), Qt::LeftButton);
    EXPECT_EQ(busyWhileLoading, (QList<bool>{true, true}));
    EXPECT_TRUE(QFile::exists(programFolder.filePath(QStringLiteral("one.ppt"))));
    EXPECT_TRUE(QFile::exists(programFolder.filePath(QStringLiteral("two.ppt"))));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_TRUE(reporter.reports.isEmpty());
    EXPECT_FALSE(w.isBusy());
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 0);
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->text(), QStringLiteral("Progress Bar"));
}

TEST_F(ConvertButton, ClearListPressedBeforeTheFirstFileIsBusyEmptiesTheListMidRun) {
    MainWindow& w = window();
    control<QRadioButton>("Option2")->setChecked(true);
    w.jobList().append(makeSource(QStringLiteral("a.odp")));
    w.jobList().append(makeSource(QStringLiteral("b.odp")));
    // Queued now, handled when the run lets the window process its events for the first file.
    QTimer::singleShot(0, &w, [this] { control<QPushButton>("PushButton8")->click(); });
    QTest::mouseClick(control<QPushButton>("PushButton2"), Qt::LeftButton);
    EXPECT_EQ(w.jobList().count(), 0);
    const QList<int> steps = reporter.steps();
    EXPECT_TRUE(steps.contains(110));
    EXPECT_TRUE(steps.contains(112));
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Done."));
}

TEST_F(ConvertButton, ASecondClickDuringTheRunIsIgnored) {
    MainWindow& w = window();
    control<QRadioButton>("Option2")->setChecked(true);
    w.jobList().append(makeSource(QStringLiteral("a.odp")));
    QTimer::singleShot(0, &w, [this] { control<QPushButton>("PushButton2")->click(); });
    QTest::mouseClick(control<QPushButton>("PushButton2"), Qt::LeftButton);
    EXPECT_EQ(bridge.count(QStringLiteral("loadComponentFromURL")), 1);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(ConvertButton, AnEmptyListIsRefusedAndNothingElseChanges) {
    MainWindow& w = window();
    QTest::mouseClick(control<QPushButton>("PushButton2"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("No files added.")});
    EXPECT_EQ(w.pointer(), MousePointer::Default);
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->text(), QStringLiteral("Progress Bar"));
    EXPECT_TRUE(bridge.log().isEmpty());
}

}  // namespace
}  // namespace slate
