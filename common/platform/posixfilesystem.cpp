// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include "common/platform/filesystem.h"

// The walk, the window's folder services and the run reach the file system through this file;
// processes and signals have layers of their own (convert/uno/officeprocess.cpp,
// common/platform/terminationsignals.cpp).
namespace slate {

namespace {

QByteArray encodePath(const QString& path) {
    return path.toUtf8();
}

// Text with a trailing "/" names a folder; the link flag belongs to the unslashed name, so the
// slashes are taken off before asking (all but the one of the root itself).
QByteArray withoutTrailingSlashes(QByteArray path, bool* hadSlash) {
    *hadSlash = false;
    while (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
        *hadSlash = true;
    }
    return path;
}

QByteArray lastComponent(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

// The user's own trash folder, where the desktop keeps what was deleted.
QByteArray userTrashFolder() {
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (dataHome.startsWith('/'))
        return dataHome + "/Trash";
    return qgetenv("HOME") + "/.local/share/Trash";
}

// Trash and lost+found folders hold deleted or orphaned files; they take the attribute value
// of a hidden system folder, the value that keeps the walk out of them.
bool isTrashFolder(const QByteArray& name, const struct stat& folder) {
    static const QRegularExpression volumeTrash(QStringLiteral("^\\.Trash(-[0-9]+)?$"));
    if (name == "lost+found" || volumeTrash.match(QString::fromLatin1(name)).hasMatch())
        return true;
    struct stat trash {};
    return name == "Trash" && ::stat(userTrashFolder().constData(), &trash) == 0 &&
           trash.st_dev == folder.st_dev && trash.st_ino == folder.st_ino;
}

// The attribute value of `name` relative to the open folder `dirFd` (AT_FDCWD for a path).
std::optional<int> attributesAt(int dirFd, const QByteArray& name) {
    struct stat own {};
    if (::fstatat(dirFd, name.constData(), &own, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    int value = 0;
    struct stat target = own;
    bool targetKnown = true;
    if (S_ISLNK(own.st_mode)) {
        value |= attribute::kReparsePoint;
        targetKnown = ::fstatat(dirFd, name.constData(), &target, 0) == 0;
    }
    const QByteArray last = lastComponent(name);
    if (targetKnown && S_ISDIR(target.st_mode) && isTrashFolder(last, target))
        return value | attribute::kFolder | attribute::kHidden | attribute::kSystem;
    if (targetKnown) {
        if (S_ISDIR(target.st_mode))
            value |= attribute::kFolder;
        else if (S_ISREG(target.st_mode))
            value |= attribute::kArchive;
        else
            value |= attribute::kSystem;
        if (::faccessat(dirFd, name.constData(), W_OK, 0) != 0)
            value |= attribute::kReadOnly;
    }
    if (last.startsWith('.') && last != "." && last != "..")
        value |= attribute::kHidden;
    return value;
}

FolderListingError listingError(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return FolderListingError(listingerror::kPermissionDenied,
                                      QStringLiteral("Permission denied"));
        case ENOENT:
        case ENOTDIR:
            return FolderListingError(listingerror::kPathNotFound,
                                      QStringLiteral("Path not found"));
        default:
            return FolderListingError(listingerror::kOtherFailure,
                                      QString::fromLocal8Bit(std::strerror(error)));
    }
}

class DirCloser {
  public:
    explicit DirCloser(DIR* dir) : dir_(dir) {}
    ~DirCloser() { ::closedir(dir_); }
    DirCloser(const DirCloser&) = delete;
    DirCloser& operator=(const DirCloser&) = delete;

  private:
    DIR* dir_;
};

WriteProblem problemOf(int error) {
    switch (error) {
        case 0:
            return WriteProblem::None;
        case EACCES:
        case EPERM:
            return WriteProblem::PermissionDenied;
        case ENOSPC:
        case EDQUOT:
            return WriteProblem::NoSpace;
        case EROFS:
            return WriteProblem::ReadOnlyFileSystem;
        case ENAMETOOLONG:
            return WriteProblem::NameTooLong;
        case EISDIR:
        case ENOTEMPTY:
        case EEXIST:
            return WriteProblem::FolderInTheWay;
        case ENOENT:
        case ENOTDIR:
            return WriteProblem::FolderMissing;
        default:
            return WriteProblem::Unknown;
    }
}

// Empties the open folder `dirFd`; false when something could not be removed.
bool removeEntriesAt(int dirFd) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return false;
    }
    DirCloser closer(dir);
    bool complete = true;
    while (const dirent* raw = ::readdir(dir)) {
        const char* name = raw->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (::unlinkat(dirFd, name, 0) == 0)
            continue;
        const int inner = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inner < 0 || !removeEntriesAt(inner) || ::unlinkat(dirFd, name, AT_REMOVEDIR) != 0)
            complete = false;
    }
    return complete;
}

// Deeper than this, a tree is not searched on: each level holds a descriptor open.
constexpr int kMaxSearchDepth = 256;

// Appends the regular files under the open folder `dirFd` (which this takes over) to `files`.
void collectFilesAt(int dirFd, const QString& prefix, QStringList& files, bool* complete,
                    int depth) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        *complete = false;
        return;
    }
    DirCloser closer(dir);
    while (const dirent* raw = ::readdir(dir)) {
        const QByteArray name(raw->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        if (::fstatat(dirFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            *complete = false;
            continue;
        }
        const QString path = prefix + QLatin1Char('/') + decodeFileName(name);
        if (S_ISREG(info.st_mode)) {
            files << path;
        } else if (S_ISDIR(info.st_mode)) {
            const int inner = depth < kMaxSearchDepth
                                  ? ::openat(dirFd, name.constData(),
                                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                                  : -1;
            if (inner < 0)
                *complete = false;
            else
                collectFilesAt(inner, path, files, complete, depth + 1);
        }
    }
}

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(encodePath(path).toStdString());
}

QString absoluteClean(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

// Hidden, so a folder add running meanwhile passes it by, and plainly ours.
const QByteArray kSaveFolderPrefix = ".slatemere-save-";

QByteArray firstLine(const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine().trimmed();
}

// When the process started, in clock ticks since boot: with the pid, it names one process of
// one boot, since a pid that is used again belongs to a process started later.
QByteArray processStart(const QByteArray& pid) {
    const QByteArray stat = firstLine(("/proc/" + pid + "/stat").constData());
    // The name in brackets may hold spaces; the fields after it are plain numbers.
    const qsizetype bracket = stat.lastIndexOf(')');
    if (bracket < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(bracket + 2).split(' ');
    return fields.size() > 19 ? fields.at(19) : QByteArray();
}

// Who makes a save folder, as its name records it: the host, its boot, the pid namespace, the
// pid and the process's start. A later run can tell from these alone whether that process is
// gone, and a folder of another host is left to that host, whose processes it cannot see.
struct SaveFolderOwner {
    QByteArray host, boot, pidNamespace, pid, start;

    static SaveFolderOwner self() {
        SaveFolderOwner owner;
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        for (const char c : QByteArray(host).left(64))
            owner.host += (std::isalnum(uchar(c)) || c == '.' || c == '-' || c == '_') ? c : '_';
        owner.boot = firstLine("/proc/sys/kernel/random/boot_id").replace('-', "");
        struct stat ns {};
        if (::stat("/proc/self/ns/pid", &ns) == 0)
            owner.pidNamespace = QByteArray::number(quint64(ns.st_ino));
        owner.pid = QByteArray::number(::getpid());
        owner.start = processStart(owner.pid);
        return owner;
    }
    QByteArray tag() const {
        return host + '~' + boot + '~' + pidNamespace + '~' + pid + '~' + start;
    }
    // The owner a save folder's name records; nothing for names of another form.
    static std::optional<SaveFolderOwner> of(const QByteArray& name) {
        if (!name.startsWith(kSaveFolderPrefix))
            return std::nullopt;
        const QList<QByteArray> parts = name.mid(kSaveFolderPrefix.size()).split('~');
        if (parts.size() != 6 || parts.first().isEmpty() || parts.at(3).isEmpty())
            return std::nullopt;
        return SaveFolderOwner{parts[0], parts[1], parts[2], parts[3], parts[4]};
    }

    // True only when the owner can be shown to have ended: on this host, its boot is over, or
    // in this pid namespace, no process of its pid and start is running.
    bool provablyGone() const {
        static const SaveFolderOwner me = self();
        if (host != me.host || me.boot.isEmpty())
            return false;
        if (boot != me.boot)
            return true;
        if (pidNamespace != me.pidNamespace || me.pidNamespace.isEmpty())
            return false;
        const QByteArray running = processStart(pid);
        return running.isEmpty() || running != start;
    }
};

class PosixFileSystem : public FileSystem {
  public:
    std::optional<int> attributes(const QString& path) override {
        if (path.isEmpty())
            return std::nullopt;
        bool hadSlash = false;
        const QByteArray name = withoutTrailingSlashes(encodePath(path), &hadSlash);
        const std::optional<int> value = attributesAt(AT_FDCWD, name);
        if (value && hadSlash && !(*value & attribute::kFolder))
            return std::nullopt;
        return value;
    }

    QStringList filesBeneath(const QString& folder, bool* complete) override {
        *complete = false;
        bool hadSlash = false;
        const QByteArray path = withoutTrailingSlashes(encodePath(folder), &hadSlash);
        if (path.isEmpty())
            return {};
        // One name at a time from the top: a path too long to open whole still opens this way.
        int fd = ::open(path.startsWith('/') ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (const QByteArray& name : path.split('/')) {
            if (fd < 0 || name.isEmpty())
                continue;
            const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = next;
        }
        if (fd < 0)
            return {};
        *complete = true;
        QStringList files;
        collectFilesAt(fd, QString::fromUtf8(path), files, complete, 0);
        files.sort();
        return files;
    }

    bool isRootFolder(const QString& path) override {
        if (path.isEmpty())
            return false;
        struct stat own {};
        struct stat root {};
        return ::stat(encodePath(path).constData(), &own) == 0 && ::stat("/", &root) == 0 &&
               own.st_dev == root.st_dev && own.st_ino == root.st_ino;
    }

    QList<FolderEntry> listFolder(const QString& path) override {
        if (path.isEmpty())
            throw listingError(ENOENT);
        DIR* dir = ::opendir(encodePath(path).constData());
        if (!dir)
            throw listingError(errno);
        DirCloser closer(dir);
        const int dirFd = ::dirfd(dir);
        QList<FolderEntry> entries;
        for (;;) {
            errno = 0;
            const dirent* raw = ::readdir(dir);
            if (!raw) {
                if (errno != 0)
                    throw listingError(errno);
                break;
            }
            const QByteArray name(raw->d_name);
            if (name == "." || name == "..")
                continue;
            FolderEntry entry;
            entry.name = decodeFileName(name, &entry.validName);
            entry.attributes = attributesAt(dirFd, name);
            entries.append(entry);
        }
        return entries;
    }

    FileState state(const QString& path) override {
        struct stat info {};
        if (path.isEmpty() || ::stat(encodePath(path).constData(), &info) != 0)
            return {};
        const bool regular = S_ISREG(info.st_mode);
        return {true, regular, regular ? qint64(info.st_size) : 0};
    }

    QString identity(const QString& path) override {
        struct stat info {};
        if (path.isEmpty() || ::stat(encodePath(path).constData(), &info) != 0)
            return {};
        return QStringLiteral("%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
    }

    QString canonicalPath(const QString& path) override {
        if (path.isEmpty())
            return {};
        char* resolved = ::realpath(encodePath(path).constData(), nullptr);
        if (!resolved)
            return {};
        const QString result = QString::fromUtf8(resolved);
        std::free(resolved);
        return result;
    }

    bool sameFile(const QString& a, const QString& b) override {
        if (a.isEmpty() || b.isEmpty())
            return false;
        if (absoluteClean(a) == absoluteClean(b))
            return true;
        std::error_code ec;
        const bool same = std::filesystem::equivalent(nativePath(a), nativePath(b), ec);
        return !ec && same;
    }

    QString resolvedPath(const QString& path) override {
        if (path.isEmpty())
            return {};
        const QFileInfo clean(absoluteClean(path));
        const QString folder = QFileInfo(clean.path()).canonicalFilePath();
        if (folder.isEmpty())
            return clean.filePath();
        return QDir(folder).filePath(clean.fileName());
    }

    std::optional<FileId> fileId(const QString& path) override {
        struct stat info {};
        if (path.isEmpty() || ::lstat(encodePath(path).constData(), &info) != 0)
            return std::nullopt;
        return FileId{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
    }

    QByteArray head(const QString& path, int count) override {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.read(count);
    }

    QString createSaveFolder(const QString& folder, WriteProblem* problem) override {
        if (folder.isEmpty()) {
            *problem = WriteProblem::FolderMissing;
            return {};
        }
        QByteArray pattern = encodePath(absoluteClean(folder));
        if (!pattern.endsWith('/'))
            pattern += '/';
        pattern += kSaveFolderPrefix + SaveFolderOwner::self().tag() + "~XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            *problem = problemOf(errno);
            return {};
        }
        *problem = WriteProblem::None;
        return QString::fromUtf8(pattern);
    }

    void removeSaveFolder(const QString& path) override {
        if (path.isEmpty())
            return;
        const QByteArray name = encodePath(path);
        // An office that is being ended may still drop a file in; a few rounds catch it.
        for (int round = 0; round < 20; ++round) {
            const int fd =
                ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                return;
            removeEntriesAt(fd);
            if (::rmdir(name.constData()) == 0 || errno == ENOENT)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    int removeAbandonedSaveFolders(const QString& folder) override {
        const QByteArray path = encodePath(folder.isEmpty() ? QStringLiteral(".") : folder);
        const int dirFd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0)
            return 0;
        DIR* dir = ::fdopendir(dirFd);
        if (!dir) {
            ::close(dirFd);
            return 0;
        }
        DirCloser closer(dir);
        QList<QByteArray> abandoned;
        while (const dirent* raw = ::readdir(dir)) {
            const QByteArray name(raw->d_name);
            const std::optional<SaveFolderOwner> owner = SaveFolderOwner::of(name);
            struct stat info {};
            // Only our own user's folders: another user's cannot be emptied by us anyway.
            if (owner && ::fstatat(dirFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && owner->provablyGone())
                abandoned << name;
        }
        int removed = 0;
        for (const QByteArray& name : abandoned) {
            const int inner =
                ::openat(dirFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner >= 0 && removeEntriesAt(inner) &&
                ::unlinkat(dirFd, name.constData(), AT_REMOVEDIR) == 0)
                ++removed;
        }
        return removed;
    }

    WriteProblem replace(const QString& from, const QString& to) override {
        if (::rename(encodePath(from).constData(), encodePath(to).constData()) != 0)
            return problemOf(errno);
        return WriteProblem::None;
    }

    WriteProblem diagnose(const QString& folder, const QString& fileName, qint64 bytes) override {
        const QByteArray path = encodePath(folder.isEmpty() ? QStringLiteral(".") : folder);
        struct stat info {};
        if (::stat(path.constData(), &info) != 0)
            return problemOf(errno);
        if (!S_ISDIR(info.st_mode))
            return WriteProblem::FolderMissing;
        struct statvfs fs {};
        if (::statvfs(path.constData(), &fs) != 0)
            return problemOf(errno);
        if (fs.f_flag & ST_RDONLY)
            return WriteProblem::ReadOnlyFileSystem;
        if (::access(path.constData(), W_OK | X_OK) != 0)
            return problemOf(errno);
        const long nameMax = ::pathconf(path.constData(), _PC_NAME_MAX);
        if (nameMax > 0 && encodePath(fileName).size() > nameMax)
            return WriteProblem::NameTooLong;
        if (fs.f_bavail == 0 || qint64(fs.f_bavail) * qint64(fs.f_frsize) < bytes)
            return WriteProblem::NoSpace;
        return WriteProblem::None;
    }
};

}  // namespace

uint currentUserId() {
    return ::getuid();
}

FileSystem& nativeFileSystem() {
    static PosixFileSystem instance;
    return instance;
}

}  // namespace slate
