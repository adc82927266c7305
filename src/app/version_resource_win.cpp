#include "app/version_resource_win.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "app/version_text.h"
#include "common/wide_string_win.h"

namespace pagelark {

std::string ReadVersionText(const wchar_t* fileName) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(fileName, &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(fileName, 0, size, block.data())) return {};

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &length) ||
        length < sizeof(Translation))
        return {};
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translations[0].language,
             translations[0].codePage);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &length) || !text || length == 0)
        return {};
    // The length counts characters including the terminator, when there is one.
    return VersionTextFromFileVersion(Narrow(std::wstring(text, wcsnlen(text, length))));
}

}  // namespace pagelark
