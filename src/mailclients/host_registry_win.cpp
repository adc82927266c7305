#include "mailclients/host_registry_win.h"

#include <cwchar>

#include "common/wide_string_win.h"
#include "mailclients/client_registration.h"

namespace pagelark {
namespace {
constexpr DWORD kTextValueBytes = 260;
}

std::optional<std::string> ReadRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* value) {
    wchar_t buffer[kTextValueBytes / sizeof(wchar_t) + 1] = {};
    DWORD bytes = kTextValueBytes;
    if (RegGetValueW(root, subKey, value, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    buffer[kTextValueBytes / sizeof(wchar_t)] = L'\0';
    return Narrow(buffer);
}

std::optional<std::uint32_t> ReadRegistryDword(HKEY root, const wchar_t* subKey, const wchar_t* value) {
    DWORD data = 0;
    DWORD bytes = sizeof(data);
    if (RegGetValueW(root, subKey, value, RRF_RT_REG_DWORD, nullptr, &data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return data;
}

int ReadOutlookVersion() {
    const auto curVer = ReadRegistryText(HKEY_CLASSES_ROOT, L"Outlook.Application\\CurVer", nullptr);
    return curVer ? ClientVersionFromCurVer(*curVer) : 0;
}

bool ReadOutlookWordEditor(int clientVersion) {
    wchar_t key[96];
    std::swprintf(key, 96, L"Software\\Microsoft\\Office\\%d.0\\Outlook\\Options\\Mail", clientVersion);
    return WordEditorFromPreference(ReadRegistryDword(HKEY_CURRENT_USER, key, L"EditorPreference"));
}

}  // namespace pagelark
