// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <iostream>

#include "officefixture.h"
#include "support/powerpointfile.h"

namespace slate::testing {
namespace {

class SourceNameTest : public OfficeSuite, public ::testing::WithParamInterface<const char*> {};

// The folder and the file carry the name, so both the source and the target URL meet it.
TEST_P(SourceNameTest, ConvertsToPowerPoint97UnderItsOwnName) {
    const QString name = QString::fromUtf8(GetParam());
    const QString folder = path(name);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString odp = folder + QLatin1Char('/') + name + QStringLiteral(".odp");
    const QString ppt = folder + QLatin1Char('/') + name + QStringLiteral(".ppt");
    makeOdp(bridge(), odp,
            SlideContent{{QStringLiteral("Premi\u00e8re"), QStringLiteral("Two")}, true});

    const DispatchResult result = saveThroughOffice(bridge(), odp, ppt, kPowerPoint97);

    EXPECT_TRUE(result.succeeded()) << "state " << static_cast<int>(result.state);
    QString why;
    const auto contents = readPowerPoint97(ppt, &why);
    ASSERT_TRUE(contents) << why.toStdString();
    EXPECT_EQ(contents->slides, 2);
    EXPECT_TRUE(contents->slideTexts.contains(QStringLiteral("Premi\u00e8re")))
        << contents->slideTexts.join(QLatin1Char('|')).toStdString();
    // Nothing written under a cut-off or decoded name.
    QStringList files = QDir(folder).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{name + QStringLiteral(".odp"), name + QStringLiteral(".ppt")}));
}

INSTANTIATE_TEST_SUITE_P(Names, SourceNameTest,
                         ::testing::Values("plain", "with spaces", "hash#tag", "100%", "a%41",
                                           "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"),
                         [](const auto& info) { return "name" + std::to_string(info.index); });

class ConversionTest : public OfficeSuite {};

TEST_F(ConversionTest, PercentEscapeInNameDoesNotOpenAnotherFile) {
    makeOdp(bridge(), path(QStringLiteral("aA.odp")), SlideContent::numbered(1));
    makeOdp(bridge(), path(QStringLiteral("a%41.odp")), SlideContent::numbered(3));

    saveThroughOffice(bridge(), path(QStringLiteral("a%41.odp")), path(QStringLiteral("a%41.ppt")),
                      kPowerPoint97);

    const auto contents = readPowerPoint97(path(QStringLiteral("a%41.ppt")));
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->slides, 3);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("aA.ppt"))));
}

TEST_F(ConversionTest, ExistingTargetIsReplaced) {
    const QString ppt = path(QStringLiteral("deck.ppt"));
    makeOdp(bridge(), path(QStringLiteral("deck.odp")), SlideContent::numbered(2));
    {
        QFile old(ppt);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }

    EXPECT_TRUE(saveThroughOffice(bridge(), path(QStringLiteral("deck.odp")), ppt, kPowerPoint97)
                    .succeeded());

    const auto contents = readPowerPoint97(ppt);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->slides, 2);
}

// Also the figures for the report: time per file inside a running office.
TEST_F(ConversionTest, ConvertsSmallAndTwentySlideDecks) {
    runningOffice();
    for (const int slides : {1, 20}) {
        const QString odp = path(QStringLiteral("deck%1.odp").arg(slides));
        const QString ppt = path(QStringLiteral("deck%1.ppt").arg(slides));
        makeOdp(bridge(), odp, SlideContent::numbered(slides, true));

        QElapsedTimer timer;
        timer.start();
        const DispatchResult result = saveThroughOffice(bridge(), odp, ppt, kPowerPoint97);
        std::cout << "[ timing   ] " << slides << "-slide deck loaded and saved in "
                  << timer.elapsed() << " ms\n";

        EXPECT_TRUE(result.succeeded());
        const auto contents = readPowerPoint97(ppt);
        ASSERT_TRUE(contents);
        EXPECT_EQ(contents->slides, slides);
        EXPECT_TRUE(contents->slideTexts.contains(QStringLiteral("Slide %1").arg(slides)));
    }
}

}  // namespace
}  // namespace slate::testing
