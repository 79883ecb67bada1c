#include "runfixture.h"

namespace slate::testing {
namespace {

// Paths in the drive-letter and network-share forms, run with "\" as the separator.
struct PathCase {
    const char* name;
    const char* source;
    bool option1;
    bool option2;
    const char* text1;
    const char* sourceUrl;
    const char* targetUrl;
    const char* checkedPath;  // where the run looks for the written file
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputPathTest : public RunFixture, public ::testing::WithParamInterface<PathCase> {};

TEST_P(OutputPathTest, SourceAndTargetUrlsFollowTheNamingRules) {
    const PathCase& c = GetParam();
    MemoryRunFiles files;
    files.folders << QString::fromUtf8(c.text1);
    bridge.writeTarget = [&](const QString& u, const QByteArray& data) { files.write(u, data); };
    jobs.append(QString::fromUtf8(c.source));
    view.option1 = c.option1;
    view.option2 = c.option2;
    view.text1 = QString::fromUtf8(c.text1);
    BatchRun batch(jobs, view, bridge, dialogs, reporter, QLatin1Char('\\'), files);

    const RunSummary summary = batch.start();

    const QList<FakeBridge::Call> calls = bridge.calls();
    ASSERT_EQ(calls.size(), 17);
    EXPECT_EQ(calls[4].args.value(0), QString::fromUtf8(c.sourceUrl));
    EXPECT_EQ(calls[15].url, QString::fromUtf8(c.targetUrl));
    EXPECT_TRUE(files.stateQueries.contains(QString::fromUtf8(c.checkedPath)))
        << files.stateQueries.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(reporter.reports.isEmpty()) << reporter.reports.value(0).description.toStdString();
    EXPECT_EQ(summary.converted, 1);
    EXPECT_EQ(view.events.value(1),
              QStringLiteral("text Processing: ") +
                  GetFileName(QString::fromUtf8(c.source), QLatin1Char('\\')));
}

INSTANTIATE_TEST_SUITE_P(
    BackslashForm, OutputPathTest,
    ::testing::Values(
        PathCase{"BesideSource", R"(C:\Talks\Q1.odp)", false, true, "", "file:///C:/Talks/Q1.odp",
                 "file:///C:/Talks/Q1.ppt", "C:/Talks/Q1.ppt"},
        PathCase{"FolderWithTrailingBackslash", R"(C:\Talks\Q1.odp)", true, false, R"(D:\Out\)",
                 "file:///C:/Talks/Q1.odp", "file:///D:/Out/Q1.ppt", "D:/Out/Q1.ppt"},
        PathCase{"FolderWithoutTrailingBackslash", R"(C:\Talks\Q1.odp)", true, false, R"(D:\Out)",
                 "file:///C:/Talks/Q1.odp", "file:///D:/Out/Q1.ppt", "D:/Out/Q1.ppt"},
        PathCase{"FolderWithTwoTrailingBackslashes", R"(C:\Talks\Q1.odp)", true, false,
                 R"(D:\Out\\)", "file:///C:/Talks/Q1.odp", "file:///D:/Out/Q1.ppt",
                 "D:/Out/Q1.ppt"},
        PathCase{"EveryExtensionRemoved", R"(C:\x\report.odp.odp)", false, true, "",
                 "file:///C:/x/report.odp.odp", "file:///C:/x/report.ppt", "C:/x/report.ppt"},
        PathCase{"UpperCaseExtension", R"(C:\x\Deck.ODP)", false, true, "", "file:///C:/x/Deck.ODP",
                 "file:///C:/x/Deck.ppt", "C:/x/Deck.ppt"},
        PathCase{"RemovalIsCaseSensitive", R"(C:\x\a.odp.ODP)", false, true, "",
                 "file:///C:/x/a.odp.ODP", "file:///C:/x/a.odp.ppt", "C:/x/a.odp.ppt"},
        PathCase{"OtherDotsStay", R"(C:\x\v1.2.odp)", false, true, "", "file:///C:/x/v1.2.odp",
                 "file:///C:/x/v1.2.ppt", "C:/x/v1.2.ppt"},
        PathCase{"NoDotAnywhere", R"(C:\x\notes)", false, true, "", "file:///C:/x/notes",
                 "file:///C:/x/notes.ppt", "C:/x/notes.ppt"},
        PathCase{"DotOnlyInFolderName", R"(C:\rel1.2\notes)", false, true, "",
                 "file:///C:/rel1.2/notes", "file:///C:/rel1.2/rel1.ppt", "C:/rel1.2/rel1.ppt"},
        PathCase{"DotOnlyInFolderNameIntoFolder", R"(C:\rel1.2\notes)", true, false, R"(D:\Out)",
                 "file:///C:/rel1.2/notes", "file:///D:/Out/rel1.ppt", "D:/Out/rel1.ppt"},
        PathCase{"ExtensionAlsoInFolderName", R"(C:\a.odp\b.odp)", false, true, "",
                 "file:///C:/a.odp/b.odp", "file:///C:/a.odp/b.ppt", "C:/a.odp/b.ppt"},
        PathCase{"NetworkShare", R"(\\srv\share\a.odp)", false, true, "",
                 "file://///srv/share/a.odp", "file:////srv/share/a.ppt", "/srv/share/a.ppt"},
        PathCase{"NetworkShareOutputFolder", R"(C:\a.odp)", true, false, R"(\\srv\out)",
                 "file:///C:/a.odp", "file:////srv/out/a.ppt", "/srv/out/a.ppt"},
        PathCase{"SpacesAndSignsAreEncoded", R"(C:\My Talks\#1 100%.odp)", false, true, "",
                 "file:///C:/My%20Talks/%231%20100%25.odp",
                 "file:///C:/My%20Talks/%231%20100%25.ppt", "C:/My Talks/#1 100%.ppt"},
        PathCase{"NonAscii", "C:\\Vortr\u00e4ge\\\u00dcbersicht.odp", false, true, "",
                 "file:///C:/Vortr%C3%A4ge/%C3%9Cbersicht.odp",
                 "file:///C:/Vortr%C3%A4ge/%C3%9Cbersicht.ppt",
                 "C:/Vortr\u00e4ge/\u00dcbersicht.ppt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunFixture, WithNeitherOptionTheTargetIsTheBareFileUrlAndTheSaveIsReported) {
    MemoryRunFiles files;
    files.folders << QStringLiteral(R"(D:\Out)");
    bridge.writeTarget = [](const QString&, const QByteArray&) {
        throw OfficeError(QStringLiteral("no such file"));
    };
    jobs.append(QStringLiteral(R"(C:\Talks\Q1.odp)"));
    view.option1 = false;
    view.option2 = false;
    view.text1 = QStringLiteral(R"(D:\Out)");
    BatchRun batch(jobs, view, bridge, dialogs, reporter, QLatin1Char('\\'), files);

    const RunSummary summary = batch.start();

    EXPECT_EQ(bridge.calls().value(15).url, QStringLiteral("file:///"));
    EXPECT_EQ(reporter.steps(), QList<int>{160});
    EXPECT_EQ(summary.converted, 0);
    EXPECT_EQ(summary.failed, 1);
}

}  // namespace
}  // namespace slate::testing
