// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "app/startpaths.h"

#include <QDir>

#include "common/files.h"
#include "common/lines.h"
#include "joblist/adddrop.h"

namespace slate {

int AddStartPaths(const QStringList& arguments, const QString& currentFolder, JobList& jobs,
                  ErrorReporter& reporter, QTextStream& err, FileSystem& fs,
                  const ProcessEvents& processEvents) {
    QStringList paths;
    for (const QString& given : arguments) {
        const QString path = commandLinePath(given, currentFolder);
        if (given.isEmpty() || !PathExists(path, fs)) {
            writeLine(err, QStringLiteral("No such file or folder: %1").arg(given));
            continue;
        }
        paths << path;
    }
    return AddDroppedPaths(paths, jobs, reporter, processEvents, fs);
}

}  // namespace slate
