// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "runfixture.h"

namespace slate::testing {
namespace {

// Paths in the drive-letter and network-share forms, run with "\\" as the separator.
struct PathCase {
    const char* name;
    const char* source;
    bool option1;
    bool option2;
    const char* text1;
    const char* sourceUrl;
    const char* targetUrl;  // where the result ends up
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputPathTest : public RunFixture, public ::testing::WithParamInterface<PathCase> {};

TEST_P(OutputPathTest, SourceAndTargetUrlsFollowTheNamingRules) {
    const PathCase& c = GetParam();
    MemoryFileSystem files(QLatin1Char('\\'));
    if (*c.text1)
        files.addFolder(QString::fromUtf8(c.text1));
    jobs.append(QString::fromUtf8(c.source));
    view.choose(c.option1, c.option2, QString::fromUtf8(c.text1));

    const RunSummary summary = runOn(files);

    EXPECT_EQ(urlsOf(QStringLiteral("loadComponentFromURL")),
              QStringList{QString::fromUtf8(c.sourceUrl)});
    // The office writes into a folder of its own beside the result, under the result's name;
    // then the result alone is left.
    const QString target = QString::fromUtf8(c.targetUrl);
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    EXPECT_EQ(urlsOf(QStringLiteral("executeDispatch")),
              QStringList{target.left(slash) + QStringLiteral("/.save1") + target.mid(slash)});
    EXPECT_EQ(files.files(), QStringList{files.held(QUrl(target).path())});
    EXPECT_TRUE(reporter.reports.isEmpty()) << reporter.reports.value(0).description.toStdString();
    EXPECT_EQ(summary.converted, 1);
    EXPECT_EQ(view.events.value(1),
              QStringLiteral("text Processing: ") +
                  GetFileName(QString::fromUtf8(c.source), QLatin1Char('\\')));
}

INSTANTIATE_TEST_SUITE_P(
    BackslashForm, OutputPathTest,
    ::testing::Values(PathCase{"BesideSource", R"(C:\Talks\Q1.odp)", false, true, "",
                               "file:///C:/Talks/Q1.odp", "file:///C:/Talks/Q1.ppt"},
                      PathCase{"FolderWithTrailingBackslash", R"(C:\Talks\Q1.odp)", true, false,
                               R"(D:\Out\)", "file:///C:/Talks/Q1.odp", "file:///D:/Out/Q1.ppt"},
                      PathCase{"FolderWithoutTrailingBackslash", R"(C:\Talks\Q1.odp)", true, false,
                               R"(D:\Out)", "file:///C:/Talks/Q1.odp", "file:///D:/Out/Q1.ppt"},
                      PathCase{"FolderWithTwoTrailingBackslashes", R"(C:\Talks\Q1.odp)", true,
                               false, R"(D:\Out\\)", "file:///C:/Talks/Q1.odp",
                               "file:///D:/Out/Q1.ppt"},
                      PathCase{"OnlyTheLastExtensionGoes", R"(C:\x\a.odp.odp)", false, true, "",
                               "file:///C:/x/a.odp.odp", "file:///C:/x/a.odp.ppt"},
                      PathCase{"UpperCaseExtension", R"(C:\x\Deck.ODP)", false, true, "",
                               "file:///C:/x/Deck.ODP", "file:///C:/x/Deck.ppt"},
                      PathCase{"OtherDotsStay", R"(C:\x\v1.2.odp)", false, true, "",
                               "file:///C:/x/v1.2.odp", "file:///C:/x/v1.2.ppt"},
                      PathCase{"NoDotAnywhere", R"(C:\x\notes)", false, true, "",
                               "file:///C:/x/notes", "file:///C:/x/notes.ppt"},
                      PathCase{"DotOnlyInFolderName", R"(C:\v1.2\README)", false, true, "",
                               "file:///C:/v1.2/README", "file:///C:/v1.2/README.ppt"},
                      PathCase{"DotOnlyInFolderNameIntoFolder", R"(C:\rel1.2\notes)", true, false,
                               R"(D:\Out)", "file:///C:/rel1.2/notes", "file:///D:/Out/notes.ppt"},
                      PathCase{"ExtensionAlsoInFolderName", R"(C:\a.odp\b.odp)", false, true, "",
                               "file:///C:/a.odp/b.odp", "file:///C:/a.odp/b.ppt"},
                      PathCase{"HiddenNameWithExtension", R"(C:\x\.x.odp)", false, true, "",
                               "file:///C:/x/.x.odp", "file:///C:/x/.x.ppt"},
                      PathCase{"HiddenNameAlone", R"(C:\x\.hidden)", false, true, "",
                               "file:///C:/x/.hidden", "file:///C:/x/.hidden.ppt"},
                      PathCase{"TrailingDot", R"(C:\x\a.)", false, true, "", "file:///C:/x/a.",
                               "file:///C:/x/a.ppt"},
                      PathCase{"NetworkShare", R"(\\srv\share\a.odp)", false, true, "",
                               "file://///srv/share/a.odp", "file:////srv/share/a.ppt"},
                      PathCase{"NetworkShareOutputFolder", R"(C:\a.odp)", true, false,
                               R"(\\srv\out)", "file:///C:/a.odp", "file:////srv/out/a.ppt"},
                      PathCase{"SpacesAndSignsAreEncoded", R"(C:\My Talks\#1 100%.odp)", false,
                               true, "", "file:///C:/My%20Talks/%231%20100%25.odp",
                               "file:///C:/My%20Talks/%231%20100%25.ppt"},
                      PathCase{"NonAscii", "C:\\Vortr\u00e4ge\\\u00dcbersicht.odp", false, true, "",
                               "file:///C:/Vortr%C3%A4ge/%C3%9Cbersicht.odp",
                               "file:///C:/Vortr%C3%A4ge/%C3%9Cbersicht.ppt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunFixture, WithNeitherOptionThereIsNoTargetAndTheSaveIsReported) {
    MemoryFileSystem files(QLatin1Char('\\'));
    files.addFolder(QStringLiteral(R"(D:\Out)"));
    jobs.append(QStringLiteral(R"(C:\Talks\Q1.odp)"));
    view.choose(false, false, QStringLiteral(R"(D:\Out)"));

    const RunSummary summary = runOn(files);

    // There is no folder to save in, so the office is not asked to.
    EXPECT_EQ(bridge.count(QStringLiteral("executeDispatch")), 0);
    ASSERT_EQ(reporter.steps(), QList<int>{160});
    EXPECT_EQ(reporter.reports[0].description,
              QStringLiteral("\"C:\\Talks\\Q1.odp\" was not converted: no output location is "
                             "chosen. Choose \"Save results to this folder:\" or \"Save results "
                             "in folder of original file\"."));
    EXPECT_EQ(summary.converted, 0);
    EXPECT_EQ(summary.failed, 1);
}

}  // namespace
}  // namespace slate::testing
