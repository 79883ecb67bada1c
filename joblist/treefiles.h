// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <functional>

#include "common/platform/filesystem.h"
#include "joblist/addfolder.h"

namespace slate {

class ErrorReporter;

// What AddFilesOfTree needs besides the start folder.
struct TreeAddition {
    // "*." followed by an extension, or "*.*" for every file.
    QString pattern;
    // Shows failures: the walker's own under its location text, the others under `location`
    // with the step numbers of the folder add (114 to 134).
    ErrorReporter& reporter;
    QString location;
    // Lets the window handle pending events while the tree is walked; may be empty.
    ProcessEvents processEvents;
    // Receives each qualifying file's full path, in order.
    std::function<void(const QString&)> append;
    // Told what the walk could not enter and which files the pattern left out; may be empty.
    WalkNotice notice = {};
};

// Adds every file of the tree under `startFolder` (the folder itself, then its sub-folders
// level by level; within one folder in listing order) whose name matches the pattern, does not
// start with "~", names an existing file and whose attribute value is not exactly 34
// (archive + hidden: an ordinary hidden file; read-only hidden files and other values are
// added). Paths are composed as folder + "/" + name and cleaned of doubled separators, so the
// root folder "/" gives "/name". Folders that cannot be listed contribute nothing; only the
// notice hears of them.
// A failing step is reported and the routine carries on with the next one. Used by the
// folder add button, the drop of a folder and the command line. Returns the number of paths
// handed to `append`.
int AddFilesOfTree(const QString& startFolder, const TreeAddition& addition, FileSystem& fs);

}  // namespace slate
