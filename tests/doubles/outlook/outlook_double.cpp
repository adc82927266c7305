// The Outlook double: an out-of-process automation server registered as "Outlook.Application", and
// the control commands tests use to set it up and read what it holds. Run without arguments for help.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "addin_host.h"
#include "control.h"
#include "objects.h"
#include "server_state.h"

namespace outlook_double {

namespace {

// Tests and the lead's later add-in host share this class id; it is ours, not Outlook's.
// {6199FFFE-663C-4273-92EE-EF58B2283374}
const CLSID kClassId = {0x6199fffe, 0x663c, 0x4273, {0x92, 0xee, 0xef, 0x58, 0xb2, 0x28, 0x33, 0x74}};
constexpr UINT kLingerTimer = 1;
// Outlook keeps running after its last client left; the double lingers a while, then ends.
constexpr UINT kLingerMilliseconds = 30000;

class ClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }    // static object
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ServerState::Get().RefreshSettings();
        ServerState::Get().LogCall("Application.Create", "");
        if (ServerState::Get().store().Fault("Application.Create")) return CO_E_SERVER_EXEC_FAILURE;
        IDispatch* application = NewApplication();
        const HRESULT hr = application->QueryInterface(riid, object);
        application->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

LRESULT CALLBACK ServerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kIdleMessage:
        SetTimer(window, kLingerTimer, kLingerMilliseconds, nullptr);
        return 0;
    case WM_TIMER:
        // A client still holding objects restarts the wait when it lets go of the last one.
        KillTimer(window, kLingerTimer);
        if (ServerState::Get().LiveObjects() == 0) PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The double never outlives the test program that registered it (HKCU\...\OutlookDouble
// "ClientProcessId"): under Wine every process inherits its parent's Unix stderr whatever the
// handle inheritance says, so a double left running would keep a test runner's output pipe open.
// Nor does it hang when its class cannot be registered (COM's local-server service not
// answering): after kRegisterMilliseconds it gives up.
constexpr DWORD kRegisterMilliseconds = 30000;
constexpr DWORD kCloseMilliseconds = 5000;

struct Watch {
    HWND window = nullptr;
    HANDLE registered = nullptr;
    HANDLE client = nullptr;
};

DWORD WINAPI WatchServer(void* parameter) {
    const Watch& watch = *static_cast<const Watch*>(parameter);
    if (WaitForSingleObject(watch.registered, kRegisterMilliseconds) != WAIT_OBJECT_0) ExitProcess(3);
    if (!watch.client) return 0;
    WaitForSingleObject(watch.client, INFINITE);
    PostMessageW(watch.window, WM_CLOSE, 0, 0);
    Sleep(kCloseMilliseconds);
    ExitProcess(0);
}

int RunServer() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ServerWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kServerWindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kServerWindowClass, L"Outlook double server", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ServerState::Get().SetIdleWindow(window);
    WriteDoubleValue(L"ServerProcessId", GetCurrentProcessId());
    static Watch watch;
    watch.window = window;
    watch.registered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (const DWORD client = ReadDoubleValue(L"ClientProcessId"))
        watch.client = OpenProcess(SYNCHRONIZE, FALSE, client);
    if (HANDLE watcher = CreateThread(nullptr, 0, WatchServer, &watch, 0, nullptr)) CloseHandle(watcher);
    static ClassFactory factory;
    DWORD cookie = 0;
    const HRESULT hr = CoRegisterClassObject(kClassId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    SetEvent(watch.registered);
    if (FAILED(hr)) {
        CoUninitialize();
        return 2;
    }
    SetTimer(window, kLingerTimer, kLingerMilliseconds, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoRevokeClassObject(cookie);
    DestroyWindow(window);
    WriteDoubleValue(L"ServerProcessId", 0);
    CoUninitialize();
    return 0;
}

}  // namespace

const CLSID& DoubleClassId() { return kClassId; }

}  // namespace outlook_double

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == L"-Embedding" || args[0] == L"/Embedding" || args[0] == L"-embedding" ||
                          args[0] == L"/automation" || args[0] == L"-Automation"))
        return outlook_double::RunServer();
    if (!args.empty() && args[0] == L"host") return outlook_double::RunHost(args);
    return outlook_double::RunControl(args);
}
