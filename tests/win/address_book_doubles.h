#pragma once
// Puts the address-book doubles where the program looks for them (the MAPI provider under
// HKLM\SOFTWARE\Clients\Mail\Microsoft Outlook "DLLPathEx", wab32.dll under
// HKLM\Software\Microsoft\WAB\DLLPath), writes their data files, points %TEMP% (and so Mapi.log
// and WAB.log) at a scratch folder, and reads their leak counters.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/wide_string_win.h"

namespace pagelark::testing {

inline std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

inline std::wstring DoubleFolder() { return TestProgramFolder() + L"\\tests\\doubles\\mapi"; }

inline void SetMachineText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

inline std::string ReadAll(const std::wstring& path) {
    std::ifstream file(Narrow(path), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A log written in text mode, with its line ends as "\n".
inline std::string ReadLog(const std::wstring& path) {
    std::string text = ReadAll(path);
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (c != '\r') plain += c;
    return plain;
}

inline void WriteAll(const std::wstring& path, const std::string& text) {
    std::ofstream file(Narrow(path), std::ios::binary | std::ios::trunc);
    file << text;
}

// A scratch folder as %TEMP%, the doubles registered and their data files named.
class AddressBookDoubles {
public:
    AddressBookDoubles() {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        folder_ = std::wstring(base) + L"pagelark-books-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        GetEnvironmentVariableW(L"TEMP", oldTemp_, MAX_PATH);
        SetEnvironmentVariableW(L"TEMP", folder_.c_str());
        SetEnvironmentVariableW(L"PAGELARK_MAPI_DOUBLE_DATA", mapiData().c_str());
        SetEnvironmentVariableW(L"PAGELARK_WAB_DOUBLE_DATA", wabData().c_str());
        // Wine's mapi32 takes its provider from here when it loads.
        SetMachineText(L"SOFTWARE\\Clients\\Mail", nullptr, L"Microsoft Outlook");
        SetMachineText(L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook", L"DLLPathEx",
                       DoubleFolder() + L"\\mapi_double.dll");
        SetMachineText(L"Software\\Microsoft\\WAB\\DLLPath", nullptr, DoubleFolder() + L"\\wab32.dll");
        DeleteFileW(mapiLog().c_str());
        DeleteFileW(wabLog().c_str());
    }
    ~AddressBookDoubles() { SetEnvironmentVariableW(L"TEMP", oldTemp_); }
    AddressBookDoubles(const AddressBookDoubles&) = delete;
    AddressBookDoubles& operator=(const AddressBookDoubles&) = delete;

    std::wstring mapiData() const { return folder_ + L"\\mapi.data"; }
    std::wstring wabData() const { return folder_ + L"\\wab.data"; }
    std::wstring mapiLog() const { return folder_ + L"\\Mapi.log"; }
    std::wstring wabLog() const { return folder_ + L"\\WAB.log"; }
    const std::wstring& folder() const { return folder_; }

    // Live objects and unfreed buffers of a loaded double (0 when it is not loaded).
    static long Leaks(const wchar_t* dll) {
        HMODULE module = GetModuleHandleW(dll);
        if (!module) return 0;
        using Counter = long (*)();
        auto objects = reinterpret_cast<Counter>(reinterpret_cast<void*>(GetProcAddress(module, "DoubleLiveObjects")));
        auto buffers = reinterpret_cast<Counter>(reinterpret_cast<void*>(GetProcAddress(module, "DoubleOpenBuffers")));
        return (objects ? objects() : 0) + (buffers ? buffers() : 0);
    }

private:
    std::wstring folder_;
    wchar_t oldTemp_[MAX_PATH] = {};
};

}  // namespace pagelark::testing
