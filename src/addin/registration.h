#pragma once
// The add-in's COM registration under the classes root: AppID, ProgIDs, the class key with its
// in-process server, and the type library. Outlook's own add-in key is the installer's.
#include <windows.h>

#include <string>

namespace quillbridge {

inline constexpr wchar_t kProgId[] = L"PagelarkAddin.Addin.1";
inline constexpr wchar_t kVersionIndependentProgId[] = L"PagelarkAddin.Addin";
inline constexpr wchar_t kClassName[] = L"Addin Class";
inline constexpr wchar_t kAppName[] = L"PagelarkAddin";
inline constexpr wchar_t kAppIdModuleKey[] = L"AppID\\Quillbridge.DLL";

HRESULT RegisterAddin(const std::wstring& modulePath);
// Removes what RegisterAddin wrote; the AppID and CLSID keys themselves always stay.
HRESULT UnregisterAddin(const std::wstring& modulePath);

}  // namespace quillbridge
