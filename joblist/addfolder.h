// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

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
// Runs it unless it is empty, as where no window waits for its events.
inline void letEventsRun(const ProcessEvents& processEvents) {
    if (processEvents)
        processEvents();
}

// Folder paths of this many bytes (UTF-8) or more are not walked into: the system's limit.
inline constexpr qsizetype kMaxPathBytes = 4096;

// What the walk could not enter or list.
enum class WalkSkip {
    Unreadable,       // a folder whose entries cannot be read (permission denied, I/O error)
    UndecodableName,  // a folder, or a file the pattern matches, whose name is not UTF-8
    PathTooLong,      // a folder whose path reaches kMaxPathBytes
    FilePathTooLong,  // a file the pattern matches whose path reaches kMaxPathBytes
    NotMatching,      // a file the pattern leaves out
    LeftOutByName,    // a file the pattern matches that the add leaves out by its name
};
// Told about each such folder or file with its path (undecodable bytes shown as "\xHH"); the
// window leaves it empty and stays silent, the command line warns and counts.
using WalkNotice = std::function<void(const QString& path, WalkSkip why)>;

// The folder the user picked, or empty text when the picker was cancelled.
QString BrowseForFolder(Dialogs& dialogs, const QString& title, const QString& initialFolder);

// Appends every sub-folder of the listed folders, level by level (all first-level sub-folders,
// then all second-level ones, ...), each level in the order of its parents and, under one
// parent, in listing order. With `recurse` clear only direct sub-folders are added.
// With `recurse` set, a real folder is listed at most once however many links lead to it: a
// later path to a folder already in the list, or to a folder above a start folder, is left
// out. Hidden+system folders (trash folders among them) are neither expanded nor added, unless
// the folder is the root; names that are not valid UTF-8 are left out with everything beneath
// them. A folder whose sub-folders cannot be listed (permission denied, path not found) is
// removed from the list and the walk goes on. Other failures are reported with the walker's
// location text and the step number, and the walk carries on with the next step.
void GetSubDirectories2016(FolderList& folders, bool recurse, ErrorReporter& reporter,
                           const ProcessEvents& processEvents, FileSystem& fs,
                           const WalkNotice& notice = {});

// The plain names of the existing files in `folder` (with or without its trailing "/") that
// match the wildcard pattern, hidden and system files included, folders never; in listing
// order. A folder that cannot be listed gives no names.
QStringList ListFiles(const QString& folder, const QString& pattern, FileSystem& fs,
                      const WalkNotice& notice = {});

// True when the path names an existing regular file, readable or not; false for folders,
// missing paths and everything else. Never blocks and never throws.
bool IsExistingFile(const QString& path, FileSystem& fs);

// True when the name cannot be stored as a file name: it holds a lone UTF-16 surrogate, which
// has no UTF-8 form. Every other character, "?" and control characters included, is safe.
bool HasUnsafeCharacters(const QString& name);
// The same for a name as stored on disk: unsafe when it is not valid UTF-8, since the program
// could not name it again.
bool HasUnsafeCharacters(QByteArrayView storedName);

// Classic wildcard matching: case-insensitive, "*" any run, "?" exactly one character, and a
// pattern ending in ".*" also matches names without that dot, so "*.*" matches every name.
bool MatchesWildcard(const QString& name, const QString& pattern);

// Sorts entries into listing order: case-insensitively by name, then by exact name.
void SortForListing(QList<FolderEntry>& entries);

}  // namespace slate
