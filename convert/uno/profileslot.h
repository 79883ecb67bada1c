// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <chrono>
#include <memory>

class QLockFile;

namespace slate {

// How long a profile slot's lock lasts unrenewed, and how often its holder renews it.
struct ProfileLease {
    std::chrono::milliseconds staleAfter = std::chrono::minutes(5);
    // Well below staleAfter, so attribute caching on the other hosts never hides a renewal.
    std::chrono::milliseconds renewEvery = std::chrono::seconds(30);
};

// One numbered office profile, held with a lock file so that two copies of the program never
// run offices on the same profile (the office refuses a profile that is in use). The first free
// number is taken, so a later start usually finds its profile already set up and starts faster.
//
// The profile folder may be a home shared over a network file system by the tasks of a batch
// engine on several hosts. The lock names its host and process; a lock of this host whose
// process has gone is free at once. A process on another host cannot be asked, so a holder
// renews its lock's time while it holds the slot, and a lock not renewed for `staleAfter` is
// free: a host that died frees its slots after a few minutes, a live one never loses them.
// The hosts' clocks must agree to well within that time, as they do under NTP.
class ProfileSlot {
  public:
    using Lease = ProfileLease;
    // Enough for every office of many tasks at once on one shared home.
    static constexpr int kSlotCount = 256;

    ~ProfileSlot();
    ProfileSlot(const ProfileSlot&) = delete;
    ProfileSlot& operator=(const ProfileSlot&) = delete;

    // Takes the lowest free slot under `baseDir` (made when missing). A lock left by a program
    // that is no longer running counts as free. Throws OfficeUnavailableError when the folder
    // cannot be used or every slot is taken.
    static std::unique_ptr<ProfileSlot> acquire(const QString& baseDir, int slotCount = kSlotCount,
                                                Lease lease = {});

    int number() const { return number_; }
    // The office's user installation folder.
    QString profilePath() const;
    // Where the office's own output goes.
    QString logPath() const;
    // An empty folder, only this user's, for the office's temporary files: an office that is
    // killed leaves them there, and the next start of the slot clears them, where in the
    // system's temporary folder they would pile up. Empty text when it cannot be made.
    QString freshTempFolder() const;
    // Sets the profile so that the office writes no lock files beside the documents it opens:
    // killed, timed out or ended with the program it would leave them behind, and a desktop
    // office would then call those documents locked. With the office's version known, it also
    // records that this profile has run that version: an office that finds a new version runs
    // its graphics self-test first, some three seconds, and without a desktop session it never
    // records the version itself, so it would run the test on every start. Throws
    // OfficeUnavailableError when the profile's settings cannot be written.
    void prepareSettings(const QString& officeVersion) const;

  private:
    class Renewal;
    ProfileSlot(QString baseDir, int number, std::unique_ptr<QLockFile> lock, Lease lease);

    QString baseDir_;
    int number_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<Renewal> renewal_;
    int exitHook_ = 0;
};

}  // namespace slate
