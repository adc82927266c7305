// The message window's message: the editor with its counter, the item it was opened from, and
// saving, deleting, moving, copying and closing.
#include "window/main_frame_win.h"

#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"
#include "window/frame_controls_win.h"
#include "window/mail_folder_dialog_win.h"
#include "window/outlook_window_win.h"
#include "window/sms_counter.h"

namespace pagelark {
namespace {

class FramePrompts final : public MessagePrompts {
public:
    explicit FramePrompts(HWND owner) : owner_(owner) {}
    void WarnNoData() override { ShowTextMessage(owner_, IDS_NO_DATA, MB_OK | MB_ICONEXCLAMATION); }
    Answer AskSaveChanges() override {
        switch (ShowTextMessage(owner_, IDS_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES: return Answer::Yes;
        case IDNO: return Answer::No;
        default: return Answer::Cancel;
        }
    }
    Answer AskDeleteChanged() override {
        return ShowTextMessage(owner_, IDS_DELETE_CHANGED, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK ? Answer::Ok
                                                                                                     : Answer::Cancel;
    }

private:
    HWND owner_;
};

void SendOutlookShortcut(wchar_t letter) {
    INPUT keys[6] = {};
    const WORD order[6] = {VK_CONTROL, VK_SHIFT, static_cast<WORD>(letter), static_cast<WORD>(letter), VK_CONTROL,
                           VK_SHIFT};
    for (int i = 0; i < 6; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i];
        keys[i].ki.dwFlags = (i == 3 || i >= 4) ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(6, keys, sizeof(INPUT));
}

}  // namespace

std::string CMainFrame::BodyText() const { return editor_ ? Narrow(WindowText(editor_)) : std::string(); }

void CMainFrame::SetBodyText(const std::string& text) {
    if (!editor_) return;
    SetWindowTextW(editor_, Widen(text).c_str());
    RefreshCounter(false);
}

MessageRecord CMainFrame::GatherMessage() const {
    MessageFields fields;
    fields.to = ToText();
    fields.cc = CcText();
    fields.body = BodyText();
    fields.sendOn = IsOptionChecked(IDC_SEND_ON);
    if (fields.sendOn) {
        fields.date = SendDate();
        fields.time = SendTime();
    }
    fields.replyToInbox = IsOptionChecked(IDC_REPLY_TO_INBOX);
    fields.replyToMobile = IsOptionChecked(IDC_REPLY_TO_MOBILE);
    fields.flash = IsOptionChecked(IDC_FLASH_SMS);
    MessageRecord record = pagelark::GatherMessage(fields, AccountType(), Text(IDS_SMS_SUBJECT));
    record.EntryID = document_.EntryId();
    return record;
}

void CMainFrame::LoadMessageItem(const std::string& entryId) {
    document_.Load(mailBridge(), entryId);
    const MessageRecord& item = document_.Item();
    recipientGuard_ = true;
    SetWindowTextW(dialogBar_.Item(IDC_TO_FIELD), Widen(item.To).c_str());
    SetWindowTextW(dialogBar_.Item(IDC_CC_FIELD), Widen(item.CC).c_str());
    recipientGuard_ = false;
    if (editor_) SetWindowTextW(editor_, Widen(item.Body).c_str());
    RefreshCounter(false);
    document_.SetModified(false);
    if (document_.IsSentItem()) {
        for (HWND field : {dialogBar_.Item(IDC_TO_FIELD), dialogBar_.Item(IDC_CC_FIELD), editor_}) {
            SendMessageW(field, EM_SETREADONLY, TRUE, 0);
        }
    }
}

void CMainFrame::RefreshCounter(bool mayUndo) {
    if (!editor_) return;
    const std::wstring text = WindowText(editor_);
    const CounterState state = EvaluateMessageText(Narrow(text));
    if (state.overLimit && mayUndo) {
        // Take back the edit that crossed the limit. The edit control's own undo would take
        // back a whole run of typing, so the text before this edit is restored instead.
        undoing_ = true;
        SetWindowTextW(editor_, acceptedText_.c_str());
        SendMessageW(editor_, EM_SETSEL, acceptedSelStart_, acceptedSelEnd_);
        SendMessageW(editor_, EM_SCROLLCARET, 0, 0);
        SendMessageW(editor_, EM_EMPTYUNDOBUFFER, 0, 0);
        undoing_ = false;
        RefreshCounter(false);
        return;
    }
    // Text the program wrote may count more; it is shown as it is.
    const int segments = state.overLimit ? SegmentsForCount(state.counted) : state.segments;
    statusBar_.SetPaneText(ID_PANE_COUNTER, Widen(CounterLabel(state.counted, segments)));
    document_.SetModified(true);
    acceptedText_ = text;
    DWORD start = 0, end = 0;
    SendMessageW(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    acceptedSelStart_ = start;
    acceptedSelEnd_ = end;
}

std::string CMainFrame::CounterText() const { return Narrow(statusBar_.PaneText(ID_PANE_COUNTER)); }

// ---------------------------------------------------------------------------------------------
// Save, close, delete, folders

void CMainFrame::OnSave() {
    if (hostClient_ != HostClient::Outlook) return;
    FramePrompts prompts(hwnd());
    document_.SaveToMailClient(GatherMessage(), mailBridge(), prompts);
}

void CMainFrame::OnClose() {
    FramePrompts prompts(hwnd());
    if (!document_.ConfirmClose(context_.exitingForUpdate(), [this] { return GatherMessage(); }, mailBridge(),
                                prompts))
        return;
    DestroyWindow(hwnd());
}

void CMainFrame::CloseWithoutAsking() {
    document_.SetModified(false);
    DestroyWindow(hwnd());
}

void CMainFrame::OnDelete() {
    FramePrompts prompts(hwnd());
    if (document_.Delete(mailBridge(), prompts)) DestroyWindow(hwnd());
}

void CMainFrame::OnMoveOrCopy(bool move) {
    if (hostClient_ != HostClient::Outlook) return;
    if (!document_.EntryId().empty()) {
        // Outlook shows its own folder dialog for its selected item.
        if (HWND outlook = FindOutlookMainWindow()) {
            SetForegroundWindow(outlook);
            SetActiveWindow(outlook);
            SendOutlookShortcut(move ? L'V' : L'Y');
            return;
        }
    }
    std::vector<MailFolder> folders;
    if (!mailBridge().GetFolderTree(hostClient_, folders) || folders.empty()) return;   // no folders to offer
    const auto folderId = ChooseMailFolder(hwnd(), folders, move ? IDS_MOVE_TO_FOLDER : IDS_COPY_TO_FOLDER);
    if (!folderId) return;
    const MessageRecord record = GatherMessage();
    if (HasNoData(record)) {
        ShowTextMessage(hwnd(), IDS_NO_DATA, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const bool ok = move ? mailBridge().MoveItem(hostClient_, record, *folderId)
                         : mailBridge().CopyItem(hostClient_, record, *folderId);
    if (!ok) return;
    document_.SetModified(false);
    if (move) DestroyWindow(hwnd());
}

}  // namespace pagelark
