// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "app/artwork.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

namespace slate::artwork {

namespace {
const QColor kInk(30, 30, 30);
const QColor kSlate(62, 84, 110);
const QColor kPaper(250, 250, 250);
const QColor kAccent(222, 120, 40);

QImage blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void appendLe16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
void appendLe32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// One DIB entry: header with doubled height, bottom-up pixels, then the AND mask.
QByteArray encodeDib(const QImage& source) {
    const bool alpha = source.hasAlphaChannel();
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int bpp = alpha ? 32 : 24;
    const int rowBytes = ((w * bpp + 31) / 32) * 4;
    const int maskRowBytes = ((w + 31) / 32) * 4;
    QByteArray out;
    appendLe32(out, 40);
    appendLe32(out, static_cast<quint32>(w));
    appendLe32(out, static_cast<quint32>(h * 2));
    appendLe16(out, 1);
    appendLe16(out, static_cast<quint16>(bpp));
    appendLe32(out, 0);
    appendLe32(out, static_cast<quint32>((rowBytes + maskRowBytes) * h));
    appendLe32(out, 0);
    appendLe32(out, 0);
    appendLe32(out, 0);
    appendLe32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            const int o = x * (bpp / 8);
            row[o] = static_cast<char>(qBlue(p));
            row[o + 1] = static_cast<char>(qGreen(p));
            row[o + 2] = static_cast<char>(qRed(p));
            if (alpha)
                row[o + 3] = static_cast<char>(qAlpha(p));
        }
        out.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskRowBytes, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}
}  // namespace

QImage handPointer(int size) {
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QPainterPath hand;
    // Index finger up, the other fingers folded into the palm.
    hand.moveTo(11, 1.5);
    hand.cubicTo(12.8, 1.5, 14, 2.6, 14, 4.5);
    hand.lineTo(14, 12);
    hand.cubicTo(16, 11, 18, 11.5, 18.5, 13);
    hand.cubicTo(20.5, 12.2, 22.3, 13, 22.8, 14.6);
    hand.cubicTo(25, 14, 27, 15.2, 27, 17.5);
    hand.lineTo(27, 23);
    hand.cubicTo(27, 27, 24.5, 30, 20.5, 30);
    hand.lineTo(14.5, 30);
    hand.cubicTo(11.5, 30, 10, 28.5, 8.5, 26.5);
    hand.lineTo(3.5, 19.5);
    hand.cubicTo(2.4, 18, 3.5, 16.2, 5.2, 16.6);
    hand.cubicTo(6.2, 16.8, 7, 17.8, 8, 19);
    hand.lineTo(8, 4.5);
    hand.cubicTo(8, 2.6, 9.2, 1.5, 11, 1.5);
    hand.closeSubpath();
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(kInk, 1.0));
    p.drawLine(QPointF(14, 12), QPointF(14, 19));
    p.drawLine(QPointF(18.5, 13), QPointF(18.5, 19));
    p.drawLine(QPointF(22.8, 14.6), QPointF(22.8, 19.5));
    return image;
}

QPoint handHotspot(int size) {
    return {size * 11 / 32, size * 2 / 32};
}

QImage dragPointer(int size) {
    QImage image = blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(9.5, 9.5, 13, 13));
    p.setPen(QPen(kSlate, 1.2));
    for (double y : {13.0, 16.0, 19.0})
        p.drawLine(QPointF(12, y), QPointF(20, y));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({QPointF(16, 1), QPointF(21.5, 7.5), QPointF(10.5, 7.5)}));
    p.drawPolygon(QPolygonF({QPointF(16, 31), QPointF(21.5, 24.5), QPointF(10.5, 24.5)}));
    return image;
}

void drawProgramIcon(QPainter& p, double size) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A slate tablet with a stack of slides and an arrow into a second stack.
    p.setPen(Qt::NoPen);
    p.setBrush(kSlate);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 14, 18, 14));
    p.drawRect(QRectF(37, 36, 18, 14));
    p.setBrush(QColor(200, 210, 222));
    p.drawRect(QRectF(12, 18, 12, 2.5));
    p.drawRect(QRectF(40, 40, 12, 2.5));
    p.setBrush(kAccent);
    p.drawRect(QRectF(12, 22.5, 8, 2.5));
    p.drawRect(QRectF(40, 44.5, 8, 2.5));
    QPainterPath arrow;
    arrow.moveTo(22, 34);
    arrow.lineTo(30, 34);
    arrow.lineTo(30, 30);
    arrow.lineTo(37, 37);
    arrow.lineTo(30, 44);
    arrow.lineTo(30, 40);
    arrow.lineTo(22, 40);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.restore();
}

QImage programIconImage(int size) {
    QImage image = blank(size);
    QPainter p(&image);
    drawProgramIcon(p, size);
    return image;
}

QList<QImage> programIconImages() {
    QList<QImage> images;
    for (int size : {32, 48, 128, 256}) {
        QImage image = programIconImage(size);
        // The smallest image is the classic 24-bit one.
        if (size == 32) {
            QImage flat(size, size, QImage::Format_RGB32);
            flat.fill(Qt::white);
            QPainter f(&flat);
            f.drawImage(0, 0, image);
            f.end();
            images.append(flat);
        } else {
            images.append(image);
        }
    }
    return images;
}

QIcon programIcon() {
    QIcon icon;
    for (const QImage& image : programIconImages())
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QByteArray encodeIconFile(const QList<QImage>& images, bool cursor, QPoint hotspot) {
    QByteArray header;
    appendLe16(header, 0);
    appendLe16(header, cursor ? 2 : 1);
    appendLe16(header, static_cast<quint16>(images.size()));
    QList<QByteArray> bodies;
    for (const QImage& image : images)
        bodies.append(encodeDib(image));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    QByteArray directory;
    for (int i = 0; i < images.size(); ++i) {
        const QImage& image = images.at(i);
        directory.append(static_cast<char>(image.width() >= 256 ? 0 : image.width()));
        directory.append(static_cast<char>(image.height() >= 256 ? 0 : image.height()));
        directory.append('\0');
        directory.append('\0');
        if (cursor) {
            appendLe16(directory, static_cast<quint16>(hotspot.x()));
            appendLe16(directory, static_cast<quint16>(hotspot.y()));
        } else {
            appendLe16(directory, 1);
            appendLe16(directory, image.hasAlphaChannel() ? 32 : 24);
        }
        appendLe32(directory, static_cast<quint32>(bodies.at(i).size()));
        appendLe32(directory, offset);
        offset += static_cast<quint32>(bodies.at(i).size());
    }
    QByteArray out = header + directory;
    for (const QByteArray& body : bodies)
        out.append(body);
    return out;
}

bool loadCursorFile(const QString& path, QCursor* cursor) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (data.size() < 22)
        return false;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    // Qt ignores the hotspot of a cursor file; take it from the first directory entry.
    QPoint hotspot(image.width() / 2, image.height() / 2);
    if (qFromLittleEndian<quint16>(data.constData() + 2) == 2) {
        hotspot = QPoint(qFromLittleEndian<quint16>(data.constData() + 10),
                         qFromLittleEndian<quint16>(data.constData() + 12));
    }
    *cursor = QCursor(QPixmap::fromImage(image), hotspot.x(), hotspot.y());
    return true;
}

}  // namespace slate::artwork
