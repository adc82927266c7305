#pragma once
// Runs the Outlook double's control commands (tests/doubles/outlook) from a test: register it as
// "Outlook.Application", seed and read its store, switch faults on, read its object counters.
#include <windows.h>
#include <objbase.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pagelark::testing {

class OutlookDouble {
public:
    // Where scripts/prefix.d/outlook-double.sh puts the double.
    static constexpr wchar_t kPath[] = L"C:\\outlook_double\\outlook_double.exe";
    static constexpr wchar_t kKey[] = L"Software\\Orvane\\OutlookDouble";

    static bool Available() { return GetFileAttributesW(kPath) != INVALID_FILE_ATTRIBUTES; }

    // Output of one command, or nothing when it failed or did not end within 20 s (then it is ended).
    static std::optional<std::string> Run(const std::wstring& arguments) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!CreatePipe(&read, &write, &inherit, 0)) return std::nullopt;
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        std::wstring command = L"\"" + std::wstring(kPath) + L"\" " + arguments;
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                            nullptr, &startup, &process);
        CloseHandle(write);
        if (!started) {
            CloseHandle(read);
            return std::nullopt;
        }
        // Polled, never a blocking read: a process that inherited the pipe must not hold the test.
        std::string output;
        const DWORD end = GetTickCount() + 20000;
        bool exited = false, ended = false;
        while (!ended) {
            DWORD available = 0;
            if (!PeekNamedPipe(read, nullptr, 0, nullptr, &available, nullptr)) break;   // every writer closed
            if (available) {
                char buffer[4096];
                DWORD got = 0;
                if (!ReadFile(read, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr)) break;
                output.append(buffer, got);
                continue;
            }
            if (exited) break;   // exited and drained
            exited = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
            if (!exited && static_cast<LONG>(GetTickCount() - end) > 0) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, 5000);
                ended = true;
            }
        }
        CloseHandle(read);
        DWORD code = 1;
        if (!ended) GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        if (code != 0) return std::nullopt;
        return output;
    }

    // The store file and call log of this test, both in the temporary folder.
    static std::wstring TempFile(const wchar_t* name) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + name;
    }

    // Registered as Outlook `version`, with a fresh default store, no faults and an empty call log.
    // A double started from now on ends with this test program at the latest.
    static bool Prepare(int version, const wchar_t* storeName = L"outlook_double_store.json") {
        const DWORD self = GetCurrentProcessId();
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ClientProcessId", REG_DWORD, &self, sizeof self);
        return Run(L"prepare " + std::to_wstring(version) + L" \"" + TempFile(storeName) + L"\" \"" +
                   TempFile(L"outlook_double_calls.txt") + L"\"")
            .has_value();
    }
    static void Unregister() { Run(L"unregister"); }
    // Ends every running double, waiting for it (a test program calls it before it ends: under Wine
    // a double started for it holds the program's Unix stderr, a test runner's output pipe).
    static bool Stop() { return Run(L"quit").has_value(); }

    // Whether "Outlook.Application" answers an activation within `milliseconds`. Tried on a thread
    // of its own, so a COM activation that never returns cannot hold the test.
    static bool Activates(DWORD milliseconds = 30000) {
        auto answered = std::make_shared<LONG>(0);
        auto* held = new std::shared_ptr<LONG>(answered);
        HANDLE thread = CreateThread(nullptr, 0, &ActivateOnce, held, 0, nullptr);
        if (!thread) {
            delete held;
            return false;
        }
        const bool ended = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return ended && InterlockedCompareExchange(answered.get(), 0, 0) == 1;
    }

    static std::string Calls() {
        std::string text;
        HANDLE file = CreateFileW(TempFile(L"outlook_double_calls.txt").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) text.append(buffer, got);
        CloseHandle(file);
        return text;
    }

    // Lines of `list PATH`: EntryID, class, subject, to (tab-separated).
    static std::vector<std::string> Items(const std::string& folderPath) {
        std::vector<std::string> lines;
        const auto output = Run(L"list \"" + Wide(folderPath) + L"\"");
        if (!output) return lines;
        size_t start = 0;
        while (start < output->size()) {
            const size_t end = output->find('\n', start);
            lines.push_back(output->substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return lines;
    }
    static std::string Show(const std::string& entryId) { return Run(L"show " + Wide(entryId)).value_or("<none>"); }
    static std::string AddItem(const std::string& folderPath, const std::string& to, const std::string& body, bool sent) {
        const auto output = Run(L"add-item \"" + Wide(folderPath) + L"\" IPM.Note.Pagelark \"" + Wide(to) + L"\" \"\" SMS-Message \"" +
                                Wide(body) + L"\" " + (sent ? L"1" : L"0"));
        if (!output) return {};
        std::string id = *output;
        while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
        return id;
    }
    static bool Fault(const std::string& member, const std::string& code = "0x80004005") {
        return Run(L"fault " + Wide(member) + L" " + Wide(code)).has_value();
    }

    static DWORD Counter(const wchar_t* name) {
        DWORD value = 0, size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    // Waits until the double holds no object any more (its clients released everything).
    static bool NoObjectsAlive(DWORD milliseconds = 3000) {
        const DWORD end = GetTickCount() + milliseconds;
        while (Counter(L"LiveObjects") != 0) {
            if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
            Sleep(20);
        }
        return true;
    }

    static DWORD WINAPI ActivateOnce(void* parameter) {
        std::unique_ptr<std::shared_ptr<LONG>> answered(static_cast<std::shared_ptr<LONG>*>(parameter));
        const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CLSID classId{};
        IUnknown* application = nullptr;
        if (SUCCEEDED(CLSIDFromProgID(L"Outlook.Application", &classId)) &&
            SUCCEEDED(CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                       reinterpret_cast<void**>(&application)))) {
            application->Release();
            InterlockedExchange(answered->get(), 1);
        }
        if (com) CoUninitialize();
        return 0;
    }

    static std::wstring Wide(const std::string& text) {
        std::wstring out(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), static_cast<int>(out.size()));
        return out;
    }
};

}  // namespace pagelark::testing
