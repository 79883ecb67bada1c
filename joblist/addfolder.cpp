// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/addfolder.h"

#include <QSet>

#include <algorithm>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/interaction.h"
#include "common/paths.h"
#include "joblist/walksteps.h"

namespace slate {

QString BrowseForFolder(Dialogs& dialogs, const QString& title, const QString& initialFolder) {
    return dialogs.browseForFolder(title, initialFolder);
}

bool HasUnsafeCharacters(const QString& name) {
    return !name.isValidUtf16();
}

bool HasUnsafeCharacters(QByteArrayView storedName) {
    bool valid = true;
    decodeFileName(storedName, &valid);
    return !valid;
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
        return fs.state(path).regularFile;
    } catch (...) {
        return false;
    }
}

namespace {
qsizetype pathBytes(const QString& path) {
    return path.toUtf8().size();
}
}  // namespace

QStringList ListFiles(const QString& folder, const QString& pattern, FileSystem& fs,
                      const WalkNotice& notice) {
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
        if (entry.isFolder())
            continue;
        const QString path = prefix + entry.name;
        const bool matches = MatchesWildcard(entry.name, pattern);
        if (!entry.validName) {
            if (matches && notice)
                notice(path, WalkSkip::UndecodableName);
        } else if (!matches) {
            if (notice && IsExistingFile(path, fs))
                notice(path, WalkSkip::NotMatching);
        } else if (pathBytes(path) >= kMaxPathBytes) {
            // The system cannot open it by this path, so it would fail the test below unseen.
            if (notice)
                notice(path, WalkSkip::FilePathTooLong);
        } else if (IsExistingFile(path, fs)) {
            names.append(entry.name);
        }
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

QString identityOf(const QString& path, FileSystem& fs) {
    try {
        return fs.identity(path);
    } catch (...) {
        return {};
    }
}

// What one walk remembers across its levels, so that links cannot make it list a folder twice
// or climb above where it started; sibling links would otherwise multiply the paths with
// every level.
struct Walk {
    FileSystem& fs;
    const WalkNotice& notice;
    QSet<QString> walked;
    QSet<QString> aboveStart;

    Walk(const FolderList& start, FileSystem& fs, const WalkNotice& notice)
        : fs(fs), notice(notice) {
        for (const QString& folder : start) {
            QString real;
            try {
                real = fs.canonicalPath(folder);
            } catch (...) {
            }
            for (qsizetype slash = real.lastIndexOf(kNativeSeparator); slash >= 0;
                 slash = real.lastIndexOf(kNativeSeparator, slash - 1)) {
                const QString id =
                    identityOf(slash == 0 ? QStringLiteral("/") : real.left(slash), fs);
                if (!id.isEmpty())
                    aboveStart.insert(id);
                if (slash == 0)
                    break;
            }
        }
    }

    // False when the folder was reached before in this walk; a start folder may lie inside
    // another one's tree, but a deeper folder never above a start folder.
    bool firstVisit(const QString& folder, bool deeper) {
        const QString id = identityOf(folder, fs);
        if (id.isEmpty())
            return true;
        if (walked.contains(id) || (deeper && aboveStart.contains(id)))
            return false;
        walked.insert(id);
        return true;
    }

    void tell(const QString& path, WalkSkip why) const {
        if (notice)
            notice(path, why);
    }
};

// Whole-value comparisons: hidden+system folders, links included, are left alone, except
// the root, which is walked whatever its attributes.
bool isWalkedInto(const FolderInfo& info) {
    constexpr int kHiddenSystemFolder =
        attribute::kFolder | attribute::kHidden | attribute::kSystem;
    return info.root || (info.attributes != kHiddenSystemFolder &&
                         info.attributes != (kHiddenSystemFolder | attribute::kReparsePoint));
}

// A folder whose attributes could not be read fails the test that looks at them.
bool walkedInto(const std::optional<FolderInfo>& info) {
    if (!info)
        throw AppError(QStringLiteral("Object variable not set"));
    return isWalkedInto(*info);
}

struct ListingFailure {
    int code = 0;
    bool fromFileSystem = false;
};

// Appends the walkable sub-folders of `folder` to `out`. A failure here is never reported: it
// ends this folder's listing, keeps what was gathered, and tells the caller why.
ListingFailure gatherSubFolders(const QString& folder, FolderList& out,
                                const ProcessEvents& letEventsRun, const Walk& walk) {
    try {
        QList<FolderEntry> entries = walk.fs.listFolder(folder);
        SortForListing(entries);
        for (const FolderEntry& entry : entries) {
            if (!entry.isFolder())
                continue;
            letEventsRun();
            if (!entry.validName)
                walk.tell(folder + entry.name, WalkSkip::UndecodableName);
            else if (entry.name != QLatin1String(".") && entry.name != QLatin1String(".."))
                out.append(folder + entry.name + kNativeSeparator);
        }
        return {};
    } catch (const FolderListingError& error) {
        return {error.code(), true};
    } catch (...) {
        return {listingerror::kOtherFailure, false};
    }
}

// Appends to `folders` the gathered sub-folders that still exist and may be walked into.
void admitSubFolders(GuardedProcedure& g, const FolderList& subFolders, FolderList& folders,
                     const ProcessEvents& letEventsRun, FileSystem& fs) {
    for (const QString& sub : subFolders) {
        if (!g.test(WalkStep::TestSubFolderExists, [&] { return FolderExists(sub, fs); }))
            continue;
        g.step(WalkStep::LetEventsRunForSubFolder, letEventsRun);
        std::optional<FolderInfo> info;
        g.step(WalkStep::ReadSubFolder, [&] { info = readFolder(sub, fs); });
        if (g.test(WalkStep::TestSubFolderWalkedInto, [&] { return walkedInto(info); }))
            g.step(WalkStep::AdmitSubFolder, [&] { folders.append(sub); });
    }
}

// Removes an entry while the walk stands at `i`, keeping it on the entry that followed.
void removeDuringWalk(FolderList& folders, qsizetype& i, qsizetype at) {
    folders.removeAt(at);
    if (at <= i)
        --i;
}

void walkLevel(FolderList& folders, bool recurse, bool deeper, ErrorReporter& reporter,
               const ProcessEvents& processEvents, Walk& walk) {
    GuardedProcedure g(reporter, location::kFolderWalker);
    FileSystem& fs = walk.fs;
    const ProcessEvents eventsRun = [&processEvents] { letEventsRun(processEvents); };
    FolderList subFolders;

    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString folder = folders.at(i);
        // Before the existence test: a path this long cannot even be asked about, and the
        // folder would go without a word.
        if (!g.test(WalkStep::TestPathLength, [&] { return pathBytes(folder) < kMaxPathBytes; })) {
            walk.tell(folder, WalkSkip::PathTooLong);
            continue;
        }
        if (!g.test(WalkStep::TestFolderExists, [&] { return FolderExists(folder, fs); }))
            continue;
        if (recurse && !walk.firstVisit(folder, deeper)) {
            removeDuringWalk(folders, i, i);
            continue;
        }
        std::optional<FolderInfo> info;
        g.step(WalkStep::ReadFolder, [&] { info = readFolder(folder, fs); });
        g.step(WalkStep::LetEventsRun, eventsRun);
        if (!g.test(WalkStep::TestWalkedInto, [&] { return walkedInto(info); }))
            continue;
        const ListingFailure failure = gatherSubFolders(folder, subFolders, eventsRun, walk);
        if (failure.fromFileSystem && failure.code != listingerror::kPathNotFound)
            walk.tell(folder, WalkSkip::Unreadable);
        if (failure.code != listingerror::kPermissionDenied &&
            failure.code != listingerror::kPathNotFound)
            continue;
        g.step(WalkStep::RemoveUnlisted, [&] {
            const qsizetype at = folders.indexOf(folder);
            if (at >= 0)
                removeDuringWalk(folders, i, at);
        });
    }

    if (recurse && !subFolders.isEmpty())
        g.step(WalkStep::WalkDeeper,
               [&] { walkLevel(subFolders, true, true, reporter, processEvents, walk); });

    admitSubFolders(g, subFolders, folders, eventsRun, fs);
}

}  // namespace

void GetSubDirectories2016(FolderList& folders, bool recurse, ErrorReporter& reporter,
                           const ProcessEvents& processEvents, FileSystem& fs,
                           const WalkNotice& notice) {
    Walk walk(folders, fs, notice);
    walkLevel(folders, recurse, false, reporter, processEvents, walk);
}

}  // namespace slate
