#pragma once
// The notification-area icon: add/remove, its pop-up menu, and re-adding after Explorer restarts.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/handle_win.h"

namespace pagelark {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Prepares the icon for `owner`, which receives `callbackMessage` for mouse events and
    // WM_COMMAND for the menu's commands. Shows it when `visible`. False when it cannot be made.
    bool Create(HWND owner, UINT callbackMessage, UINT iconId, const std::wstring& tip, UINT menuId,
                UINT defaultCommand, bool visible);
    bool Show();
    void Hide();
    bool IsVisible() const { return visible_; }

    // The owner's handler for `callbackMessage`: double click sends the default command, a
    // right click opens the menu.
    void OnCallback(WPARAM wParam, LPARAM lParam);
    // The owner's handler for the registered "TaskbarCreated" message.
    void OnTaskbarCreated();
    static UINT TaskbarCreatedMessage();

private:
    void ShowMenu(POINT at);
    NOTIFYICONDATAW Data() const;

    HWND owner_ = nullptr;
    UINT callbackMessage_ = 0;
    IconHandle icon_;
    std::wstring tip_;
    UINT menuId_ = 0;
    UINT defaultCommand_ = 0;
    bool created_ = false;
    bool visible_ = false;
};

}  // namespace pagelark
