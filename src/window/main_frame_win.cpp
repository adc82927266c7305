#include "window/main_frame_win.h"

#include <algorithm>
#include <vector>

#include "common/wide_string_win.h"
#include "mailclients/host_registry_win.h"
#include "resource_ids.h"
#include "ui/command_ids.h"
#include "ui/command_state_win.h"
#include "ui/resources_win.h"
#include "window/account_display.h"
#include "window/focus_navigation.h"
#include "window/send_commands_win.h"
#include "window/spell_checker_win.h"

namespace pagelark {
namespace {

constexpr int kInitialWidth = 680;
constexpr int kInitialHeight = 500;
constexpr int kMinTrackWidth = 730;
constexpr int kMinTrackHeight = 250;
constexpr UINT_PTR kCommandUiTimer = 101;   // stands in for the idle-time command update
constexpr UINT kCommandUiPeriodMs = 200;

// The message windows of this (the user-interface) thread, for the message loop and for callers
// that hold only a window handle.
std::vector<CMainFrame*>& LiveFrames() {
    static std::vector<CMainFrame*> frames;
    return frames;
}

}  // namespace

CMainFrame::CMainFrame(MessageWindowContext& context, HostClient host)
    : context_(context), hostClient_(host), document_(host) {
    clientVersion_ = mailBridge().ClientVersion(host);
    if (host == HostClient::Outlook) wordEditor_ = ReadOutlookWordEditor(clientVersion_);
    look_ = ComputeHostLook(host, clientVersion_, wordEditor_);
    LiveFrames().push_back(this);
}

CMainFrame::~CMainFrame() {
    auto& frames = LiveFrames();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
}

CMainFrame* CMainFrame::Create(MessageWindowContext& context, HostClient host) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!RegisterWindowClass(kFrameWindowClass, icon, GetSysColorBrush(COLOR_BTNFACE))) return nullptr;
    auto* frame = new CMainFrame(context, host);
    const std::wstring title = pagelark::LoadText(IDS_APP_TITLE);
    if (!frame->CreateWindowOf(kFrameWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                               CW_USEDEFAULT, CW_USEDEFAULT, kInitialWidth, kInitialHeight, nullptr, nullptr)) {
        delete frame;   // WM_NCCREATE may have failed before any window existed
        return nullptr;
    }
    return frame;
}

CMainFrame* CMainFrame::FromHandle(HWND window) {
    if (!window) return nullptr;
    for (CMainFrame* frame : LiveFrames()) {
        if (frame->hwnd() == window) return frame;
    }
    return nullptr;
}

void CMainFrame::OnWindowGone() { delete this; }

std::string CMainFrame::Text(int id) const { return LoadTextUtf8(static_cast<UINT>(id)); }

int CMainFrame::AccountType() const { return context_.service().AccountType(); }

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (!OnCreate()) return -1;
        SetTimer(hwnd(), kCommandUiTimer, kCommandUiPeriodMs, nullptr);
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        bars_.UpdateMenu(reinterpret_cast<HMENU>(wParam), SnapshotState());
        return 0;
    case WM_TIMER:
        if (wParam != kCommandUiTimer) break;
        UpdateCommandUi();
        return 0;
    case WM_SETFOCUS:
        if (editor_) SetFocus(editor_);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{kMinTrackWidth, kMinTrackHeight};
        return 0;
    }
    case kStartMessage:
        OnStart();
        return 0;
    case kStatusDoneMessage:
        OnStatusDone();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kCommandUiTimer);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

bool CMainFrame::PreTranslate(MSG& message) {
    if (!message.hwnd) return false;
    CMainFrame* frame = FromHandle(GetAncestor(message.hwnd, GA_ROOT));
    if (!frame) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && frame->HandleTabKey(message)) return true;
    if (frame->bars_.TranslateAccelerator(frame->hwnd(), message)) return true;
    HWND bar = frame->dialogBar_.hwnd();
    return bar && IsChild(bar, message.hwnd) && IsDialogMessageW(bar, &message);
}

bool CMainFrame::HandleTabKey(const MSG& message) {
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    FocusField from;
    if (message.hwnd == dialogBar_.Item(IDC_TO_FIELD)) from = FocusField::To;
    else if (message.hwnd == dialogBar_.Item(IDC_CC_FIELD)) from = FocusField::CC;
    else if (message.hwnd == editor_) from = FocusField::Editor;
    else return false;
    const auto to = NextFieldOnTab(from, GetKeyState(VK_SHIFT) < 0, AccountType());
    if (!to) return false;
    HWND target = *to == FocusField::To ? dialogBar_.Item(IDC_TO_FIELD)
                  : *to == FocusField::CC ? dialogBar_.Item(IDC_CC_FIELD)
                                          : editor_;
    SetFocus(target);
    if (target != editor_) SendMessageW(target, EM_SETSEL, 0, -1);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Commands

void CMainFrame::OnCommand(WORD id, WORD notification, HWND control) {
    if (control && control == editor_) {
        if (notification == EN_CHANGE) RefreshCounter(!undoing_);
        return;
    }
    if (control && dialogBar_.hwnd() && GetParent(control) == dialogBar_.hwnd()) {
        OnDialogBarCommand(id, notification);
        return;
    }
    // Commands of the table are refused while disabled, also when posted from outside.
    if (FindCommand(id) && !IsCommandEnabled(id, SnapshotState())) return;
    switch (id) {
    case command::kNew:
    case command::kAbout:
    case command::kHelp:
    case command::kHideIcon:
    case command::kExit: context_.RunApplicationCommand(id, hwnd()); break;
    case command::kOptions: OnOptions(); break;
    case command::kClose: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    case command::kSend: OnSendCommand(*this); break;
    case command::kSaveAs: OnSaveAsCommand(*this); break;
    case command::kPrint: OnPrintCommand(*this); break;
    case command::kSave: OnSave(); break;
    case command::kDelete: OnDelete(); break;
    case command::kMoveToFolder: OnMoveOrCopy(true); break;
    case command::kCopyToFolder: OnMoveOrCopy(false); break;
    case command::kUndo:
    case command::kCut:
    case command::kCopy:
    case command::kPaste:
    case command::kSelectAll: OnEditCommand(id); break;
    case command::kSpellChecking: RunSpellCheck(spellChecker_, hwnd(), editor_); break;
    case command::kCheckNames: CheckNames(); break;
    case command::kAddressBook: OnRecipientButton(RecipientMode::Number); break;
    default: break;
    }
}

void CMainFrame::OnEditCommand(int id) {
    HWND focus = GetFocus();
    if (focus != editor_ && focus != dialogBar_.Item(IDC_TO_FIELD) && focus != dialogBar_.Item(IDC_CC_FIELD)) return;
    switch (id) {
    case command::kUndo: SendMessageW(focus, WM_UNDO, 0, 0); break;
    case command::kCut: SendMessageW(focus, WM_CUT, 0, 0); break;
    case command::kCopy: SendMessageW(focus, WM_COPY, 0, 0); break;
    case command::kPaste: SendMessageW(focus, WM_PASTE, 0, 0); break;
    case command::kSelectAll:
        SendMessageW(focus, EM_SETSEL, 0, -1);
        SendMessageW(focus, EM_SCROLLCARET, 0, 0);
        break;
    default: break;
    }
}

CommandState CMainFrame::SnapshotState() const {
    CommandState state;
    state.host = hostClient_;
    state.sentItem = document_.IsSentItem();
    state.accountType = AccountType();
    state.spellCheckAvailable = spellChecker_.IsAvailable();
    ReadFocusState(state, editor_, dialogBar_.Item(IDC_TO_FIELD), dialogBar_.Item(IDC_CC_FIELD));
    return state;
}

void CMainFrame::UpdateCommandUi() {
    const CommandState state = SnapshotState();
    bars_.Update(state);
    UpdateButtonEnabling(dialogBar_.hwnd(), state);
    // The credits pane follows the service client's text, as after every request.
    ServiceClient& service = context_.service();
    const std::wstring credits = Widen(CreditsPaneText(service.CreditsText()));
    if (statusBar_.PaneText(ID_PANE_CREDITS) != credits) statusBar_.SetPaneText(ID_PANE_CREDITS, credits);
    ShowWindow(dialogBar_.Item(IDC_PURCHASE_CREDITS),
               ShowsPurchaseCredits(service.Credits(), context_.settings().MinSMSCredits) ? SW_SHOWNA : SW_HIDE);
}

}  // namespace pagelark
