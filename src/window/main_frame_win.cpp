#include "window/main_frame_win.h"

#include <algorithm>

#include "app/application_win.h"
#include "resource_ids.h"
#include "ui/command_ids.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

constexpr wchar_t kFrameClass[] = L"Pagelark.Frame";
constexpr int kInitialWidth = 680;
constexpr int kInitialHeight = 500;
constexpr int kMinTrackWidth = 730;
constexpr int kMinTrackHeight = 250;

constexpr UINT kOpenRequest = WM_USER + 1;
constexpr UINT kStart = WM_USER + 2;
constexpr UINT kOpenItem = WM_USER + 4;
constexpr ULONG_PTR kItemCopyKind = 0xAAAA;
constexpr DWORD kItemCopyBlockBytes = 80;

}  // namespace

CMainFrame::CMainFrame(Application& app, HostClient host, bool hiddenMain)
    : app_(app), hostClient_(host), hiddenMain_(hiddenMain) {}

CMainFrame* CMainFrame::Create(Application& app, HostClient host, bool hiddenMain) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!RegisterWindowClass(kFrameClass, icon, GetSysColorBrush(COLOR_BTNFACE))) return nullptr;
    auto* frame = new CMainFrame(app, host, hiddenMain);
    const std::wstring title = hiddenMain ? std::wstring(kMainWindowTitle) : LoadText(IDS_APP_TITLE);
    if (!frame->CreateWindowOf(kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                               kInitialWidth, kInitialHeight, nullptr, nullptr)) {
        delete frame;   // WM_NCCREATE may have failed before any window existed
        return nullptr;
    }
    return frame;
}

void CMainFrame::OnWindowGone() {
    if (hiddenMain_) app_.OnMainWindowDestroyed();
    delete this;
}

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{kMinTrackWidth, kMinTrackHeight};
        return 0;
    }
    case WM_COPYDATA:
        if (hiddenMain_) return OnCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        break;
    case WM_TIMER:
        if (hiddenMain_ && wParam == kReloadTimerId) app_.ReloadAddressBooks();
        break;
    case kTrayCallbackMessage:
        if (hiddenMain_) app_.trayIcon().OnCallback(wParam, lParam);
        return 0;
    case kOpenRequest:
        if (hiddenMain_) app_.OnOpenRequest(static_cast<int>(wParam));
        return 0;
    case kOpenItem:
        // wParam would be an address inside this process; any program can post this message,
        // so the entry id is taken from our own member and wParam is never dereferenced.
        if (hiddenMain_) app_.OnOpenItem(mainEntryId_);
        return 0;
    case kStart:
        if (!hiddenMain_) OnStart();
        return 0;
    case WM_DESTROY:
        if (hiddenMain_) KillTimer(hwnd(), kReloadTimerId);
        return 0;
    default:
        if (hiddenMain_ && message == TrayIcon::TaskbarCreatedMessage() && message != 0) {
            app_.trayIcon().OnTaskbarCreated();
            return 0;
        }
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void CMainFrame::OnCommand(WORD id) {
    switch (id) {
    case command::kNew: app_.OnNewMessage(); break;
    case command::kSetup:
        if (hiddenMain_) app_.OnSetupCommand(hwnd());
        break;
    case command::kAbout: app_.ShowAbout(hwnd()); break;
    case command::kHelp: app_.ShowHelp(); break;
    case command::kOptions: app_.OnOptions(hwnd()); break;
    case command::kHideIcon: app_.HideIcon(); break;
    case command::kExit:
        if (HWND main = app_.mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
        break;
    case command::kClose: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    default: break;
    }
}

LRESULT CMainFrame::OnCopyData(WPARAM wParam, const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kItemCopyKind)
        return Window::HandleMessage(WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(data));
    if (!app_.settings().IntegrateOutlook) return 0;
    // The text up to the first zero inside the block, never beyond the data actually sent.
    const DWORD size = std::min(data->cbData, kItemCopyBlockBytes);
    const char* bytes = static_cast<const char*>(data->lpData);
    if (!bytes) return 0;
    const char* end = std::find(bytes, bytes + size, '\0');
    mainEntryId_.assign(bytes, end);
    PostMessageW(hwnd(), kOpenItem, 0, 0);
    return 1;
}

void CMainFrame::OnClose() {
    if (!hiddenMain_) {
        DestroyWindow(hwnd());
        return;
    }
    // The program keeps running when a message window refused to close.
    if (!app_.CloseMessageWindows()) return;
    DestroyWindow(hwnd());
}

void CMainFrame::OnStart() {
    // To the front without staying topmost.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd());
}

}  // namespace pagelark
