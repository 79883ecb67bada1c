// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/adddrop.h"

#include "common/errorlocations.h"
#include "common/files.h"
#include "common/paths.h"
#include "joblist/joblist.h"
#include "joblist/treefiles.h"

namespace slate {

int AddDroppedPaths(const QStringList& paths, JobList& jobs, ErrorReporter& reporter,
                    const ProcessEvents& processEvents, FileSystem& fs) {
    int added = 0;
    for (const QString& path : paths) {
        if (PathExists(path, fs) && FolderExists(path, fs)) {
            // A dropped folder ending in "/" would otherwise give "//" to the walk.
            QString folder = path;
            while (folder.size() > 1 && folder.endsWith(kNativeSeparator))
                folder.chop(1);
            added +=
                AddFilesOfTree(folder,
                               {QStringLiteral("*.*"), reporter, location::kDrop, processEvents,
                                [&jobs](const QString& file) { jobs.append(file); }},
                               fs);
        } else {
            jobs.append(path);
            ++added;
        }
    }
    return added;
}

}  // namespace slate
