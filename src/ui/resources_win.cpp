#include "ui/resources_win.h"

#include <atomic>

#include "common/wide_string_win.h"
#include "resource_ids.h"

namespace pagelark {
namespace {

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
// Read by worker threads that load texts; written on the UI thread by the language switch.
std::atomic<LANGID> g_language{kEnglish};

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

HRSRC FindIn(LPCWSTR type, LPCWSTR name, LANGID langId) {
    return FindResourceExW(Module(), type, name, langId);
}

// The active language, then English, then whatever language the resource exists in.
HRSRC FindWithFallback(LPCWSTR type, LPCWSTR name, LANGID langId) {
    if (HRSRC found = FindIn(type, name, langId)) return found;
    if (HRSRC found = FindIn(type, name, kEnglish)) return found;
    return FindResourceW(Module(), name, type);
}

const void* LockFound(HRSRC found, DWORD* size = nullptr) {
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(Module(), found);
    if (!loaded) return nullptr;
    if (size) *size = SizeofResource(Module(), found);
    return LockResource(loaded);
}

// One block of a string table holds 16 counted strings; returns string `id` of the block.
bool ReadTableEntry(HRSRC found, UINT id, std::wstring& text) {
    DWORD size = 0;
    auto* data = static_cast<const WCHAR*>(LockFound(found, &size));
    if (!data) return false;
    const WCHAR* end = data + size / sizeof(WCHAR);
    const WCHAR* p = data;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (p >= end) return false;
        p += 1 + *p;
    }
    if (p >= end || p + 1 + *p > end || *p == 0) return false;
    text.assign(p + 1, *p);
    return true;
}

}  // namespace

void SetResourceLanguage(LANGID langId) { g_language.store(langId); }
LANGID ResourceLanguage() { return g_language.load(); }

std::wstring LoadText(UINT id) { return LoadText(id, ResourceLanguage()); }

std::wstring LoadText(UINT id, LANGID langId) {
    LPCWSTR block = MAKEINTRESOURCEW(id / 16 + 1);
    std::wstring text;
    for (LANGID lang : {langId, kEnglish})
        if (ReadTableEntry(FindIn(RT_STRING, block, lang), id, text)) return text;
    return text;
}

std::string LoadTextUtf8(UINT id) { return Narrow(LoadText(id)); }

HMENU LoadMenuResource(UINT id) {
    const void* menu = LockFound(FindWithFallback(RT_MENU, MAKEINTRESOURCEW(id), ResourceLanguage()));
    return menu ? LoadMenuIndirectW(menu) : nullptr;
}

const DLGTEMPLATE* FindDialogTemplate(UINT id) {
    return static_cast<const DLGTEMPLATE*>(
        LockFound(FindWithFallback(RT_DIALOG, MAKEINTRESOURCEW(id), ResourceLanguage())));
}

const DLGTEMPLATE* FindDialogTemplate(UINT id, LANGID langId) {
    return static_cast<const DLGTEMPLATE*>(LockFound(FindIn(RT_DIALOG, MAKEINTRESOURCEW(id), langId)));
}

int ShowTextMessage(HWND owner, UINT textId, UINT type) { return ShowMessage(owner, LoadText(textId), type); }

int ShowMessage(HWND owner, const std::wstring& text, UINT type) {
    const std::wstring caption = LoadText(IDS_APP_TITLE);
    return MessageBoxExW(owner, text.c_str(), caption.c_str(), type, ResourceLanguage());
}

}  // namespace pagelark
