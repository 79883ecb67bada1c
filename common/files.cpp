// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/files.h"

namespace slate {

bool PathExists(const QString& path, FileSystem& fs) {
    try {
        return fs.state(path).exists;
    } catch (...) {
        return false;
    }
}

bool FolderExists(const QString& path, FileSystem& fs) {
    try {
        const std::optional<int> value = fs.attributes(path);
        return value && (*value & attribute::kFolder);
    } catch (...) {
        return false;
    }
}

}  // namespace slate
