// Writes the pictures the program expects beside itself: the hand pointer and the list's
// drag pointer. Run by the build.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include "app/artwork.h"

namespace {
bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    using namespace slate::artwork;
    const bool ok =
        writeFile(out.filePath(QStringLiteral("HAND-M.CUR")),
                  encodeIconFile({handPointer()}, true, handHotspot())) &&
        writeFile(out.filePath(QStringLiteral("drag.ico")), encodeIconFile({dragPointer()}));
    return ok ? 0 : 1;
}
