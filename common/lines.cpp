// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/lines.h"

namespace slate {

void writeLine(QTextStream& stream, const QString& text) {
    stream << text << '\n';
    stream.flush();
}

QString commandLinePath(const QString& given, const QString& currentFolder) {
    return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(given));
}

}  // namespace slate
