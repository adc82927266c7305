#include "ui/looks_win.h"

#include <string>

#include "ui/looks.h"

namespace pagelark {
namespace {

constexpr int kDefaultIconSize = 1;

bool ReadDword(const std::wstring& subKey, const wchar_t* name, DWORD& value) {
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

}  // namespace

int WindowsMajorVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto get = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (get && get(&info) == 0) return static_cast<int>(info.dwMajorVersion);
    }
    return 6;
}

int ReadExpressToolbarIconSize(int windowsMajorVersion) {
    DWORD size = 0;
    if (ExpressToolbarSizePlace(windowsMajorVersion) == ExpressSettingsPlace::WindowsMail) {
        return ReadDword(L"Software\\Microsoft\\Windows Mail", L"Toolbar Icon Size", size) ? static_cast<int>(size)
                                                                                             : kDefaultIconSize;
    }
    // The identity is a string of at most 260 bytes; a longer or missing one means the default.
    wchar_t identity[260] = {};
    DWORD bytes = sizeof identity;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Identities", L"Default User ID", RRF_RT_REG_SZ, nullptr, identity, &bytes) !=
        ERROR_SUCCESS)
        return kDefaultIconSize;
    const std::wstring key =
        std::wstring(L"Identities\\") + identity + L"\\Software\\Microsoft\\Outlook Express\\5.0";
    return ReadDword(key, L"Toolbar Icon Size", size) ? static_cast<int>(size) : kDefaultIconSize;
}

}  // namespace pagelark
