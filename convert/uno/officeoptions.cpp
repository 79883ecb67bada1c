// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/officeoptions.h"

#include <QDir>
#include <QFileInfo>

#include "common/platform/filesystem.h"

namespace slate {

namespace {

const QString kProfilesBelowCache = QStringLiteral("/slatemere-converter/office-profiles");

// A folder only this user can enter: created so, or found so.
bool isPrivateFolder(const QString& path) {
    const QFileInfo info(path);
    constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                           QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == currentUserId() &&
           (info.permissions() & kOthers) == 0;
}

}  // namespace

OfficeOptions OfficeOptions::fromEnvironment() {
    OfficeOptions options;
    options.officeExecutable = qEnvironmentVariable("SLATEMERE_OFFICE");
    options.connectUrl = qEnvironmentVariable("SLATEMERE_OFFICE_URL");
    return options;
}

void OfficeOptions::limitWaitsTo(int seconds) {
    callTimeoutSeconds = seconds;
    startTimeoutSeconds = seconds;
}

QString OfficeOptions::effectiveProfileDir() const {
    return profileDir.isEmpty() ? defaultProfileFolder().path : profileDir;
}

ProfileFolder defaultProfileFolder(const QString& cacheHome, const QString& home,
                                   const QString& tempFolder) {
    if (QDir::isAbsolutePath(cacheHome))
        return {QDir::cleanPath(cacheHome) + kProfilesBelowCache};
    const QFileInfo homeInfo(home);
    if (QDir::isAbsolutePath(home) && homeInfo.isDir() && homeInfo.isWritable())
        return {QDir::cleanPath(home) + QStringLiteral("/.cache") + kProfilesBelowCache};
    // The temporary folder is shared by every user: a folder of ours that someone else made
    // first, or opened up, is not used.
    const QString own =
        QDir(tempFolder).filePath(QStringLiteral("slatemere-converter-%1").arg(currentUserId()));
    QDir().mkdir(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (isPrivateFolder(own))
        return {own + QStringLiteral("/office-profiles"), true};
    return {};
}

ProfileFolder defaultProfileFolder() {
    return defaultProfileFolder(qEnvironmentVariable("XDG_CACHE_HOME"),
                                qEnvironmentVariable("HOME"), QDir::tempPath());
}

}  // namespace slate
