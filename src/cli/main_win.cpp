// pagelark-cli.exe: a console program on the user's Pagelark settings (registry), WinInet and
// the console in UTF-16, so every character reaches the console whatever its code page; pipes
// and files carry UTF-8.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/installation_store.h"
#include "app/registry_store_win.h"
#include "app/settings_store.h"
#include "cli/cli_platform.h"
#include "common/files.h"
#include "common/wide_string_win.h"
#include "service/system_clock_win.h"
#include "service/wininet_transport_win.h"

namespace pagelark::cli {
namespace {

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

void Write(DWORD which, std::string_view utf8) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return;
    if (IsConsole(handle)) {
        const std::wstring text = Widen(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    while (!utf8.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) || written == 0) return;
        utf8.remove_prefix(written);
    }
}

std::optional<std::string> ReadStandardInputBytes() {
    const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return std::nullopt;
    if (IsConsole(handle)) {
        // Typed text ends with Ctrl+Z on a line of its own, as for every console program.
        std::wstring text;
        wchar_t buffer[4096];
        for (;;) {
            DWORD read = 0;
            if (!ReadConsoleW(handle, buffer, 4096, &read, nullptr) || read == 0) break;
            text.append(buffer, read);
            if (const size_t end = text.find(L'\x1A'); end != std::wstring::npos) {
                text.resize(end);
                break;
            }
        }
        return Narrow(text);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(handle, buffer, sizeof buffer, &read, nullptr)) {
            if (GetLastError() == ERROR_BROKEN_PIPE) break;   // the writer is done
            return std::nullopt;
        }
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

std::string ProgramDir() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, length);
    const size_t slash = dir.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? std::wstring(L".") : dir.substr(0, slash));
}

class WindowsPlatform final : public Platform {
public:
    void Out(std::string_view utf8) override { Write(STD_OUTPUT_HANDLE, utf8); }
    void Err(std::string_view utf8) override { Write(STD_ERROR_HANDLE, utf8); }
    std::optional<std::string> ReadStandardInput() override { return ReadStandardInputBytes(); }
    std::optional<std::string> ReadSecretFile(const std::string& path, std::string& error) override {
        std::optional<std::string> bytes = ReadFileBytes(path);
        if (!bytes) error = path + ": cannot be read";
        return bytes;
    }

    bool LoadConfiguration(const std::optional<std::string>& configPath, Configuration& out,
                           std::string& error) override {
        if (configPath) {
            error = "--config is for the settings file on Linux; on Windows Pagelark's own settings apply";
            return false;
        }
        const WindowsRegistryStore store;
        LoadSettings(store, out.settings, GetUserDefaultLangID());
        out.installation = ReadInstallationValues(store);
        out.checkList = LoadCheckList(ProgramDir());
        return true;
    }

    std::shared_ptr<HttpTransport> Transport(const Configuration&) override {
        return std::make_shared<WinInetTransport>();
    }
    std::shared_ptr<const Clock> SystemClock() override { return std::make_shared<pagelark::SystemClock>(); }
    std::shared_ptr<RequestLog> OpenRequestLog() override {
        auto log = std::make_shared<RequestLog>();
        log->Open(JoinPath(ProgramDir(), "Pagelark.log"));
        return log;
    }
};

}  // namespace
}  // namespace pagelark::cli

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(pagelark::Narrow(argv[i]));
    pagelark::cli::WindowsPlatform platform;
    return pagelark::cli::Run(args, platform);
}
