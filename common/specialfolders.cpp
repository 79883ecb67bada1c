#include "common/specialfolders.h"

#include "common/errorpolicy.h"
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

QString GetDesktopFolder() {
    return DesktopFolderFrom(GetSpecialFolderPath(QStandardPaths::DesktopLocation));
}

}  // namespace slate
