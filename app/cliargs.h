#pragma once

#include <QString>
#include <QStringList>

namespace slate {

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
    // A connection string of an office that is already listening; empty: start one.
    QString officeConnection;
    bool quiet = false;
    // Also print how long each file took, and how much of that the office's load and save.
    bool timings = false;
};

struct ParsedCommandLine {
    enum class Kind { Convert, Help, Version, UsageError };
    Kind kind = Kind::UsageError;
    ConvertArguments convert;
    QString error;  // for UsageError
};

// Parses the arguments after the program name.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

QString commandLineHelp(const QString& programName);

}  // namespace slate
