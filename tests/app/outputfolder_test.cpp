// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/outputoptions.h"
#include "common/settings.h"
#include "common/specialfolders.h"
#include "joblist/joblist.h"
#include "support/tempfiles.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

struct FolderCase {
    const char* text;
    const char* home;
    const char* folder;  // empty: names no folder
};
class AbsoluteFolder : public ::testing::TestWithParam<FolderCase> {};
TEST_P(AbsoluteFolder, HomeAndAbsoluteTextsOnly) {
    const FolderCase c = GetParam();
    EXPECT_EQ(absoluteOutputFolder(QString::fromUtf8(c.text), QString::fromUtf8(c.home)),
              QString::fromUtf8(c.folder));
}
INSTANTIATE_TEST_SUITE_P(
    OutputFolder, AbsoluteFolder,
    ::testing::Values(FolderCase{"/data/out/", "/home/u", "/data/out/"},
                      FolderCase{"~", "/home/u", "/home/u"},
                      FolderCase{"~/", "/home/u", "/home/u/"},
                      FolderCase{"~/out/", "/home/u/", "/home/u/out/"},
                      FolderCase{"~/out", "/", "/out"}, FolderCase{"relout", "/home/u", ""},
                      FolderCase{"./out/", "/home/u", ""}, FolderCase{"~bob/out", "/home/u", ""},
                      FolderCase{"~/out", "", ""}, FolderCase{"", "/home/u", ""}));

// A home folder of the test's own, with no Desktop in it unless the test makes one.
class ScriptedHome : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(home.isValid());
        savedHome = qgetenv("HOME");
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    }
    void TearDown() override {
        qputenv("HOME", savedHome);
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }
    QString homeFile(const QString& name) const { return home.filePath(name); }
    QString addSource() {
        const QString source =
            testing::writeTestFile(programFolder.filePath(QStringLiteral("deck.odp")), "deck");
        window().jobList().append(source);
        return source;
    }

    QTemporaryDir home;
    QByteArray savedHome;
    QByteArray savedConfig;
};

class FirstStart : public ScriptedHome, public ::testing::WithParamInterface<bool> {};
TEST_P(FirstStart, OffersAFolderThatExistsAndConvertsAtTheFirstTry) {
    const bool hasDesktop = GetParam();
    if (hasDesktop)
        ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
    const QString expected = hasDesktop ? homeFile(QStringLiteral("Desktop")) + QLatin1Char('/')
                                        : home.path() + QLatin1Char('/');
    EXPECT_EQ(GetDesktopFolder(nativeFileSystem()), expected);

    window().Form_Load();
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), expected);
    EXPECT_EQ(GetSetting(Setting::Text1), expected);
    addSource();
    QTest::mouseClick(control<QPushButton>("PushButton2"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_TRUE(QFile::exists(expected + QStringLiteral("deck.ppt")));
    EXPECT_TRUE(reporter.reports.isEmpty());
}
INSTANTIATE_TEST_SUITE_P(OutputFolder, FirstStart, ::testing::Bool(), [](const auto& info) {
    return info.param ? "WithDesktop" : "WithoutDesktop";
});

struct TypedCase {
    const char* name;
    const char* text;
    const char* result;  // under home; empty: refused
};
class TypedFolder : public ScriptedHome, public ::testing::WithParamInterface<TypedCase> {};
TEST_P(TypedFolder, TheCheckAndTheSaveUseOneAbsoluteFolder) {
    const TypedCase c = GetParam();
    QDir(home.path()).mkpath(QStringLiteral("out"));
    // A folder of that name in the working folder must not make a relative text pass.
    QDir(home.path()).mkpath(QStringLiteral("work/relout"));
    const QString workingBefore = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(homeFile(QStringLiteral("work"))));
    control<QLineEdit>("Text1")->setText(QString::fromUtf8(c.text));
    addSource();
    QTest::mouseClick(control<QPushButton>("PushButton2"), Qt::LeftButton);
    QDir::setCurrent(workingBefore);

    const QString result = QString::fromUtf8(c.result);
    if (result.isEmpty()) {
        EXPECT_EQ(
            dialogs.messageTexts(),
            QStringList{QStringLiteral("Folder does not exist. Please select another folder.")});
        EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 0);
    } else {
        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
        EXPECT_TRUE(QFile::exists(homeFile(result)));
    }
    EXPECT_TRUE(reporter.reports.isEmpty());
    // What is stored is the text as typed.
    EXPECT_EQ(GetSetting(Setting::Text1), QString::fromUtf8(c.text));
}
INSTANTIATE_TEST_SUITE_P(OutputFolder, TypedFolder,
                         ::testing::Values(TypedCase{"Tilde", "~", "deck.ppt"},
                                           TypedCase{"TildeSlash", "~/out/", "out/deck.ppt"},
                                           TypedCase{"TildeNoSlash", "~/out", "out/deck.ppt"},
                                           TypedCase{"Relative", "relout", ""},
                                           TypedCase{"DotRelative", "./relout/", ""}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace slate
