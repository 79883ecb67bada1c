#pragma once

#include <QString>

#include <optional>

// The file operations behind a save that is all or nothing: a private folder to write into, the
// one-step move of the finished file onto its name, and what the system can tell about a failed
// write. Part of the platform layer; the batch run reaches them through its RunFiles.
namespace slate::platform {

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

std::optional<FileId> fileId(const QString& path);

// Creates a new, empty folder only this user may enter, inside `parent`, named `prefix` plus
// random letters; its path, or an empty text with `problem` set.
QString makePrivateFolder(const QString& parent, const QString& prefix, WriteProblem* problem);

// Puts `from` in the place of `to` in one step (rename): whoever looks at `to` sees either the
// old file or the new one. A link at `to` is replaced, never written through.
WriteProblem renameOver(const QString& from, const QString& to);

// Removes a folder with everything in it; links inside are removed, never followed. Never throws.
void removeFolderTree(const QString& path);

// What the folder tells about writing `fileName` into it: read-only file system, no space left,
// no permission, a name longer than the file system allows. None when nothing stands out.
WriteProblem folderWriteProblem(const QString& folder, const QString& fileName);

}  // namespace slate::platform
