#pragma once
// CSMSDialogBar: the message window's bar of recipient fields and send options (IDD_SMS_DIALOG_BAR),
// docked at the top of the frame. Its controls' notifications go on to the frame.
#include <windows.h>

#include "common/handle_win.h"
#include "window/account_display.h"

namespace pagelark {

class CSMSDialogBar {
public:
    CSMSDialogBar() = default;
    CSMSDialogBar(const CSMSDialogBar&) = delete;
    CSMSDialogBar& operator=(const CSMSDialogBar&) = delete;

    // Creates the bar from template IDD_SMS_DIALOG_BAR of the active language as child `barId` of `frame`.
    bool Create(HWND frame, int barId);
    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    int Height() const { return height_; }

    // Office-2003 gradient behind the controls, else the button face; a line at the bottom for
    // the Outlook Express look.
    void SetBackground(bool gradient, bool bottomLine);
    // Puts "Reply to my mobile" or "Flash SMS" in its own place or in that of "Reply to my inbox".
    void PlaceOption(int id, OptionSlot slot);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintBackground(HDC dc);
    HBRUSH Brush();

    HWND hwnd_ = nullptr;
    int height_ = 0;
    bool gradient_ = false;
    bool bottomLine_ = false;
    BrushHandle brush_;   // made on first need
    RECT inboxRect_{};         // template positions, in bar coordinates
    RECT mobileRect_{};
    RECT flashRect_{};
};

}  // namespace pagelark
