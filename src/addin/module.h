#pragma once
// The DLL's own state: its module handle, and the count of live objects and server locks that
// DllCanUnloadNow answers from.
#include <windows.h>

#include <string>

namespace quillbridge {

HMODULE ThisModule() noexcept;
// The DLL's full path (empty when it cannot be read).
std::wstring ModulePath();

void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockModule(bool lock) noexcept;
bool ModuleInUse() noexcept;

// Runs `body`, turning an exception into a failure result: nothing may cross into the host.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace quillbridge
