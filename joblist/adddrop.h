// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include "joblist/addfolder.h"

namespace slate {

class ErrorReporter;
class JobList;

// Adds dropped paths in the order they were dragged: a file as it is, a folder with every file
// of its tree (names starting with "~" and ordinary hidden files left out), whatever the
// extension. Returns the number of entries added.
int AddDroppedPaths(const QStringList& paths, JobList& jobs, ErrorReporter& reporter,
                    const ProcessEvents& processEvents, FileSystem& fs);

}  // namespace slate
