// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDir>
#include <QString>
#include <QTextStream>

namespace slate {

// Writes whole lines, flushed at once so they appear while the office works.
void writeLine(QTextStream& stream, const QString& text);

// A path named on the command line, of either front end, as the program uses it: taken from
// `currentFolder` when relative, with "." and ".." resolved.
QString commandLinePath(const QString& given, const QString& currentFolder = QDir::currentPath());

}  // namespace slate
