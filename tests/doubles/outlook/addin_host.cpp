#include "addin_host.h"

#include <objbase.h>
#include <oleauto.h>

#include <atomic>
#include <cstdio>
#include <sstream>

#include "control.h"
#include "explorer_objects.h"
#include "objects.h"
#include "server_state.h"

namespace outlook_double {

// IDTExtensibility2, the published interface Office loads COM add-ins through. Declared outside
// the unnamed namespace: GCC assumes a class there with no implementation in this file is never
// called through, and turns the calls into jumps to nowhere.
enum ConnectMode { kConnectStartup = 1 };
enum DisconnectMode { kDisconnectHostShutdown = 0 };
struct IDTExtensibility2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, int connectMode, IDispatch* addInInst,
                                                   SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(int removeMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};
// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
constexpr IID kExtensibilityIid = {0xb65ad801, 0xabaf, 0x11d0, {0xbb, 0x8b, 0x00, 0xa0, 0xc9, 0x0f, 0x27, 0x44}};

namespace {

// Commands, sent as WM_COPYDATA (UTF-8, fields separated by tabs) to the window of class
// kHostWindowClass; the answer is written to kHostKey "Reply" before the message returns 1
// (0: the command failed).
//   button                        caption, tool tip, tag, style, face WxH, bar, position, begin group,
//                                 visible, enabled, temporary, listeners of the button added last
//   click                         fire Click on that button
//   select [ENTRYID ...]          select these stored items and fire SelectionChange
//   open ENTRYID                  fire Open on that selected item: "cancelled" or "opened", listeners
//   close                         fire the explorer's Close
//   listeners                     "explorer N button N items N,N,..."
//   addins                        one line per add-in: ProgID and OnConnection's result
//   add-item ENTRYID PATH CLASS SENT BODY    store an item under a given (e.g. long) EntryID
//   quit                          disconnect the add-ins and end
constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins";

struct LoadedAddin {
    std::wstring progId;
    HRESULT result = S_OK;
    IDTExtensibility2* addin = nullptr;
};

Explorer* g_explorer = nullptr;
IDispatch* g_application = nullptr;
std::vector<LoadedAddin> g_addins;

class HostClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }   // static object
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        IDispatch* application = NewApplication();
        const HRESULT hr = application->QueryInterface(riid, object);
        application->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

void WriteHostText(const wchar_t* name, const std::string& text) {
    const std::wstring wide = Widen(text);
    RegSetKeyValueW(HKEY_CURRENT_USER, kHostKey, name, REG_SZ, wide.c_str(),
                    static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

// ProgIDs with LoadBehavior 3 under one root, in the registry's order.
void CollectAddins(HKEY root, std::vector<std::wstring>& progIds) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kAddinsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DWORD behavior = 0, size = sizeof behavior;
        if (RegGetValueW(key, name, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &behavior, &size) != ERROR_SUCCESS ||
            behavior != 3)
            continue;
        bool known = false;
        for (const std::wstring& progId : progIds) known = known || lstrcmpiW(progId.c_str(), name) == 0;
        if (!known) progIds.push_back(name);
    }
    RegCloseKey(key);
}

void LoadAddins() {
    std::vector<std::wstring> progIds;
    CollectAddins(HKEY_CURRENT_USER, progIds);
    CollectAddins(HKEY_LOCAL_MACHINE, progIds);
    std::string report;
    for (const std::wstring& progId : progIds) {
        LoadedAddin loaded{progId};
        CLSID classId{};
        loaded.result = CLSIDFromProgID(progId.c_str(), &classId);
        if (SUCCEEDED(loaded.result))
            loaded.result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, kExtensibilityIid,
                                             reinterpret_cast<void**>(&loaded.addin));
        if (SUCCEEDED(loaded.result)) {
            loaded.result = loaded.addin->OnConnection(g_application, kConnectStartup, nullptr, nullptr);
            // Office drops an add-in whose connection failed.
            if (FAILED(loaded.result)) {
                loaded.addin->Release();
                loaded.addin = nullptr;
            } else {
                loaded.addin->OnStartupComplete(nullptr);
            }
        }
        char line[64];
        std::snprintf(line, sizeof line, " 0x%08lX\n", static_cast<unsigned long>(loaded.result));
        report += Narrow(progId) + line;
        g_addins.push_back(loaded);
    }
    WriteHostText(L"Addins", report);
}

void UnloadAddins() {
    for (LoadedAddin& loaded : g_addins) {
        if (!loaded.addin) continue;
        loaded.addin->OnBeginShutdown(nullptr);
        loaded.addin->OnDisconnection(kDisconnectHostShutdown, nullptr);
        loaded.addin->Release();
        loaded.addin = nullptr;
    }
    g_addins.clear();
    CoFreeUnusedLibraries();
}

std::string ButtonText() {
    ButtonReport report;
    if (!g_explorer->Report(report)) return {};
    return report.caption + "\t" + report.toolTip + "\t" + report.tag + "\t" + std::to_string(report.style) + "\t" +
           std::to_string(report.faceWidth) + "x" + std::to_string(report.faceHeight) + "\t" + report.bar + "\t" +
           std::to_string(report.position) + "\t" + (report.beginGroup ? "1" : "0") + "\t" +
           (report.visible ? "1" : "0") + "\t" + (report.enabled ? "1" : "0") + "\t" + (report.temporary ? "1" : "0") +
           "\t" + std::to_string(report.sinks);
}

bool AddItem(const std::vector<std::string>& a, std::string& reply) {
    if (a.size() < 6) return false;
    Store& store = ServerState::Get().store();
    FolderData* folder = store.FolderByPath(a[2]);
    if (!folder || store.FindItem(a[1])) return false;
    ItemData item;
    item.entryId = a[1];
    item.messageClass = a[3];
    item.sent = a[4] == "1";
    item.body = a[5];
    item.subject = "SMS-Message";
    item.unread = false;
    folder->items.push_back(item);
    if (!ServerState::Get().Save()) return false;
    reply = item.entryId;
    return true;
}

// Runs one command; false when it failed.
bool RunCommand(const std::string& text, std::string& reply) {
    const std::vector<std::string> a = Split(text, '\t');
    if (a.empty()) return false;
    const std::string& command = a[0];
    if (command == "quit") {
        reply = "bye";
        PostQuitMessage(0);
        return true;
    }
    if (command == "addins") {
        for (const LoadedAddin& loaded : g_addins) {
            char line[64];
            std::snprintf(line, sizeof line, " 0x%08lX\n", static_cast<unsigned long>(loaded.result));
            reply += Narrow(loaded.progId) + line;
        }
        return true;
    }
    if (command == "add-item") return AddItem(a, reply);
    if (command == "listeners") {
        reply = g_explorer->Listeners();
        return true;
    }
    if (command == "button") {
        reply = ButtonText();
        return !reply.empty();
    }
    if (command == "click") {
        reply = "clicked";
        return g_explorer->Click();
    }
    if (command == "close") {
        g_explorer->Close();
        reply = "closed";
        return true;
    }
    if (command == "select") {
        if (!g_explorer->Select(std::vector<std::string>(a.begin() + 1, a.end()))) return false;
        reply = "selected " + std::to_string(a.size() - 1);
        return true;
    }
    if (command == "open" && a.size() == 2) {
        size_t listeners = 0;
        const bool cancelled = g_explorer->Open(a[1], &listeners);
        reply = std::string(cancelled ? "cancelled" : "opened") + " " + std::to_string(listeners);
        return true;
    }
    return false;
}

// Like the server, the host never outlives the test program that prepared the double
// (ClientProcessId): under Wine it holds that program's Unix stderr, a test runner's output pipe.
struct ClientWatch {
    HANDLE client = nullptr;
    std::atomic<HWND> window{nullptr};
};
constexpr DWORD kCloseMilliseconds = 5000;

DWORD WINAPI WatchClient(void* parameter) {
    ClientWatch& watch = *static_cast<ClientWatch*>(parameter);
    WaitForSingleObject(watch.client, INFINITE);
    if (HWND window = watch.window.load()) PostMessageW(window, WM_CLOSE, 0, 0);
    Sleep(kCloseMilliseconds);
    ExitProcess(0);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!data || !data->lpData || data->cbData > 65536) return 0;
        std::string reply;
        const std::string command(static_cast<const char*>(data->lpData), data->cbData);
        const bool done = RunCommand(command, reply);
        WriteHostText(L"Reply", reply);
        return done ? 1 : 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

IDispatch* HostActiveExplorer() {
    if (!g_explorer || g_explorer->closed()) return nullptr;
    g_explorer->AddRef();
    return g_explorer;
}

int RunHost(const std::vector<std::wstring>& args) {
    std::vector<std::string> bars{"Menu Bar", "Standard", "Advanced"};
    if (args.size() > 1) bars = Split(Narrow(args[1]), ',');
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    RegDeleteTreeW(HKEY_CURRENT_USER, kHostKey);
    static ClientWatch watch;
    if (const DWORD client = ReadDoubleValue(L"ClientProcessId"))
        watch.client = OpenProcess(SYNCHRONIZE, FALSE, client);
    if (watch.client)
        if (HANDLE watcher = CreateThread(nullptr, 0, WatchClient, &watch, 0, nullptr)) CloseHandle(watcher);
    WriteDoubleValue(L"LiveObjects", 0);
    ServerState::Get().RefreshSettings();
    // Programs that ask for "Outlook.Application" while the host runs reach this process.
    static HostClassFactory factory;
    DWORD cookie = 0;
    CoRegisterClassObject(DoubleClassId(), &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);

    g_explorer = new Explorer(bars);
    g_application = NewApplication();
    LoadAddins();

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kHostWindowClass;
    RegisterClassW(&windowClass);
    // Created last: a test that finds the window finds the add-ins connected.
    HWND window = CreateWindowExW(0, kHostWindowClass, L"Outlook double host", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    watch.window.store(window);
    const DWORD processId = GetCurrentProcessId();
    RegSetKeyValueW(HKEY_CURRENT_USER, kHostKey, L"ProcessId", REG_DWORD, &processId, sizeof processId);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    UnloadAddins();
    if (cookie) CoRevokeClassObject(cookie);
    g_application->Release();
    g_application = nullptr;
    g_explorer->Release();
    g_explorer = nullptr;
    DestroyWindow(window);
    CoUninitialize();
    return 0;
}

}  // namespace outlook_double
