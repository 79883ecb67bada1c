// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFile>

#include "officefixture.h"
#include "support/powerpointfile.h"

// The .ppt check that the office-driven tests rely on must itself tell good files from bad.
namespace slate::testing {
namespace {

class PowerPointCheckTest : public OfficeSuite {
  protected:
    void SetUp() override {
        makeOdp(
            bridge(), odp(),
            SlideContent{{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")},
                         false});
        ASSERT_TRUE(saveThroughOffice(bridge(), odp(), ppt(), kPowerPoint97).succeeded());
        QFile file(ppt());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        bytes_ = file.readAll();
    }

    QString odp() const { return path(QStringLiteral("deck.odp")); }
    QString ppt() const { return path(QStringLiteral("deck.ppt")); }

    QString write(const QString& name, const QByteArray& contents) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return file.fileName();
    }

    static QString rejection(const QString& file) {
        QString why;
        return isPowerPoint97File(file, &why) ? QStringLiteral("<accepted>") : why;
    }

    QByteArray bytes_;
};

TEST_F(PowerPointCheckTest, ReadsSlidesAndTheirTextFromAConvertedFile) {
    QString why;
    const auto contents = readPowerPoint97(ppt(), &why);

    ASSERT_TRUE(contents) << why.toStdString();
    EXPECT_EQ(contents->slides, 3);
    EXPECT_EQ(contents->slideTexts.filter(QStringLiteral("a")).size(), 3)
        << contents->slideTexts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(contents->slideTexts.contains(QStringLiteral("Gamma")));
}

TEST_F(PowerPointCheckTest, RejectsFilesThatAreNoPowerPoint97) {
    EXPECT_EQ(rejection(odp()), QStringLiteral("no OLE compound-file signature"));
    EXPECT_EQ(rejection(path(QStringLiteral("missing.ppt"))).left(11),
              QStringLiteral("cannot open"));
    EXPECT_EQ(rejection(write(QStringLiteral("empty.ppt"), {})),
              QStringLiteral("no OLE compound-file signature"));
    EXPECT_NE(rejection(write(QStringLiteral("half.ppt"), bytes_.left(bytes_.size() / 2))),
              QStringLiteral("<accepted>"));

    // The same compound file with its presentation stream renamed.
    QByteArray renamed = bytes_;
    const QByteArray name = QByteArray("P\0o\0w\0e\0r\0P\0o\0i\0n\0t\0 \0D\0o\0c", 28);
    const qsizetype at = renamed.indexOf(name);
    ASSERT_GE(at, 0);
    renamed[at] = 'Q';
    EXPECT_EQ(rejection(write(QStringLiteral("renamed.ppt"), renamed)),
              QStringLiteral("no \"PowerPoint Document\" stream"));
}

}  // namespace
}  // namespace slate::testing
