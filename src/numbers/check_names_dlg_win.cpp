#include "numbers/check_names_dlg_win.h"

#include <commctrl.h>

#include "common/wide_string_win.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void AddColumn(HWND list, int index, const std::wstring& title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

CCheckNamesDlg::CCheckNamesDlg(std::vector<Contact> matches, RecipientMode mode, HWND parent)
    : Dialog(kTemplate), matches_(std::move(matches)), mode_(mode), parent_(parent) {}

BOOL CCheckNamesDlg::OnInitDialog() {
    // The label's template text holds one %s for the entry as typed. Replaced literally, never
    // used as a format: the entry is the user's text.
    HWND label = Item(kLabel);
    std::wstring text = WindowText(label);
    if (const size_t at = text.find(L"%s"); at != std::wstring::npos) text.replace(at, 2, Widen(resultText_));
    SetWindowTextW(label, text.c_str());

    HWND list = Item(kMatchList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int half = (client.right - client.left) / 2;
    AddColumn(list, 0, LoadText(IDS_NAME_COLUMN), half);
    AddColumn(list, 1, LoadText(mode_ == RecipientMode::Number ? IDS_MOBILE_NUMBER : IDS_EMAIL_ADDRESS), half);
    for (size_t i = 0; i < matches_.size(); ++i) {
        const std::wstring name = Widen(matches_[i].name);
        const std::wstring address = Widen(AddressOf(matches_[i], mode_));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(name.c_str());
        const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMW second{};
        second.iSubItem = 1;
        second.pszText = const_cast<wchar_t*>(address.c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&second));
    }
    return TRUE;
}

bool CCheckNamesDlg::OnCommand(WORD id, WORD notification, HWND control) {
    if (id == IDOK) {
        AcceptSelection();
        return true;
    }
    return Dialog::OnCommand(id, notification, control);
}

INT_PTR CCheckNamesDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->idFrom == kMatchList && header->code == NM_DBLCLK) {
            AcceptSelection();
            return TRUE;
        }
    }
    return FALSE;
}

void CCheckNamesDlg::AcceptSelection() {
    const LRESULT row = SendMessageW(Item(kMatchList), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (row < 0 || static_cast<size_t>(row) >= matches_.size()) return;
    // Rows are in the order of the matches (the list is not sorted).
    const Contact& chosen = matches_[static_cast<size_t>(row)];
    const std::string& address = AddressOf(chosen, mode_);
    resultText_ = address.empty() ? chosen.name : chosen.name + " (" + address + ")";
    End(IDOK);
}

}  // namespace pagelark
