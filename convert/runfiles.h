#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "common/platform/savefiles.h"

namespace slate {

// What the batch run asks of the file system: whether the output folder exists, enough about a
// file to tell that a save really wrote it, and the steps of a save that is all or nothing.
class RunFiles {
  public:
    struct State {
        bool exists = false;
        bool regularFile = false;
        qint64 size = 0;
        // Modification time in nanoseconds since the epoch.
        qint64 modified = 0;
    };
    using Problem = platform::WriteProblem;
    using FileId = platform::FileId;

    virtual ~RunFiles() = default;
    virtual bool folderExists(const QString& path) = 0;
    // Never throws: an unreadable path is one that does not exist.
    virtual State state(const QString& path) = 0;
    // True when both paths name the same file, through links or spelling differences too.
    virtual bool sameFile(const QString& a, const QString& b) = 0;

    // The path spelled the way the file system resolves it: absolute, "." and ".." gone, links
    // in the folder part followed; the file name itself is kept as it is.
    virtual QString resolvedPath(const QString& path) = 0;
    // The file the name stands for (a link is not followed); none when nothing is there.
    virtual std::optional<FileId> fileId(const QString& path) = 0;
    // The first `count` bytes of a file, fewer when it is shorter; empty when unreadable.
    virtual QByteArray head(const QString& path, int count) = 0;

    // A new private folder inside `folder` for one save to write into; its absolute path, or
    // an empty text with `problem` set.
    virtual QString createSaveFolder(const QString& folder, Problem* problem) = 0;
    // Removes a save folder and whatever was left in it. Never throws.
    virtual void removeSaveFolder(const QString& path) = 0;
    // Puts the finished file `from` in the place of `to` in one step.
    virtual Problem replace(const QString& from, const QString& to) = 0;
    // Why writing `fileName` into `folder` would fail, as far as the folder tells.
    virtual Problem diagnose(const QString& folder, const QString& fileName) = 0;
};

// The program's own file system.
RunFiles& localRunFiles();

}  // namespace slate
