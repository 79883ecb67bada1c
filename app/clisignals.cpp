#include "app/clisignals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

#include "common/programexit.h"

namespace slate {

namespace {

int wakeWrite = -1;

// Only async-signal-safe work here: the watcher thread does the rest.
void onSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite, &byte, 1);
}

}  // namespace

void installTerminationHandlers() {
    if (wakeWrite >= 0)
        return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    wakeWrite = fds[1];
    const int wakeRead = fds[0];
    std::thread([wakeRead] {
        unsigned char number = 0;
        ssize_t got;
        do {
            got = ::read(wakeRead, &number, 1);
        } while (got < 0 && errno == EINTR);
        if (got == 1)
            program::exitNow(128 + number);
    }).detach();

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

}  // namespace slate
