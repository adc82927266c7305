#pragma once
// CMainFrame, in its two roles: the hidden main window "Orvane.Pagelark" (tray icon owner,
// timer 100, requests from other programs) and a message window "Pagelark" with its menu bar,
// toolbar, dialog bar, message editor and status bar, holding one SMS.
// Heap-allocated; the object deletes itself when its window is gone.
//
//   CMainFrame* frame = CMainFrame::Create(app, HostClient::Outlook, /*hiddenMain=*/false);
//
// Every WM_COMMAND goes through OnCommand. The accessors below are what sending, saving and
// printing use.
#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "model/contact.h"
#include "numbers/recipient_checker.h"
#include "numbers/recipient_prefix_index.h"
#include "service/service_replies.h"
#include "ui/commands.h"
#include "ui/menu_bar_win.h"
#include "ui/status_bar_win.h"
#include "ui/toolbar_win.h"
#include "ui/window_win.h"
#include "window/host_look.h"
#include "window/message_document.h"
#include "model/message_record.h"
#include "window/sms_dialog_bar_win.h"
#include "window/spell_checker.h"

namespace pagelark {

class Application;
class MailBridge;

// Private window messages between the deliverables and inside the program.
inline constexpr UINT kOpenRequestMessage = WM_USER + 1;
inline constexpr UINT kStartMessageId = WM_USER + 2;
inline constexpr UINT kStatusDoneMessage = WM_USER + 3;
inline constexpr UINT kOpenItemMessage = WM_USER + 4;

class CMainFrame final : public Window, private RecipientWindow {
public:
    // Creates the window (not shown). nullptr when it cannot be created.
    static CMainFrame* Create(Application& app, HostClient host, bool hiddenMain);
    // For the message loop: Tab rules, accelerators and the dialog bar's keys of the message
    // window that `message` is for. True when the message was handled.
    static bool PreTranslate(MSG& message);

    HostClient hostClient() const { return hostClient_; }
    int clientVersion() const { return clientVersion_; }
    bool wordEditor() const { return wordEditor_; }
    bool IsHiddenMain() const { return hiddenMain_; }
    Application& app() { return app_; }
    MailBridge& mailBridge();

    // --- the message ---
    std::string ToText() const;
    std::string CcText() const;
    void SetToText(const std::string& text);   // under the recipientGuard
    void SetCcText(const std::string& text);
    std::string BodyText() const;
    void SetBodyText(const std::string& text);
    bool IsOptionChecked(int controlId) const;   // 1004, 1108, 1114, 1116
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
    void ShowSendResultIcon(bool success);   // icon 145 or 146 in the status pane, painted at once
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
    CMainFrame(Application& app, HostClient host, bool hiddenMain);
    ~CMainFrame() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;
    bool OnCreate();
    void OnSize();
    void OnCommand(WORD id, WORD notification, HWND control);
    void OnDialogBarCommand(WORD id, WORD notification);
    LRESULT OnCopyData(WPARAM wParam, const COPYDATASTRUCT* data);
    void OnClose();
    void OnStart();
    void OnStatusDone();
    bool HandleTabKey(const MSG& message);
    static LRESULT CALLBACK RecipientFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR data);

    void CreateBars();
    void CreateEditor();
    void ApplyHostLook();
    void RefreshCounter(bool mayUndo);
    void AutoComplete(int fieldId);
    void OnRecipientButton(RecipientMode mode);
    void OnPurchaseCredits();
    void OnEditCommand(int id);
    void OnMoveOrCopy(bool move);
    void OnSave();
    void OnDelete();
    void UpdateCommandUi();
    CommandState SnapshotState() const;
    int AccountType() const;
    std::string Text(int id) const;

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

    Application& app_;
    HostClient hostClient_;
    bool hiddenMain_;
    int clientVersion_ = 0;
    bool wordEditor_ = false;
    HostLook look_{};
    MessageDocument document_;

    CStatusBar statusBar_;
    CMenuBar menuBar_;
    CAccelerators accelerators_;
    CToolBar toolBar_;
    CSMSDialogBar dialogBar_;
    HWND editor_ = nullptr;
    HFONT editorFont_ = nullptr;
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

    // The status worker's result, handed over when it posts status done.
    struct StatusSlot {
        std::mutex mutex;
        std::optional<StatusResult> result;
    };
    std::shared_ptr<StatusSlot> statusSlot_;

    std::string mainEntryId_;   // hidden main window: the entry id last received from the add-in
};

}  // namespace pagelark
