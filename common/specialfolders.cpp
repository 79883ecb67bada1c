// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/specialfolders.h"

#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/paths.h"

namespace slate {

QString GetSpecialFolderPath(QStandardPaths::StandardLocation folder) {
    return QStandardPaths::writableLocation(folder);
}

QString DesktopFolderFrom(const QString& location) {
    if (location.isEmpty())
        throw AppError(QStringLiteral("The Desktop folder cannot be found."));
    // A Desktop at the file-system root must not show a doubled separator.
    return location.endsWith(kNativeSeparator) ? location : location + kNativeSeparator;
}

QString DefaultOutputFolder(const QString& desktop, const QString& home, FileSystem& fs) {
    // The Desktop is named even where it was never created; a first run must not be
    // refused for a folder the user never had.
    if (!desktop.isEmpty() && FolderExists(desktop, fs))
        return DesktopFolderFrom(desktop);
    if (home.isEmpty())
        throw AppError(QStringLiteral("Neither the Desktop nor the home folder can be found."));
    return DesktopFolderFrom(home);
}

QString GetDesktopFolder(FileSystem& fs) {
    return DefaultOutputFolder(GetSpecialFolderPath(QStandardPaths::DesktopLocation),
                               GetSpecialFolderPath(QStandardPaths::HomeLocation), fs);
}

}  // namespace slate
