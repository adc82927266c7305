#include "outlook_host.h"

#include <cstdlib>
#include <sstream>

#include "../win/outlook_double_client.h"
#include "driver.h"

namespace pagelark::blackbox {
namespace {

using pagelark::testing::OutlookDouble;

constexpr wchar_t kHostClass[] = L"OutlookDouble.Host";
constexpr wchar_t kHostKey[] = L"Software\\Orvane\\OutlookDouble\\Host";
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
// Compiled by scripts/prefix.d/user-locales.sh.
constexpr wchar_t kLocales[] = L"C:\\locales";

DWORD RunAndWait(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

// The Linux path of a prefix path, through Wine's own export.
std::string UnixPath(const wchar_t* path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* unixPath = toUnix(path);
    if (!unixPath) return {};
    std::string text = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return text;
}

std::wstring Wide(const std::string& text) { return OutlookDouble::Wide(text); }

// Wine gives a process started from another Wine process its parent's user locale, whatever its
// environment says; one started from Linux takes it from LC_ALL. So a host with another user
// language is started through Wine's own Linux launcher (ntdll's __wine_unix_spawnvp).
bool SpawnFromLinux(const std::vector<std::string>& arguments) {
    using Spawn = LONG(CDECL*)(char* const argv[], int wait);
    auto spawn = reinterpret_cast<Spawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    if (!spawn) return false;
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return spawn(argv.data(), FALSE) == 0;
}

std::string Narrow(const std::wstring& text) {
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    if (!out.empty()) out.pop_back();
    return out;
}

}  // namespace

std::vector<std::string> SplitTabs(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '\t')) parts.push_back(part);
    return parts;
}

std::wstring OutlookHost::AddinPath() { return EnvVar("PAGELARK_DIR") + L"\\Quillbridge.dll"; }

bool OutlookHost::PrepareAddin(DWORD loadBehavior) {
    if (!OutlookDouble::Available()) return false;
    if (RunAndWait(L"regsvr32.exe /s \"" + AddinPath() + L"\"") != 0) return false;
    DeleteKey(HKEY_CURRENT_USER, kAddinKey);
    SetString(HKEY_CURRENT_USER, kAddinKey, L"FriendlyName", L"Pagelark");
    SetDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", loadBehavior);
    return OutlookDouble::Prepare(11);
}

void OutlookHost::RemoveAddin() {
    DeleteKey(HKEY_CURRENT_USER, kAddinKey);
    RunAndWait(L"regsvr32.exe /u /s \"" + AddinPath() + L"\"");
    OutlookDouble::Stop();   // a server the program may have started
    OutlookDouble::Unregister();
}

bool OutlookHost::Start(const std::string& userLocale, const std::string& bars) {
    Quit();
    // A host left by an earlier run would answer in this one's place.
    for (HWND stale : FindTopWindows(nullptr, kHostClass)) PostMessageW(stale, WM_CLOSE, 0, 0);
    if (!WaitForNoWindow(nullptr, kHostClass)) return false;
    if (userLocale.empty()) {
        std::wstring command = L"\"" + std::wstring(OutlookDouble::kPath) + L"\" host";
        if (!bars.empty()) command += L" \"" + Wide(bars) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        pid_ = process.dwProcessId;
        window_ = WaitForWindow(nullptr, kHostClass, 20s, pid_);
        return window_ != nullptr;
    }
    std::vector<std::string> arguments{"env", "LC_ALL=" + userLocale, "LOCPATH=" + UnixPath(kLocales), "wine",
                                       Narrow(OutlookDouble::kPath), "host"};
    if (!bars.empty()) arguments.push_back(bars);
    if (!SpawnFromLinux(arguments)) return false;
    window_ = WaitForWindow(nullptr, kHostClass, 20s);
    if (!window_) return false;
    pid_ = ProcessOf(window_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid_);
    return process_ != nullptr;
}

std::optional<std::string> OutlookHost::Command(const std::string& command) {
    if (!window_) return std::nullopt;
    COPYDATASTRUCT data{1, static_cast<DWORD>(command.size()), const_cast<char*>(command.data())};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 20000,
                             &result) ||
        result != 1)
        return std::nullopt;
    const std::optional<std::wstring> reply = GetString(HKEY_CURRENT_USER, kHostKey, L"Reply");
    if (!reply) return std::string();
    std::string text(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, reply->c_str(), -1, nullptr, 0, nullptr,
                                                             nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, reply->c_str(), -1, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    if (!text.empty()) text.pop_back();
    return text;
}

bool OutlookHost::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool OutlookHost::Quit() {
    if (!process_) return true;
    if (window_ && IsWindow(window_)) Command("quit");
    bool ended = WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process_, 1);
    CloseHandle(process_);
    process_ = nullptr;
    pid_ = 0;
    window_ = nullptr;
    return ended;
}

}  // namespace pagelark::blackbox
