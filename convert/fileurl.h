// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>

#include "common/paths.h"

namespace slate {

// A file URL for a path. Separators become "/", the path is percent-encoded as UTF-8 (so "#",
// "%", spaces and non-ASCII names reach the office intact) and "file://" plus a third "/" for
// drive-letter or relative forms is put in front. An empty path gives "file:///".
QString fileUrlFromPath(const QString& path, QChar separator = kNativeSeparator);

}  // namespace slate
