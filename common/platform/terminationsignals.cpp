// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/platform/terminationsignals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "common/programexit.h"

namespace slate {

namespace {

int wakeWrite = -1;

// Once hurried, the hooks end their processes within milliseconds; this is only the bound for
// a hook that never looks.
constexpr std::chrono::seconds kHurriedExitLimit{2};

// Only async-signal-safe work here: the watcher thread does the rest.
void onSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite, &byte, 1);
}

bool readSignal(int fd, unsigned char* number) {
    ssize_t got;
    do {
        got = ::read(fd, number, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1;
}

// The first signal ends the program on a thread of its own, so that this one stays free to
// hear a second.
void watch(int wakeRead) {
    unsigned char number = 0;
    if (!readSignal(wakeRead, &number))
        return;
    const int status = 128 + number;
    std::thread([status] { program::exitNow(status); }).detach();
    if (!readSignal(wakeRead, &number))
        return;
    program::hurry();
    std::this_thread::sleep_for(kHurriedExitLimit);
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace

void installTerminationHandlers() {
    if (wakeWrite >= 0)
        return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    wakeWrite = fds[1];
    std::thread(watch, fds[0]).detach();

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

}  // namespace slate
