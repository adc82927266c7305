#pragma once
// The running double's process-wide state: the store file it serves and the live-object count.
#include <windows.h>

#include <string>

#include "store.h"

namespace outlook_double {

inline constexpr wchar_t kDoubleKey[] = L"Software\\Orvane\\OutlookDouble";

class ServerState {
public:
    static ServerState& Get();

    // The store as it is in its file now (read again when the file changed since).
    Store& store();
    // Writes the store back to its file after a change.
    bool Save();
    const std::wstring& path() const { return path_; }

    void ObjectCreated();
    void ObjectDestroyed();
    long LiveObjects() const { return live_; }
    // Appends "Class.Member first-argument" to the call log file, when one is set
    // (HKCU\Software\Orvane\OutlookDouble "CallLog").
    void LogCall(const std::string& member, const std::string& argument);
    // Reads the store file's path and the call log's again.
    void RefreshSettings();

    // Called on the server's thread when the last object went away.
    void SetIdleWindow(HWND window) { idleWindow_ = window; }

private:
    ServerState();
    void Publish();

    std::wstring path_;
    Store store_;
    FILETIME stamp_{};
    bool loaded_ = false;
    long live_ = 0;
    long created_ = 0;
    long peak_ = 0;
    HWND idleWindow_ = nullptr;
    std::wstring callLog_;
};

// Path of the store file: HKCU\Software\Orvane\OutlookDouble "StoreFile", else beside the double.
std::wstring StoreFilePath();
std::string ReadFileText(const std::wstring& path);
bool WriteFileText(const std::wstring& path, const std::string& text);
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
void WriteDoubleValue(const wchar_t* name, DWORD value);
DWORD ReadDoubleValue(const wchar_t* name);

inline constexpr UINT kIdleMessage = WM_APP + 1;

}  // namespace outlook_double
