#pragma once
// CMainFrame, in its two roles: the hidden main window "Orvane.Pagelark" (tray icon owner,
// timer 100, requests from other programs) and a message window titled "Pagelark".
// Heap-allocated; the object deletes itself when its window is gone.
//
//   CMainFrame* frame = CMainFrame::Create(app, HostClient::Outlook, /*hiddenMain=*/false);
//
// Every WM_COMMAND goes through OnCommand.
#include <windows.h>

#include <string>

#include "numbers/contact.h"
#include "ui/window_win.h"

namespace pagelark {

class Application;

class CMainFrame final : public Window {
public:
    // Creates the window (not shown). nullptr when it cannot be created.
    static CMainFrame* Create(Application& app, HostClient host, bool hiddenMain);

    HostClient hostClient() const { return hostClient_; }
    bool IsHiddenMain() const { return hiddenMain_; }

private:
    CMainFrame(Application& app, HostClient host, bool hiddenMain);
    ~CMainFrame() override = default;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;
    void OnCommand(WORD id);
    LRESULT OnCopyData(WPARAM wParam, const COPYDATASTRUCT* data);
    void OnClose();
    void OnStart();

    Application& app_;
    HostClient hostClient_;
    bool hiddenMain_;
    std::string mainEntryId_;   // hidden main window: the entry id last received from the add-in
};

}  // namespace pagelark
