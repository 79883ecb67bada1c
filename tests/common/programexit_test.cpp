#include <gtest/gtest.h>

#include <cstdio>

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

}  // namespace
}  // namespace slate
