// The message window's account display: credits, the options the account allows, the status
// request when the window opens, the send result icon, and the options sheet's credit update.
#include "window/main_frame_win.h"

#include <shellapi.h>

#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "service/service_client.h"
#include "ui/resources_win.h"
#include "ui/wait_cursor_win.h"
#include "window/account_display.h"
#include "window/frame_controls_win.h"

namespace pagelark {

void CMainFrame::RefreshAccountDisplay() {
    ServiceClient& service = context_.service();
    AccountState account;
    account.credits = service.Credits();
    account.creditsText = service.CreditsText();
    account.accountType = service.AccountType();
    account.minSmsCredits = context_.settings().MinSMSCredits;
    const AccountDisplay display = ComputeAccountDisplay(account, IsOptionChecked(IDC_SEND_ON));

    statusBar_.SetPaneText(ID_PANE_CREDITS, Widen(display.creditsPane));
    ShowWindow(dialogBar_.Item(IDC_PURCHASE_CREDITS), display.showPurchaseCredits ? SW_SHOWNA : SW_HIDE);
    ShowWindow(dialogBar_.Item(IDC_REPLY_TO_INBOX), display.showReplyToInbox ? SW_SHOWNA : SW_HIDE);
    ShowWindow(dialogBar_.Item(IDC_REPLY_TO_MOBILE), display.showReplyToMobile ? SW_SHOWNA : SW_HIDE);
    ShowWindow(dialogBar_.Item(IDC_FLASH_SMS), display.showFlash ? SW_SHOWNA : SW_HIDE);
    EnableWindow(dialogBar_.Item(IDC_SEND_ON), display.enableSendOn);
    EnableWindow(dialogBar_.Item(IDC_SEND_DATE), display.enablePickers);
    EnableWindow(dialogBar_.Item(IDC_SEND_TIME), display.enablePickers);
    EnableWindow(dialogBar_.Item(IDC_CC_FIELD), display.enableCc);
    EnableWindow(dialogBar_.Item(IDC_CC_BUTTON), display.enableCc);
    statusBar_.SetMessageText(pagelark::LoadText(IDS_READY));
    dialogBar_.PlaceOption(IDC_REPLY_TO_MOBILE, display.replyToMobileSlot);
    dialogBar_.PlaceOption(IDC_FLASH_SMS, display.flashSlot);
}

void CMainFrame::ShowCreditsUpdating() {
    statusBar_.SetPaneText(ID_PANE_CREDITS, pagelark::LoadText(IDS_UPDATE_CREDITS));
    if (HWND pane = statusBar_.PaneControl(ID_PANE_CREDITS)) UpdateWindow(pane);
}

void CMainFrame::OnStart() {
    const WaitCursor wait;
    // To the front without staying topmost.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RefreshAccountDisplay();
    statusBar_.SetMessageText(pagelark::LoadText(IDS_UPDATE_CREDITS));
    // One request per window: a second start message changes nothing.
    if (!statusSlot_) {
        statusSlot_ = StartStatusWorker(context_.service().PrepareStatus(), hwnd(), kStatusDoneMessage,
                                        context_.language().locale);
    }
    SetForegroundWindow(hwnd());
    SetActiveWindow(hwnd());
    SetFocus(dialogBar_.Item(IDC_TO_FIELD));
}

void CMainFrame::OnStatusDone() {
    // Only the result of this window's own worker counts; a stray message changes nothing.
    const std::optional<StatusResult> result = TakeStatusResult(statusSlot_.get());
    if (!result) return;
    ServiceClient& service = context_.service();
    const int code = service.ApplyStatus(*result);
    RefreshAccountDisplay();
    if (code == -1) {
        ShowMessage(hwnd(), Widen(service.LastError()), MB_OK | MB_ICONERROR);
    } else {
        context_.OfferUpdate(hwnd());
    }
}

void CMainFrame::ShowSendResultIcon(bool success) {
    statusBar_.SetPaneIcon(ID_PANE_STATUS_ICON, SharedIcon(success ? IDI_SEND_SUCCEEDED : IDI_SEND_FAILED, 16));
    UpdateWindow(statusBar_.hwnd());
}

void CMainFrame::SetMessagePaneText(const std::string& text) { statusBar_.SetMessageText(Widen(text)); }

void CMainFrame::OnPurchaseCredits() {
    const std::wstring url = Widen(context_.service().WebSiteLink(WebLink::Credits));
    ShellExecuteW(hwnd(), L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainFrame::OnOptions() {
    // The sheet runs its own message loop, in which this window may be closed (Exit from the
    // notification icon): the calls find it again by its handle.
    const HWND window = hwnd();
    CreditsDisplayCalls display{[window] {
                                    if (CMainFrame* frame = FromHandle(window)) frame->ShowCreditsUpdating();
                                },
                                [window] {
                                    if (CMainFrame* frame = FromHandle(window)) frame->RefreshAccountDisplay();
                                }};
    context_.OpenOptions(window, display);
}

}  // namespace pagelark
