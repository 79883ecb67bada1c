// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "common/errorpolicy.h"

// Everything the program asks the file system goes through this one interface, handed to whoever
// needs it, so that the folder services and the run can be tested against trees held in memory
// (exact attribute values, paths of another system), and so that no platform call is spread
// through the rest of the code.
namespace slate {

// Attribute values as the program compares them; a path's value is the sum of its flags.
namespace attribute {
inline constexpr int kReadOnly = 1;  // the user may not write it
inline constexpr int kHidden = 2;    // the name starts with "."
// Neither a regular file nor a folder (FIFO, socket, device); for a folder, together with
// kHidden: a trash or lost+found folder, which the walk leaves alone.
inline constexpr int kSystem = 4;
inline constexpr int kFolder = 16;
inline constexpr int kArchive = 32;         // a regular file
inline constexpr int kReparsePoint = 1024;  // a symbolic link
}  // namespace attribute

// Why a folder could not be listed. The two codes the walker acts on keep their classic
// numbers; everything else is kOtherFailure.
namespace listingerror {
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathNotFound = 76;
inline constexpr int kOtherFailure = 75;
}  // namespace listingerror

class FolderListingError : public AppError {
  public:
    FolderListingError(int code, const QString& description) : AppError(description), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// One entry of a folder as listed: never "." or "..".
struct FolderEntry {
    // The name as decoded from the file system.
    QString name;
    // False when the stored name is not valid UTF-8, so `name` is only an approximation and
    // cannot be used to reach the entry again.
    bool validName = true;
    // The entry's attribute value (links followed for the folder and type flags); no value
    // when it could not be read.
    std::optional<int> attributes;

    bool isFolder() const { return attributes && (*attributes & attribute::kFolder); }
};

// Why a file could not be written, as far as the system tells.
enum class WriteProblem {
    None,
    Unknown,
    PermissionDenied,
    NoSpace,
    ReadOnlyFileSystem,
    NameTooLong,
    FolderInTheWay,
    FolderMissing,
};

// Which file a name stands for: device and inode. The name itself counts: a link is not followed.
struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileId&) const = default;
};

// What a path leads to (links followed); nothing exists where it cannot be read.
struct FileState {
    bool exists = false;
    bool regularFile = false;
    qint64 size = 0;  // of a regular file; 0 for anything else
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Finding files: the folder walk, the file lister, the add procedures and the checks of
    // the window and the command line.

    // The attribute value of a path; no value when it cannot be read (missing, empty text).
    // A link carries kReparsePoint plus the folder or file flags of what it leads to.
    virtual std::optional<int> attributes(const QString& path) = 0;
    // Every regular file at any depth under `folder`, by its full path, found through open
    // folders rather than paths, so that no path length limits the search; links are not
    // followed. `complete` is cleared when part of the tree could not be read.
    virtual QStringList filesBeneath(const QString& folder, bool* complete) = 0;
    // True when the path names the root folder "/".
    virtual bool isRootFolder(const QString& path) = 0;
    // The entries of a folder in no particular order; throws FolderListingError.
    virtual QList<FolderEntry> listFolder(const QString& path) = 0;
    // Never throws and never opens the file: opening a FIFO would block.
    virtual FileState state(const QString& path) = 0;
    // The path with every link resolved; empty text when it cannot be resolved.
    virtual QString canonicalPath(const QString& path) = 0;
    // Equal for two paths exactly when they lead to the same file or folder, however many
    // links lie between; empty text when it cannot be read.
    virtual QString identity(const QString& path) { return canonicalPath(path); }

    // Saving a result, all or nothing: the batch run.

    // True when both paths name the same file, through links or spelling differences too.
    virtual bool sameFile(const QString& a, const QString& b) = 0;
    // The path spelled the way the file system resolves it: absolute, "." and ".." gone, links
    // in the folder part followed; the file name itself is kept as it is.
    virtual QString resolvedPath(const QString& path) = 0;
    virtual std::optional<FileId> fileId(const QString& path) = 0;
    // The first `count` bytes of a file, fewer when it is shorter; empty when unreadable.
    virtual QByteArray head(const QString& path, int count) = 0;
    // A new folder only this user may enter, inside `folder`, for one save to write into; its
    // absolute path, or an empty text with `problem` set.
    virtual QString createSaveFolder(const QString& folder, WriteProblem* problem) = 0;
    // Removes a save folder with whatever was left in it; links inside are removed, never
    // followed. Never throws.
    virtual void removeSaveFolder(const QString& path) = 0;
    // Removes the save folders inside `folder` that a program left when it was killed, as far
    // as their owner can be shown to be gone; those of running programs and of other hosts
    // stay. How many were removed. Never throws.
    virtual int removeAbandonedSaveFolders(const QString& folder) = 0;
    // Puts the finished file `from` in the place of `to` in one step: whoever looks at `to`
    // sees either the old file or the new one. A link at `to` is replaced, never written through.
    virtual WriteProblem replace(const QString& from, const QString& to) = 0;
    // What the folder tells about writing `fileName`, of at least `bytes` bytes, into it:
    // read-only file system, less space left than that, no permission, a name longer than the
    // file system allows. None when nothing stands out.
    virtual WriteProblem diagnose(const QString& folder, const QString& fileName, qint64 bytes) = 0;
};

// A name as stored on disk, as text. Bytes that are not valid UTF-8 are shown as "\xHH" and
// `valid` is set false: such a text names the entry for people but cannot reach it again.
QString decodeFileName(QByteArrayView stored, bool* valid = nullptr);

// The user the program runs as, by number.
uint currentUserId();

// The operating system's file system, which the program's entry points hand on.
FileSystem& nativeFileSystem();

}  // namespace slate
