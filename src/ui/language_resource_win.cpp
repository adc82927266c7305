#include "ui/language_resource_win.h"

namespace pagelark {

const void* FindLanguageResource(HINSTANCE module, LPCWSTR type, int id, LANGID language, DWORD* size) {
    HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), language);
    if (!found) found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found) found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return nullptr;
    if (size) *size = SizeofResource(module, found);
    return LockResource(loaded);
}

std::wstring LoadLanguageString(HINSTANCE module, int id, LANGID language) {
    // Strings live in blocks of 16: block id / 16 + 1, each entry a length and UTF-16 text.
    if (id < 0 || id > 0xFFFF) return {};
    DWORD size = 0;
    const auto* block = static_cast<const WCHAR*>(FindLanguageResource(module, RT_STRING, id / 16 + 1, language, &size));
    if (!block) return {};
    const WCHAR* end = block + size / sizeof(WCHAR);
    for (int i = 0; i < id % 16; ++i) {
        if (block >= end) return {};
        block += 1 + *block;
    }
    if (block >= end || block + 1 + *block > end) return {};
    return std::wstring(block + 1, *block);
}

}  // namespace pagelark
