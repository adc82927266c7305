#include "window/send_commands_win.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "mailclients/mail_bridge.h"
#include "service/service_client.h"
#include "ui/resources_win.h"
#include "ui/wait_cursor_win.h"
#include "window/main_frame_win.h"
#include "window/message_box_ask_win.h"
#include "window/message_layout.h"
#include "window/print_win.h"
#include "window/save_as.h"
#include "window/save_as_win.h"
#include "window/send_flow.h"
#include "window/send_recipients.h"

namespace pagelark {
namespace {


UINT BoxIconFlag(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Error: return MB_ICONERROR;
    case BoxIcon::Question: return MB_ICONQUESTION;
    case BoxIcon::Exclamation: return MB_ICONEXCLAMATION;
    case BoxIcon::Information: return MB_ICONINFORMATION;
    }
    return 0;
}

// The send flow on a real message window. Every modal box runs a message loop in which the
// program may close this window (Exit from the tray icon): the frame is only touched while its
// window still exists.
class FrameSendHost final : public SendFlowHost {
public:
    explicit FrameSendHost(CMainFrame& frame) : frame_(frame), context_(frame.context()), hwnd_(frame.hwnd()) {}

    bool CheckNames() override { return Alive() && frame_.CheckNames(); }
    MessageRecord GatherMessage() override { return Alive() ? frame_.GatherMessage() : MessageRecord{}; }
    void RefreshAccountDisplay() override {
        if (Alive()) frame_.RefreshAccountDisplay();
    }
    void ShowSendResultIcon(bool success) override {
        if (Alive()) frame_.ShowSendResultIcon(success);
    }
    void CloseAfterSend() override {
        if (Alive()) frame_.CloseWithoutAsking();
    }
    void SelectInEditor(size_t start, size_t length) override {
        if (!Alive()) return;
        HWND editor = frame_.Editor();
        SetFocus(editor);
        SendMessageW(editor, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
        SendMessageW(editor, EM_SCROLLCARET, 0, 0);
    }

    int ExpandLists(MessageRecord& record) override {
        const auto contacts = Contacts();
        return ExpandRecordLists(record, *contacts, Rules());
    }
    void ExpandListNamesForCopy(std::string& to, std::string& cc) override {
        const auto contacts = Contacts();
        ExpandListNamesForSentCopy(to, cc, *contacts, Rules());
    }

    std::string Text(int id) override { return LoadTextUtf8(static_cast<UINT>(id)); }
    void ShowMessage(const std::string& text, BoxIcon icon) override {
        pagelark::ShowMessage(Owner(), Widen(text), MB_OK | BoxIconFlag(icon));
    }
    AskAnswer Ask(const std::string& text, BoxIcon icon, bool withCancel) override {
        CMessageBoxAsk box(text, static_cast<int>(icon), withCancel ? 1 : 0);
        const INT_PTR result = box.DoModal(Owner());
        if (!Alive()) return {};
        return {result == IDOK, result == IDOK && box.dontShowAgain != 0};
    }
    bool StartConnectionWizard() override {
        const auto started = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", L"inetwiz", nullptr, nullptr, SW_SHOWNORMAL));
        return started > 32;
    }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }

    Settings& UserSettings() override { return context_.settings(); }
    void SaveGlobalSettings() override { context_.SaveSettings(SettingsGroup::Global); }

    int Credits() override { return context_.service().Credits(); }
    int RequestStatus() override { return context_.service().RequestStatus(); }
    std::string LastError() override { return context_.service().LastError(); }
    bool SendSms(const MessageRecord& record) override {
        const WaitCursor wait;
        return context_.service().SendSms(record.To, record.CC, record.Body, record.SendTime, record.Options);
    }

    void CreateSentCopy(const MessageRecord& record) override {
        if (Alive()) frame_.mailBridge().CreateItem(host_, record, FolderKind::SentItems, nullptr);
    }

private:
    bool Alive() const { return IsWindow(hwnd_) != FALSE; }
    HWND Owner() const { return Alive() ? hwnd_ : nullptr; }
    std::shared_ptr<const ContactList> Contacts() {
        auto contacts = Alive() ? context_.Contacts(host_) : nullptr;
        return contacts ? contacts : std::make_shared<const ContactList>();
    }
    NumberRules Rules() { return {context_.checkList(), context_.settings().UserLandCode}; }

    CMainFrame& frame_;
    MessageWindowContext& context_;
    HWND hwnd_;
    HostClient host_ = frame_.hostClient();
};

class FrameSaveAsHost final : public SaveAsHost {
public:
    explicit FrameSaveAsHost(CMainFrame& frame) : frame_(frame) {}

    Fields GatherFields() override {
        const MessageRecord record = frame_.GatherMessage();
        return {record.To, record.CC, record.Body};
    }
    std::string ToLabel() override { return LoadTextUtf8(IDS_LAYOUT_TO_LABEL); }
    void WarnEmptyText() override { ShowTextMessage(frame_.hwnd(), IDS_ENTER_TEXT, MB_OK | MB_ICONEXCLAMATION); }
    std::optional<std::string> ChooseFileName() override { return AskSaveAsFileName(frame_.hwnd()); }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        return pagelark::WriteWholeFile(path, bytes);
    }
    void ReportSaveFailed() override { ShowFileNotSaved(frame_.hwnd()); }
    void ClearModified() override { frame_.SetModified(false); }

private:
    CMainFrame& frame_;
};

}  // namespace

void OnSendCommand(CMainFrame& frame) {
    FrameSendHost host(frame);
    SendMessageNow(host);
}

void OnSaveAsCommand(CMainFrame& frame) {
    FrameSaveAsHost host(frame);
    SaveMessageAs(host);
}

void OnPrintCommand(CMainFrame& frame) {
    const MessageRecord record = frame.GatherMessage();
    const std::string text =
        WithCrLfLineEnds(BuildMessageLayout(LoadTextUtf8(IDS_LAYOUT_TO_LABEL), record.To, record.CC, record.Body));
    PrintPlainText(frame.hwnd(), text, LoadText(IDS_APP_TITLE));
}

}  // namespace pagelark
