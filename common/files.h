// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "common/platform/filesystem.h"

namespace slate {

// True when the path names an existing file or folder. Never throws: every failure, an empty
// or malformed path included, is a false answer.
bool PathExists(const QString& path, FileSystem& fs);

// True when the path's attributes can be read and carry the folder flag; false otherwise,
// also when they cannot be read. Never throws.
bool FolderExists(const QString& path, FileSystem& fs);

}  // namespace slate
