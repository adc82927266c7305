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

}  // namespace pagelark
