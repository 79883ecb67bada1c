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
    // The profile folder actually used: profileDir, else
    // $XDG_CACHE_HOME/slatemere-converter/office-profiles.
    QString effectiveProfileDir() const;
};

}  // namespace slate
