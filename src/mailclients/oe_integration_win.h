#pragma once
// The Outlook Express side of the mail-client bridge: the hook library and the connector's objects
// (mailclients/mail_connector.h) from start to stop, the "New SMS" button on the running client's
// toolbar, and the sent copies filed in its folders. Lives on the user-interface thread; the
// connector's events arrive there through ConnectorEventSink.
#include <windows.h>

#include <functional>
#include <string>

#include "mailclients/automation_win.h"
#include "mailclients/mail_bridge.h"
#include "mailclients/oe_event_sink_win.h"
#include "mailclients/oe_lifecycle.h"
#include "model/message_record.h"

namespace pagelark {

struct OutlookExpressHooks {
    std::function<void(const std::string&)> log;   // one line into Mapi.log
    std::function<bool()> integrate;               // IntegrateOE as it is now
    std::function<void()> openMessageWindow;       // the button's click
    // A failure of an event or a filed copy, as the user is to see it (the text is logged first).
    std::function<void(const std::wstring&)> showFailure;
    std::wstring programDir;
};

class OutlookExpressSide {
public:
    explicit OutlookExpressSide(OutlookExpressHooks hooks);
    ~OutlookExpressSide();
    OutlookExpressSide(const OutlookExpressSide&) = delete;
    OutlookExpressSide& operator=(const OutlookExpressSide&) = delete;

    // The start steps, each skipped when its object exists. False with the failure's text in
    // `failure` (also logged) when a connector object cannot be made; what was made is released.
    // A connector that is not installed at all is named as such in `failure`.
    bool Start(std::wstring& failure);
    // Files `record` as a message source in the standard folder of `kind`. False, with the failure
    // shown, when the connector fails; false without a word when the side is not started.
    bool FileMessage(const MessageRecord& record, FolderKind kind, const std::string& senderText);
    // Closes the running client's main object, lets go of every object and frees the hook library.
    // Failures are logged (and shown when `showFailures`).
    void Stop(bool showFailures);

    OeStage stage() const { return life_.stage(); }

private:
    void OnClientReady();
    void OnClientClosed();
    void OnClick();
    void AddButton();
    void ReleaseClientObjects();
    void Report(const AutomationFailure& failure, bool show);
    static LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    OutlookExpressHooks hooks_;
    OeLifecycle life_;
    HMODULE hook_ = nullptr;
    HWND timerWindow_ = nullptr;   // message-only: the wait before the button
    Dispatch init_;
    Dispatch folders_;
    Dispatch client_;
    Dispatch toolbar_;
    Dispatch button_;
    EventSinkRef initSink_;
    EventSinkRef buttonSink_;
};

}  // namespace pagelark
