#include "numbers/contacts_dlg_win.h"

#include <vector>

#include "common/wide_string_win.h"

namespace pagelark {
namespace {

std::wstring ListText(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

void AddListText(HWND list, const std::string& text) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

}  // namespace

CContactsDlg::CContactsDlg(RecipientMode mode, std::shared_ptr<const ContactList> contacts, HWND parent)
    : Dialog(kTemplate), mode_(mode), contacts_(std::move(contacts)), parent_(parent) {}

BOOL CContactsDlg::OnInitDialog() {
    HWND book = Item(kAddressBookList);
    if (contacts_) {
        for (const Contact& contact : *contacts_) {
            // A contact is offered when it has the field's kind of address, or is a list.
            if (contact.IsList() || !AddressOf(contact, mode_).empty()) AddListText(book, EntryTextOf(contact, mode_));
        }
    }
    // Empty pieces between semicolons are dropped as well as a trailing one: an empty row could
    // only be removed again and would come back as "; ;" on OK.
    HWND recipients = Item(kRecipientsList);
    for (const std::string& entry : SplitRecipients(fieldText_)) AddListText(recipients, entry);
    SetForegroundWindow(hwnd());
    return TRUE;
}

bool CContactsDlg::OnCommand(WORD id, WORD notification, HWND control) {
    switch (id) {
    case kAddButton:
        if (notification == BN_CLICKED) AddSelectedEntry();
        return true;
    case kRemoveButton:
        if (notification == BN_CLICKED) RemoveSelectedRecipient();
        return true;
    case kAddressBookList:
        if (notification == LBN_DBLCLK) AddSelectedEntry();
        return true;
    case kRecipientsList:
        if (notification == LBN_DBLCLK) RemoveSelectedRecipient();
        return true;
    case IDOK:
        Accept();
        return true;
    default:
        return Dialog::OnCommand(id, notification, control);
    }
}

void CContactsDlg::AddSelectedEntry() {
    HWND book = Item(kAddressBookList);
    const LRESULT selected = SendMessageW(book, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    const std::wstring text = ListText(book, static_cast<int>(selected));
    SendMessageW(Item(kRecipientsList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CContactsDlg::RemoveSelectedRecipient() {
    HWND recipients = Item(kRecipientsList);
    const LRESULT selected = SendMessageW(recipients, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    SendMessageW(recipients, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
}

void CContactsDlg::Accept() {
    HWND recipients = Item(kRecipientsList);
    const int count = static_cast<int>(SendMessageW(recipients, LB_GETCOUNT, 0, 0));
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) entries.push_back(Narrow(ListText(recipients, i)));
    fieldText_ = JoinRecipients(entries);
    End(IDOK);
}

}  // namespace pagelark
