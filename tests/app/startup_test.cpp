// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QLineEdit>
#include <QPushButton>

#include "common/apptitle.h"
#include "common/product.h"
#include "common/settings.h"
#include "convert/presencecheck.h"
#include "joblist/joblist.h"
#include "joblist/samples.h"
#include "support/tempfiles.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

struct DrawCase {
    double fraction;
    bool opens;
};
class HomePageDraw : public WindowTest, public ::testing::WithParamInterface<DrawCase> {};
TEST_P(HomePageDraw, OpensTheHomePageOnlyWhenTheDrawIsSeven) {
    random.draws = {GetParam().fraction};
    window().Form_Load();
    EXPECT_EQ(shell.openedUrls, GetParam().opens ? QStringList{product::kHomePage} : QStringList{});
}
INSTANTIATE_TEST_SUITE_P(Startup, HomePageDraw,
                         ::testing::Values(DrawCase{0.06, true}, DrawCase{0.0699, true},
                                           DrawCase{0.07, false}, DrawCase{0.059, false},
                                           DrawCase{0.0, false}, DrawCase{0.999, false}));

TEST_F(WindowTest, WithTheOfficeReachableTheStartUpShowsNothing) {
    window().Form_Load();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(endRequests, 0);
    EXPECT_EQ(bridge.count(QStringLiteral("obtainServiceManager")), 1);
}

TEST_F(WindowTest, WithoutTheOfficeTheStartUpOffersTheDownloadPageAndEndsTheProgram) {
    setAppTitleText(product::kName);
    bridge.addRule({FakeBridge::Action::Unavailable,
                    QStringLiteral("obtainServiceManager"),
                    0,
                    {},
                    QStringLiteral("LibreOffice could not be started: not found")});
    dialogs.messageAnswers << MsgAnswer::Yes;
    window().Form_Load();
    ASSERT_EQ(dialogs.shown.size(), 1);
    const auto& shown = dialogs.shown.first();
    EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
    EXPECT_EQ(shown.icon, MsgIcon::None);
    EXPECT_EQ(shown.caption, QStringLiteral("Slatemere"));
    EXPECT_EQ(shown.text,
              QStringLiteral("Error 214878392\r\n\r\nOpenOffice is required to run this software. "
                             "It is not installed on this computer.\r\rWoud you like to open this "
                             "site now?\r\n\r\n(If you think this error is a mistake and you have "
                             "OpenOffice installed, please email a screenshot of this error "
                             "message and a screenshot of the OpenOffice 'About' window to ") +
                  product::kSupportAddress + QStringLiteral(")"));
    EXPECT_EQ(shell.openedUrls, QStringList{product::kOfficeDownloadPage});
    EXPECT_TRUE(product::kOfficeDownloadPage.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(product::kOfficeDownloadPage.endsWith(QStringLiteral("/download/index.html")));
    EXPECT_EQ(endRequests, 1);
    // The check is the last step: everything before it has run, nothing was reported.
    EXPECT_FALSE(control<QLineEdit>("Text1")->text().isEmpty());
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(WindowTest, AnOfficeWithoutThePowerPointFilterEndsTheStartUpAsNoOfficeDoes) {
    bridge.exportFilters.clear();
    QStringList said;
    window().setDiagnostics([&](const QString& line) { said << line; });
    window().Form_Load();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{officeRequiredText()});
    EXPECT_EQ(endRequests, 1);
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].contains(QStringLiteral("libreoffice-impress"))) << said[0].toStdString();
}

TEST_F(WindowTest, AnsweringNoEndsTheProgramWithoutOpeningAnything) {
    bridge.failAt(QStringLiteral("obtainServiceManager"), QStringLiteral("no office"));
    dialogs.messageAnswers << MsgAnswer::No;
    window().Form_Load();
    EXPECT_TRUE(shell.openedUrls.isEmpty());
    EXPECT_EQ(endRequests, 1);
}

TEST_F(WindowTest, FirstStartRecordsTheSampleFilesAndALaterStartLeavesTheRecord) {
    const QString deck = testing::writeTestFile(programFile(QStringLiteral("Samples/intro.odp")));
    window().Form_Load();
    const QString record = GetSetting(Setting::Snapshot);
    EXPECT_EQ(UnscrambleText(record, kSampleKey), deck);

    testing::writeTestFile(programFile(QStringLiteral("Samples/later.odp")));
    restart();
    window().Form_Load();
    EXPECT_EQ(GetSetting(Setting::Snapshot), record);
}

TEST_F(WindowTest, LoadSamplesButtonAddsTheRecordedFilesOnceAndOffersTheFolder) {
    const QString deck = testing::writeTestFile(programFile(QStringLiteral("Samples/intro.odp")));
    window().Form_Load();
    dialogs.messageAnswers << MsgAnswer::No << MsgAnswer::Yes;
    control<QPushButton>("PushButton9")->click();
    control<QPushButton>("PushButton9")->click();
    EXPECT_EQ(window().jobList().texts(), QStringList{deck});
    EXPECT_EQ(dialogs.messageTexts().size(), 2);
    EXPECT_EQ(shell.openedFolders.size(), 1);
}

}  // namespace
}  // namespace slate
