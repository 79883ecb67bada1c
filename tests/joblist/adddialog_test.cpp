// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "common/apptitle.h"
#include "joblist/adddialog.h"
#include "joblist/joblist.h"
#include "support/scripteddialogs.h"

using namespace slate;
using slate::testing::RecordingReporter;
using slate::testing::ScriptedDialogs;

namespace {

QString nulJoined(const QStringList& parts) {
    return parts.join(QChar(0));
}

class AddDialogTest : public ::testing::Test {
  protected:
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    JobList list;

    void answer(const QString& text) {
        dialogs.openAnswers.enqueue([text](const OpenFileRequest&) { return text; });
    }
    void click(QChar separator = kNativeSeparator) {
        AddFilesByDialog(dialogs, reporter, list, separator);
    }
};

}  // namespace

TEST_F(AddDialogTest, AsksWithTheDialogSettingsEveryTime) {
    answer(QString());
    click();
    answer(QString());
    click();
    ASSERT_EQ(dialogs.shown.size(), 2);
    for (const auto& shown : dialogs.shown) {
        EXPECT_EQ(shown.kind, QStringLiteral("open"));
        EXPECT_EQ(shown.request.title,
                  QStringLiteral("Add File(s) - Hold Ctrl to select multiple files"));
        EXPECT_EQ(shown.request.filter,
                  QStringLiteral("Calc Spreadsheets (*.odp)|*.odp|All Files (*.*)|*.*"));
        EXPECT_TRUE(shown.request.multiSelect);
        EXPECT_EQ(shown.request.bufferChars, 30000);
    }
}

TEST_F(AddDialogTest, CancelAddsAndShowsNothing) {
    answer(QString());
    click();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    EXPECT_TRUE(reporter.reports.isEmpty());
}

struct PickCase {
    const char* name;
    QString separator;
    QStringList answer;  // joined with NUL characters
    QStringList added;
};

class AddDialogPicks : public AddDialogTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(AddDialogPicks, AddsOneEntryPerFileInTheDialogsOrder) {
    list.append(QStringLiteral("already"));
    answer(nulJoined(GetParam().answer));
    click(GetParam().separator.at(0));
    EXPECT_EQ(list.texts(), QStringList{QStringLiteral("already")} + GetParam().added);
    EXPECT_TRUE(reporter.reports.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddDialogPicks,
    ::testing::Values(
        PickCase{"SingleUnchanged", "/", {"/home/u/Docs//a b.odp"}, {"/home/u/Docs//a b.odp"}},
        PickCase{"SingleBackslashUnchanged", "\\", {"C:\\Docs\\\\a.odp"}, {"C:\\Docs\\\\a.odp"}},
        PickCase{"ThreeInOrder",
                 "/",
                 {"/home/u/Docs", "c.odp", "a.odp", "b.odp"},
                 {"/home/u/Docs/c.odp", "/home/u/Docs/a.odp", "/home/u/Docs/b.odp"}},
        PickCase{"ThreeInDriveFolder",
                 "\\",
                 {"C:\\Docs", "a.odp", "b.odp", "c.odp"},
                 {"C:\\Docs\\a.odp", "C:\\Docs\\b.odp", "C:\\Docs\\c.odp"}},
        PickCase{"Root", "/", {"/", "a.odp", "b.odp"}, {"/a.odp", "/b.odp"}},
        PickCase{"DriveRoot", "\\", {"C:\\", "a.odp", "b.odp"}, {"C:\\a.odp", "C:\\b.odp"}},
        PickCase{"NetworkShare",
                 "\\",
                 {"\\\\srv\\share", "a.odp", "b.odp"},
                 {"\\\\srv\\share\\a.odp", "\\\\srv\\share\\b.odp"}},
        PickCase{"AnyExtension", "/", {"/d", "notes.txt", "x"}, {"/d/notes.txt", "/d/x"}},
        PickCase{"EmptyNamesSkipped", "/", {"/d", "a.odp", ""}, {"/d/a.odp"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddDialogTest, FileAlreadyListedIsAddedAgain) {
    answer(QStringLiteral("/d/a.odp"));
    click();
    answer(nulJoined({QStringLiteral("/d"), QStringLiteral("a.odp"), QStringLiteral("a.odp")}));
    click();
    EXPECT_EQ(list.texts(), QStringList({"/d/a.odp", "/d/a.odp", "/d/a.odp"}));
}

TEST_F(AddDialogTest, SelectionTooLargeShowsTheMessageAndAddsNothing) {
    dialogs.openAnswers.enqueue(
        [](const OpenFileRequest&) -> QString { throw SelectionTooLargeError(); });
    click();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(reporter.reports.isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 2);
    const auto& box = dialogs.shown.at(1);
    EXPECT_EQ(box.kind, QStringLiteral("message"));
    EXPECT_EQ(box.text, QStringLiteral("You've selected too many files to add.\r\rPlease try "
                                       "adding via the \"Add All\" button."));
    EXPECT_EQ(box.caption, appTitle());
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(box.icon, MsgIcon::None);
}

TEST_F(AddDialogTest, OtherDialogFailureIsReportedAtItsStepAndAddsNothing) {
    dialogs.openAnswers.enqueue(
        [](const OpenFileRequest&) -> QString { throw AppError(QStringLiteral("No dialog")); });
    click();
    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(reporter.reports.size(), 1);
    EXPECT_EQ(reporter.reports.at(0).description, QStringLiteral("No dialog"));
    EXPECT_EQ(reporter.reports.at(0).location,
              QStringLiteral("in Pellory2021/08/31.Form1.PushButton1_Click "));
    EXPECT_EQ(reporter.reports.at(0).step, 112);
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}
