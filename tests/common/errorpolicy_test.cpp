// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/product.h"
#include "support/scripteddialogs.h"

namespace slate {
namespace {

using testing::RecordingReporter;
using testing::ScriptedDialogs;

TEST(ErrorReportText, JoinsDescriptionLocationStepAndRequestWithTheirOwnBreaks) {
    const QString text =
        errorReportText(QStringLiteral("Type detection failed"), location::kConvert, 134);
    EXPECT_EQ(text, QStringLiteral("Type detection failed\r\n"
                                   "in Pellory2021/08/31.Form1.PushButton2_Click at line 134\r\r"
                                   "Please email screenshot of this message to ") +
                        product::kSupportAddress);
}

TEST(ErrorReportText, StepNumberHasNoPaddingAndSupportAddressIsAnExampleDomain) {
    const QString text = errorReportText(QString(), location::kFolderWalker, 7);
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("\r\nin Corbalt2021/08/31.AddFolder.GetSubDirectories2016 at line 7\r\r")));
    EXPECT_TRUE(product::kSupportAddress.endsWith(QStringLiteral(".example")));
}

TEST(DialogErrorReporter, ShowsWarningBoxCaptionedApplicationErrorWithOnlyOk) {
    ScriptedDialogs dialogs;
    DialogErrorReporter reporter(dialogs);
    reporter.report(QStringLiteral("Disk full"), location::kClearList, 100);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Application Error"));
    EXPECT_EQ(dialogs.shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(dialogs.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].text,
              errorReportText(QStringLiteral("Disk full"), location::kClearList, 100));
}

TEST(GuardedProcedure, ReportsAFailedStepAndCarriesOnWithTheNext) {
    RecordingReporter reporter;
    GuardedProcedure g(reporter, location::kFormLoad);
    QStringList ran;
    EXPECT_TRUE(g.step(100, [&] { ran << "100"; }));
    EXPECT_FALSE(g.step(102, [&] {
        ran << "102";
        throw AppError(QStringLiteral("first"));
    }));
    EXPECT_FALSE(g.step(104, [&] { throw std::runtime_error("second"); }));
    EXPECT_TRUE(g.step(106, [&] { ran << "106"; }));
    EXPECT_EQ(ran, (QStringList{"100", "102", "106"}));
    ASSERT_EQ(reporter.reports.size(), 2);
    EXPECT_EQ(reporter.reports[0].description, QStringLiteral("first"));
    EXPECT_EQ(reporter.reports[0].step, 102);
    EXPECT_EQ(reporter.reports[0].location, location::kFormLoad);
    EXPECT_EQ(reporter.reports[1].description, QStringLiteral("second"));
    EXPECT_EQ(reporter.reports[1].step, 104);
    EXPECT_EQ(g.failures(), 2);
}

TEST(GuardedProcedure, AFailedTestRunsTheBranchItGuards) {
    RecordingReporter reporter;
    GuardedProcedure g(reporter, location::kConvert);
    bool branchRan = false;
    if (g.test(104, []() -> bool { throw AppError(QStringLiteral("cannot tell")); })) {
        branchRan = true;
    }
    EXPECT_TRUE(branchRan);
    EXPECT_EQ(reporter.steps(), QList<int>{104});
    EXPECT_FALSE(g.test(106, [] { return false; }));
    EXPECT_EQ(reporter.reports.size(), 1);
}

TEST(GuardedProcedure, DescribesForeignAndUnknownFailures) {
    RecordingReporter reporter;
    GuardedProcedure g(reporter, location::kConvert);
    g.step(110, [] { throw 42; });
    g.step(112, [] { throw std::out_of_range("Subscript out of range"); });
    ASSERT_EQ(reporter.reports.size(), 2);
    EXPECT_EQ(reporter.reports[0].description, QStringLiteral("Unknown error"));
    EXPECT_EQ(reporter.reports[1].description, QStringLiteral("Subscript out of range"));
}

}  // namespace
}  // namespace slate
