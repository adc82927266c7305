// Start-up time of Pagelark.exe against a minimal one-window Win32 program, under the same
// system (Wine here): from process creation until its top-level window exists; and Pagelark's
// private memory once idle.
//   startup_winbench.exe [path\to\Pagelark.exe] [runs]   (default path: PAGELARK_EXE)
// The same executable is the minimal program when started with --baseline-window.
#define PSAPI_VERSION 2
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kBaselineTitle[] = L"Pagelark.Baseline";
constexpr wchar_t kMainTitle[] = L"Orvane.Pagelark";

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
    SIZE_T privateBytes = 0;
};

// Starts `commandLine`, waits for a top-level window titled `title`, optionally measures the
// idle private bytes, then closes the window (WM_CLOSE) and waits for the process to end.
Run Measure(const std::wstring& exe, std::wstring commandLine, const wchar_t* title, bool memory) {
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
    if (window) run.seconds = Now() - start;
    if (window && memory) {
        Sleep(3000);   // idle
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof(counters)))
            // Wine leaves PrivateUsage 0 in some versions; the page-file usage is the same figure.
            run.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
        else
            std::fprintf(stderr, "GetProcessMemoryInfo failed (error %lu)\n", GetLastError());
    }
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
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

}  // namespace

int main() {
    // Wide arguments without -municode (the bench targets link the plain entry point).
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc > 1 && std::wstring(argv[1]) == L"--baseline-window") return RunBaselineWindow();

    std::wstring pagelark;
    if (argc > 1) pagelark = argv[1];
    else if (const wchar_t* env = _wgetenv(L"PAGELARK_EXE")) pagelark = env;
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 7;
    if (pagelark.empty()) {
        std::fprintf(stderr, "usage: startup_winbench.exe path\\to\\Pagelark.exe [runs] (or set PAGELARK_EXE)\n");
        return 2;
    }
    if (FindWindowW(nullptr, kMainTitle)) {
        std::fprintf(stderr, "Pagelark is already running; end it first\n");
        return 2;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);

    // One warm-up of each, so both find the system's files in the cache.
    Measure(self, L"\"" + std::wstring(self) + L"\" --baseline-window", kBaselineTitle, false);
    Measure(pagelark, L"\"" + pagelark + L"\"", kMainTitle, false);

    std::vector<double> baseline, program;
    SIZE_T privateBytes = 0;
    for (int i = 0; i < runs; ++i) {
        Run b = Measure(self, L"\"" + std::wstring(self) + L"\" --baseline-window", kBaselineTitle, false);
        Run p = Measure(pagelark, L"\"" + pagelark + L"\"", kMainTitle, i == 0);
        if (b.seconds >= 0) baseline.push_back(b.seconds);
        if (p.seconds >= 0) program.push_back(p.seconds);
        if (i == 0) privateBytes = p.privateBytes;
    }
    const double b = Median(baseline), p = Median(program);
    std::printf("runs: %d\n", runs);
    std::printf("minimal one-window program: median %.1f ms until its window exists\n", b * 1000);
    std::printf("Pagelark.exe:               median %.1f ms until \"Orvane.Pagelark\" exists\n", p * 1000);
    if (b > 0 && p > 0) std::printf("ratio Pagelark / minimal:   %.2f\n", p / b);
    std::printf("Pagelark private bytes once idle: %.1f MiB (%llu bytes)\n", privateBytes / 1048576.0,
                static_cast<unsigned long long>(privateBytes));
    return (b > 0 && p > 0) ? 0 : 1;
}
