// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "convert/shards.h"

namespace slate {
namespace {

QStringList resultsOf(const QStringList& sources, const QString& folder) {
    QStringList results;
    for (const QString& source : sources)
        results << plannedResultPath(source, folder);
    return results;
}

// A tree where several sources meet on one result name, beside their sources or in one folder.
QStringList treeSources() {
    QStringList sources;
    for (int i = 0; i < 23; ++i)
        sources << QStringLiteral("/share/d%1/talk%2.odp").arg(i % 4).arg(i);
    sources << QStringLiteral("/share/d1/talk5.odt") << QStringLiteral("/share/d2/talk5.odp")
            << QStringLiteral("/share/d1/Ünï.odp") << QStringLiteral("/share/d1/Z.odp")
            << QStringLiteral("/share/d3/ÜNÏ.odp") << QStringLiteral("/share/d1/z.odp");
    return sources;
}

struct ShardCase {
    const char* name;
    QString folder;  // empty: beside the source
    int count;
};

void PrintTo(const ShardCase& c, std::ostream* os) {
    *os << c.name;
}

class ShardTest : public ::testing::TestWithParam<ShardCase> {};

TEST_P(ShardTest, EverySourceOnceBalancedAndResultGroupsTogether) {
    const ShardCase& c = GetParam();
    const QStringList sources = treeSources();
    const QStringList results = resultsOf(sources, c.folder);
    // Results whose names differ only in case are one file on a share that ignores case.
    QStringList keys;
    for (const QString& result : results)
        keys << result.toCaseFolded();
    const int groups = static_cast<int>(QSet<QString>(keys.begin(), keys.end()).size());

    QStringList shuffled = sources;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    const QStringList shuffledResults = resultsOf(shuffled, c.folder);

    QList<int> seen(sources.size(), 0);
    QList<int> groupsPerShard;
    for (int k = 0; k < c.count; ++k) {
        const QList<int> mine = sourcesOfShard(sources, results, {k, c.count});
        EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end())) << "list order kept";
        QSet<QString> mineResults;
        QSet<QString> mineSources;
        for (int i : mine) {
            ++seen[i];
            mineResults.insert(keys.at(i));
            mineSources.insert(sources.at(i));
        }
        groupsPerShard << static_cast<int>(mineResults.size());
        // A result name of this shard belongs to no other: all its sources are here.
        for (int i = 0; i < sources.size(); ++i) {
            if (mineResults.contains(keys.at(i)))
                EXPECT_TRUE(mine.contains(i)) << sources.at(i).toStdString();
        }
        // Another machine's walk in another order computes the same shard.
        QSet<QString> fromShuffled;
        for (int i : sourcesOfShard(shuffled, shuffledResults, {k, c.count}))
            fromShuffled.insert(shuffled.at(i));
        EXPECT_EQ(fromShuffled, mineSources) << "shard " << k;
    }
    EXPECT_EQ(seen, QList<int>(sources.size(), 1));
    const auto [least, most] = std::minmax_element(groupsPerShard.begin(), groupsPerShard.end());
    EXPECT_LE(*most - *least, 1);
    EXPECT_EQ(std::accumulate(groupsPerShard.begin(), groupsPerShard.end(), 0), groups);
}

INSTANTIATE_TEST_SUITE_P(
    Splits, ShardTest,
    ::testing::Values(ShardCase{"BesideOne", {}, 1}, ShardCase{"BesideThree", {}, 3},
                      ShardCase{"IntoFolderThree", QStringLiteral("/out/"), 3},
                      ShardCase{"IntoFolderSeven", QStringLiteral("/out"), 7},
                      ShardCase{"MoreShardsThanFiles", QStringLiteral("/out"), 40}),
    [](const ::testing::TestParamInfo<ShardCase>& info) { return std::string(info.param.name); });

TEST(PlannedResultTest, NamesTheResultAsTheRunWould) {
    EXPECT_EQ(plannedResultPath(QStringLiteral("/a/b.c/talk.odp.odp"), {}),
              QStringLiteral("/a/b.c/talk.odp.ppt"));
    EXPECT_EQ(plannedResultPath(QStringLiteral("/a/README"), QStringLiteral("/out/")),
              QStringLiteral("/out/README.ppt"));
    // The two sources meet on one result in the folder, so they must share a shard.
    EXPECT_EQ(plannedResultPath(QStringLiteral("/a/x.odp"), QStringLiteral("/out")),
              plannedResultPath(QStringLiteral("/b/x.odt"), QStringLiteral("/out")));
}

TEST(ParseShardTest, TakesOnlyKOfN) {
    QString why;
    EXPECT_EQ(parseShard(QStringLiteral("0/3"), &why), (Shard{0, 3}));
    EXPECT_EQ(parseShard(QStringLiteral("2/3"), &why), (Shard{2, 3}));
    for (const char* bad : {"3/3", "-1/2", "0/0", "1", "a/b", "1/2/3", "", "/2"}) {
        why.clear();
        EXPECT_FALSE(parseShard(QString::fromLatin1(bad), &why)) << bad;
        EXPECT_TRUE(why.contains(QLatin1String("--shard"))) << bad;
    }
}

}  // namespace
}  // namespace slate
