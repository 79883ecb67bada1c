// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTextStream>

#include "cli/cliargs.h"
#include "convert/officepool.h"

namespace slate {

class FileSystem;

namespace exitcode {
inline constexpr int kConverted = 0;  // every file converted and its result seen on disk
inline constexpr int kFailures = 1;   // a file failed, or a folder or name could not be read
inline constexpr int kUsage = 2;      // bad arguments, or nothing to convert
inline constexpr int kNoOffice = 3;   // the office could not be reached
inline constexpr int kShown = 0;      // the help or the version was asked for and shown
}  // namespace exitcode

// True when the arguments ask for the command line rather than the window.
bool isCommandLineInvocation(int argc, char** argv);

// The whole command line: parses, reaches the office, converts; returns the exit status.
int runCommandLine(int argc, char** argv);

// How many offices the convert command uses for `files` files: those --office names, or
// --jobs N, or for auto one per core as far as the free memory holds them, which `err` is told
// when it holds fewer; never more than the files. The notes say what limited the cores and the
// memory below the machine's own (coreLimitNote(), memoryLimitNote()), for that message.
int officesToStart(const ConvertArguments& arguments, int files, int cores, qint64 availableBytes,
                   QTextStream& err, const QString& coreNote = {}, const QString& memoryNote = {});

// The convert command on the offices of `pool`, which it reaches as the files need them; its
// lines go to `out` and `err`.
int runConvert(const ConvertArguments& arguments, OfficePool& pool, FileSystem& files,
               QTextStream& out, QTextStream& err);

}  // namespace slate
