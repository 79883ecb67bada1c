// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace slate {

struct CpuGrant;
struct MemoryGrant;
class OfficeBridge;
class TimingBridge;

// One office as the pool manages it: its bridge and, for an office this program started, the
// process behind it.
class PooledOffice {
  public:
    virtual ~PooledOffice() = default;
    virtual OfficeBridge& bridge() = 0;
    // Whether this program started the office, and so may restart it.
    virtual bool ownsProcess() const = 0;
    // Tells one run of the office from the next (its process id); 0 while none runs.
    virtual qint64 runId() const = 0;
    // Ends the office so that the next call starts a fresh one on the same private profile,
    // which stays this program's meanwhile.
    virtual void restart() = 0;
    // Ends the office and gives up its profile; a later call starts another.
    virtual void shutdown() = 0;
    // For the program's exit: ends the office from any thread, even while another thread is
    // in a call through it, and starts no office any more.
    virtual void endForGood() = 0;
};

// An office the pool only uses, through `bridge`: whoever made the bridge starts and ends it.
std::unique_ptr<PooledOffice> borrowedOffice(OfficeBridge& bridge);

// What an office takes in memory, with a little room to grow (one peaks near 210 MB).
inline constexpr qint64 kOfficeMemoryBytes = 250LL * 1024 * 1024;
// As many offices as there are private profiles for them.
inline constexpr int kMaxOffices = 16;

struct OfficeCount {
    int offices = 1;
    // Fewer than one for each file on each core, because the free memory holds no more.
    bool limitedByMemory = false;
};
// For a run of `files` files: one office per core, no more than `availableBytes` holds at
// kOfficeMemoryBytes each, never more than the files, at least one and at most kMaxOffices.
// A negative `availableBytes` means unknown: no limit.
OfficeCount officesForRun(int files, int cores, qint64 availableBytes);

// The cores this program may run on: the machine's, as far as its CPU affinity mask and its
// cgroup's CPU quota allow.
int availableCores();
// The memory the system can give without swapping, or the room left below the cgroup's
// memory.max when that is less, in bytes; -1 when neither says.
qint64 availableMemoryBytes();
// What limited those two below the machine's own, in words for the command line's message;
// empty when nothing did.
QString coreLimitNote(const CpuGrant& grant);
QString memoryLimitNote(const MemoryGrant& grant);

// The offices of one program, for both front ends. It makes them as they are asked for,
// reaches them all at once, restarts each after so many files, tells whether an office can do
// this program's work (it answers and has the "MS PowerPoint 97" filter), measures the time
// each spends in the office, and ends them: all at once when the program ends (its one exit
// hook, from whichever thread ends the program), or when the pool is destroyed.
//
// Threads: grow(), reach() and the destructor belong to the thread that owns the pool, while
// no file is being converted. Each office is used by one thread at a time, the one that
// converts with it: bridge(), readyForFile() and takeOfficeSeconds() for that index.
class OfficePool {
  public:
    // Makes office number `index` (0-based); never called for more than `limit` offices.
    using Factory = std::function<std::unique_ptr<PooledOffice>(int index)>;
    explicit OfficePool(Factory factory, int limit = kMaxOffices);
    ~OfficePool();
    OfficePool(const OfficePool&) = delete;
    OfficePool& operator=(const OfficePool&) = delete;

    // How many offices the factory can make.
    int limit() const { return limit_; }
    int size() const { return static_cast<int>(offices_.size()); }
    // Makes offices until there are `count` (no more than the limit); none is started yet.
    void grow(int count);

    // What reach() found out about an office.
    struct Check {
        QString reason;        // why the office cannot do the work; empty when it can
        bool reached = false;  // it answered (and so the reason is what it lacks)
        bool usable() const { return reason.isEmpty(); }
    };
    // Reaches the first `count` offices all at once, starting those this program starts, and
    // asks each whether it can do the work.
    QList<Check> reach(int count);

    // An office is restarted before the file that would take it past this many; 0: never.
    void setRestartAfter(int files) { restartAfter_ = files; }

    // The office's bridge, through which its time in the office is measured.
    OfficeBridge& bridge(int index);
    // Before each file: restarts the office when it is due, reaches it, and counts the file
    // for that run of the office. False, with the reason, when the office cannot do the work.
    bool readyForFile(int index, QString* why);
    // The time the office spent loading, saving and closing since this was last asked.
    double takeOfficeSeconds(int index) noexcept;

    // Once the program is ending no office starts, and what the offices still answer is the
    // noise of their ending.
    bool isEnding() const { return ending_; }

  private:
    struct Member;

    // Whether the office can be used, asked the one way.
    Check check(Member& member);
    // Runs `action` on every office, each on a thread of its own, and waits for all.
    void onEveryOffice(const std::function<void(PooledOffice&)>& action);
    void endForGood();

    Factory factory_;
    int limit_;
    int restartAfter_ = 200;
    std::vector<std::unique_ptr<Member>> offices_;
    // The exit hook may run while offices are being added.
    mutable std::mutex officesMutex_;
    std::atomic<bool> ending_{false};
    int exitHook_ = 0;
};

}  // namespace slate
