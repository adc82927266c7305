// Start-up time and idle memory of Pagelark.exe against a bare one-window Win32 program, under
// the same system (Wine here), in one run: the two start in turns (pairs), each is timed from
// process creation until its top-level window exists, then left idle for 1.5 s and its working
// set and private bytes read. Prints the medians, the time ratio and the memory difference, and
// the targets (time at most 1.25 x the bare program, working set at most 8 MiB above it).
//   startup_winbench.exe [path\to\Pagelark.exe] [pairs]   (default path: PAGELARK_EXE; 9 pairs)
// The same executable is the bare program when started with --baseline-window; it imports only
// kernel32, user32 and the C runtime, like the bare program it stands for.
#define PSAPI_VERSION 2   // GetProcessMemoryInfo from kernel32 (K32GetProcessMemoryInfo), not psapi.dll
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kBaselineTitle[] = L"Pagelark.Baseline";
constexpr wchar_t kMainTitle[] = L"Orvane.Pagelark";
constexpr DWORD kIdleMilliseconds = 1500;
constexpr double kMiB = 1048576.0;

int RunBaselineWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PagelarkBaseline";
    RegisterClassW(&wc);
    CreateWindowExW(0, wc.lpszClassName, kBaselineTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 680,
                    500, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

// The command line's arguments after the program name, split at blanks; quotes group. (Not
// CommandLineToArgvW: that would load shell32 into the bare program.)
std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> arguments;
    const wchar_t* p = GetCommandLineW();
    bool first = true;
    while (*p) {
        while (*p == L' ' || *p == L'\t') ++p;
        if (!*p) break;
        std::wstring argument;
        bool quoted = false;
        for (; *p && (quoted || (*p != L' ' && *p != L'\t')); ++p) {
            if (*p == L'"') quoted = !quoted;
            else argument += *p;
        }
        if (!first) arguments.push_back(argument);
        first = false;
    }
    return arguments;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Run {
    double seconds = -1;
    double workingSetMiB = -1;
    double privateMiB = -1;
    std::set<std::wstring> modules;   // lower-case names of the loaded modules
};

std::set<std::wstring> LoadedModules(HANDLE process) {
    std::set<std::wstring> names;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &bytes)) return names;
    for (DWORD i = 0; i < std::min<DWORD>(bytes / sizeof(HMODULE), 512); ++i) {
        wchar_t name[MAX_PATH] = {};
        if (!GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) continue;
        for (wchar_t* c = name; *c; ++c) *c = static_cast<wchar_t>(towlower(*c));
        names.insert(name);
    }
    return names;
}

// Starts `commandLine`, waits for a top-level window titled `title`, leaves it idle, reads its
// memory, then closes the window (WM_CLOSE) and waits for the process to end.
Run Measure(const std::wstring& exe, std::wstring commandLine, const wchar_t* title) {
    Run run;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return run;
    }
    HWND window = nullptr;
    while (!(window = FindWindowW(nullptr, title)) && Now() - start < 30) Sleep(1);
    if (window) {
        run.seconds = Now() - start;
        Sleep(kIdleMilliseconds);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof(counters))) {
            run.workingSetMiB = static_cast<double>(counters.WorkingSetSize) / kMiB;
            // Wine leaves PrivateUsage 0 in some versions; the page-file usage is the same figure.
            const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
            run.privateMiB = static_cast<double>(privateBytes) / kMiB;
        } else {
            std::fprintf(stderr, "GetProcessMemoryInfo failed (error %lu)\n", GetLastError());
        }
        run.modules = LoadedModules(info.hProcess);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Series {
    std::vector<double> seconds, workingSet, privateBytes;
    std::set<std::wstring> modules;   // of the last run
    void Add(const Run& run) {
        if (run.seconds < 0) return;
        modules = run.modules;
        seconds.push_back(run.seconds);
        if (run.workingSetMiB >= 0) workingSet.push_back(run.workingSetMiB);
        if (run.privateMiB >= 0) privateBytes.push_back(run.privateMiB);
    }
};

}  // namespace

int main() {
    const std::vector<std::wstring> arguments = Arguments();
    if (!arguments.empty() && arguments[0] == L"--baseline-window") return RunBaselineWindow();

    std::wstring pagelark;
    if (!arguments.empty()) pagelark = arguments[0];
    else if (const wchar_t* env = _wgetenv(L"PAGELARK_EXE")) pagelark = env;
    const int pairs = arguments.size() > 1 ? std::max(1, _wtoi(arguments[1].c_str())) : 9;
    if (pagelark.empty()) {
        std::fprintf(stderr, "usage: startup_winbench.exe path\\to\\Pagelark.exe [pairs] (or set PAGELARK_EXE)\n");
        return 2;
    }
    if (FindWindowW(nullptr, kMainTitle)) {
        std::fprintf(stderr, "Pagelark is already running; end it first\n");
        return 2;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring baselineCommand = L"\"" + std::wstring(self) + L"\" --baseline-window";
    const std::wstring pagelarkCommand = L"\"" + pagelark + L"\"";

    // One warm-up of each, so both find the system's files in the cache.
    Measure(self, baselineCommand, kBaselineTitle);
    Measure(pagelark, pagelarkCommand, kMainTitle);

    Series bare, program;
    for (int i = 0; i < pairs; ++i) {
        bare.Add(Measure(self, baselineCommand, kBaselineTitle));
        program.Add(Measure(pagelark, pagelarkCommand, kMainTitle));
    }
    const double b = Median(bare.seconds), p = Median(program.seconds);
    const double bareSet = Median(bare.workingSet), programSet = Median(program.workingSet);
    std::printf("pairs: %d (medians; idle %lu ms before the memory is read)\n", pairs, kIdleMilliseconds);
    std::printf("bare one-window program: %7.1f ms until its window exists, working set %5.1f MiB, private %5.1f MiB\n",
                b * 1000, bareSet, Median(bare.privateBytes));
    std::printf("Pagelark.exe:            %7.1f ms until \"Orvane.Pagelark\" exists, working set %5.1f MiB, "
                "private %5.1f MiB\n",
                p * 1000, programSet, Median(program.privateBytes));
    std::printf("modules once idle: bare %zu, Pagelark %zu; Pagelark's own:", bare.modules.size(),
                program.modules.size());
    for (const std::wstring& name : program.modules)
        if (!bare.modules.count(name)) std::printf(" %ls", name.c_str());
    std::printf("\n");
    if (b > 0 && p > 0) {
        std::printf("start-up ratio Pagelark / bare: %.2f (target at most 1.25)\n", p / b);
        std::printf("working set Pagelark - bare:    %+.1f MiB (target at most +8.0)\n", programSet - bareSet);
    }
    return (b > 0 && p > 0) ? 0 : 1;
}
