// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/fileurl.h"

#include <QUrl>

namespace slate {

QString fileUrlFromPath(const QString& path, QChar separator) {
    QString slashed = path;
    if (separator != QLatin1Char('/'))
        slashed.replace(separator, QLatin1Char('/'));
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(slashed, "/:"));
    // An absolute POSIX path already brings the third slash.
    if (separator == QLatin1Char('/') && slashed.startsWith(QLatin1Char('/'))) {
        return QStringLiteral("file://") + encoded;
    }
    return QStringLiteral("file:///") + encoded;
}

}  // namespace slate
