// Figures for the Outlook add-in's "New SMS" button, through the Outlook double as add-in host and
// the real program (the black-box test environment: PAGELARK_EXE, PAGELARK_DIR, the double in the
// prefix). Each figure is compared with a baseline measured in the same run:
//   running:     click -> a new message window with its editor, against the program's own open
//                request posted straight to its hidden main window (what the add-in sends);
//   not running: click -> the started program's hidden main window, against starting
//                Pagelark.exe directly.
// Usage: addin_click_winbench.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

#include "driver.h"
#include "outlook_host.h"

using namespace pagelark::blackbox;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kEditor = 1090;

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from `act` until a message window that was not there before has its editor.
double TimeToNewWindow(const std::function<void()>& act) {
    std::set<HWND> before;
    for (HWND frame : FindTopWindows(L"Pagelark", kFrameClass)) before.insert(frame);
    const auto start = Clock::now();
    act();
    HWND found = nullptr;
    const bool ready = WaitUntil([&] {
        for (HWND frame : FindTopWindows(L"Pagelark", kFrameClass))
            if (!before.count(frame) && IsWindowVisible(frame) && Control(frame, kEditor)) found = frame;
        return found != nullptr;
    }, 20s);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (found) PostMessageW(found, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !found || !IsWindow(found); }, 5s);
    return ready ? ms : -1;
}

double TimeToMainWindow(const std::function<void()>& act) {
    const auto start = Clock::now();
    act();
    const bool up = WaitForWindow(kMainTitle, kFrameClass, 20s) != nullptr;
    return up ? std::chrono::duration<double, std::milli>(Clock::now() - start).count() : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    if (EnvVar("PAGELARK_EXE").empty()) {
        std::fprintf(stderr, "PAGELARK_EXE and PAGELARK_DIR must name the installed program\n");
        return 2;
    }
    KillLeftovers();
    SetAccount(L"anna", "secret");
    if (!OutlookHost::PrepareAddin(3)) {
        std::fprintf(stderr, "cannot register the add-in or the Outlook double\n");
        return 2;
    }
    OutlookHost host;
    if (!host.Start()) {
        std::fprintf(stderr, "the Outlook double did not start as add-in host\n");
        OutlookHost::RemoveAddin();
        return 2;
    }

    std::vector<double> click, direct, clickStart, directStart;
    Program program = Program::Launch();
    HWND main = WaitForWindow(kMainTitle, kFrameClass, 20s);
    for (int i = 0; main && i < runs; ++i) {
        click.push_back(TimeToNewWindow([&] { host.Command("click"); }));
        direct.push_back(TimeToNewWindow([&] { Send(main, WM_USER + 1, 1, 0); }));
    }
    for (int i = 0; i < runs; ++i) {
        KillLeftovers();
        clickStart.push_back(TimeToMainWindow([&] { host.Command("click"); }));
        KillLeftovers();
        directStart.push_back(TimeToMainWindow([&] { Program::Launch(); }));
    }
    KillLeftovers();
    host.Quit();
    OutlookHost::RemoveAddin();

    const double c = Median(click), d = Median(direct), cs = Median(clickStart), ds = Median(directStart);
    std::printf("runs: %d (medians)\n", runs);
    std::printf("program running:     click -> ready message window %7.1f ms; open request posted directly %7.1f ms; "
                "ratio %.2f\n", c, d, d > 0 ? c / d : 0);
    std::printf("program not running: click -> program up           %7.1f ms; Pagelark.exe started directly %7.1f ms; "
                "ratio %.2f\n", cs, ds, ds > 0 ? cs / ds : 0);
    return 0;
}
