// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "convert/shards.h"

namespace slate {

// --jobs auto: one office per core, as many as the free memory holds.
inline constexpr int kAutoJobs = 0;
inline constexpr int kDefaultJobs = kAutoJobs;

// What `slatemere-converter convert ...` was asked to do.
struct ConvertArguments {
    // Files and folders as given on the command line.
    QStringList paths;
    // Where every result goes; empty: beside its own source.
    QString outputDir;
    // What a folder contributes: files named "*." + extension; "*" means every file.
    QString extension = QStringLiteral("odp");
    // Limit for one office call; 0 keeps the bridge's own.
    int timeoutSeconds = 0;
    // Connection strings of offices that are already listening; empty: start offices of our
    // own. Several share the files between them.
    QStringList officeConnections;
    // How many offices to start: a number, or kAutoJobs; unset: kDefaultJobs.
    std::optional<int> jobs;
    // An office is restarted after converting this many files; 0: never.
    int restartAfter = 200;
    // Nothing on success; only the lines of what failed.
    bool quiet = false;
    // Every error report in full, step by step, instead of one line per failed file.
    bool verbose = false;
    // Also print how long each file took, and how much of that the office's load and save.
    bool timings = false;
    // Only this part of the batch, for one task of a batch engine; unset: all of it.
    std::optional<Shard> shard;
    // Converts only the files whose result is missing, broken or older than the source.
    bool update = false;
    // Where one JSON line per file goes ("-": standard output); empty: no report.
    QString reportPath;
    // The arguments that were not valid UTF-8, as decodeArguments shows them.
    QStringList undecodable;
};

struct ParsedCommandLine {
    enum class Kind { Convert, Help, Version, UsageError };
    Kind kind = Kind::UsageError;
    ConvertArguments convert;
    QString error;  // for UsageError
};

// The arguments after the program name as text; an argument that is not valid UTF-8 is shown
// with its stray bytes as "\xHH" and is also listed in `undecodable`.
QStringList decodeArguments(int argc, char** argv, QStringList* undecodable);

// Parses the arguments after the program name.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

QString commandLineHelp(const QString& programName);

}  // namespace slate
