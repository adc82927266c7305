#include "setup/setup_controls_win.h"

#include <shellapi.h>

#include "common/wide_string_win.h"
#include "setup/account_form.h"
#include "ui/resources_win.h"

namespace pagelark {

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return {};
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Narrow(text);
}

void SetControlText(HWND dialog, int id, std::string_view utf8) {
    SetDlgItemTextW(dialog, id, Widen(utf8).c_str());
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControl(HWND dialog, int id, bool enabled) {
    if (HWND control = GetDlgItem(dialog, id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

int ShowSetupMessage(HWND owner, std::string_view text, UINT type) { return ShowMessage(owner, Widen(text), type); }

int ShowSetupMessage(HWND owner, UINT textId, UINT type) { return ShowTextMessage(owner, textId, type); }

std::string FormatText(UINT textId, std::string_view value) {
    return ReplaceAll(LoadTextUtf8(textId), "%s", value);
}

void DerivedFont::CreateFrom(HWND window, LONG weight, bool underline) {
    HFONT base = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!base) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW description{};
    if (!GetObjectW(base, sizeof description, &description)) return;
    description.lfWeight = weight;
    description.lfUnderline = underline ? TRUE : FALSE;
    HFONT made = CreateFontIndirectW(&description);
    if (!made) return;
    font_.reset(made);
}

void DerivedFont::ApplyTo(HWND dialog, int id) const {
    if (!font_) return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == id) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void SetTopmost(HWND window, bool topmost) {
    if (!window) return;
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OpenInBrowser(HWND owner, const std::string& address) {
    ShellExecuteW(owner, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace pagelark
