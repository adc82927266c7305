#include "ui/tray_icon_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include "ui/resources_win.h"

namespace pagelark {
namespace {
constexpr UINT kIconUid = 1;
}

TrayIcon::~TrayIcon() {
    Hide();
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

NOTIFYICONDATAW TrayIcon::Data() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner_;
    data.uID = kIconUid;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon_.get();
    lstrcpynW(data.szTip, tip_.c_str(), ARRAYSIZE(data.szTip));
    return data;
}

bool TrayIcon::Create(HWND owner, UINT callbackMessage, UINT iconId, const std::wstring& tip, UINT menuId,
                      UINT defaultCommand, bool visible) {
    owner_ = owner;
    callbackMessage_ = callbackMessage;
    tip_ = tip;
    menuId_ = menuId;
    defaultCommand_ = defaultCommand;
    icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    if (!owner_ || !icon_) return false;
    created_ = true;
    // Without a notification area (no shell yet) the add fails; "TaskbarCreated" adds it later.
    if (visible) Show();
    else visible_ = false;
    return true;
}

bool TrayIcon::Show() {
    if (!created_) return false;
    NOTIFYICONDATAW data = Data();
    visible_ = true;
    if (Shell_NotifyIconW(NIM_ADD, &data)) return true;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::Hide() {
    if (!created_ || !visible_) return;
    NOTIFYICONDATAW data = Data();
    Shell_NotifyIconW(NIM_DELETE, &data);
    visible_ = false;
}

void TrayIcon::OnTaskbarCreated() {
    if (!visible_) return;
    NOTIFYICONDATAW data = Data();
    Shell_NotifyIconW(NIM_ADD, &data);
}

void TrayIcon::OnCallback(WPARAM, LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDBLCLK:
        SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(defaultCommand_, 0), 0);
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: {
        // The position of the click, not of the cursor now; both coordinates are signed.
        const DWORD pos = GetMessagePos();
        ShowMenu(POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)});
        break;
    }
    default:
        break;
    }
}

void TrayIcon::ShowMenu(POINT at) {
    const MenuHandle menu(LoadMenuResource(menuId_));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (popup) {
        SetMenuDefaultItem(popup, defaultCommand_, FALSE);
        // Without this the menu does not close when the user clicks elsewhere.
        SetForegroundWindow(owner_);
        const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
        TrackPopupMenuEx(popup, align | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, owner_, nullptr);
        PostMessageW(owner_, WM_NULL, 0, 0);
    }
}

}  // namespace pagelark
