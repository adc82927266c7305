#include "addin/registration.h"

#include <oleauto.h>

#include <utility>

#include "addin/addin_ids.h"
#include "addin/com_ptr.h"

namespace quillbridge {
namespace {

class Key {
public:
    explicit Key(HKEY key = nullptr) : key_(key) {}
    Key(Key&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    Key& operator=(Key&& other) noexcept {
        if (this != &other) {
            if (key_) RegCloseKey(key_);
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

LSTATUS CreateKey(HKEY parent, const std::wstring& path, Key& out) {
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, &key, nullptr);
    out = Key(status == ERROR_SUCCESS ? key : nullptr);
    return status;
}

LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Creates `path` under the classes root with its default value (none when `value` is null).
LSTATUS WriteKey(const std::wstring& path, const wchar_t* value) {
    Key key;
    LSTATUS status = CreateKey(HKEY_CLASSES_ROOT, path, key);
    if (status == ERROR_SUCCESS && value) status = SetText(key.get(), nullptr, value);
    return status;
}

LSTATUS WriteValue(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    Key key;
    LSTATUS status = CreateKey(HKEY_CLASSES_ROOT, path, key);
    if (status == ERROR_SUCCESS) status = SetText(key.get(), name, value);
    return status;
}

// Deletes a key and everything under it; a key that is not there is no failure.
LSTATUS RemoveTree(const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
        return ERROR_SUCCESS;
    }
    return status;
}

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + kAddinClassIdText; }

HRESULT Check(LSTATUS status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

HRESULT WriteKeys(const std::wstring& modulePath) {
    const std::wstring appIdKey = std::wstring(L"AppID\\") + kAppIdText;
    HRESULT hr = Check(WriteKey(appIdKey, kAppName));
    if (SUCCEEDED(hr)) hr = Check(WriteValue(kAppIdModuleKey, L"AppID", kAppIdText));

    const std::wstring progId = kProgId;
    const std::wstring independent = kVersionIndependentProgId;
    if (SUCCEEDED(hr)) hr = Check(WriteKey(progId, kClassName));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(progId + L"\\CLSID", kAddinClassIdText));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(independent, kClassName));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(independent + L"\\CLSID", kAddinClassIdText));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(independent + L"\\CurVer", kProgId));

    // The class key is written anew every time, so nothing of an older registration stays.
    if (SUCCEEDED(hr)) hr = Check(RemoveTree(ClassKey()));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(ClassKey(), kClassName));
    if (SUCCEEDED(hr)) hr = Check(WriteValue(ClassKey(), L"AppID", kAppIdText));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(ClassKey() + L"\\ProgID", kProgId));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(ClassKey() + L"\\VersionIndependentProgID", kVersionIndependentProgId));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(ClassKey() + L"\\Programmable", nullptr));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(ClassKey() + L"\\InprocServer32", modulePath.c_str()));
    if (SUCCEEDED(hr)) hr = Check(WriteValue(ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Single"));
    if (SUCCEEDED(hr)) hr = Check(WriteKey(ClassKey() + L"\\TypeLib", kTypeLibIdText));
    return hr;
}

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.Out());
    if (FAILED(hr)) return hr;
    std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L"\\/") + 1);
    return RegisterTypeLib(library.get(), const_cast<wchar_t*>(modulePath.c_str()),
                           folder.empty() ? nullptr : folder.data());
}

}  // namespace

HRESULT RegisterAddin(const std::wstring& modulePath) {
    if (modulePath.empty()) return E_UNEXPECTED;
    HRESULT hr = WriteKeys(modulePath);
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary(modulePath);
    if (FAILED(hr)) UnregisterAddin(modulePath);
    return hr;
}

HRESULT UnregisterAddin(const std::wstring&) {
    // The library's identity and version are ours, so it is unregistered even when the file is gone.
    SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    UnRegisterTypeLib(kTypeLibId, kTypeLibMajor, kTypeLibMinor, LANG_NEUTRAL, kind);
    HRESULT hr = S_OK;
    const std::wstring paths[] = {ClassKey(), kProgId, kVersionIndependentProgId, std::wstring(L"AppID\\") + kAppIdText,
                                  kAppIdModuleKey};
    for (const std::wstring& path : paths) {
        const HRESULT removed = Check(RemoveTree(path));
        if (FAILED(removed) && SUCCEEDED(hr)) hr = removed;
    }
    return hr;
}

}  // namespace quillbridge
