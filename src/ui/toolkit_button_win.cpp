#include "ui/toolkit_button_win.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "common/handle_win.h"

namespace pagelark {
namespace {

constexpr UINT_PTR kButtonSubclass = 0x544B;  // "TK"
// Marks converted buttons (MinGW's comctl32 import library lacks GetWindowSubclass).
constexpr wchar_t kMarker[] = L"Pagelark.ToolkitButton";

struct ButtonState {
    HWND button;
    IconHandle icon;
    Look look;
    bool hot = false;
};

COLORREF ToColorref(Rgb c) { return RGB(c.r, c.g, c.b); }

void FillGradient(HDC dc, const RECT& rect, Rgb top, Rgb bottom) {
    const int height = rect.bottom - rect.top;
    for (int y = 0; y < height; ++y) {
        const BrushHandle brush(CreateSolidBrush(ToColorref(GradientAt(top, bottom, y, height))));
        RECT line{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        FillRect(dc, &line, brush.get());
    }
}

void Draw(const ButtonState& state, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    switch (state.look) {
    case Look::Office2003: {
        if (pressed) FillGradient(dc, r, kOffice2003Pressed, kOffice2003Hot);
        else if (state.hot) FillGradient(dc, r, kOffice2003ButtonTop, kOffice2003Hot);
        else FillGradient(dc, r, kOffice2003ButtonTop, kOffice2003ButtonBottom);
        const BrushHandle border(CreateSolidBrush(ToColorref(kOffice2003Border)));
        FrameRect(dc, &r, border.get());
        break;
    }
    case Look::Flat:
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (pressed || state.hot || focused) DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        break;
    default:
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        break;
    }

    std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(state.button)) + 1, L'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(state.button, caption.data(), static_cast<int>(caption.size()))));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(state.button, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    RECT textSize{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), -1, &textSize, DT_CALCRECT | DT_SINGLELINE);
    const int iconWidth = state.icon ? 16 + 4 : 0;
    const int contentWidth = iconWidth + (textSize.right - textSize.left);
    int x = r.left + ((r.right - r.left) - contentWidth) / 2 + (pressed ? 1 : 0);
    const int offset = pressed ? 1 : 0;
    if (state.icon) {
        DrawIconEx(dc, x, r.top + ((r.bottom - r.top) - 16) / 2 + offset, state.icon.get(), 16, 16, 0, nullptr,
                   DI_NORMAL);
        x += iconWidth;
    }
    RECT text{x, r.top + offset, r.right, r.bottom + offset};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (oldFont) SelectObject(dc, oldFont);
    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// On the button: hot tracking, and freeing the state with the button.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto* state = reinterpret_cast<ButtonState*>(data);
    switch (message) {
    case WM_MOUSEMOVE:
        if (!state->hot) {
            state->hot = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        state->hot = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_NCDESTROY: {
        RemoveWindowSubclass(hwnd, &ButtonProc, id);
        RemovePropW(hwnd, kMarker);
        if (HWND parent = GetParent(hwnd)) RemoveWindowSubclass(parent, &ParentProc, reinterpret_cast<UINT_PTR>(hwnd));
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        delete state;
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// On the parent: draws its owner-drawn toolkit buttons, each subclass id being the button's handle.
LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->hwndItem == reinterpret_cast<HWND>(id)) {
            Draw(*reinterpret_cast<ButtonState*>(data), *item);
            return TRUE;
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool MakeToolkitButton(HWND button, HICON icon, Look look) {
    IconHandle ownedIcon(icon);
    HWND parent = GetParent(button);
    if (!button || !parent || IsToolkitButton(button)) return false;
    auto* state = new ButtonState{button, std::move(ownedIcon), look};
    if (!SetWindowSubclass(button, &ButtonProc, kButtonSubclass, reinterpret_cast<DWORD_PTR>(state))) {
        delete state;
        return false;
    }
    if (!SetWindowSubclass(parent, &ParentProc, reinterpret_cast<UINT_PTR>(button), reinterpret_cast<DWORD_PTR>(state))) {
        RemoveWindowSubclass(button, &ButtonProc, kButtonSubclass);
        delete state;
        return false;
    }
    SetPropW(button, kMarker, reinterpret_cast<HANDLE>(1));
    const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
    SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

bool IsToolkitButton(HWND button) {
    return button && GetPropW(button, kMarker) != nullptr;
}

}  // namespace pagelark
