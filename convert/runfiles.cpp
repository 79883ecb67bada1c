#include "convert/runfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#include "common/files.h"

namespace slate {

namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString absoluteClean(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

// Hidden, so a folder add running meanwhile passes it by, and plainly ours.
const QString kSaveFolderPrefix = QStringLiteral(".slatemere-save-");

class LocalRunFiles : public RunFiles {
  public:
    bool folderExists(const QString& path) override { return FolderExists(path); }

    State state(const QString& path) override {
        State s;
        if (path.isEmpty())
            return s;
        std::error_code ec;
        const auto p = nativePath(path);
        const auto status = std::filesystem::status(p, ec);
        if (ec || !std::filesystem::exists(status))
            return s;
        s.exists = true;
        s.regularFile = std::filesystem::is_regular_file(status);
        if (s.regularFile) {
            const auto size = std::filesystem::file_size(p, ec);
            s.size = ec ? 0 : static_cast<qint64>(size);
        }
        const auto time = std::filesystem::last_write_time(p, ec);
        if (!ec) {
            s.modified =
                std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch())
                    .count();
        }
        return s;
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

    std::optional<FileId> fileId(const QString& path) override { return platform::fileId(path); }

    QByteArray head(const QString& path, int count) override {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.read(count);
    }

    QString createSaveFolder(const QString& folder, Problem* problem) override {
        if (folder.isEmpty()) {
            *problem = Problem::FolderMissing;
            return {};
        }
        return platform::makePrivateFolder(absoluteClean(folder), kSaveFolderPrefix, problem);
    }

    void removeSaveFolder(const QString& path) override { platform::removeFolderTree(path); }

    Problem replace(const QString& from, const QString& to) override {
        return platform::renameOver(from, to);
    }

    Problem diagnose(const QString& folder, const QString& fileName) override {
        return platform::folderWriteProblem(folder, fileName);
    }
};

}  // namespace

RunFiles& localRunFiles() {
    static LocalRunFiles files;
    return files;
}

}  // namespace slate
