#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

#include "common/errorpolicy.h"

// Everything the program asks the file system goes through this one interface, so that the
// folder services can be tested against trees with exact attribute values, and so that no
// platform call is spread through the rest of the code.
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

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The attribute value of a path; no value when it cannot be read (missing, empty text).
    // A link carries kReparsePoint plus the folder or file flags of what it leads to.
    virtual std::optional<int> attributes(const QString& path) = 0;
    // True when the path names the root folder "/".
    virtual bool isRootFolder(const QString& path) = 0;
    // The entries of a folder in no particular order; throws FolderListingError.
    virtual QList<FolderEntry> listFolder(const QString& path) = 0;
    // True when the path names an existing regular file (links followed), readable or not.
    // Must not open the file: opening a FIFO would block.
    virtual bool isRegularFile(const QString& path) = 0;
    // Last modification time; no value when it cannot be read.
    virtual std::optional<QDateTime> modificationTime(const QString& path) = 0;
    // The path with every link resolved; empty text when it cannot be resolved.
    virtual QString canonicalPath(const QString& path) = 0;
    // Equal for two paths exactly when they lead to the same file or folder, however many
    // links lie between; empty text when it cannot be read.
    virtual QString identity(const QString& path) { return canonicalPath(path); }
};

// A name as stored on disk, as text. Bytes that are not valid UTF-8 are shown as "\xHH" and
// `valid` is set false: such a text names the entry for people but cannot reach it again.
QString decodeFileName(QByteArrayView stored, bool* valid = nullptr);

// The operating system's file system.
FileSystem& nativeFileSystem();

// The file system the program uses: the native one unless a test put another in its place.
FileSystem& fileSystem();

// Puts another file system in place of the current one for its own lifetime.
class FileSystemOverride {
  public:
    explicit FileSystemOverride(FileSystem& replacement);
    ~FileSystemOverride();
    FileSystemOverride(const FileSystemOverride&) = delete;
    FileSystemOverride& operator=(const FileSystemOverride&) = delete;

  private:
    FileSystem* previous_;
};

}  // namespace slate
