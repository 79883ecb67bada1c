// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "common/programexit.h"

namespace slate {
namespace {

TEST(ProgramExit, RunsEveryHookNewestFirstAndTheLateOnesLastThenEndsWithTheCode) {
    EXPECT_EXIT(
        {
            program::addLateExitHook([] { std::fputs("late\n", stderr); });
            program::addExitHook([] { std::fputs("first\n", stderr); });
            const int removed = program::addExitHook([] { std::fputs("removed\n", stderr); });
            program::addExitHook([] { std::fputs("second\n", stderr); });
            program::removeExitHook(removed);
            program::exitNow(3);
        },
        ::testing::ExitedWithCode(3), "^second\nfirst\nlate\n$");
}

TEST(ProgramExit, HooksRunOnlyOnce) {
    int runs = 0;
    program::addExitHook([&runs] { ++runs; });
    program::runExitHooks();
    program::runExitHooks();
    EXPECT_EQ(runs, 1);
}

// The hooks run on one thread (a signal's) while an owner on another removes its hook and frees
// what the hook uses, as a pool does when its offices are destroyed.
TEST(ProgramExit, AHookRemovedWhileAnotherRunsNeverRuns) {
    using namespace std::chrono_literals;
    std::atomic<bool> removed{false};
    std::atomic<bool> ranAfterRemoval{false};
    auto* owned = new std::atomic<int>(0);
    const int id = program::addExitHook([&, owned] {
        ranAfterRemoval = removed.load();
        ++*owned;
    });
    std::atomic<bool> slowStarted{false};
    program::addExitHook([&] {
        slowStarted = true;
        std::this_thread::sleep_for(200ms);
    });
    std::thread ending(program::runExitHooks);
    while (!slowStarted)
        std::this_thread::yield();

    program::removeExitHook(id);
    removed = true;
    delete owned;
    ending.join();

    EXPECT_FALSE(ranAfterRemoval);
}

TEST(ProgramExit, RemovingAHookThatIsRunningWaitsUntilItHasFinished) {
    using namespace std::chrono_literals;
    std::atomic<bool> inside{false};
    auto* owned = new std::atomic<int>(0);
    const int id = program::addExitHook([&, owned] {
        inside = true;
        std::this_thread::sleep_for(200ms);
        ++*owned;
        inside = false;
    });
    std::thread ending(program::runExitHooks);
    while (!inside)
        std::this_thread::yield();

    program::removeExitHook(id);
    EXPECT_FALSE(inside);
    delete owned;
    ending.join();
}

}  // namespace
}  // namespace slate
