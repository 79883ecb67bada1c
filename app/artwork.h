// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

class QPainter;

// The program's own pictures: drawn in code so nothing comes from elsewhere.
namespace slate::artwork {

// A pointing hand, fingertip at hotspot().
QImage handPointer(int size = 32);
QPoint handHotspot(int size = 32);
// A sheet with an up and a down arrow: an entry being moved.
QImage dragPointer(int size = 32);
// The program icon drawn into a square of `size` units at the painter's origin; any paint
// device will do, so the bitmaps and the scalable icon come from the same drawing.
void drawProgramIcon(QPainter& painter, double size);
// The program icon at one size, with a transparent background.
QImage programIconImage(int size);
// The program icon at 32x32 (no alpha), 48, 128 and 256.
QList<QImage> programIconImages();
QIcon programIcon();

// An .ico file, or a .cur file when `cursor` is set (hotspot stored in the directory entry).
// Images with an alpha channel are stored at 32 bits per pixel, others at 24.
QByteArray encodeIconFile(const QList<QImage>& images, bool cursor = false, QPoint hotspot = {});

// Loads a .cur file as a cursor with its own hotspot (Qt would centre it); a null cursor
// shape (Qt::ArrowCursor) and false when the file cannot be read.
bool loadCursorFile(const QString& path, QCursor* cursor);

}  // namespace slate::artwork
