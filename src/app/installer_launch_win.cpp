#include "app/installer_launch_win.h"

#include <shellapi.h>

#include <cstdint>
#include <cwchar>

#include "common/handle_win.h"

namespace pagelark {
namespace {

constexpr wchar_t kSwitch[] = L"/install-after ";
constexpr wchar_t kLauncherPrefix[] = L"PagelarkInstall-";
constexpr DWORD kWaitForProgramMs = 60 * 1000;
constexpr DWORD kWaitForFileMs = 10 * 1000;

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The rest of a command line after its program name (quoted or not) and the blanks after it.
const wchar_t* SkipProgramName(const wchar_t* line) {
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

void WaitUntilWritable(const wchar_t* path, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (OwnFile(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))) return;
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || GetTickCount64() >= end) return;
        Sleep(100);
    }
}

// Copies left by earlier updates; one still running stays.
void RemoveEarlierLaunchers(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\" + kLauncherPrefix + L"*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

bool StartInstallerAfterExit(const std::wstring& folder, const std::wstring& msiexecParameters) {
    const std::wstring self = ModulePath();
    if (self.empty()) return false;
    RemoveEarlierLaunchers(folder);
    // A name of its own: the copy of an earlier update may still be running.
    const std::wstring launcher = folder + L"\\" + kLauncherPrefix + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(self.c_str(), launcher.c_str(), FALSE)) return false;

    // The copy inherits a handle that can only wait on this process.
    HANDLE duplicate = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &duplicate,
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
        return false;
    const KernelHandle me(duplicate);
    std::wstring commandLine = L"\"" + launcher + L"\" " + kSwitch +
                               std::to_wstring(reinterpret_cast<std::uintptr_t>(me.get())) + L" " + msiexecParameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(launcher.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    const KernelHandle thread(started ? process.hThread : nullptr), copy(started ? process.hProcess : nullptr);
    return started != FALSE;
}

std::optional<int> RunInstallerAfterParent(const std::wstring& commandLine) {
    const wchar_t* rest = SkipProgramName(commandLine.c_str());
    const size_t switchLength = std::wcslen(kSwitch);
    if (std::wcsncmp(rest, kSwitch, switchLength) != 0) return std::nullopt;
    rest += switchLength;
    std::uintptr_t value = 0;
    bool digits = false;
    while (*rest >= L'0' && *rest <= L'9') {
        value = value * 10 + static_cast<std::uintptr_t>(*rest++ - L'0');
        digits = true;
    }
    while (*rest == L' ') ++rest;
    // A line without a handle and parameters starts nothing, nor does a handle that cannot be waited on.
    if (!digits || !*rest) return 2;
    const KernelHandle program(reinterpret_cast<HANDLE>(value));
    wchar_t image[MAX_PATH * 2] = {};
    DWORD imageLength = MAX_PATH * 2;
    const bool knowsImage = QueryFullProcessImageNameW(program.get(), 0, image, &imageLength) != FALSE;
    const DWORD waited = WaitForSingleObject(program.get(), kWaitForProgramMs);
    if (waited == WAIT_FAILED) return 2;
    // The ended process may hold its program file a moment longer; the installer must find it free.
    if (waited == WAIT_OBJECT_0 && knowsImage) WaitUntilWritable(image, kWaitForFileMs);
    const auto started = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, nullptr, L"msiexec", rest, nullptr, SW_SHOWNORMAL));
    return started > 32 ? 0 : 1;
}

}  // namespace pagelark
