// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "cli/cliinputs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "cli/console.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/lines.h"
#include "joblist/addfolder.h"
#include "joblist/joblist.h"
#include "joblist/treefiles.h"

namespace slate {

namespace {

QString counted(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

const QString kPathTooLong = QStringLiteral("path too long for the office to open; left out");

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// Tells one source file from another: its folder with links resolved, and its own name. A
// link to a file stays a source of its own, since its result gets its own name.
class SourceKeys {
  public:
    QString of(const QString& path) {
        const QFileInfo info(path);
        const QString folder = info.absolutePath();
        auto it = realFolders_.constFind(folder);
        if (it == realFolders_.constEnd()) {
            const QString real = QDir(folder).canonicalPath();
            it = realFolders_.insert(folder, real.isEmpty() ? folder : real);
        }
        return *it + QLatin1Char('/') + info.fileName();
    }

  private:
    QHash<QString, QString> realFolders_;
};

}  // namespace

QStringList InputSkips::remarks(const QString& pattern) const {
    QStringList parts;
    if (unreadable > 0)
        parts << counted(unreadable, "folder could not be read", "folders could not be read");
    if (undecodable > 0)
        parts << counted(undecodable, "name not valid UTF-8", "names not valid UTF-8");
    if (notMatching > 0)
        parts << counted(notMatching, "file", "files") + QStringLiteral(" not matching ") + pattern;
    if (duplicates > 0)
        parts << counted(duplicates, "duplicate", "duplicates");
    if (byName > 0)
        parts << QStringLiteral("%1 left out by name").arg(byName);
    if (tooLong > 0)
        parts << counted(tooLong, "file", "files") + QStringLiteral(" left out: path too long");
    return parts;
}

bool addCommandLinePaths(const ConvertArguments& arguments, JobList& jobs, ErrorReporter& reporter,
                         FileSystem& fs, QTextStream& err, InputSkips& skips) {
    const QString pattern = QStringLiteral("*.") + arguments.extension;
    SourceKeys keys;
    QSet<QString> listed;
    QSet<QString> noticed;
    const auto add = [&](const QString& file) {
        const QString key = keys.of(file);
        if (listed.contains(key)) {
            ++skips.duplicates;
            return;
        }
        listed.insert(key);
        jobs.append(file);
    };
    // A folder given twice, or inside another given folder, is walked again: say it once.
    const WalkNotice notice = [&](const QString& path, WalkSkip why) {
        if (noticed.contains(path))
            return;
        noticed.insert(path);
        const auto skipped = [&](int& count, const QString& problem) {
            ++count;
            if (!problem.isEmpty())
                writeProblem(err, withoutTrailingSlash(path), problem);
        };
        switch (why) {
            case WalkSkip::Unreadable:
                return skipped(skips.unreadable,
                               QStringLiteral("cannot read this folder; skipped"));
            case WalkSkip::PathTooLong: {
                // Every file the office would have been given is named, found through open
                // folders; only a tree that cannot be searched that way counts as unread.
                bool complete = false;
                for (const QString& file : fs.filesBeneath(path, &complete)) {
                    const QString name = QFileInfo(file).fileName();
                    if (MatchesWildcard(name, pattern) && !name.startsWith(QLatin1Char('~')) &&
                        !name.startsWith(QLatin1Char('.'))) {
                        ++skips.tooLong;
                        writeProblem(err, file, kPathTooLong);
                    }
                }
                if (!complete)
                    skipped(skips.unreadable, QStringLiteral("path too long to open; skipped"));
                return;
            }
            case WalkSkip::FilePathTooLong:
                return skipped(skips.tooLong, kPathTooLong);
            case WalkSkip::LeftOutByName:
                ++skips.byName;
                if (arguments.verbose) {
                    writeProblem(err, path,
                                 QFileInfo(path).fileName().startsWith(QLatin1Char('~'))
                                     ? QStringLiteral("the name starts with \"~\"; left out")
                                     : QStringLiteral("a hidden file; left out"));
                }
                return;
            case WalkSkip::UndecodableName:
                skips.undecodablePaths << withoutTrailingSlash(path);
                return skipped(skips.undecodable,
                               QStringLiteral("name is not valid UTF-8; skipped"));
            case WalkSkip::NotMatching:
                return skipped(skips.notMatching, {});
        }
    };
    for (const QString& given : arguments.paths) {
        if (arguments.undecodable.contains(given)) {
            writeProblem(err, given, kUndecodableName);
            return false;
        }
        const QString path = commandLinePath(given);
        if (FolderExists(path, fs)) {
            AddFilesOfTree(
                path, {pattern, reporter, location::kAddFolder, ProcessEvents(), add, notice}, fs);
        } else if (!given.isEmpty() && IsExistingFile(path, fs)) {
            add(path);
        } else {
            writeProblem(err, given, QStringLiteral("No such file or folder"));
            return false;
        }
    }
    return true;
}

}  // namespace slate
