#pragma once
// The hidden main window "Orvane.Pagelark": never shown, owned by the application. Other
// programs find the running copy by its title and ask it to open message windows; it owns the
// notification-area icon, runs the periodic address-book reload (timer 100) and carries out the
// application's commands (New, Setup, Options, About, Help, Hide Icon, Exit). Closing it closes
// every message window first, and the program ends when it is gone.
//
// Messages it answers (any program may send them; none of them carries a pointer):
//   WM_USER + 1 (kOpenRequestMessage)  open a message window; wParam the host, 0 the default client
//   WM_USER + 4 (kOpenItemMessage)     open the item last received with WM_COPYDATA
//   WM_COPYDATA, dwData 0xAAAA         an Outlook item's entry id (at most 80 bytes, up to a zero)
//   WM_COMMAND                         the application's commands, also from the icon's menu
#include <windows.h>

#include <string>

#include "ui/window_win.h"

namespace pagelark {

class Application;

inline constexpr UINT kOpenRequestMessage = WM_USER + 1;
inline constexpr UINT kOpenItemMessage = WM_USER + 4;
// Posted by the notification-area icon.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Timer 100: the periodic address-book reload.
inline constexpr UINT_PTR kReloadTimerId = 100;
inline constexpr UINT kReloadPeriodMs = 30 * 60 * 1000;
inline constexpr wchar_t kMainWindowTitle[] = L"Orvane.Pagelark";

class CHiddenMainWindow final : public Window {
public:
    explicit CHiddenMainWindow(Application& app) : app_(app) {}
    ~CHiddenMainWindow() override;

    // Creates the window, not shown; false when it cannot be created.
    bool Create();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;
    void OnCommand(WORD id);
    LRESULT OnCopyData(WPARAM wParam, const COPYDATASTRUCT* data);
    void OnClose();

    Application& app_;
    std::string entryId_;   // the entry id last received from the add-in
};

}  // namespace pagelark
