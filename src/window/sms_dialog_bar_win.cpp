#include "window/sms_dialog_bar_win.h"

#include <algorithm>

#include "resource_ids.h"
#include "ui/common_controls_win.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

// The toolkit's Office-2003 background colours: the gradient runs from the first to the second.
constexpr COLORREF kGradientFirst = RGB(221, 236, 254);
constexpr COLORREF kGradientSecond = RGB(158, 190, 245);

RECT ChildRect(HWND parent, int id) {
    RECT rect{};
    HWND child = GetDlgItem(parent, id);
    if (!child) return rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

bool CSMSDialogBar::Create(HWND frame, int barId) {
    const DLGTEMPLATE* dialogTemplate = FindDialogTemplate(IDD_SMS_DIALOG_BAR);
    EnsureCommonControls();
    if (!dialogTemplate) return false;
    hwnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, frame, &DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return false;
    SetWindowLongPtrW(hwnd_, GWLP_ID, barId);
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    height_ = rect.bottom - rect.top;
    inboxRect_ = ChildRect(hwnd_, IDC_REPLY_TO_INBOX);
    mobileRect_ = ChildRect(hwnd_, IDC_REPLY_TO_MOBILE);
    flashRect_ = ChildRect(hwnd_, IDC_FLASH_SMS);
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void CSMSDialogBar::SetBackground(bool gradient, bool bottomLine) {
    gradient_ = gradient;
    bottomLine_ = bottomLine;
    brush_.reset();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSMSDialogBar::PlaceOption(int id, OptionSlot slot) {
    const RECT own = id == IDC_FLASH_SMS ? flashRect_ : mobileRect_;
    const RECT& place = slot == OptionSlot::ReplyToInboxSlot ? inboxRect_ : own;
    SetWindowPos(Item(id), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH CSMSDialogBar::Brush() {
    if (!brush_) brush_.reset(CreateSolidBrush(gradient_ ? kGradientFirst : GetSysColor(COLOR_BTNFACE)));
    return brush_.get();
}

void CSMSDialogBar::PaintBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (gradient_) {
        // Over the bar's width, or half the screen when the bar is narrower.
        const int span = std::max<int>(client.right, GetSystemMetrics(SM_CXSCREEN) / 2);
        TRIVERTEX vertices[2] = {
            {0, 0, static_cast<COLOR16>(GetRValue(kGradientFirst) << 8),
             static_cast<COLOR16>(GetGValue(kGradientFirst) << 8),
             static_cast<COLOR16>(GetBValue(kGradientFirst) << 8), 0},
            {span, client.bottom, static_cast<COLOR16>(GetRValue(kGradientSecond) << 8),
             static_cast<COLOR16>(GetGValue(kGradientSecond) << 8),
             static_cast<COLOR16>(GetBValue(kGradientSecond) << 8), 0}};
        GRADIENT_RECT gradientRect{0, 1};
        GradientFill(dc, vertices, 2, &gradientRect, 1, GRADIENT_FILL_RECT_H);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (bottomLine_) {
        RECT line{client.left, client.bottom - 1, client.right, client.bottom};
        FillRect(dc, &line, GetSysColorBrush(COLOR_3DSHADOW));
    }
}

INT_PTR CALLBACK CSMSDialogBar::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CSMSDialogBar*>(lParam)->hwnd_ = hwnd;
        return FALSE;   // the frame places the focus
    }
    auto* self = reinterpret_cast<CSMSDialogBar*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CSMSDialogBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Check boxes on the bar's own background.
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(Brush());
    }
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (lParam == 0 && (id == IDOK || id == IDCANCEL)) return TRUE;   // Enter and Escape: nothing
        SendMessageW(GetParent(hwnd_), message, wParam, lParam);
        return TRUE;
    }
    case WM_NOTIFY:
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, SendMessageW(GetParent(hwnd_), message, wParam, lParam));
        return TRUE;
    case WM_SYSCOLORCHANGE:
        SetBackground(gradient_, bottomLine_);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace pagelark
