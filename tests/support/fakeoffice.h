// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "convert/forwardingbridge.h"
#include "convert/officepool.h"
#include "support/fakebridge.h"

namespace slate::testing {

// An office of a pool played by a FakeBridge, whose runs behave as a real office's do: none
// until the office is first reached, a fresh one at each start, none right after a restart,
// and after a crash the one that has gone until the next call starts another.
class FakeOffice : public PooledOffice {
  public:
    explicit FakeOffice(FakeBridge& bridge) : starter_(*this, bridge) {}

    OfficeBridge& bridge() override { return starter_; }
    bool ownsProcess() const override { return owned; }
    qint64 runId() const override;
    void restart() override;
    void shutdown() override;
    void endForGood() override;

    // The office dies between calls; the next call starts another.
    void crash();
    int starts() const { return starts_; }
    int restarts() const { return restarts_; }

    // False for an office the program only connects to.
    bool owned = true;
    // Runs as the office is restarted, before it ends (tests record or throw).
    std::function<void()> onRestart;
    // Runs as the office is ended for good.
    std::function<void()> onEndForGood;

  private:
    // Starts the office at the first call after it ended, as the real bridge does.
    class Starter : public ForwardingBridge {
      public:
        Starter(FakeOffice& office, FakeBridge& inner) : ForwardingBridge(inner), office_(office) {}

      protected:
        OfficeRef doObtainServiceManager(const QString& automationName) override;

      private:
        FakeOffice& office_;
    };

    Starter starter_;
    mutable std::mutex mutex_;
    qint64 run_ = 0;
    bool running_ = false;
    bool ended_ = false;
    std::atomic<int> starts_{0};
    std::atomic<int> restarts_{0};
};

// A pool factory over `bridges`, one office each; what it makes is also listed in `made`.
OfficePool::Factory fakeOffices(std::deque<FakeBridge>& bridges, std::deque<FakeOffice*>* made);

}  // namespace slate::testing
