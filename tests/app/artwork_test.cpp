// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/artwork.h"

namespace slate {
namespace {

TEST(Artwork, CursorFileKeepsItsHotspotWhenLoaded) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(artwork::encodeIconFile({artwork::handPointer()}, true, QPoint(11, 2)));
    file.close();
    QCursor cursor;
    ASSERT_TRUE(artwork::loadCursorFile(path, &cursor));
    EXPECT_EQ(cursor.hotSpot(), QPoint(11, 2));
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_FALSE(artwork::loadCursorFile(dir.filePath(QStringLiteral("missing.cur")), &cursor));
}

TEST(Artwork, ProgramIconHasFourSizesTheSmallestWithoutAlpha) {
    const QList<QImage> images = artwork::programIconImages();
    ASSERT_EQ(images.size(), 4);
    EXPECT_EQ(images[0].size(), QSize(32, 32));
    EXPECT_FALSE(images[0].hasAlphaChannel());
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(images[i].hasAlphaChannel());
    EXPECT_EQ(images[3].size(), QSize(256, 256));

    QByteArray data = artwork::encodeIconFile(images);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    EXPECT_EQ(reader.imageCount(), 4);
    QList<QSize> sizes;
    do {
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        sizes << image.size();
    } while (reader.jumpToNextImage());
    EXPECT_EQ(sizes, (QList<QSize>{{32, 32}, {48, 48}, {128, 128}, {256, 256}}));
}

TEST(Artwork, IconFilePixelsSurviveTheRoundTrip) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(3, 4, qRgba(10, 20, 30, 255));
    QByteArray data = artwork::encodeIconFile({image});
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    const QImage back = QImageReader(&buffer).read().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(back.pixel(3, 4), qRgba(10, 20, 30, 255));
    EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
}

}  // namespace
}  // namespace slate
