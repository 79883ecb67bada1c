// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "joblist/addfolder.h"

namespace slate {

class ErrorReporter;
class JobList;

// Lists the files and folders the window was started with ("Open With" hands them over this
// way) as a drop of them would: a file as it is, a folder with every file of its tree. Relative
// paths are taken from `currentFolder`. A path that names nothing is skipped with a line on
// `err`, since a drop could never offer it. Returns the number of entries added.
int AddStartPaths(const QStringList& arguments, const QString& currentFolder, JobList& jobs,
                  ErrorReporter& reporter, QTextStream& err, FileSystem& fs,
                  const ProcessEvents& processEvents = {});

}  // namespace slate
