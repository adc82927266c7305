#include "addin/module.h"

#include <atomic>
#include <vector>

namespace quillbridge {
namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

void SetThisModule(HMODULE module) noexcept { g_module = module; }

HMODULE ThisModule() noexcept { return g_module; }

std::wstring ModulePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return std::wstring(path.data(), length);
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

void ObjectCreated() noexcept { ++g_objects; }
void ObjectDestroyed() noexcept { --g_objects; }

void LockModule(bool lock) noexcept {
    if (lock) ++g_locks;
    else if (g_locks > 0) --g_locks;
}

bool ModuleInUse() noexcept { return g_objects > 0 || g_locks > 0; }

}  // namespace quillbridge
