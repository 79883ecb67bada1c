// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "convert/presencecheck.h"
#include "support/fakebridge.h"
#include "support/fakes.h"
#include "support/scripteddialogs.h"

namespace slate {
namespace {

using testing::RecordingShell;
using testing::ScriptedDialogs;

struct ReasonCase {
    const char* name;
    FakeBridge::Rule rule;  // no call: the office answers but lacks the filter
    QStringList said;       // pieces of the line on standard error
};

class PresenceCheck : public ::testing::TestWithParam<ReasonCase> {
  protected:
    FakeBridge bridge;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    QStringList events;
};

TEST_P(PresenceCheck, TellsTheReasonThenShowsTheSameMessageAndEnds) {
    if (GetParam().rule.call.isEmpty())
        bridge.exportFilters.clear();
    else
        bridge.addRule(GetParam().rule);
    dialogs.onShow = [this](const ScriptedDialogs::Shown&) { events << QStringLiteral("box"); };
    EXPECT_FALSE(RequireOpenOffice(
        bridge, dialogs, shell, [this] { events << QStringLiteral("end"); },
        [this](const QString& line) { events << line; }));
    ASSERT_EQ(events.size(), 3) << events.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(events[0].startsWith(QStringLiteral("slatemere-converter: ")));
    for (const QString& piece : GetParam().said)
        EXPECT_TRUE(events[0].contains(piece)) << events[0].toStdString();
    EXPECT_EQ(events.mid(1), (QStringList{QStringLiteral("box"), QStringLiteral("end")}));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{officeRequiredText()});
}
using Action = FakeBridge::Action;
INSTANTIATE_TEST_SUITE_P(
    Office, PresenceCheck,
    ::testing::Values(
        ReasonCase{"NotFound",
                   {Action::Unavailable, "obtainServiceManager", 0, {}, "no soffice was found"},
                   {"no soffice was found"}},
        ReasonCase{"NoAnswer",
                   {Action::Unavailable, "obtainServiceManager", 0, {}, "not within 60 seconds"},
                   {"cannot be reached", "within 60 seconds"}},
        ReasonCase{"NoFilter", {}, {"\"MS PowerPoint 97\"", "libreoffice-impress"}},
        ReasonCase{"FilterQueryFails",
                   {Action::Fail, "hasExportFilter", 0, {}, "bridge gone"},
                   {"MS PowerPoint 97", "bridge gone"}}),
    [](const auto& info) { return info.param.name; });

TEST(PresenceCheckPasses, WhenTheOfficeAnswersAndHasTheFilterNothingIsSaidOrShown) {
    FakeBridge bridge;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    QStringList said;
    bool ended = false;
    EXPECT_TRUE(RequireOpenOffice(
        bridge, dialogs, shell, [&] { ended = true; }, [&](const QString& line) { said << line; }));
    EXPECT_EQ(bridge.log(), (QStringList{"obtainServiceManager(com.sun.star.ServiceManager)",
                                         "hasExportFilter(MS PowerPoint 97)"}));
    EXPECT_TRUE(said.isEmpty() && dialogs.shown.isEmpty() && !ended);
}

}  // namespace
}  // namespace slate
