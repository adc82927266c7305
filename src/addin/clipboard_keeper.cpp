#include "addin/clipboard_keeper.h"

namespace quillbridge {
namespace {

// Another program may hold the clipboard for a moment; it is asked again a few times.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenPause = 10;

HANDLE CopyMemoryBlock(HANDLE source) {
    const SIZE_T size = GlobalSize(source);
    if (size == 0) return nullptr;
    const void* from = GlobalLock(source);
    if (!from) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (void* to = copy ? GlobalLock(copy) : nullptr) {
        memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(source);
    return copy;
}

bool IsBitmapFormat(UINT format) { return format == CF_BITMAP || format == CF_DSPBITMAP; }
bool IsMetafileFormat(UINT format) { return format == CF_ENHMETAFILE || format == CF_DSPENHMETAFILE; }

// Formats whose handles are neither memory blocks nor copyable objects: left out.
bool IsUncopyable(UINT format) {
    return format == CF_PALETTE || format == CF_METAFILEPICT || format == CF_DSPMETAFILEPICT ||
           format == CF_OWNERDISPLAY || (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

HANDLE CopyFormat(UINT format, HANDLE data) {
    if (IsBitmapFormat(format)) return CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
    if (IsMetafileFormat(format)) return CopyEnhMetaFileW(static_cast<HENHMETAFILE>(data), nullptr);
    return CopyMemoryBlock(data);
}

void FreeFormat(UINT format, HANDLE data) {
    if (IsBitmapFormat(format)) DeleteObject(data);
    else if (IsMetafileFormat(format)) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
    else GlobalFree(data);
}

}  // namespace

ClipboardKeeper::ClipboardKeeper() {
    // The clipboard takes data only from an owner window; a message-only one does.
    owner_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

ClipboardKeeper::~ClipboardKeeper() {
    FreeSaved();
    if (owner_) DestroyWindow(owner_);
}

bool ClipboardKeeper::Open() {
    if (!owner_) return false;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (OpenClipboard(owner_)) return true;
        Sleep(kOpenPause);
    }
    return false;
}

bool ClipboardKeeper::Save() {
    FreeSaved();
    if (!Open()) return false;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (IsUncopyable(format)) continue;
        HANDLE data = GetClipboardData(format);
        if (!data) continue;
        if (HANDLE copy = CopyFormat(format, data)) formats_.emplace_back(format, copy);
    }
    CloseClipboard();
    saved_ = true;
    return true;
}

bool ClipboardKeeper::PutBitmap(HBITMAP bitmap) {
    if (!Open()) return false;
    EmptyClipboard();
    const bool put = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return put;
}

bool ClipboardKeeper::Restore() {
    if (!saved_ || !Open()) return false;
    EmptyClipboard();
    for (auto& [format, data] : formats_) {
        // On success the clipboard owns the handle.
        if (SetClipboardData(format, data)) data = nullptr;
    }
    CloseClipboard();
    FreeSaved();
    return true;
}

void ClipboardKeeper::FreeSaved() noexcept {
    for (const auto& [format, data] : formats_)
        if (data) FreeFormat(format, data);
    formats_.clear();
    saved_ = false;
}

}  // namespace quillbridge
