// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/errorlocations.h"
#include "common/settings.h"
#include "common/specialfolders.h"
#include "joblist/joblist.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

TEST_F(WindowTest, FirstStartShowsTheDesktopFolderAndStoresIt) {
    MainWindow& w = window();
    w.Form_Load();
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), GetDesktopFolder(nativeFileSystem()));
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(control<QGroupBox>("Frame4")->isEnabled());
    EXPECT_EQ(GetSetting(Setting::Text1), GetDesktopFolder(nativeFileSystem()));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(WindowTest, EveryChoiceIsRestoredAtTheNextStart) {
    const QString out = programFolder.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    {
        MainWindow& w = window();
        w.Form_Load();
        w.show();
        dialogs.folderAnswers << out;
        QTest::mouseClick(control<QPushButton>("PushButton3"), Qt::LeftButton);
        EXPECT_EQ(control<QLineEdit>("Text1")->text(), out + QLatin1Char('/'));
        control<QRadioButton>("Option2")->click();
        EXPECT_FALSE(control<QGroupBox>("Frame4")->isEnabled());
    }
    restart();
    MainWindow& again = window();
    again.Form_Load();
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), out + QLatin1Char('/'));
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(control<QGroupBox>("Frame4")->isEnabled());
    // The picker opens where it was left, after the restart too.
    control<QRadioButton>("Option1")->click();
    QTest::mouseClick(control<QPushButton>("PushButton3"), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.last().kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown.last().defaultAnswer, out);
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(WindowTest, AnEmptiedFolderBoxStaysEmptyAfterARestart) {
    {
        MainWindow& w = window();
        w.Form_Load();
        control<QLineEdit>("Text1")->clear();
    }
    restart();
    window().Form_Load();
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), QString());
}

TEST_F(WindowTest, ABadStoredOptionIsReportedAtItsStepAndTheStartGoesOn) {
    SaveSetting(Setting::Option1, QStringLiteral("maybe"));
    MainWindow& w = window();
    w.Form_Load();
    ASSERT_EQ(reporter.reports.size(), 1);
    EXPECT_EQ(reporter.reports[0].step, 138);
    EXPECT_EQ(reporter.reports[0].location, location::kFormLoad);
    EXPECT_TRUE(reporter.reports[0].description.contains(QStringLiteral("\"Option1\"")));
    EXPECT_TRUE(reporter.reports[0].description.contains(settingsFilePath()));
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(control<QGroupBox>("Frame4")->isEnabled());
}

TEST_F(WindowTest, AddFilesButtonAppendsWhatTheDialogReturns) {
    MainWindow& w = window();
    dialogs.openAnswers << [](const OpenFileRequest&) {
        return QStringLiteral("/talks") + QChar(0) + QStringLiteral("b.odp") + QChar(0) +
               QStringLiteral("a.odp");
    };
    QTest::mouseClick(control<QPushButton>("PushButton1"), Qt::LeftButton);
    EXPECT_EQ(w.jobList().texts(), QStringList({"/talks/b.odp", "/talks/a.odp"}));
}

}  // namespace
}  // namespace slate
