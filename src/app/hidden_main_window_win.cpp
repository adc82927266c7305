#include "app/hidden_main_window_win.h"

#include <algorithm>

#include "app/application_win.h"
#include "resource_ids.h"
#include "ui/command_ids.h"
#include "window/item_copy_block.h"
#include "window/main_frame_win.h"

namespace pagelark {
namespace {

// The message windows' size; the window is never shown, other programs see only its title.
constexpr int kWidth = 680;
constexpr int kHeight = 500;

}  // namespace

CHiddenMainWindow::~CHiddenMainWindow() {
    if (hwnd()) DestroyWindow(hwnd());
}

bool CHiddenMainWindow::Create() {
    // The message windows' class: other programs and the tests look for the main window by it.
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!RegisterWindowClass(kFrameWindowClass, icon, GetSysColorBrush(COLOR_BTNFACE))) return false;
    return CreateWindowOf(kFrameWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                          CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr) != nullptr;
}

void CHiddenMainWindow::OnWindowGone() { app_.OnMainWindowDestroyed(); }

LRESULT CHiddenMainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kReloadTimerId) app_.ReloadAddressBooks();
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_COPYDATA:
        return OnCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kTrayCallbackMessage:
        app_.trayIcon().OnCallback(wParam, lParam);
        return 0;
    case kOpenRequestMessage:
        app_.OnOpenRequest(static_cast<int>(wParam));
        return 0;
    case kOpenItemMessage:
        // wParam would be an address inside this process; any program can post this message,
        // so the entry id is taken from our own member and wParam is never dereferenced.
        app_.OnOpenItem(entryId_);
        return 0;
    case kStartMessage:
    case kStatusDoneMessage:
        return 0;   // a message window's; nothing for the main window
    case WM_DESTROY:
        KillTimer(hwnd(), kReloadTimerId);
        return 0;
    default:
        if (message == TrayIcon::TaskbarCreatedMessage() && message != 0) {
            app_.trayIcon().OnTaskbarCreated();
            return 0;
        }
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void CHiddenMainWindow::OnCommand(WORD id) {
    switch (id) {
    case command::kNew: app_.OnNewMessage(); break;
    case command::kSetup: app_.OnSetupCommand(hwnd()); break;
    case command::kAbout: app_.ShowAbout(hwnd()); break;
    case command::kHelp: app_.ShowHelp(); break;
    case command::kOptions: app_.OnOptions(hwnd()); break;
    case command::kHideIcon: app_.HideIcon(); break;
    case command::kExit:
    case command::kClose: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    default: break;
    }
}

void CHiddenMainWindow::OnClose() {
    // The program keeps running when a message window refused to close.
    if (!app_.CloseMessageWindows()) return;
    DestroyWindow(hwnd());
}

LRESULT CHiddenMainWindow::OnCopyData(WPARAM wParam, const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kItemCopyKind)
        return Window::HandleMessage(WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(data));
    if (!app_.settings().IntegrateOutlook) return 0;
    std::optional<std::string> entryId = ReadItemCopyBlock(data->lpData, data->cbData);
    if (!entryId) return 0;   // names no item: Outlook opens it itself
    entryId_ = std::move(*entryId);
    PostMessageW(hwnd(), kOpenItemMessage, 0, 0);
    return 1;
}

}  // namespace pagelark
