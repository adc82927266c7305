// How long a send takes through the real program: from the Send command (confirmation off) to
// the SMS arriving at the service stand-in, and to the message window's close; compared with one
// sms.php round trip made directly through WinInet, i.e. the stand-in's own processing plus the
// transport. Needs the installed program and the stand-in (scripts/test.sh sets the variables):
//   PAGELARK_EXE, STANDIN_ADMIN (http://127.0.0.1:port), STANDIN_PRIMARY (host:port)
// Usage: send_winbench [sends]
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// One request; the whole answer (admin replies are longer than the service's 255 bytes).
bool Fetch(const std::string& url, const char* verb, const std::string& body, std::string& reply) {
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    char host[256] = {}, path[2048] = {};
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return false;
    HINTERNET inet = InternetOpenA("send_winbench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(inet, host, parts.nPort, "telvoro", "zk_m4tWa8e",
                                            INTERNET_SERVICE_HTTP, 0, 0);
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    HINTERNET request = HttpOpenRequestA(connection, verb, path, nullptr, nullptr, nullptr, flags, 0);
    const char* headers = "Content-Type: application/json\r\n";
    bool ok = request && HttpSendRequestA(request, headers, static_cast<DWORD>(-1),
                                          const_cast<char*>(body.data()), static_cast<DWORD>(body.size()));
    reply.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ok && InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0) reply.append(buffer, read);
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (inet) InternetCloseHandle(inet);
    return ok;
}

size_t CountOf(const std::string& json, const std::string& key) {
    size_t count = 0;
    for (size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) ++count;
    return count;
}

// The scrambled form the settings store keeps the password in.
std::string Scramble(const std::string& p) {
    std::string s(p.size(), '\0');
    const auto first = static_cast<unsigned char>(p[0]);
    for (size_t i = 0; i + 1 < p.size(); ++i) s[i] = static_cast<char>(static_cast<unsigned char>(p[i + 1]) + first);
    s[p.size() - 1] = static_cast<char>(first + 2);
    return s;
}

void WriteSettings() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark\\Settings", 0, nullptr, 0, KEY_WRITE, nullptr,
                    &key, nullptr);
    auto text = [&](const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    auto number = [&](const wchar_t* name, DWORD value) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    };
    text(L"UserName", L"bench");
    const std::string password = Scramble("secret");
    RegSetValueExA(key, "UserPassword", 0, REG_SZ, reinterpret_cast<const BYTE*>(password.c_str()),
                   static_cast<DWORD>(password.size() + 1));
    text(L"UserLandCode", L"+49");
    text(L"UserMobile", L"1701234567");
    number(L"SendConfirmation", 0);
    number(L"SaveSentMessages", 0);
    number(L"CheckNumbers", 1);
    RegCloseKey(key);
}

template <typename Test>
bool WaitFor(Test test, int timeoutMs, int pollMs = 1) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        if (test()) return true;
        Sleep(pollMs);
    }
    return test();
}

struct Found {
    DWORD process;
    std::vector<HWND> windows;
};

std::vector<HWND> MessageWindows(DWORD process) {
    Found found{process, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Found*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (owner == f->process && IsWindowVisible(window) && std::wstring(title) == L"Pagelark")
                f->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

HWND FindDescendant(HWND parent, int id) {
    struct Search {
        int id;
        HWND hit;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) != s->id) return TRUE;
            s->hit = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hit;
}

void Report(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values) sum += v;
    std::printf("%-44s median %7.1f ms  mean %7.1f ms  min %7.1f ms  max %7.1f ms\n", what,
                values[values.size() / 2], sum / values.size(), values.front(), values.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int sends = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string exe = Env("PAGELARK_EXE"), admin = Env("STANDIN_ADMIN"), primary = Env("STANDIN_PRIMARY");
    if (exe.empty() || admin.empty() || primary.empty()) {
        std::fprintf(stderr, "PAGELARK_EXE, STANDIN_ADMIN and STANDIN_PRIMARY must be set\n");
        return 2;
    }
    std::string reply;
    Fetch(admin + "/admin/reset", "POST", "{}", reply);
    if (!Fetch(admin + "/admin/accounts", "POST",
               R"({"user":"bench","password":"secret","mobile":"+491701234567","email":"b@example.com",)"
               R"("credits":1000000,"acctyp":"11111","active":true})",
               reply)) {
        std::fprintf(stderr, "the stand-in's admin interface does not answer at %s\n", admin.c_str());
        return 1;
    }
    WriteSettings();

    // The stand-in alone: sms.php straight through WinInet, as the program's transport makes it.
    const std::string direct = "https://" + primary +
                               "/plugin/sms.php?user=bench&password=secret&send_time=&recipients=%2B491711234567"
                               "&cc_to_mail=&perm_mail_copy=&message=Bench&gmt=1&rply=0&senderid=0&flash=0";
    std::vector<double> directMs;
    for (int i = 0; i < sends; ++i) {
        const auto start = Clock::now();
        Fetch(direct, "GET", "", reply);
        directMs.push_back(Ms(Clock::now() - start));
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + std::wstring(exe.begin(), exe.end()) + L"\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", exe.c_str());
        return 1;
    }
    HWND main = nullptr;
    WaitFor([&] { return (main = FindWindowW(nullptr, L"Orvane.Pagelark")) != nullptr; }, 20000, 20);
    if (!main) {
        std::fprintf(stderr, "Pagelark's main window did not appear\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }

    std::vector<double> arrivedMs, closedMs;
    for (int i = 0; i < sends; ++i) {
        PostMessageW(main, WM_USER + 1, 2, 0);
        HWND window = nullptr;
        WaitFor([&] {
            const auto windows = MessageWindows(process.dwProcessId);
            window = windows.empty() ? nullptr : windows.front();
            return window != nullptr;
        }, 10000, 10);
        HWND to = window ? FindDescendant(window, 1001) : nullptr;
        HWND editor = window ? FindDescendant(window, 1090) : nullptr;
        if (!to || !editor) {
            std::fprintf(stderr, "no message window with its fields\n");
            break;
        }
        Sleep(500);   // the window's own status request is done by then
        SendMessageW(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"+491711234567"));
        SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Bench message"));
        Fetch(admin + "/admin/messages?user=bench", "GET", "", reply);
        const size_t before = CountOf(reply, "\"raw_query\"");

        const auto start = Clock::now();
        PostMessageW(window, WM_COMMAND, 32801, 0);
        if (!WaitFor([&] {
                Fetch(admin + "/admin/messages?user=bench", "GET", "", reply);
                return CountOf(reply, "\"raw_query\"") > before;
            }, 10000, 2)) {
            std::fprintf(stderr, "the SMS did not arrive\n");
            break;
        }
        arrivedMs.push_back(Ms(Clock::now() - start));
        if (!WaitFor([&] { return !IsWindow(window); }, 10000)) {
            std::fprintf(stderr, "the window did not close\n");
            break;
        }
        closedMs.push_back(Ms(Clock::now() - start));
    }
    PostMessageW(main, WM_COMMAND, 57665, 0);   // Exit
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    Report("sms.php directly through WinInet", directMs);
    if (arrivedMs.empty()) return 1;
    Report("Send command -> SMS held by the stand-in", arrivedMs);
    if (!closedMs.empty())
        Report("Send command -> window closed (incl. 1 s pause)", closedMs);
    return arrivedMs.size() == static_cast<size_t>(sends) ? 0 : 1;
}
