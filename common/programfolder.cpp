// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace slate {

QString programFolderOf(const QString& executable) {
    const QString resolved = QFileInfo(executable).canonicalFilePath();
    return resolved.isEmpty() ? QString() : QFileInfo(resolved).path();
}

QString ProgramFolder() {
    return programFolderOf(QCoreApplication::applicationFilePath());
}

}  // namespace slate
