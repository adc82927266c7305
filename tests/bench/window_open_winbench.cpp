// Timing of the message window under Wine, through the running program's windows:
//   open request (WM_USER + 1) -> a visible message window with its editor and counter pane;
//   one keystroke into the editor -> the counter pane shows the new count.
// Usage: window_open_winbench [path\to\Pagelark.exe]   (started when it is not running; an
// account must be set up, else the setup wizard opens instead of message windows).
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kOpenRuns = 10;
constexpr int kKeystrokes = 100;

std::set<HWND> g_known;

BOOL CALLBACK CollectFrames(HWND window, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (wcscmp(name, L"Pagelark.Frame") == 0) reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

std::vector<HWND> Frames() {
    std::vector<HWND> frames;
    EnumWindows(&CollectFrames, reinterpret_cast<LPARAM>(&frames));
    return frames;
}

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

HWND CounterPane(HWND frame) { return GetDlgItem(GetDlgItem(frame, 59393), 1031); }

// A new, visible message window whose editor and counter exist.
HWND WaitForNewWindow(double timeoutSeconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (Clock::now() < end) {
        for (HWND frame : Frames()) {
            if (g_known.count(frame) || !IsWindowVisible(frame)) continue;
            if (GetDlgItem(frame, 1090) && CounterPane(frame)) return frame;
        }
        Sleep(0);
    }
    return nullptr;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    HWND main = FindWindowW(nullptr, L"Orvane.Pagelark");
    if (!main && argc > 1) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        for (int i = 0; i < 300 && !main; ++i) {
            Sleep(50);
            main = FindWindowW(nullptr, L"Orvane.Pagelark");
        }
    }
    if (!main) {
        std::fprintf(stderr, "Pagelark is not running\n");
        return 1;
    }
    for (HWND frame : Frames()) g_known.insert(frame);

    std::vector<double> opens;
    HWND last = nullptr;
    for (int run = 0; run < kOpenRuns; ++run) {
        const auto start = Clock::now();
        PostMessageW(main, WM_USER + 1, 2, 0);   // Outlook Express windows close without asking
        HWND frame = WaitForNewWindow(20);
        if (!frame) {
            std::fprintf(stderr, "no message window appeared\n");
            return 1;
        }
        opens.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        g_known.insert(frame);
        if (last) PostMessageW(last, WM_CLOSE, 0, 0);
        last = frame;
    }

    HWND editor = GetDlgItem(last, 1090);
    HWND counter = CounterPane(last);
    std::vector<double> keys;
    for (int i = 0; i < kKeystrokes; ++i) {
        const std::wstring before = Text(counter);
        const auto start = Clock::now();
        PostMessageW(editor, WM_CHAR, L'a', 1);
        while (Text(counter) == before) {
            if (Clock::now() - start > std::chrono::seconds(5)) {
                std::fprintf(stderr, "the counter did not change\n");
                return 1;
            }
        }
        keys.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    PostMessageW(last, WM_CLOSE, 0, 0);

    std::printf("open request -> ready message window: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n",
                Median(opens), *std::min_element(opens.begin(), opens.end()),
                *std::max_element(opens.begin(), opens.end()), kOpenRuns);
    std::printf("keystroke -> counter pane updated: median %.2f ms, max %.2f ms (%d keystrokes)\n", Median(keys),
                *std::max_element(keys.begin(), keys.end()), kKeystrokes);
    return 0;
}
