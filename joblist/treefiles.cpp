// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/treefiles.h"

#include "common/errorpolicy.h"
#include "common/paths.h"
#include "joblist/addfoldersteps.h"

namespace slate {

namespace {
constexpr int kArchiveHidden = attribute::kArchive | attribute::kHidden;
}  // namespace

int AddFilesOfTree(const QString& startFolder, const TreeAddition& addition, FileSystem& fs) {
    GuardedProcedure g(addition.reporter, addition.location);
    FolderList folders;
    g.step(AddFolderStep::StartFolderList, [&] { folders.append(startFolder + kNativeSeparator); });
    g.step(AddFolderStep::WalkFolders, [&] {
        GetSubDirectories2016(folders, true, addition.reporter, addition.processEvents, fs,
                              addition.notice);
    });

    int added = 0;
    for (const QString& entry : std::as_const(folders)) {
        QString folder = entry;
        g.step(AddFolderStep::DropSeparator, [&] { folder.chop(1); });
        QStringList names;
        g.step(AddFolderStep::ListFiles,
               [&] { names = ListFiles(folder, addition.pattern, fs, addition.notice); });
        const auto leftOutByName = [&](const QString& path) {
            if (addition.notice)
                addition.notice(FixBackslashes(path), WalkSkip::LeftOutByName);
        };
        for (const QString& name : std::as_const(names)) {
            const QString path = folder + kNativeSeparator + name;
            if (name.startsWith(QLatin1Char('~'))) {
                leftOutByName(path);
                continue;
            }
            bool hidden = false;
            const bool wanted = g.test(AddFolderStep::TestFile, [&] {
                if (!IsExistingFile(path, fs))
                    return false;
                const std::optional<int> value = fs.attributes(path);
                if (!value)
                    throw AppError(QStringLiteral("File not found"));
                hidden = *value == kArchiveHidden;
                return !hidden;
            });
            if (hidden)
                leftOutByName(path);
            if (wanted &&
                g.step(AddFolderStep::AppendFile, [&] { addition.append(FixBackslashes(path)); }))
                ++added;
        }
    }
    return added;
}

}  // namespace slate
