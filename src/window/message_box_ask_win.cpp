#include "window/message_box_ask_win.h"

#include <utility>

#include "common/wide_string_win.h"
#include "ids_send.h"

namespace pagelark {

CMessageBoxAsk::CMessageBoxAsk(std::string text, int icon, int cancel)
    : Dialog(IDD_MESSAGE_BOX_ASK), message(std::move(text)), iconId(icon), withCancel(cancel) {}

BOOL CMessageBoxAsk::OnInitDialog() {
    SetItemText(IDC_ASK_MESSAGE, Widen(message).c_str());
    CheckDlgButton(hwnd(), IDC_ASK_DONT_SHOW, BST_UNCHECKED);
    // System icons are shared: never destroyed.
    if (HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(iconId)))
        SendDlgItemMessageW(hwnd(), IDC_ASK_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (!withCancel) {
        ShowWindow(Item(IDCANCEL), SW_HIDE);
        HWND ok = Item(IDOK);
        RECT rect{};
        GetWindowRect(ok, &rect);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(ok, nullptr, rect.left + 40, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Enter and Space answer the box; the check box is ticked on purpose only.
    SetFocus(Item(IDOK));
    return FALSE;
}

bool CMessageBoxAsk::OnCommand(WORD id, WORD notification, HWND control) {
    if (id == IDOK) dontShowAgain = IsDlgButtonChecked(hwnd(), IDC_ASK_DONT_SHOW) == BST_CHECKED ? 1 : 0;
    return Dialog::OnCommand(id, notification, control);
}

}  // namespace pagelark
