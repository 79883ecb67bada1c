#include "convert/uno/profileslot.h"

#include <QDir>
#include <QLockFile>

#include "convert/officebridge.h"

namespace slate {

namespace {
QString slotName(int number) {
    return QStringLiteral("slot-%1").arg(number);
}
}  // namespace

ProfileSlot::ProfileSlot(QString baseDir, int number, std::unique_ptr<QLockFile> lock)
    : baseDir_(std::move(baseDir)), number_(number), lock_(std::move(lock)) {}

ProfileSlot::~ProfileSlot() = default;

std::unique_ptr<ProfileSlot> ProfileSlot::acquire(const QString& baseDir, int slotCount) {
    const QString cannotUse = QStringLiteral("LibreOffice could not be started: ");
    if (baseDir.isEmpty() || !QDir().mkpath(baseDir)) {
        throw OfficeUnavailableError(cannotUse +
                                     QStringLiteral("the profile folder \"%1\" cannot be created")
                                         .arg(QDir::toNativeSeparators(baseDir)));
    }
    const QString base = QDir(baseDir).absolutePath();
    for (int number = 1; number <= slotCount; ++number) {
        auto lock = std::make_unique<QLockFile>(base + QLatin1Char('/') + slotName(number) +
                                                QStringLiteral(".lock"));
        // Only a lock whose owner has gone counts as stale, however old it is.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            return std::unique_ptr<ProfileSlot>(new ProfileSlot(base, number, std::move(lock)));
        if (lock->error() == QLockFile::PermissionError) {
            throw OfficeUnavailableError(cannotUse +
                                         QStringLiteral("the profile folder \"%1\" is not writable")
                                             .arg(QDir::toNativeSeparators(base)));
        }
    }
    throw OfficeUnavailableError(
        cannotUse + QStringLiteral("all %1 office profiles in \"%2\" are in use by other copies")
                        .arg(slotCount)
                        .arg(QDir::toNativeSeparators(base)));
}

QString ProfileSlot::profilePath() const {
    return baseDir_ + QLatin1Char('/') + slotName(number_);
}

QString ProfileSlot::logPath() const {
    return profilePath() + QStringLiteral(".log");
}

}  // namespace slate
