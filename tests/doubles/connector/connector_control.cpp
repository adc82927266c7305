// The control channel: a hidden window of class "PagelarkConnectorDouble.Control", made on the
// thread of the first Init object, that tests find with FindWindow and send WM_COPYDATA to. The
// data is a command in UTF-8; SendMessage returns its result:
//   "start"          the mail client starts: OnInitOEAPI to every receiver (returns their number)
//   "close"          the mail client closes: OnShutdownOEAPI, then the toolbar loses its buttons
//   "click N"        OnClick of the N-th advised button (from 0); 0 when there is none
//   "identity NAME"  the current identity becomes NAME (the store file keeps it)
// A receiver that advises while the store says the client runs gets OnInitOEAPI after Advise.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "connector_objects.h"

namespace connector_double {

extern HMODULE g_module;

namespace {

constexpr wchar_t kControlClass[] = L"PagelarkConnectorDouble.Control";
HWND g_control = nullptr;
Store* g_store = nullptr;
std::string g_storePath;

LRESULT Command(const std::string& command) {
    if (command == "start") return StartClient();
    if (command == "close") return CloseClient();
    if (command.rfind("click", 0) == 0) return ClickButton(static_cast<size_t>(std::atoi(command.c_str() + 5)));
    if (command.rfind("identity ", 0) == 0) return SwitchIdentity(command.substr(9));
    return -1;
}

constexpr UINT kGreetMessage = WM_APP + 1;

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kGreetMessage) return GreetReceiver(reinterpret_cast<const void*>(lParam));
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!data || !data->lpData || data->cbData > 4096) return -1;
        return Command(std::string(static_cast<const char*>(data->lpData), data->cbData));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void EnsureControlWindow() {
    if (g_control && IsWindow(g_control)) return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ControlProc;
    windowClass.hInstance = g_module;
    windowClass.lpszClassName = kControlClass;
    RegisterClassW(&windowClass);
    g_control = CreateWindowExW(WS_EX_TOOLWINDOW, kControlClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, g_module, nullptr);
}

std::string StorePath() {
    char fromEnvironment[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("PAGELARK_CONNECTOR_DOUBLE_STORE", fromEnvironment, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return fromEnvironment;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_module, path, MAX_PATH);
    std::string beside = path;
    const size_t dot = beside.rfind('.');
    if (dot != std::string::npos) beside.resize(dot);
    return beside + ".store";
}

void PostGreeting(const void* initObject) {
    if (g_control) PostMessageW(g_control, kGreetMessage, 0, reinterpret_cast<LPARAM>(initObject));
}

Store& SharedStore() {
    // The file is the truth: read afresh each time, so that a test that rewrites it between runs
    // (or between tests in one process) is seen at once.
    if (!g_store) g_store = new Store();
    g_storePath = StorePath();
    *g_store = LoadStore(g_storePath);
    return *g_store;
}

void SaveSharedStore() {
    if (g_store) SaveStore(g_storePath, *g_store);
}


}  // namespace connector_double
