#pragma once

#include <QString>

namespace slate {

// What the batch run asks the file system: whether the output folder exists, and enough
// about a source or target file to tell that a save really wrote it.
class RunFiles {
  public:
    struct State {
        bool exists = false;
        bool regularFile = false;
        qint64 size = 0;
        // Modification time in nanoseconds since the epoch.
        qint64 modified = 0;
    };

    virtual ~RunFiles() = default;
    virtual bool folderExists(const QString& path) = 0;
    // Never throws: an unreadable path is one that does not exist.
    virtual State state(const QString& path) = 0;
    // True when both paths name the same file, through links or spelling differences too.
    virtual bool sameFile(const QString& a, const QString& b) = 0;
};

// The program's own file system.
RunFiles& localRunFiles();

}  // namespace slate
