#include "mailclients/mapi_library_win.h"

#include <utility>

#include "common/handle_win.h"

namespace pagelark {
namespace {

constexpr wchar_t kOutlookClientKey[] = L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook";
constexpr wchar_t kMapiAppsKey[] = L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps";
constexpr wchar_t kOutlookClientName[] = L"Microsoft Outlook";
// MAPIInitialize leaves COM to the caller (the MinGW headers lack the name).
constexpr ULONG kMapiNoCoInit = 0x00000008;

RegistryKey OpenKey(HKEY root, const wchar_t* path, REGSAM access) {
    RegistryKey key;
    if (RegOpenKeyExW(root, path, 0, access, key.receive()) != ERROR_SUCCESS) key.reset();
    return key;
}

enum class PathValue { Absent, NotAString, Found };

// Reads a REG_SZ value of any length.
PathValue ReadPath(HKEY key, const wchar_t* name, std::wstring& text) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return PathValue::Absent;
    if (type != REG_SZ) return PathValue::NotAString;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) != ERROR_SUCCESS ||
        type != REG_SZ)
        return PathValue::NotAString;
    buffer.resize(got / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    text = std::move(buffer);
    return PathValue::Found;
}

// Registers the program with the system's MAPI stub; false when the key or value cannot be had.
bool RegisterWithMapiStub(const std::wstring& executableName) {
    const RegistryKey apps = OpenKey(HKEY_LOCAL_MACHINE, kMapiAppsKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!apps.get()) return false;
    if (RegQueryValueExW(apps.get(), executableName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        return true;   // already registered: left as the user or an installer set it
    const DWORD bytes = static_cast<DWORD>(sizeof(kOutlookClientName));
    return RegSetValueExW(apps.get(), executableName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(kOutlookClientName), bytes) == ERROR_SUCCESS;
}

template <typename Function>
bool Lookup(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

}  // namespace

MapiFunctions StaticMapiFunctions() {
    MapiFunctions f;
    f.Initialize = &MAPIInitialize;
    f.AdminProfiles = &MAPIAdminProfiles;
    f.LogonEx = &MAPILogonEx;
    f.Uninitialize = &MAPIUninitialize;
    f.FreeBuffer = &MAPIFreeBuffer;
    return f;
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

MapiLibrary::~MapiLibrary() {
    if (module_) FreeLibrary(module_);
}

int MapiLibrary::Find(const std::wstring& executableName) {
    // Found again after a stop of the integration (MAPI ended then): the old load goes first.
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    loadedPath_.clear();
    functions_ = StaticMapiFunctions();
    std::wstring path;
    {
        const RegistryKey outlook = OpenKey(HKEY_LOCAL_MACHINE, kOutlookClientKey, KEY_READ);
        if (!outlook.get()) return 0;
        switch (ReadPath(outlook.get(), L"DLLPathEx", path)) {
        case PathValue::NotAString: return 0;
        case PathValue::Found: break;
        case PathValue::Absent:
            if (!RegisterWithMapiStub(executableName)) return 0;
            path = L"MAPI32.dll";
            break;
        }
    }
    // From here on a failure leaves MAPI unusable: the static imports would talk to another provider.
    functions_ = {};
    module_ = LoadLibraryW(path.c_str());
    if (!module_) return ERROR_DLL_INIT_FAILED;
    loadedPath_ = path;
    MapiFunctions loaded;
    if (!Lookup(module_, "MAPIInitialize", loaded.Initialize) ||
        !Lookup(module_, "MAPIAdminProfiles", loaded.AdminProfiles) ||
        !Lookup(module_, "MAPILogonEx", loaded.LogonEx) ||
        !Lookup(module_, "MAPIUninitialize", loaded.Uninitialize) ||
        !Lookup(module_, "MAPIFreeBuffer", loaded.FreeBuffer))
        return 1;
    functions_ = loaded;
    return 0;
}

HRESULT MapiLibrary::Initialize() {
    if (!functions_.Initialize) return MAPI_E_NOT_INITIALIZED;
    MAPIINIT_0 init{MAPI_INIT_VERSION, MAPI_MULTITHREAD_NOTIFICATIONS | kMapiNoCoInit};
    HRESULT result = functions_.Initialize(&init);
    if (result == MAPI_E_UNKNOWN_FLAGS) {
        init.ulFlags = MAPI_MULTITHREAD_NOTIFICATIONS;
        result = functions_.Initialize(&init);
    }
    if (FAILED(result)) result = functions_.Initialize(nullptr);
    return result;
}

}  // namespace pagelark
