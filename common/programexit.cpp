// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/programexit.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

namespace slate::program {

namespace {

using Hooks = std::map<int, std::function<void()>>;

struct Registry {
    std::mutex mutex;
    std::condition_variable finished;
    Hooks ordinary;
    Hooks late;
    int nextId = 1;
    // The hook being run and the thread running it: a removal waits for it to finish.
    int running = 0;
    std::thread::id runner;
    // One thread runs the hooks at a time; a hook that ends the program itself runs them
    // on the same thread, hence recursive.
    std::recursive_mutex runs;
};

Registry& registry() {
    static Registry r;
    return r;
}

std::atomic<bool> inAHurry{false};

int add(Hooks Registry::*table, std::function<void()> hook) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const int id = r.nextId++;
    (r.*table).emplace(id, std::move(hook));
    return id;
}

// Takes the hooks out one at a time, so that one removed meanwhile never runs.
void runNewestFirst(Hooks Registry::*table) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    Hooks& hooks = r.*table;
    while (!hooks.empty()) {
        const auto newest = std::prev(hooks.end());
        r.running = newest->first;
        r.runner = std::this_thread::get_id();
        const std::function<void()> hook = std::move(newest->second);
        hooks.erase(newest);
        lock.unlock();
        try {
            hook();
        } catch (...) {
            // The program is ending: the other hooks still run.
        }
        lock.lock();
        r.running = 0;
        r.runner = {};
        r.finished.notify_all();
    }
}

}  // namespace

int addExitHook(std::function<void()> hook) {
    return add(&Registry::ordinary, std::move(hook));
}

int addLateExitHook(std::function<void()> hook) {
    return add(&Registry::late, std::move(hook));
}

void removeExitHook(int id) {
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    r.ordinary.erase(id);
    r.late.erase(id);
    // A hook removing itself, or one that runs on this very thread, must not wait for itself.
    if (r.runner != std::this_thread::get_id())
        r.finished.wait(lock, [&] { return r.running != id; });
}

void runExitHooks() {
    std::lock_guard serial(registry().runs);
    runNewestFirst(&Registry::ordinary);
    runNewestFirst(&Registry::late);
}

void exitNow(int code) {
    runExitHooks();
    std::fflush(nullptr);
    std::_Exit(code);
}

void hurry() {
    inAHurry = true;
}

bool hurried() {
    return inAHurry;
}

}  // namespace slate::program
