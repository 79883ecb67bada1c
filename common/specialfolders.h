// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStandardPaths>
#include <QString>

#include "common/platform/filesystem.h"

namespace slate {

// The path of a per-user special folder; empty text when the system has none.
QString GetSpecialFolderPath(QStandardPaths::StandardLocation folder);

// The default output folder, followed by the separator: the current user's Desktop folder
// when `fs` finds it, otherwise the home folder (many Linux systems have no Desktop). Throws
// AppError when the system can name neither.
QString GetDesktopFolder(FileSystem& fs);

// The Desktop result for a looked-up location (empty text when the lookup found none).
QString DesktopFolderFrom(const QString& location);

// GetDesktopFolder for the given locations: the Desktop when `fs` finds that folder, otherwise
// the home folder (named even when it does not exist).
QString DefaultOutputFolder(const QString& desktop, const QString& home, FileSystem& fs);

}  // namespace slate
