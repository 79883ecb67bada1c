#include "cli/cliinputs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "cli/console.h"
#include "common/lines.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/files.h"
#include "joblist/addfolder.h"
#include "joblist/joblist.h"
#include "joblist/treefiles.h"

namespace slate {

namespace {

QString counted(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

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
    return parts;
}

bool addCommandLinePaths(const ConvertArguments& arguments, JobList& jobs, ErrorReporter& reporter,
                         FileSystem& fs, QTextStream& err, InputSkips& skips) {
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
            case WalkSkip::PathTooLong:
                return skipped(skips.unreadable, QStringLiteral("path too long to open; skipped"));
            case WalkSkip::UndecodableName:
                skips.undecodablePaths << withoutTrailingSlash(path);
                return skipped(skips.undecodable,
                               QStringLiteral("name is not valid UTF-8; skipped"));
            case WalkSkip::NotMatching:
                return skipped(skips.notMatching, {});
        }
    };
    const QString pattern = QStringLiteral("*.") + arguments.extension;

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
