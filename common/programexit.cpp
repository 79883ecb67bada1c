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
std::map<int, std::function<void()>>& hooks() {
    static std::map<int, std::function<void()>> h;
    return h;
}
int nextId = 1;
}  // namespace

int addExitHook(std::function<void()> hook) {
    std::lock_guard lock(hooksMutex());
    const int id = nextId++;
    hooks().emplace(id, std::move(hook));
    return id;
}

void removeExitHook(int id) {
    std::lock_guard lock(hooksMutex());
    hooks().erase(id);
}

void runExitHooks() {
    std::map<int, std::function<void()>> taken;
    {
        std::lock_guard lock(hooksMutex());
        taken.swap(hooks());
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it)
        it->second();
}

void exitNow(int code) {
    runExitHooks();
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace slate::program
