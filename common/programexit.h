#pragma once

#include <functional>

// Closing the window ends the program at once, even from inside a handler that is
// processing events; these hooks still let it end child processes it started.
namespace slate::program {

int addExitHook(std::function<void()> hook);
// A hook that runs after every ordinary one: for removing files once the processes that
// might still write them have been ended.
int addLateExitHook(std::function<void()> hook);
void removeExitHook(int id);
// Runs every hook once, newest first, the late ones last; safe to call more than once.
void runExitHooks();
// Runs the hooks, flushes standard streams and ends the process without unwinding.
[[noreturn]] void exitNow(int code);

}  // namespace slate::program
