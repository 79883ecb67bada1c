// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace slate {

// The folder that holds the program's own files (the pointers, Samples/, x/o.cjs): the folder
// of the running executable once every symbolic link is resolved, so a launcher linked onto
// PATH finds them exactly as the program started from its build folder does.
QString ProgramFolder();

// The same rule for the executable at `executable`; empty when it does not exist.
QString programFolderOf(const QString& executable);

}  // namespace slate
