// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/profileslot.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "common/programexit.h"
#include "convert/officebridge.h"
#include "convert/uno/unoerrors.h"

namespace slate {

namespace {
QString slotName(int number) {
    return QStringLiteral("slot-%1").arg(number);
}

const QString kItemsEnd = QStringLiteral("</oor:items>");

QString settingItem(const QString& node, const QString& name, const QString& value) {
    return QStringLiteral(
               "<item oor:path=\"%1\"><prop oor:name=\"%2\" oor:op=\"fuse\"><value>%3"
               "</value></prop></item>\n")
        .arg(node, name, value.toHtmlEscaped());
}

// Replaces the profile's value of one setting, or adds it.
void setSetting(QString& text, const QString& node, const QString& name, const QString& value) {
    const QString item = settingItem(node, name, value);
    if (text.contains(QStringView(item).chopped(1)))
        return;
    const QRegularExpression existing(
        QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\"[^>]*>.*?</prop></item>\\n?")
            .arg(QRegularExpression::escape(node), QRegularExpression::escape(name)));
    text.remove(existing);
    text.insert(text.lastIndexOf(kItemsEnd), item);
}
}  // namespace

// Renews the lock's modification time from a thread of its own, until the slot is given up.
class ProfileSlot::Renewal {
  public:
    Renewal(QString path, std::chrono::milliseconds every)
        : thread_([this, path = std::move(path), every] {
              std::unique_lock lock(mutex_);
              while (!stopped_.wait_for(lock, every, [this] { return stop_; })) {
                  QFile file(path);
                  if (file.open(QIODevice::Append | QIODevice::ExistingOnly))
                      file.setFileTime(QDateTime::currentDateTimeUtc(),
                                       QFileDevice::FileModificationTime);
              }
          }) {}
    ~Renewal() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        stopped_.notify_one();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    std::thread thread_;
};

ProfileSlot::ProfileSlot(QString baseDir, int number, std::unique_ptr<QLockFile> lock, Lease lease)
    : baseDir_(std::move(baseDir)),
      number_(number),
      lock_(std::move(lock)),
      renewal_(std::make_unique<Renewal>(
          baseDir_ + QLatin1Char('/') + slotName(number_) + QStringLiteral(".lock"),
          lease.renewEvery)) {
    // A program that ends at once (the window closed, a signal) leaves no lock and no office
    // temporary files: the late hooks run once the office is gone.
    exitHook_ = program::addLateExitHook([this] {
        QDir(profilePath() + QStringLiteral(".tmp")).removeRecursively();
        lock_->unlock();
    });
}

ProfileSlot::~ProfileSlot() {
    program::removeExitHook(exitHook_);
    // Stops renewing before the lock goes, so no renewal recreates a removed lock file.
    renewal_.reset();
}

std::unique_ptr<ProfileSlot> ProfileSlot::acquire(const QString& baseDir, int slotCount,
                                                  Lease lease) {
    const QString& cannotUse = uno_detail::kCannotStart;
    if (baseDir.isEmpty() || !QDir().mkpath(baseDir)) {
        throw OfficeUnavailableError(cannotUse +
                                     QStringLiteral("the profile folder \"%1\" cannot be created")
                                         .arg(QDir::toNativeSeparators(baseDir)));
    }
    const QString base = QDir(baseDir).absolutePath();
    for (int number = 1; number <= slotCount; ++number) {
        auto lock = std::make_unique<QLockFile>(base + QLatin1Char('/') + slotName(number) +
                                                QStringLiteral(".lock"));
        // A lock of this host is stale once its process has gone; one of any host once it has
        // not been renewed for a while.
        lock->setStaleLockTime(static_cast<int>(lease.staleAfter.count()));
        if (lock->tryLock(0)) {
            return std::unique_ptr<ProfileSlot>(
                new ProfileSlot(base, number, std::move(lock), lease));
        }
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

QString ProfileSlot::freshTempFolder() const {
    const QString path = profilePath() + QStringLiteral(".tmp");
    QDir folder(path);
    if (folder.exists() && !folder.removeRecursively())
        return {};
    if (!QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return {};
    return path;
}

}  // namespace slate

namespace slate {

void ProfileSlot::prepareSettings(const QString& officeVersion) const {
    const QString user = profilePath() + QStringLiteral("/user");
    const QString path = user + QStringLiteral("/registrymodifications.xcu");
    QString text;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(existing.readAll());
    const QString before = text;
    if (!text.contains(kItemsEnd)) {
        text = QStringLiteral(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
                   "xmlns:oor=\"http://openoffice.org/2001/registry\" "
                   "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                   "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n") +
               kItemsEnd + QLatin1Char('\n');
    }
    setSetting(text, QStringLiteral("/org.openoffice.Office.Common/Misc"),
               QStringLiteral("UseLocking"), QStringLiteral("false"));
    if (!officeVersion.isEmpty()) {
        setSetting(text, QStringLiteral("/org.openoffice.Setup/Product"),
                   QStringLiteral("ooSetupLastVersion"), officeVersion);
    }
    if (text == before)
        return;
    QSaveFile file(path);
    if (!QDir().mkpath(user) || !file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 ||
        !file.commit()) {
        throw OfficeUnavailableError(uno_detail::kCannotStart +
                                     QStringLiteral("the office settings \"%1\" cannot be written")
                                         .arg(QDir::toNativeSeparators(path)));
    }
}

}  // namespace slate
