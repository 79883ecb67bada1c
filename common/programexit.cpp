#include "common/programexit.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

namespace slate::program {

namespace {
std::mutex& hooksMutex() {
    static std::mutex m;
    return m;
}
using Hooks = std::map<int, std::function<void()>>;
Hooks& hooks() {
    static Hooks h;
    return h;
}
Hooks& lateHooks() {
    static Hooks h;
    return h;
}
int nextId = 1;

int add(Hooks& to, std::function<void()> hook) {
    std::lock_guard lock(hooksMutex());
    const int id = nextId++;
    to.emplace(id, std::move(hook));
    return id;
}

void runNewestFirst(Hooks& from) {
    Hooks taken;
    {
        std::lock_guard lock(hooksMutex());
        taken.swap(from);
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it)
        it->second();
}
}  // namespace

int addExitHook(std::function<void()> hook) {
    return add(hooks(), std::move(hook));
}

int addLateExitHook(std::function<void()> hook) {
    return add(lateHooks(), std::move(hook));
}

void removeExitHook(int id) {
    std::lock_guard lock(hooksMutex());
    hooks().erase(id);
    lateHooks().erase(id);
}

void runExitHooks() {
    runNewestFirst(hooks());
    runNewestFirst(lateHooks());
}

void exitNow(int code) {
    runExitHooks();
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace slate::program
