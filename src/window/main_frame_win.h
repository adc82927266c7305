#pragma once
// CMainFrame: a message window "Pagelark" with its menu bar, toolbar, dialog bar, message editor
// and status bar, holding one SMS. What it uses of the program comes through its
// MessageWindowContext. Heap-allocated; the object deletes itself when its window is gone.
//
//   CMainFrame* frame = CMainFrame::Create(context, HostClient::Outlook);
//
// Every WM_COMMAND goes through OnCommand. The accessors below are what sending, saving and
// printing use. The files main_frame_*_win.cpp hold its parts: the bars and layout, the dialog
// bar with the recipients, the message and its saving, the account display and status.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/handle_win.h"
#include "model/contact.h"
#include "model/message_record.h"
#include "numbers/recipient_checker.h"
#include "numbers/recipient_prefix_index.h"
#include "service/status_worker_win.h"
#include "ui/command_bars_win.h"
#include "ui/commands.h"
#include "ui/status_bar_win.h"
#include "ui/window_win.h"
#include "window/host_look.h"
#include "window/message_document.h"
#include "window/message_window_context.h"
#include "window/sms_dialog_bar_win.h"
#include "window/spell_checker.h"

namespace pagelark {

// The window class of the message windows, which the hidden main window shares: other programs
// and the tests find the program's windows by it.
inline constexpr wchar_t kFrameWindowClass[] = L"Pagelark.Frame";

// Private window messages of a message window (wParam and lParam unused).
inline constexpr UINT kStartMessage = WM_USER + 2;        // shown: to the front, status request
inline constexpr UINT kStatusDoneMessage = WM_USER + 3;   // the status worker is done

class CMainFrame final : public Window, private RecipientWindow {
public:
    // Creates the window (not shown). nullptr when it cannot be created.
    static CMainFrame* Create(MessageWindowContext& context, HostClient host);
    // The message window of `window`, or nullptr when `window` is none (or gone).
    static CMainFrame* FromHandle(HWND window);
    // For the message loop: Tab rules, accelerators and the dialog bar's keys of the message
    // window that `message` is for. True when the message was handled.
    static bool PreTranslate(MSG& message);

    HostClient hostClient() const { return hostClient_; }
    int clientVersion() const { return clientVersion_; }
    bool wordEditor() const { return wordEditor_; }
    MessageWindowContext& context() { return context_; }
    MailBridge& mailBridge() { return context_.mailBridge(); }

    // --- the message ---
    std::string ToText() const;
    std::string CcText() const;
    void SetToText(const std::string& text);   // under the recipientGuard
    void SetCcText(const std::string& text);
    std::string BodyText() const;
    void SetBodyText(const std::string& text);
    bool IsOptionChecked(int controlId) const;   // send on, flash, the reply options
    bool IsOptionVisible(int controlId) const;
    LocalDate SendDate() const;
    LocalClockTime SendTime() const;
    // The record of the window's fields under the account's gates; EntryID is the item's.
    MessageRecord GatherMessage() const;
    const std::string& EntryId() const { return document_.EntryId(); }
    bool IsSentItem() const { return document_.IsSentItem(); }
    bool Modified() const { return document_.Modified(); }
    void SetModified(bool modified) { document_.SetModified(modified); }
    // Reads the item into the window (before it is shown).
    void LoadMessageItem(const std::string& entryId);

    // --- the window ---
    void RefreshAccountDisplay();
    // "Update credits..." in the credits pane, painted at once, while the credits are fetched.
    void ShowCreditsUpdating();
    void ShowSendResultIcon(bool success);   // the success or failure icon in the status pane, painted at once
    void SetMessagePaneText(const std::string& text);
    std::string CounterText() const;
    // Resolves and normalises the recipient fields (the Check Names command and sending).
    bool CheckNames();
    void NormalizeToField();
    // Closes the window without asking about unsaved changes.
    void CloseWithoutAsking();
    HWND Editor() const { return editor_; }
    HWND DialogBar() const { return dialogBar_.hwnd(); }

private:
    CMainFrame(MessageWindowContext& context, HostClient host);
    ~CMainFrame() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;

    // main_frame_win.cpp: messages and commands
    void OnCommand(WORD id, WORD notification, HWND control);
    void OnEditCommand(int id);
    bool HandleTabKey(const MSG& message);
    void UpdateCommandUi();
    CommandState SnapshotState() const;
    int AccountType() const;
    std::string Text(int id) const;

    // main_frame_layout_win.cpp: creation and layout
    bool OnCreate();
    void CreateBars();
    void CreateEditor();
    void ApplyHostLook();
    void OnSize();

    // main_frame_recipients_win.cpp: the dialog bar and its recipient fields
    void OnDialogBarCommand(WORD id, WORD notification);
    void AutoComplete(int fieldId);
    void OnRecipientButton(RecipientMode mode);
    static LRESULT CALLBACK RecipientFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR data);

    // main_frame_document_win.cpp: the message, saving and closing
    void RefreshCounter(bool mayUndo);
    void OnSave();
    void OnClose();
    void OnDelete();
    void OnMoveOrCopy(bool move);

    // main_frame_status_win.cpp: account display, start and status
    void OnStart();
    void OnStatusDone();
    void OnPurchaseCredits();
    void OnOptions();

    // RecipientWindow
    std::string FieldText(RecipientMode field) override;
    void SetFieldText(RecipientMode field, const std::string& text) override;
    bool RecipientGuard() const override { return recipientGuard_; }
    std::string LoadText(int stringId) override { return Text(stringId); }
    bool AskOkCancel(const std::string& text) override;
    std::optional<std::string> ChooseMatch(const std::vector<Contact>& matches, RecipientMode mode,
                                           const std::string& typedEntry) override;
    std::shared_ptr<const ContactList> Contacts() override;
    void WriteBackContacts(ContactList updated) override;

    MessageWindowContext& context_;
    HostClient hostClient_;
    int clientVersion_ = 0;
    bool wordEditor_ = false;
    HostLook look_{};
    MessageDocument document_;

    CStatusBar statusBar_;
    CCommandBars bars_;
    CSMSDialogBar dialogBar_;
    HWND editor_ = nullptr;
    FontHandle editorFont_;
    CSpellChecker spellChecker_;   // off where the system has no engine
    bool recipientGuard_ = false;
    bool undoing_ = false;
    // The editor's text after its last change within the limit, and its selection then.
    std::wstring acceptedText_;
    DWORD acceptedSelStart_ = 0;
    DWORD acceptedSelEnd_ = 0;

    // Completion index of the contact list it was built from.
    std::shared_ptr<const ContactList> indexedContacts_;
    RecipientMode indexedMode_ = RecipientMode::Number;
    std::unique_ptr<RecipientPrefixIndex> prefixIndex_;

    // Where this window's status worker leaves its result.
    std::shared_ptr<StatusResultSlot> statusSlot_;
};

}  // namespace pagelark
