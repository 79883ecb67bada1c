#pragma once

#include <QStandardPaths>
#include <QString>

namespace slate {

// The path of a per-user special folder; empty text when the system has none.
QString GetSpecialFolderPath(QStandardPaths::StandardLocation folder);

// The current user's Desktop folder followed by the separator. Throws AppError when the
// system cannot name one.
QString GetDesktopFolder();

// The Desktop result for a looked-up location (empty text when the lookup found none).
QString DesktopFolderFrom(const QString& location);

}  // namespace slate
