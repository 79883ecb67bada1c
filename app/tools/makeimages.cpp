// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

// Writes the pictures the program expects beside itself (the hand pointer and the list's drag
// pointer), or with --icons the desktop's icon theme files. Run by the build.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

#include "app/artwork.h"

namespace {
bool writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writePointers(const QDir& out) {
    using namespace slate::artwork;
    return writeFile(out.filePath(QStringLiteral("HAND-M.CUR")),
                     encodeIconFile({handPointer()}, true, handHotspot())) &&
           writeFile(out.filePath(QStringLiteral("drag.ico")), encodeIconFile({dragPointer()}));
}

// The hicolor theme's layout: <size>x<size>/apps/<name>.png and scalable/apps/<name>.svg.
bool writeThemeIcons(const QDir& out, const QString& name, const QList<int>& sizes) {
    for (const int size : sizes) {
        const QString path = out.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name));
        QDir().mkpath(QFileInfo(path).path());
        if (!slate::artwork::programIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    const QString svgPath = out.filePath(QStringLiteral("scalable/apps/%1.svg").arg(name));
    QDir().mkpath(QFileInfo(svgPath).path());
    QSvgGenerator svg;
    svg.setFileName(svgPath);
    svg.setSize(QSize(64, 64));
    svg.setViewBox(QRect(0, 0, 64, 64));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Slatemere Converter"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
        return false;
    }
    slate::artwork::drawProgramIcon(painter, 64);
    return painter.end();
}
}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1)
        return writePointers(QDir(args[0])) ? 0 : 1;
    if (args.size() > 3 && args[0] == QLatin1String("--icons")) {
        QList<int> sizes;
        for (const QString& arg : args.mid(3)) {
            bool ok = false;
            sizes << arg.toInt(&ok);
            if (!ok || sizes.last() <= 0) {
                std::fprintf(stderr, "not an icon size: %s\n", qPrintable(arg));
                return 2;
            }
        }
        return writeThemeIcons(QDir(args[1]), args[2], sizes) ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: %s OUTPUT-FOLDER\n       %s --icons THEME-FOLDER ICON-NAME SIZE...\n",
                 argv[0], argv[0]);
    return 2;
}
