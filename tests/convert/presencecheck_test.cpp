#include <gtest/gtest.h>

#include "convert/fakebridge.h"
#include "convert/presencecheck.h"
#include "support/fakes.h"
#include "support/scripteddialogs.h"

namespace slate {
namespace {

using testing::RecordingShell;
using testing::ScriptedDialogs;

enum class Office { NotFound, NoAnswer, NoFilter, FilterQueryFails };

struct ReasonCase {
    const char* name;
    Office office;
    QStringList said;  // pieces of the line on standard error
};

class PresenceCheck : public ::testing::TestWithParam<ReasonCase> {
  protected:
    void makeOffice(Office office) {
        switch (office) {
            case Office::NotFound:
                bridge.addRule({FakeBridge::Action::Unavailable,
                                QStringLiteral("obtainServiceManager"),
                                0,
                                {},
                                QStringLiteral("LibreOffice could not be started: no soffice was "
                                               "found")});
                break;
            case Office::NoAnswer:
                bridge.addRule({FakeBridge::Action::Unavailable,
                                QStringLiteral("obtainServiceManager"),
                                0,
                                {},
                                QStringLiteral("it did not accept a connection within 60 "
                                               "seconds")});
                break;
            case Office::NoFilter:
                bridge.exportFilters.clear();
                break;
            case Office::FilterQueryFails:
                bridge.failAt(QStringLiteral("hasExportFilter"), QStringLiteral("bridge gone"));
                break;
        }
    }
    bool check() {
        return RequireOpenOffice(
            bridge, dialogs, shell, [this] { events << QStringLiteral("end"); },
            [this](const QString& line) { events << QStringLiteral("said: ") + line; });
    }

    FakeBridge bridge;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    QStringList events;
};

TEST_P(PresenceCheck, TellsTheReasonThenShowsTheSameMessageAndEnds) {
    makeOffice(GetParam().office);
    dialogs.onShow = [this](const ScriptedDialogs::Shown&) { events << QStringLiteral("box"); };
    EXPECT_FALSE(check());
    ASSERT_EQ(events.size(), 3) << events.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(events[0].startsWith(QStringLiteral("said: slatemere-converter: ")));
    for (const QString& piece : GetParam().said)
        EXPECT_TRUE(events[0].contains(piece)) << events[0].toStdString();
    EXPECT_EQ(events[1], QStringLiteral("box"));
    EXPECT_EQ(events[2], QStringLiteral("end"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{officeRequiredText()});
}
INSTANTIATE_TEST_SUITE_P(
    Office, PresenceCheck,
    ::testing::Values(
        ReasonCase{"NotFound", Office::NotFound, {"no soffice was found"}},
        ReasonCase{"NoAnswer", Office::NoAnswer, {"cannot be reached", "within 60 seconds"}},
        ReasonCase{"NoFilter", Office::NoFilter, {"\"MS PowerPoint 97\"", "libreoffice-impress"}},
        ReasonCase{
            "FilterQueryFails", Office::FilterQueryFails, {"MS PowerPoint 97", "bridge gone"}}),
    [](const auto& info) { return info.param.name; });

TEST(PresenceCheckPasses, WhenTheOfficeAnswersAndHasTheFilterNothingIsSaidOrShown) {
    FakeBridge bridge;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    QStringList said;
    bool ended = false;
    EXPECT_TRUE(RequireOpenOffice(
        bridge, dialogs, shell, [&] { ended = true; }, [&](const QString& line) { said << line; }));
    EXPECT_EQ(bridge.log(), (QStringList{QStringLiteral("obtainServiceManager(com.sun.star."
                                                        "ServiceManager)"),
                                         QStringLiteral("hasExportFilter(MS PowerPoint 97)")}));
    EXPECT_TRUE(said.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_FALSE(ended);
}

}  // namespace
}  // namespace slate
