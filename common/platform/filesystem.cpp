#include "common/platform/filesystem.h"

#include <QStringDecoder>

namespace slate {

namespace {
FileSystem* current = nullptr;
}  // namespace

QString decodeFileName(QByteArrayView stored, bool* valid) {
    QStringDecoder whole(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = whole.decode(stored);
    if (valid)
        *valid = !whole.hasError();
    if (!whole.hasError())
        return text;
    QString shown;
    for (qsizetype i = 0; i < stored.size();) {
        const uchar lead = uchar(stored[i]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (i + length <= stored.size()) {
            QStringDecoder one(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString piece = one.decode(stored.sliced(i, length));
            if (!one.hasError()) {
                shown += piece;
                i += length;
                continue;
            }
        }
        shown += QString::asprintf("\\x%02X", lead);
        ++i;
    }
    return shown;
}

FileSystem& fileSystem() {
    return current ? *current : nativeFileSystem();
}

FileSystemOverride::FileSystemOverride(FileSystem& replacement) : previous_(current) {
    current = &replacement;
}

FileSystemOverride::~FileSystemOverride() {
    current = previous_;
}

}  // namespace slate
