// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/officepool.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "common/platform/resourcelimits.h"
#include "common/programexit.h"
#include "convert/officebridge.h"
#include "convert/presencecheck.h"
#include "convert/timingbridge.h"

namespace slate {

struct OfficePool::Member {
    explicit Member(std::unique_ptr<PooledOffice> made)
        : office(std::move(made)), timing(office->bridge()) {}
    std::unique_ptr<PooledOffice> office;
    TimingBridge timing;
    // The run of the office the files are counted for, and how many it has converted.
    qint64 countedRun = 0;
    int files = 0;
    // The run of the office whose filters were last asked for; the filters come with the
    // installation, so one answer holds until the office is started again.
    std::optional<qint64> checkedRun;
};

namespace {
class BorrowedOffice : public PooledOffice {
  public:
    explicit BorrowedOffice(OfficeBridge& bridge) : bridge_(bridge) {}
    OfficeBridge& bridge() override { return bridge_; }
    bool ownsProcess() const override { return false; }
    qint64 runId() const override { return 1; }
    void restart() override {}
    void shutdown() override {}
    void endForGood() override {}

  private:
    OfficeBridge& bridge_;
};
}  // namespace

std::unique_ptr<PooledOffice> borrowedOffice(OfficeBridge& bridge) {
    return std::make_unique<BorrowedOffice>(bridge);
}

OfficeCount officesForRun(int files, int cores, qint64 availableBytes) {
    const int wanted = std::clamp(std::min(cores, files), 1, kMaxOffices);
    if (availableBytes < 0)
        return {wanted, false};
    const int fit = static_cast<int>(std::min<qint64>(availableBytes / kOfficeMemoryBytes, wanted));
    return {std::max(fit, 1), fit < wanted};
}

int availableCores() {
    return readCpuGrant(QStringLiteral("/"), onlineCpus()).cpus;
}

qint64 availableMemoryBytes() {
    return readMemoryGrant(QStringLiteral("/")).bytes;
}

QString coreLimitNote(const CpuGrant& grant) {
    switch (grant.limit) {
        case CpuGrant::Limit::None:
            return {};
        case CpuGrant::Limit::Affinity:
            return QStringLiteral("this process's CPU affinity mask allows %1 of the %2 cores")
                .arg(grant.cpus)
                .arg(grant.systemCpus);
        case CpuGrant::Limit::Quota:
            return QStringLiteral("the cgroup's CPU quota (cpu.max) grants %1 CPUs of the %2 cores")
                .arg(QString::number(grant.quota, 'g', 3))
                .arg(grant.systemCpus);
    }
    return {};
}

QString memoryLimitNote(const MemoryGrant& grant) {
    if (grant.limit != MemoryGrant::Limit::Cgroup)
        return {};
    return QStringLiteral("within the cgroup's memory.max of %1 MB")
        .arg(grant.cgroupMax / (1024 * 1024));
}

OfficePool::OfficePool(Factory factory, int limit)
    : factory_(std::move(factory)), limit_(std::clamp(limit, 0, kMaxOffices)) {
    exitHook_ = program::addExitHook([this] { endForGood(); });
}

OfficePool::~OfficePool() {
    // Waits for the hook if it is ending the offices right now.
    program::removeExitHook(exitHook_);
    if (!ending_)
        onEveryOffice([](PooledOffice& office) { office.shutdown(); });
    std::lock_guard lock(officesMutex_);
    offices_.clear();
}

void OfficePool::grow(int count) {
    count = std::min(count, limit_);
    while (size() < count) {
        auto member = std::make_unique<Member>(factory_(size()));
        std::lock_guard lock(officesMutex_);
        offices_.push_back(std::move(member));
    }
}

QList<OfficePool::Check> OfficePool::reach(int count) {
    grow(count);
    count = std::min(count, size());
    QList<Check> checks(count);
    std::vector<std::thread> threads;
    // Offices take a second or more to start; started side by side, the wait is one start.
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] { checks[i] = check(*offices_[i]); });
    for (std::thread& thread : threads)
        thread.join();
    return checks;
}

OfficeBridge& OfficePool::bridge(int index) {
    return offices_.at(index)->timing;
}

bool OfficePool::readyForFile(int index, QString* why) {
    Member& member = *offices_.at(index);
    if (restartAfter_ > 0 && member.office->ownsProcess() && member.files >= restartAfter_) {
        member.office->restart();
        member.files = 0;
    }
    const Check checked = check(member);
    if (!checked.usable()) {
        if (why)
            *why = checked.reason;
        return false;
    }
    // Only once the office answers does it say which run of it this is: right after a restart
    // or a crash it would still name none, or the one that has gone.
    const qint64 run = member.office->runId();
    if (run != member.countedRun) {
        member.countedRun = run;
        member.files = 0;
    }
    ++member.files;
    return true;
}

double OfficePool::takeOfficeSeconds(int index) noexcept {
    TimingBridge& timing = offices_[index]->timing;
    const double seconds = timing.officeSeconds();
    timing.resetOfficeTime();
    return seconds;
}

OfficePool::Check OfficePool::check(Member& member) {
    OfficeBridge& bridge = member.office->bridge();
    Check checked;
    checked.reason = officeUnreachableReason(bridge);
    if (!checked.usable())
        return checked;
    checked.reached = true;
    const qint64 run = member.office->runId();
    if (member.checkedRun == run)
        return checked;
    checked.reason = missingFilterReason(bridge);
    if (checked.usable())
        member.checkedRun = run;
    return checked;
}

void OfficePool::onEveryOffice(const std::function<void(PooledOffice&)>& action) {
    std::vector<PooledOffice*> offices;
    {
        std::lock_guard lock(officesMutex_);
        for (const std::unique_ptr<Member>& member : offices_)
            offices.push_back(member->office.get());
    }
    // One after the other, offices slow to end would add up their grace periods.
    std::vector<std::thread> threads;
    for (PooledOffice* office : offices)
        threads.emplace_back([&action, office] { action(*office); });
    for (std::thread& thread : threads)
        thread.join();
}

void OfficePool::endForGood() {
    ending_ = true;
    onEveryOffice([](PooledOffice& office) { office.endForGood(); });
}

}  // namespace slate
