// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

#include "app/outputoptions.h"
#include "common/apptitle.h"
#include "common/errorlocations.h"
#include "common/settings.h"
#include "common/specialfolders.h"
#include "support/scripteddialogs.h"

using namespace slate;
using slate::testing::RecordingReporter;
using slate::testing::ScriptedDialogs;

namespace {

// The "Save Option" group as the window builds it: Option1 selected in the design.
struct OptionsGroup {
    QWidget window;
    QGroupBox* frame3 = new QGroupBox(QStringLiteral("Save Option"), &window);
    QRadioButton* option1 = new QRadioButton(QStringLiteral("Save results to this folder:"));
    QRadioButton* option2 =
        new QRadioButton(QStringLiteral("Save results in folder of original file"));
    QGroupBox* frame4 = new QGroupBox;
    QLineEdit* text1 = new QLineEdit;
    QPushButton* pushButton3 = new QPushButton(QStringLiteral("..."));

    OptionsGroup() {
        auto* outer = new QVBoxLayout(&window);
        outer->addWidget(frame3);
        auto* group = new QVBoxLayout(frame3);
        group->addWidget(option1);
        group->addWidget(frame4);
        group->addWidget(option2);
        auto* row = new QHBoxLayout(frame4);
        row->addWidget(text1);
        row->addWidget(pushButton3);
        option1->setChecked(true);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

void clickOption(QRadioButton* button) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    const QRect area =
        button->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &opt, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, area.center());
}

class OutputOptionsTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("store.conf"));
    ScopedSettingsFile scoped{file};
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    std::unique_ptr<OptionsGroup> ui;
    std::unique_ptr<OutputOptions> options;

    // A fresh window, as at the next start.
    void start(bool restore = true) {
        options.reset();
        ui = std::make_unique<OptionsGroup>();
        options =
            std::make_unique<OutputOptions>(ui->option1, ui->option2, ui->frame4, ui->text1,
                                            ui->pushButton3, dialogs, reporter, nativeFileSystem());
        if (restore) {
            GuardedProcedure g(reporter, location::kFormLoad);
            options->restore(g);
        }
    }
    void breakStore() {
        QFile plain(dir.filePath(QStringLiteral("plainfile")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        setSettingsFile(dir.filePath(QStringLiteral("plainfile/store.conf")));
    }
    void mendStore() { setSettingsFile(file); }
    void pick(const QString& folder) {
        dialogs.folderAnswers.enqueue(folder);
        QTest::mouseClick(ui->pushButton3, Qt::LeftButton);
    }
    static QString stored(Setting key) {
        return ReadSetting(key).value_or(QStringLiteral("<missing>"));
    }
};

}  // namespace

TEST_F(OutputOptionsTest, FirstStartRestoresDefaultsAndStoresOnlyTheDesktopFolder) {
    start();
    EXPECT_EQ(ui->text1->text(), GetDesktopFolder(nativeFileSystem()));
    EXPECT_TRUE(ui->option1->isChecked());
    EXPECT_FALSE(ui->option2->isChecked());
    EXPECT_TRUE(ui->frame4->isEnabled());
    EXPECT_EQ(stored(Setting::Text1), GetDesktopFolder(nativeFileSystem()));
    EXPECT_EQ(stored(Setting::Option1), QStringLiteral("<missing>"));
    EXPECT_EQ(stored(Setting::Option2), QStringLiteral("<missing>"));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(OutputOptionsTest, TypingWritesTheWholeTextOnEveryKeystroke) {
    start();
    ui->text1->clear();
    QTest::keyClick(ui->text1, '/');
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("/"));
    QTest::keyClick(ui->text1, 'A');
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("/A"));
    QTest::keyClick(ui->text1, ' ');
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("/A "));
    ui->text1->setText(QStringLiteral("from code"));
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("from code"));
}

TEST_F(OutputOptionsTest, ClearedBoxStaysEmptyAtTheNextStart) {
    start();
    ui->text1->clear();
    EXPECT_EQ(stored(Setting::Text1), QString());
    start();
    EXPECT_EQ(ui->text1->text(), QString());
}

TEST_F(OutputOptionsTest, OptionClicksStoreThePairAndSwitchFrame4) {
    start();
    ui->text1->setText(QStringLiteral("/data/out/"));
    clickOption(ui->option2);
    EXPECT_TRUE(ui->option2->isChecked());
    EXPECT_EQ(stored(Setting::Option1), QStringLiteral("False"));
    EXPECT_EQ(stored(Setting::Option2), QStringLiteral("True"));
    EXPECT_FALSE(ui->frame4->isEnabled());
    EXPECT_FALSE(ui->text1->isEnabled());
    EXPECT_FALSE(ui->pushButton3->isEnabled());
    EXPECT_EQ(ui->text1->text(), QStringLiteral("/data/out/"));
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("/data/out/"));

    clickOption(ui->option1);
    EXPECT_EQ(stored(Setting::Option1), QStringLiteral("True"));
    EXPECT_EQ(stored(Setting::Option2), QStringLiteral("False"));
    EXPECT_TRUE(ui->frame4->isEnabled());
}

TEST_F(OutputOptionsTest, ClickOnTheSelectedOptionWritesThePairAgain) {
    start();
    SaveSetting(Setting::Option1, QStringLiteral("False"));
    SaveSetting(Setting::Option2, QStringLiteral("True"));
    clickOption(ui->option1);
    EXPECT_EQ(stored(Setting::Option1), QStringLiteral("True"));
    EXPECT_EQ(stored(Setting::Option2), QStringLiteral("False"));
}

TEST_F(OutputOptionsTest, SelectingFromCodeRunsTheHandler) {
    start();
    ui->option2->setChecked(true);
    EXPECT_EQ(stored(Setting::Option1), QStringLiteral("False"));
    EXPECT_EQ(stored(Setting::Option2), QStringLiteral("True"));
    EXPECT_FALSE(ui->frame4->isEnabled());
}

struct StoredOptions {
    const char* name;
    const char* option1;
    const char* option2;
    bool intoFolder;
    bool besideSource;
};
class RestoredOptions : public OutputOptionsTest,
                        public ::testing::WithParamInterface<StoredOptions> {};

TEST_P(RestoredOptions, ReadWordsAndNumbersInAnyCase) {
    const StoredOptions& c = GetParam();
    SaveSetting(Setting::Option1, QString::fromUtf8(c.option1));
    SaveSetting(Setting::Option2, QString::fromUtf8(c.option2));
    start();
    EXPECT_EQ(ui->option1->isChecked(), c.intoFolder);
    EXPECT_EQ(ui->option2->isChecked(), c.besideSource);
    EXPECT_EQ(ui->frame4->isEnabled(), c.intoFolder);
    EXPECT_TRUE(reporter.reports.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Stored, RestoredOptions,
                         ::testing::Values(StoredOptions{"Words", "False", "True", false, true},
                                           StoredOptions{"Numbers", "0", "-1", false, true},
                                           StoredOptions{"AnyCase", "TRUE", "false", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputOptionsTest, BothStoredFalseSelectsNeitherAndTheGroupStillWorks) {
    SaveSetting(Setting::Option1, QStringLiteral("False"));
    SaveSetting(Setting::Option2, QStringLiteral("False"));
    start();
    EXPECT_FALSE(ui->option1->isChecked());
    EXPECT_FALSE(ui->option2->isChecked());
    EXPECT_FALSE(ui->frame4->isEnabled());
    EXPECT_TRUE(reporter.reports.isEmpty());

    clickOption(ui->option2);
    clickOption(ui->option1);
    EXPECT_TRUE(ui->option1->isChecked());
    EXPECT_FALSE(ui->option2->isChecked());
    EXPECT_EQ(stored(Setting::Option2), QStringLiteral("False"));
}

TEST_F(OutputOptionsTest, UnreadableOptionFailsItsStepAndKeepsTheOptionsState) {
    SaveSetting(Setting::Option1, QStringLiteral("yes"));
    SaveSetting(Setting::Option2, QStringLiteral("maybe"));
    start();
    ASSERT_EQ(reporter.steps(), QList<int>({138, 140}));
    EXPECT_EQ(reporter.reports.at(0).location,
              QStringLiteral("in Pellory2021/08/31.Form1.Form_Load "));
    EXPECT_TRUE(reporter.reports.at(0).description.startsWith(QStringLiteral("Type mismatch")));
    EXPECT_TRUE(ui->option1->isChecked());
    EXPECT_FALSE(ui->option2->isChecked());
    EXPECT_TRUE(ui->frame4->isEnabled());
}

TEST_F(OutputOptionsTest, PickedFolderShowsWithASeparatorAndIsRemembered) {
    start();
    pick(QStringLiteral("/data/out"));
    EXPECT_EQ(ui->text1->text(), QStringLiteral("/data/out/"));
    EXPECT_EQ(stored(Setting::LastFolderDot), QStringLiteral("/data/out"));
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("/data/out/"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.at(0).kind, QStringLiteral("folder"));
    EXPECT_EQ(dialogs.shown.at(0).text, QStringLiteral("Please select folder:"));
    EXPECT_EQ(dialogs.shown.at(0).defaultAnswer, QString());

    pick(QStringLiteral("/"));
    EXPECT_EQ(ui->text1->text(), QStringLiteral("/"));
    EXPECT_EQ(stored(Setting::LastFolderDot), QStringLiteral("/"));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(OutputOptionsTest, CancelledPickerChangesNothing) {
    start();
    ui->text1->setText(QStringLiteral("/keep/"));
    SaveSetting(Setting::LastFolderDot, QStringLiteral("/before"));
    pick(QString());
    EXPECT_EQ(ui->text1->text(), QStringLiteral("/keep/"));
    EXPECT_EQ(stored(Setting::Text1), QStringLiteral("/keep/"));
    EXPECT_EQ(stored(Setting::LastFolderDot), QStringLiteral("/before"));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(OutputOptionsTest, PickerOpensAtItsOwnLastFolderFromTheStore) {
    start();
    pick(QStringLiteral("/mine"));
    SaveSetting(Setting::LastFolder, QStringLiteral("/add-all"));
    start();
    pick(QString());
    EXPECT_EQ(dialogs.shown.last().defaultAnswer, QStringLiteral("/mine"));
    // Another copy changed it meanwhile.
    SaveSetting(Setting::LastFolderDot, QStringLiteral("/theirs"));
    pick(QString());
    EXPECT_EQ(dialogs.shown.last().defaultAnswer, QStringLiteral("/theirs"));
}

TEST_F(OutputOptionsTest, FailedPickerIsReportedAndChangesNothing) {
    start();
    ui->text1->setText(QStringLiteral("/keep/"));
    struct ThrowingDialogs : ScriptedDialogs {
        QString browseForFolder(const QString&, const QString&) override {
            throw AppError(QStringLiteral("No folder browser"));
        }
    } throwing;
    OutputOptions other(ui->option1, ui->option2, ui->frame4, ui->text1, ui->pushButton3, throwing,
                        reporter, nativeFileSystem());
    other.PushButton3_Click();
    ASSERT_EQ(reporter.steps(), QList<int>({100}));
    EXPECT_EQ(reporter.reports.at(0).location,
              QStringLiteral("in Pellory2021/08/31.Form1.PushButton3_Click "));
    EXPECT_EQ(ui->text1->text(), QStringLiteral("/keep/"));
}

TEST_F(OutputOptionsTest, FailedSavesInThePickerAreReportedAndTheBoxIsStillSet) {
    start();
    breakStore();
    pick(QStringLiteral("/data/out"));
    EXPECT_EQ(reporter.steps(), QList<int>({104, 106}));
    EXPECT_EQ(ui->text1->text(), QStringLiteral("/data/out/"));
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(OutputOptionsTest, FailedRestoreWriteIsReportedAtItsStep) {
    breakStore();
    start();
    EXPECT_EQ(reporter.steps(), QList<int>({136}));
    EXPECT_EQ(ui->text1->text(), GetDesktopFolder(nativeFileSystem()));
}

TEST_F(OutputOptionsTest, FailingWritesWhileEditingWarnOnceUntilAWriteSucceeds) {
    start();
    breakStore();
    QTest::keyClick(ui->text1, 'a');
    QTest::keyClick(ui->text1, 'b');
    clickOption(ui->option2);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.at(0).icon, MsgIcon::Warning);
    EXPECT_EQ(dialogs.shown.at(0).caption, appTitle());
    EXPECT_TRUE(dialogs.shown.at(0).text.contains(QStringLiteral("could not be saved")));
    EXPECT_TRUE(ui->option2->isChecked());
    EXPECT_FALSE(ui->frame4->isEnabled());
    EXPECT_TRUE(reporter.reports.isEmpty());

    mendStore();
    clickOption(ui->option1);
    EXPECT_EQ(stored(Setting::Option1), QStringLiteral("True"));
    QTest::keyClick(ui->text1, 'c');
    EXPECT_EQ(stored(Setting::Text1), GetDesktopFolder(nativeFileSystem()) + QStringLiteral("abc"));
    breakStore();
    QTest::keyClick(ui->text1, 'd');
    EXPECT_EQ(dialogs.shown.size(), 2);
}
