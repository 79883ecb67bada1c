// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

// Closing the window ends the program at once, even from inside a handler that is
// processing events; these hooks still let it end child processes it started.
namespace slate::program {

int addExitHook(std::function<void()> hook);
// A hook that runs after every ordinary one: for removing files once the processes that
// might still write them have been ended.
int addLateExitHook(std::function<void()> hook);
// The hook will not run any more. When it is running on another thread right now, this waits
// until it has finished, so that its owner may free what the hook uses as soon as this returns.
void removeExitHook(int id);
// Runs every hook once, newest first, the late ones last; safe to call more than once and
// from several threads (the second waits for the first).
void runExitHooks();
// Runs the hooks, flushes standard streams and ends the process without unwinding.
[[noreturn]] void exitNow(int code);

// Asks the hooks that are ending the program to give up their grace periods and end what
// they end at once: the user asked twice.
void hurry();
bool hurried();

}  // namespace slate::program
