#include "joblist/addfolder.h"

#include <QStringDecoder>

#include <algorithm>

#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/interaction.h"
#include "common/paths.h"

namespace slate {

QString BrowseForFolder(Dialogs& dialogs, const QString& title, const QString& initialFolder) {
    return dialogs.browseForFolder(title, initialFolder);
}

bool HasUnsafeCharacters(const QString& name) {
    // A lone surrogate cannot be stored as a name.
    if (!name.isValidUtf16())
        return true;
    for (const uint code : name.toUcs4()) {
        if (code < 32 || (code >= 127 && code <= 159) || code == uint('?'))
            return true;
    }
    return false;
}

bool HasUnsafeCharacters(QByteArrayView storedName) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString name = decoder.decode(storedName);
    return decoder.hasError() || HasUnsafeCharacters(name);
}

namespace {

uint folded(uint code) {
    return QChar::toCaseFolded(code);
}

bool matchesCodes(const QList<uint>& name, const QList<uint>& pattern) {
    // Greedy matching with one backtrack point: the last "*" seen.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == uint('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == uint('?') || folded(pattern[p]) == folded(name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == uint('*'))
        ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(const QString& name, const QString& pattern) {
    const QList<uint> codes = name.toUcs4();
    if (matchesCodes(codes, pattern.toUcs4()))
        return true;
    return pattern.endsWith(QLatin1String(".*")) &&
           matchesCodes(codes, pattern.chopped(2).toUcs4());
}

void SortForListing(QList<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
}

bool IsExistingFile(const QString& path, FileSystem& fs) {
    try {
        return fs.isRegularFile(path);
    } catch (...) {
        return false;
    }
}

QStringList ListFiles(const QString& folder, const QString& pattern, FileSystem& fs) {
    const QString prefix = folder.endsWith(kNativeSeparator) ? folder : folder + kNativeSeparator;
    QList<FolderEntry> entries;
    try {
        entries = fs.listFolder(prefix);
    } catch (const FolderListingError&) {
        return {};
    }
    SortForListing(entries);
    QStringList names;
    for (const FolderEntry& entry : entries) {
        if (!entry.validName || entry.isFolder() || !MatchesWildcard(entry.name, pattern))
            continue;
        if (IsExistingFile(prefix + entry.name, fs))
            names.append(entry.name);
    }
    return names;
}

namespace {

// A folder object as the walker examines it.
struct FolderInfo {
    bool root = false;
    int attributes = 0;
};

FolderInfo readFolder(const QString& folder, FileSystem& fs) {
    const std::optional<int> value = fs.attributes(folder);
    if (!value)
        throw AppError(QStringLiteral("Path not found"));
    return {fs.isRootFolder(folder), *value};
}

bool isAncestorOrSelf(const QString& ancestor, const QString& path) {
    if (ancestor == QLatin1String("/"))
        return path.startsWith(kNativeSeparator);
    return path == ancestor || path.startsWith(ancestor + kNativeSeparator);
}

// Expanding a link to one of its own ancestors would repeat the tree above it inside itself
// until the paths reach the length limit.
bool leadsBackToAncestor(const QString& folder, const FolderInfo& info, FileSystem& fs) {
    if (!(info.attributes & attribute::kReparsePoint))
        return false;
    const QString target = fs.canonicalPath(folder);
    if (target.isEmpty())
        return false;
    QString rest = folder;
    for (;;) {
        while (rest.endsWith(kNativeSeparator))
            rest.chop(1);
        const qsizetype slash = rest.lastIndexOf(kNativeSeparator);
        if (slash < 0)
            return false;
        rest.truncate(slash);
        const QString real = fs.canonicalPath(rest.isEmpty() ? QStringLiteral("/") : rest);
        if (!real.isEmpty() && isAncestorOrSelf(target, real))
            return true;
        if (rest.isEmpty())
            return false;
    }
}

// Whole-value comparisons: hidden+system folders, links included, are left alone, except
// the root, which is walked whatever its attributes.
bool isWalkedInto(const FolderInfo& info) {
    constexpr int kHiddenSystemFolder =
        attribute::kFolder | attribute::kHidden | attribute::kSystem;
    return info.root || (info.attributes != kHiddenSystemFolder &&
                         info.attributes != (kHiddenSystemFolder | attribute::kReparsePoint));
}

bool isWalkableName(const FolderEntry& entry) {
    return entry.validName && entry.name.size() < kMaxPathChars &&
           !HasUnsafeCharacters(entry.name) && !entry.name.contains(QLatin1Char('?')) &&
           entry.name != QLatin1String(".") && entry.name != QLatin1String("..");
}

// Appends the walkable sub-folders of `folder` to `out`. A failure here is never shown: it
// ends this folder's listing, keeps what was gathered, and its code tells the caller whether
// the folder is to be dropped.
int gatherSubFolders(const QString& folder, FolderList& out, const ProcessEvents& letEventsRun,
                     FileSystem& fs) {
    try {
        QList<FolderEntry> entries = fs.listFolder(folder);
        SortForListing(entries);
        for (const FolderEntry& entry : entries) {
            if (!entry.isFolder())
                continue;
            letEventsRun();
            if (isWalkableName(entry))
                out.append(folder + entry.name + kNativeSeparator);
        }
        return 0;
    } catch (const FolderListingError& error) {
        return error.code();
    } catch (...) {
        return listingerror::kOtherFailure;
    }
}

}  // namespace

void GetSubDirectories2016(FolderList& folders, bool recurse, ErrorReporter& reporter,
                           const ProcessEvents& processEvents, FileSystem& fs) {
    GuardedProcedure g(reporter, location::kFolderWalker);
    const ProcessEvents letEventsRun = [&processEvents] {
        if (processEvents)
            processEvents();
    };
    FolderList subFolders;

    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString folder = folders.at(i);
        if (!g.test(108, [&] { return FolderExists(folder, fs); }))
            continue;
        if (!g.test(110, [&] { return folder.size() < kMaxPathChars; }))
            continue;
        std::optional<FolderInfo> info;
        g.step(112, [&] { info = readFolder(folder, fs); });
        g.step(114, letEventsRun);
        const bool expand = g.test(116, [&] {
            if (!info)
                throw AppError(QStringLiteral("Object variable not set"));
            return isWalkedInto(*info) && !leadsBackToAncestor(folder, *info, fs);
        });
        if (!expand)
            continue;
        const int failure = gatherSubFolders(folder, subFolders, letEventsRun, fs);
        if (failure != listingerror::kPermissionDenied && failure != listingerror::kPathNotFound)
            continue;
        g.step(140, [&] {
            const qsizetype at = folders.indexOf(folder);
            if (at < 0)
                return;
            folders.removeAt(at);
            // Keeps the walk on the entry that followed the removed one.
            if (at <= i)
                --i;
        });
    }

    if (recurse && !subFolders.isEmpty())
        g.step(150, [&] { GetSubDirectories2016(subFolders, true, reporter, processEvents, fs); });

    for (const QString& sub : std::as_const(subFolders)) {
        if (!g.test(152, [&] { return FolderExists(sub, fs); }))
            continue;
        g.step(154, letEventsRun);
        std::optional<FolderInfo> info;
        g.step(156, [&] { info = readFolder(sub, fs); });
        const bool admitted = g.test(158, [&] {
            if (!info)
                throw AppError(QStringLiteral("Object variable not set"));
            // A link back to an ancestor would only list that ancestor's files again.
            return isWalkedInto(*info) && !leadsBackToAncestor(sub, *info, fs);
        });
        if (admitted)
            g.step(160, [&] { folders.append(sub); });
    }
}

}  // namespace slate
