#pragma once
// Move-only owners for the handles that saving and printing open.
#include <windows.h>

#include <utility>

namespace pagelark {

template <typename Handle, auto Release, Handle Invalid = Handle{}>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Invalid);
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    // Releases now; the result tells whether the release itself succeeded.
    bool reset() {
        if (handle_ == Invalid) return true;
        const bool ok = Release(std::exchange(handle_, Invalid));
        return ok;
    }

private:
    Handle handle_ = Invalid;
};

inline bool CloseFileHandle(HANDLE handle) { return CloseHandle(handle) != FALSE; }
inline bool DeletePrinterDc(HDC dc) { return DeleteDC(dc) != FALSE; }
inline bool DeleteFontObject(HFONT font) { return DeleteObject(font) != FALSE; }
inline bool FreeGlobal(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }

using FileHandle = OwnedHandle<HANDLE, CloseFileHandle>;   // only ever given an opened file
using PrinterDc = OwnedHandle<HDC, DeletePrinterDc>;
using FontHandle = OwnedHandle<HFONT, DeleteFontObject>;
using GlobalMemory = OwnedHandle<HGLOBAL, FreeGlobal>;

}  // namespace pagelark
