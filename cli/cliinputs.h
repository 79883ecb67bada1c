// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

#include "cli/cliargs.h"

namespace slate {

class ErrorReporter;
class FileSystem;
class JobList;

// What the command line's paths held besides the files it converts.
struct InputSkips {
    int unreadable = 0;   // folders that could not be read or whose path is too long
    int undecodable = 0;  // folders and files whose name is not valid UTF-8
    int notMatching = 0;  // files of the walked folders without the chosen extension
    int duplicates = 0;   // files reached a second time
    int byName = 0;       // files a folder add leaves out by name ("~..." and hidden files)
    int tooLong = 0;      // files whose path is too long for the system to open
    // The folders and files counted in `undecodable`, as shown.
    QStringList undecodablePaths;

    // True when something may have been missed: the run did not see every file.
    bool missedSome() const { return unreadable > 0 || undecodable > 0 || tooLong > 0; }
    // The summary's remarks, such as "2 folders could not be read"; none when nothing was
    // skipped. `pattern` is the one the folders were walked with.
    QStringList remarks(const QString& pattern) const;
};

// Fills the list from the command line's paths: a file as it is, a folder with every file of
// the extension in its tree, in the order the folder add would give. A file reached twice,
// by whatever path, is listed once. Each folder or name the walk cannot enter is named in one
// line on `err`, as is each file left out for its path's length; with `verbose` also each
// file left out by name. False, with a message, when a path names nothing that can be opened.
bool addCommandLinePaths(const ConvertArguments& arguments, JobList& jobs, ErrorReporter& reporter,
                         FileSystem& fs, QTextStream& err, InputSkips& skips);

}  // namespace slate
