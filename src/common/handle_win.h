#pragma once
// Move-only owner of one Windows handle: kernel objects, GDI objects, registry keys, global
// memory, image lists, icons, menus and WinInet handles (service/internet_handle_win.h) all use
// this one template with the function that releases them.
#include <windows.h>

#include <utility>

namespace pagelark {

// `Release` returns whether releasing succeeded; a null handle is never released.
template <typename Handle, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }

    // Releases the handle held now and takes `handle`; the result tells whether releasing the
    // old one succeeded (saving and printing report a failed close).
    bool reset(Handle handle = Handle{}) {
        const Handle old = std::exchange(handle_, handle);
        return old == Handle{} || Release(old);
    }
    // Gives the handle up without releasing it.
    [[nodiscard]] Handle release() { return std::exchange(handle_, Handle{}); }
    // For functions that hand out a handle through a pointer (RegOpenKeyExW and the like).
    Handle* receive() {
        reset();
        return &handle_;
    }

private:
    Handle handle_{};
};

namespace handle_release {
inline bool CloseKernelObject(HANDLE handle) { return CloseHandle(handle) != FALSE; }
template <typename GdiObject>
bool DeleteGdiObject(GdiObject object) { return DeleteObject(object) != FALSE; }
inline bool DeleteDeviceContext(HDC dc) { return DeleteDC(dc) != FALSE; }
inline bool FreeGlobalMemory(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }
inline bool CloseRegistryKey(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
inline bool DestroyIconHandle(HICON icon) { return DestroyIcon(icon) != FALSE; }
inline bool DestroyMenuHandle(HMENU menu) { return DestroyMenu(menu) != FALSE; }
}  // namespace handle_release

// A kernel object (file, event, thread, process). CreateFileW reports failure with
// INVALID_HANDLE_VALUE, not null: convert with OwnFile.
using KernelHandle = UniqueHandle<HANDLE, handle_release::CloseKernelObject>;
inline KernelHandle OwnFile(HANDLE file) { return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file); }

using FontHandle = UniqueHandle<HFONT, handle_release::DeleteGdiObject<HFONT>>;
using BrushHandle = UniqueHandle<HBRUSH, handle_release::DeleteGdiObject<HBRUSH>>;
using PenHandle = UniqueHandle<HPEN, handle_release::DeleteGdiObject<HPEN>>;
using BitmapHandle = UniqueHandle<HBITMAP, handle_release::DeleteGdiObject<HBITMAP>>;
using DeviceContext = UniqueHandle<HDC, handle_release::DeleteDeviceContext>;   // from CreateDC, not GetDC
using GlobalMemory = UniqueHandle<HGLOBAL, handle_release::FreeGlobalMemory>;
using RegistryKey = UniqueHandle<HKEY, handle_release::CloseRegistryKey>;
using IconHandle = UniqueHandle<HICON, handle_release::DestroyIconHandle>;     // not for shared (LR_SHARED) icons
using MenuHandle = UniqueHandle<HMENU, handle_release::DestroyMenuHandle>;     // a menu no window owns

}  // namespace pagelark
