#include "ui/status_bar_win.h"

#include <commctrl.h>

#include "ui/common_controls_win.h"

namespace pagelark {

CStatusBar::~CStatusBar() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);  // takes the pane controls with it
}

bool CStatusBar::Create(HWND parent, int controlId) {
    if (hwnd_) return false;  // one status bar per object
    EnsureCommonControls();
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd_) return false;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_.reset(CreateFontIndirectW(&metrics.lfStatusFont));
    if (font_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    Layout();
    return true;
}

HWND CStatusBar::AddPane(int paneId, int width, PaneKind kind, const std::wstring& text) {
    if (!hwnd_) return nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (kind) {
    case PaneKind::Label: style |= SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX; break;
    case PaneKind::SunkenText: style |= SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX; exStyle = WS_EX_STATICEDGE; break;
    case PaneKind::Icon: style |= SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL; break;
    }
    HWND control = CreateWindowExW(exStyle, L"STATIC", kind == PaneKind::Icon ? L"" : text.c_str(), style, 0, 0, 0, 0,
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(paneId)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
    if (!control) return nullptr;
    if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    panes_.push_back({paneId, width, control});
    Layout();
    return control;
}

HWND CStatusBar::PaneControl(int paneId) const {
    for (const Pane& pane : panes_)
        if (pane.id == paneId) return pane.control;
    return nullptr;
}

void CStatusBar::SetPaneText(int paneId, const std::wstring& text) {
    if (HWND control = PaneControl(paneId)) SetWindowTextW(control, text.c_str());
}

std::wstring CStatusBar::PaneText(int paneId) const {
    HWND control = PaneControl(paneId);
    if (!control) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CStatusBar::SetPaneIcon(int paneId, HICON icon) {
    if (HWND control = PaneControl(paneId)) {
        SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        Layout();  // SS_ICON controls resize themselves to the icon; keep them in their pane
    }
}

void CStatusBar::SetMessageText(const std::wstring& text) {
    message_ = text;
    if (hwnd_) SendMessageW(hwnd_, SB_SETTEXTW, panes_.size(), reinterpret_cast<LPARAM>(message_.c_str()));
}

std::wstring CStatusBar::MessageText() const {
    if (!hwnd_) return {};
    const LRESULT length = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, panes_.size(), 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, panes_.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void CStatusBar::Resize() {
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SIZE, 0, 0);
    Layout();
}

int CStatusBar::Height() const {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return 0;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

void CStatusBar::Layout() {
    // Right edges of the added panes, then -1: the message pane takes the rest.
    std::vector<int> edges;
    int right = 0;
    for (const Pane& pane : panes_) {
        right += pane.width;
        edges.push_back(right);
    }
    edges.push_back(-1);
    SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < panes_.size(); ++i) {
        SendMessageW(hwnd_, SB_SETTEXTW, i | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L""));
        RECT r{};
        SendMessageW(hwnd_, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
        MoveWindow(panes_[i].control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    SendMessageW(hwnd_, SB_SETTEXTW, panes_.size(), reinterpret_cast<LPARAM>(message_.c_str()));
}

}  // namespace pagelark
