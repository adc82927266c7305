// The message window's dialog bar: the recipient fields with their completion, Check Names and
// Select Names, the send-on pickers and the reply options.
#include "window/main_frame_win.h"

#include <commctrl.h>

#include <algorithm>

#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"
#include "ui/wait_cursor_win.h"
#include "window/frame_controls_win.h"
#include "window/recipient_autocomplete.h"
#include "window/recipient_dialogs_win.h"

namespace pagelark {
namespace {

// Edit control positions count UTF-16 units; the completion counts characters.
size_t CharactersBefore(const std::wstring& text, size_t units) {
    size_t characters = 0;
    for (size_t i = 0; i < std::min(units, text.size()); ++i) {
        if (text[i] < 0xDC00 || text[i] > 0xDFFF) ++characters;
    }
    return characters;
}
size_t UnitsBefore(const std::wstring& text, size_t characters) {
    size_t i = 0;
    for (size_t seen = 0; i < text.size() && seen < characters; ++i) {
        if (i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF) ++i;
        ++seen;
    }
    return i;
}

}  // namespace

void CMainFrame::OnDialogBarCommand(WORD id, WORD notification) {
    switch (id) {
    case IDC_TO_FIELD:
    case IDC_CC_FIELD:
        if (notification == EN_CHANGE && !recipientGuard_) {
            document_.SetModified(true);
            AutoComplete(id);
        } else if (notification == EN_KILLFOCUS && id == IDC_TO_FIELD) {
            NormalizeToField();
        }
        break;
    case IDC_TO_BUTTON:
        if (notification == BN_CLICKED) OnRecipientButton(RecipientMode::Number);
        break;
    case IDC_CC_BUTTON:
        if (notification == BN_CLICKED) OnRecipientButton(RecipientMode::EMail);
        break;
    case IDC_SEND_ON:
        if (notification == BN_CLICKED) {
            const bool on = IsOptionChecked(IDC_SEND_ON);
            EnableWindow(dialogBar_.Item(IDC_SEND_DATE), on);
            EnableWindow(dialogBar_.Item(IDC_SEND_TIME), on);
        }
        break;
    case IDC_REPLY_TO_INBOX:
    case IDC_REPLY_TO_MOBILE:
        if (notification == BN_CLICKED && IsOptionChecked(id)) {
            const int other = id == IDC_REPLY_TO_INBOX ? IDC_REPLY_TO_MOBILE : IDC_REPLY_TO_INBOX;
            CheckDlgButton(dialogBar_.hwnd(), other, BST_UNCHECKED);
        }
        break;
    case IDC_PURCHASE_CREDITS:
        if (notification == BN_CLICKED) OnPurchaseCredits();
        break;
    default:
        break;
    }
}

LRESULT CALLBACK CMainFrame::RecipientFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                                UINT_PTR id, DWORD_PTR data) {
    auto* frame = reinterpret_cast<CMainFrame*>(data);
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_DELETE || wParam == VK_BACK) frame->recipientGuard_ = true;
        break;
    case WM_KEYUP:
        if (wParam == VK_DELETE || wParam == VK_BACK) frame->recipientGuard_ = false;
        break;
    case WM_KILLFOCUS:
        // A key released elsewhere must not leave completion switched off.
        if (GetKeyState(VK_DELETE) >= 0 && GetKeyState(VK_BACK) >= 0) frame->recipientGuard_ = false;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(field, &RecipientFieldProc, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

void CMainFrame::AutoComplete(int fieldId) {
    if (recipientGuard_) return;
    HWND field = dialogBar_.Item(fieldId);
    const RecipientMode mode = fieldId == IDC_TO_FIELD ? RecipientMode::Number : RecipientMode::EMail;
    const std::wstring wide = WindowText(field);
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));

    recipientGuard_ = true;
    // Looking up e-mail addresses may read the address book: show that we are busy.
    std::optional<WaitCursor> wait;
    if (mode == RecipientMode::EMail) wait.emplace();
    auto contacts = Contacts();
    if (contacts && !contacts->empty()) {
        if (!prefixIndex_ || indexedContacts_ != contacts || indexedMode_ != mode) {
            prefixIndex_ = std::make_unique<RecipientPrefixIndex>(contacts, mode);
            indexedContacts_ = contacts;
            indexedMode_ = mode;
        }
        pagelark::FieldText current{Narrow(wide), CharactersBefore(wide, start), CharactersBefore(wide, end)};
        if (const auto completed = AutoCompleteRecipient(current, FinderFor(*prefixIndex_, mode))) {
            const std::wstring text = Widen(completed->text);
            SetWindowTextW(field, text.c_str());
            SendMessageW(field, EM_SETSEL, UnitsBefore(text, completed->selStart), UnitsBefore(text, completed->selEnd));
            SendMessageW(field, EM_SCROLLCARET, 0, 0);
        }
    }
    recipientGuard_ = false;
}

void CMainFrame::OnRecipientButton(RecipientMode mode) {
    if (document_.IsSentItem()) return;
    const int buttonId = mode == RecipientMode::Number ? IDC_TO_BUTTON : IDC_CC_BUTTON;
    const auto chosen = SelectRecipients(hwnd(), Contacts(), mode, FieldText(mode));
    if (chosen) {
        SetFieldText(mode, *chosen);
        if (mode == RecipientMode::Number) NormalizeToField();
    }
    SetFocus(dialogBar_.Item(buttonId));
}

bool CMainFrame::CheckNames() {
    RecipientChecker checker(*this, context_.settings(), context_.checkList());
    return checker.CheckNames();
}

void CMainFrame::NormalizeToField() {
    RecipientChecker checker(*this, context_.settings(), context_.checkList());
    checker.NormalizeToField();
}

// ---------------------------------------------------------------------------------------------
// The fields

std::string CMainFrame::ToText() const { return Narrow(WindowText(dialogBar_.Item(IDC_TO_FIELD))); }
std::string CMainFrame::CcText() const { return Narrow(WindowText(dialogBar_.Item(IDC_CC_FIELD))); }

void CMainFrame::SetToText(const std::string& text) { SetFieldText(RecipientMode::Number, text); }
void CMainFrame::SetCcText(const std::string& text) { SetFieldText(RecipientMode::EMail, text); }

bool CMainFrame::IsOptionChecked(int controlId) const {
    return IsDlgButtonChecked(dialogBar_.hwnd(), controlId) == BST_CHECKED;
}

bool CMainFrame::IsOptionVisible(int controlId) const { return IsWindowVisible(dialogBar_.Item(controlId)) != 0; }

LocalDate CMainFrame::SendDate() const {
    SYSTEMTIME time{};
    SendMessageW(dialogBar_.Item(IDC_SEND_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return LocalDate{time.wYear, time.wMonth, time.wDay};
}

LocalClockTime CMainFrame::SendTime() const {
    SYSTEMTIME time{};
    SendMessageW(dialogBar_.Item(IDC_SEND_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return LocalClockTime{time.wHour, time.wMinute};
}

// ---------------------------------------------------------------------------------------------
// RecipientWindow

std::string CMainFrame::FieldText(RecipientMode field) {
    return field == RecipientMode::Number ? ToText() : CcText();
}

void CMainFrame::SetFieldText(RecipientMode field, const std::string& text) {
    const bool guard = recipientGuard_;
    recipientGuard_ = true;
    SetWindowTextW(dialogBar_.Item(field == RecipientMode::Number ? IDC_TO_FIELD : IDC_CC_FIELD), Widen(text).c_str());
    recipientGuard_ = guard;
}

bool CMainFrame::AskOkCancel(const std::string& text) {
    return ShowMessage(hwnd(), Widen(text), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

std::optional<std::string> CMainFrame::ChooseMatch(const std::vector<Contact>& matches, RecipientMode mode,
                                                   const std::string& typedEntry) {
    return ChooseCheckedName(hwnd(), matches, mode, typedEntry);
}

std::shared_ptr<const ContactList> CMainFrame::Contacts() { return context_.Contacts(hostClient_); }

void CMainFrame::WriteBackContacts(ContactList updated) {
    context_.ReplaceContacts(hostClient_, std::move(updated));
}

}  // namespace pagelark
