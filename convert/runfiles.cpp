#include "convert/runfiles.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <system_error>

#include "common/files.h"

namespace slate {

namespace {

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

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
        if (QDir::cleanPath(QDir::current().absoluteFilePath(a)) ==
            QDir::cleanPath(QDir::current().absoluteFilePath(b)))
            return true;
        std::error_code ec;
        const bool same = std::filesystem::equivalent(nativePath(a), nativePath(b), ec);
        return !ec && same;
    }
};

}  // namespace

RunFiles& localRunFiles() {
    static LocalRunFiles files;
    return files;
}

}  // namespace slate
