// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

#include "convert/updatecheck.h"
#include "support/compoundfile.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

bool complete(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return isCompletePowerPoint97(buffer);
}

TEST(CompletePowerPointTest, AWholeFileOnlyNotOneCutShortOrOfAnotherKind) {
    const QByteArray whole = testing::compoundFile();
    EXPECT_TRUE(complete(whole));
    for (int keep : {0, 8, 511, 1024, 1536, 3000, static_cast<int>(whole.size()) - 1})
        EXPECT_FALSE(complete(whole.left(keep))) << "cut to " << keep << " bytes";
    QByteArray renamed = whole;
    renamed[1152] = 'Q';  // the stream's name no longer says "PowerPoint Document"
    EXPECT_FALSE(complete(renamed));
    QByteArray looping = whole;
    testing::put32(looping, 512 + 4 * 5, 3);  // the stream's chain runs in a circle
    EXPECT_FALSE(complete(looping));
}

struct UpdateCase {
    const char* name;
    std::function<QByteArray()> result;  // nothing: no result on disk
    int resultAgeSeconds;                // relative to the source; negative: older
    UpdateNeed need;
};

void PrintTo(const UpdateCase& c, std::ostream* os) {
    *os << c.name;
}

class UpdateNeedTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UpdateNeedTest, ConvertsOnlyWhatIsMissingBrokenOrStale) {
    const UpdateCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = testing::writeTestFile(dir.filePath(QStringLiteral("a.odp")), "odp");
    const QString result = dir.filePath(QStringLiteral("a.ppt"));
    const QDateTime sourceTime = QDateTime::currentDateTime().addSecs(-3600);
    QFile sourceFile(source);
    ASSERT_TRUE(sourceFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(sourceFile.setFileTime(sourceTime, QFileDevice::FileModificationTime));
    if (c.result) {
        testing::writeTestFile(result, c.result());
        QFile resultFile(result);
        ASSERT_TRUE(resultFile.open(QIODevice::ReadWrite));
        ASSERT_TRUE(resultFile.setFileTime(sourceTime.addSecs(c.resultAgeSeconds),
                                           QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(updateNeed(source, result), c.need);
}

INSTANTIATE_TEST_SUITE_P(
    Results, UpdateNeedTest,
    ::testing::Values(UpdateCase{"Missing", {}, 0, UpdateNeed::Missing},
                      UpdateCase{"Newer", testing::compoundFile, 60, UpdateNeed::UpToDate},
                      UpdateCase{"SameTime", testing::compoundFile, 0, UpdateNeed::UpToDate},
                      UpdateCase{"Stale", testing::compoundFile, -60, UpdateNeed::Older},
                      UpdateCase{"TruncatedAndNewer",
                                 [] { return testing::compoundFile().left(2000); }, 60,
                                 UpdateNeed::NotPowerPoint},
                      UpdateCase{"OtherKindAndNewer", [] { return QByteArray("PK\3\4 text"); }, 60,
                                 UpdateNeed::NotPowerPoint}),
    [](const ::testing::TestParamInfo<UpdateCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace slate
