// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "support/fakeoffice.h"

namespace slate::testing {

namespace {
// Process ids, as they would be handed out: never the same twice.
std::atomic<qint64> nextRun{1000};
}  // namespace

qint64 FakeOffice::runId() const {
    std::lock_guard lock(mutex_);
    return run_;
}

void FakeOffice::restart() {
    ++restarts_;
    if (onRestart)
        onRestart();
    std::lock_guard lock(mutex_);
    running_ = false;
    run_ = 0;
}

void FakeOffice::shutdown() {
    std::lock_guard lock(mutex_);
    running_ = false;
    run_ = 0;
}

void FakeOffice::endForGood() {
    if (onEndForGood)
        onEndForGood();
    std::lock_guard lock(mutex_);
    ended_ = true;
    running_ = false;
    run_ = 0;
}

void FakeOffice::crash() {
    std::lock_guard lock(mutex_);
    running_ = false;
}

OfficeRef FakeOffice::Starter::doObtainServiceManager(const QString& automationName) {
    {
        std::lock_guard lock(office_.mutex_);
        if (office_.ended_)
            throw OfficeUnavailableError(QStringLiteral("the program is ending"));
        if (!office_.running_) {
            office_.running_ = true;
            office_.run_ = ++nextRun;
            ++office_.starts_;
        }
    }
    return ForwardingBridge::doObtainServiceManager(automationName);
}

OfficePool::Factory fakeOffices(std::deque<FakeBridge>& bridges, std::deque<FakeOffice*>* made) {
    return [&bridges, made](int index) {
        auto office = std::make_unique<FakeOffice>(bridges.at(index));
        if (made)
            made->push_back(office.get());
        return office;
    };
}

}  // namespace slate::testing
