#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

#include "common/platform/filesystem.h"

// The folder services behind the ways of filling the job list: the folder picker, the
// level-by-level folder walker, the file lister and the two small tests they rely on.
namespace slate {

class Dialogs;
class ErrorReporter;

// Ordered folder paths, each ending in "/"; the walker extends it in place.
using FolderList = QStringList;
// Lets the window handle pending events during a long walk; may be empty.
using ProcessEvents = std::function<void()>;

// Paths and names of this length or longer are not walked into.
inline constexpr qsizetype kMaxPathChars = 260;

// The folder the user picked, or empty text when the picker was cancelled.
QString BrowseForFolder(Dialogs& dialogs, const QString& title, const QString& initialFolder);

// Appends every sub-folder of the listed folders, level by level (all first-level sub-folders,
// then all second-level ones, ...), each level in the order of its parents and, under one
// parent, in listing order. With `recurse` clear only direct sub-folders are added.
// Hidden+system folders are neither expanded nor added, unless the folder is the root; names
// with unsafe characters are left out with everything beneath them; a link leading back to one
// of its own ancestors is added but not expanded. A folder whose sub-folders cannot be listed
// (permission denied, path not found) is removed from the list and the walk goes on. Other
// failures are reported with the walker's location text and the step number, and the walk
// carries on with the next step.
void GetSubDirectories2016(FolderList& folders, bool recurse, ErrorReporter& reporter,
                           const ProcessEvents& processEvents = {}, FileSystem& fs = fileSystem());

// The plain names of the existing files in `folder` (with or without its trailing "/") that
// match the wildcard pattern, hidden and system files included, folders never; in listing
// order. A folder that cannot be listed gives no names.
QStringList ListFiles(const QString& folder, const QString& pattern, FileSystem& fs = fileSystem());

// True when the path names an existing regular file, readable or not; false for folders,
// missing paths and everything else. Never blocks and never throws.
bool IsExistingFile(const QString& path, FileSystem& fs = fileSystem());

// True when a character of the name is one the walker refuses: a code point below 32, from
// 127 to 159, or "?". An empty name is safe.
bool HasUnsafeCharacters(const QString& name);
// The same for a name as stored on disk; bytes that are not valid UTF-8 are unsafe.
bool HasUnsafeCharacters(QByteArrayView storedName);

// Classic wildcard matching: case-insensitive, "*" any run, "?" exactly one character, and a
// pattern ending in ".*" also matches names without that dot, so "*.*" matches every name.
bool MatchesWildcard(const QString& name, const QString& pattern);

// Sorts entries into listing order: case-insensitively by name, then by exact name.
void SortForListing(QList<FolderEntry>& entries);

}  // namespace slate
