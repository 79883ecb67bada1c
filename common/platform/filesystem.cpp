// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/platform/filesystem.h"

#include <QStringDecoder>

namespace slate {

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

}  // namespace slate
