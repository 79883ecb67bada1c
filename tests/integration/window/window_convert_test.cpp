#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/mainwindow.h"
#include "common/platform/filesystem.h"
#include "common/settings.h"
#include "joblist/joblist.h"
#include "officefixture.h"
#include "support/fakes.h"
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

}  // namespace
}  // namespace slate::testing
