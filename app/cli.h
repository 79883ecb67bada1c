#pragma once

#include <QTextStream>

#include "app/cliargs.h"
#include "convert/officepool.h"

namespace slate {

class FileSystem;
class OfficeBridge;

namespace exitcode {
inline constexpr int kConverted = 0;  // every file converted and its result seen on disk
inline constexpr int kFailures = 1;   // a file failed, or a folder or name could not be read
inline constexpr int kUsage = 2;      // bad arguments, or nothing to convert
inline constexpr int kNoOffice = 3;   // the office could not be reached
}  // namespace exitcode

// True when the arguments ask for the command line rather than the window.
bool isCommandLineInvocation(int argc, char** argv);

// The whole command line: parses, reaches the office, converts; returns the exit status.
int runCommandLine(int argc, char** argv);

// The convert command with a given office and file system; its lines go to `out` and `err`.
int runConvert(const ConvertArguments& arguments, OfficeBridge& bridge, FileSystem& files,
               QTextStream& out, QTextStream& err);
// The same with several offices, which share the files between them (one converts them in
// list order).
int runConvert(const ConvertArguments& arguments, QList<PoolOffice> offices, FileSystem& files,
               QTextStream& out, QTextStream& err);

}  // namespace slate
