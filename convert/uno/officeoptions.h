// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace slate {

// How the bridge reaches an office.
struct OfficeOptions {
    // The soffice to start; empty: look on PATH and in the usual install folders.
    QString officeExecutable;
    // A UNO connection string such as "socket,host=127.0.0.1,port=2002;urp;" for an office that
    // is already running. Such an office is only connected to, never started or stopped.
    QString connectUrl;
    // A call that has not returned by then fails, and an office this program started is killed.
    int callTimeoutSeconds = 300;
    // How long a starting office may take to accept the connection.
    int startTimeoutSeconds = 60;
    // The folder that holds the private office profiles; empty: the user's cache folder.
    QString profileDir;

    // SLATEMERE_OFFICE gives the executable, SLATEMERE_OFFICE_URL the connection string.
    static OfficeOptions fromEnvironment();
    // One limit for every wait on the office: each call, and a started office's first answer.
    void limitWaitsTo(int seconds);
    // The profile folder actually used: profileDir, else defaultProfileFolder()'s.
    QString effectiveProfileDir() const;
};

// Where the office profiles go when no folder is named.
struct ProfileFolder {
    QString path;
    // True when no usable cache or home folder was found and the folder is a private one
    // under the system's temporary folder, which the user should hear of.
    bool temporary = false;
};

// By the XDG rules: `cacheHome` when it is an absolute path (a relative one is ignored), else
// the ".cache" folder of `home` when that is an absolute path to a folder this user may write
// in; else a folder of this user's own under `tempFolder`, made if need be and used only if it
// is the user's own and closed to others.
ProfileFolder defaultProfileFolder(const QString& cacheHome, const QString& home,
                                   const QString& tempFolder);
// The same for the environment the program runs in.
ProfileFolder defaultProfileFolder();

}  // namespace slate
