#include "window/main_frame_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <thread>

#include "app/application_win.h"
#include "common/text_encoding.h"
#include "common/wide_string_win.h"
#include "mailclients/offline_mail_bridge.h"
#include "resource_ids.h"
#include "service/service_client.h"
#include "ui/command_ids.h"
#include "ui/looks.h"
#include "ui/resources_win.h"
#include "ui/toolkit_button_win.h"
#include "window/account_display.h"
#include "window/focus_navigation.h"
#include "window/frame_layout.h"
#include "window/host_registry_win.h"
#include "window/mail_folder_dialog_win.h"
#include "window/recipient_autocomplete.h"
#include "window/recipient_dialogs_win.h"
#include "window/send_commands_win.h"
#include "window/sms_counter.h"
#include "window/spell_checker_win.h"
#include "window/update_offer_win.h"

namespace pagelark {
namespace {

constexpr wchar_t kFrameClass[] = L"Pagelark.Frame";
constexpr int kInitialWidth = 680;
constexpr int kInitialHeight = 500;
constexpr int kMinTrackWidth = 730;
constexpr int kMinTrackHeight = 250;
constexpr ULONG_PTR kItemCopyKind = 0xAAAA;
constexpr DWORD kItemCopyBlockBytes = 80;
constexpr UINT_PTR kCommandUiTimer = 101;   // stands in for the idle-time command update
constexpr UINT kCommandUiPeriodMs = 200;
constexpr int kAccountCc = 16;

// Editor font: Arial at 10 points.
HFONT CreateEditorFont(HWND window) {
    HDC dc = GetDC(window);
    const int height = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(window, dc);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

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

// SetWindowTheme with a blank class list draws a control in the classic style; silently
// nothing where the library or the function is missing.
void UseClassicTheme(const std::vector<HWND>& controls) {
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme) return;
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setTheme = reinterpret_cast<SetWindowThemeFn>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setTheme) {
        for (HWND control : controls) {
            if (control) setTheme(control, L" ", L" ");
        }
    }
    FreeLibrary(uxtheme);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

HICON SharedIcon(int id, int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                                         LR_SHARED));
}

// Outlook Express's toolbar size: 1 (large) unless its settings say otherwise.
int ReadExpressToolbarIconSize() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    std::optional<std::uint32_t> size;
    if (ExpressToolbarSizePlace(static_cast<int>(version.dwMajorVersion)) == ExpressSettingsPlace::WindowsMail) {
        size = ReadRegistryDword(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows Mail", L"Toolbar Icon Size");
    } else if (const auto identity = ReadRegistryText(HKEY_CURRENT_USER, L"Identities", L"Default User ID")) {
        const std::wstring key =
            L"Identities\\" + Widen(*identity) + L"\\Software\\Microsoft\\Outlook Express\\5.0";
        size = ReadRegistryDword(HKEY_CURRENT_USER, key.c_str(), L"Toolbar Icon Size");
    }
    return size ? static_cast<int>(*size) : 1;
}

}  // namespace

CMainFrame::CMainFrame(Application& app, HostClient host, bool hiddenMain)
    : app_(app), hostClient_(host), hiddenMain_(hiddenMain), document_(host) {
    clientVersion_ = mailBridge().ClientVersion(host);
    if (host == HostClient::Outlook) wordEditor_ = ReadOutlookWordEditor(clientVersion_);
    look_ = ComputeHostLook(host, clientVersion_, wordEditor_);
}

CMainFrame::~CMainFrame() {
    if (editorFont_) DeleteObject(editorFont_);
}

MailBridge& CMainFrame::mailBridge() { return app_.mailBridge(); }

CMainFrame* CMainFrame::Create(Application& app, HostClient host, bool hiddenMain) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!RegisterWindowClass(kFrameClass, icon, GetSysColorBrush(COLOR_BTNFACE))) return nullptr;
    auto* frame = new CMainFrame(app, host, hiddenMain);
    const std::wstring title = hiddenMain ? std::wstring(kMainWindowTitle) : pagelark::LoadText(IDS_APP_TITLE);
    if (!frame->CreateWindowOf(kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT,
                               CW_USEDEFAULT, kInitialWidth, kInitialHeight, nullptr, nullptr)) {
        delete frame;   // WM_NCCREATE may have failed before any window existed
        return nullptr;
    }
    return frame;
}

void CMainFrame::OnWindowGone() {
    if (hiddenMain_) app_.OnMainWindowDestroyed();
    delete this;
}

std::string CMainFrame::Text(int id) const { return LoadTextUtf8(static_cast<UINT>(id)); }

int CMainFrame::AccountType() const { return app_.service().AccountType(); }

// ---------------------------------------------------------------------------------------------
// Creation and layout

bool CMainFrame::OnCreate() {
    CreateBars();
    if (!hiddenMain_) {
        CreateEditor();
        ApplyHostLook();
        SetTimer(hwnd(), kCommandUiTimer, kCommandUiPeriodMs, nullptr);
    }
    return true;
}

void CMainFrame::CreateBars() {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    // 1. Status bar with its panes in front of the message pane.
    if (statusBar_.Create(hwnd(), ID_STATUS_BAR)) {
        statusBar_.AddPane(ID_PANE_COUNTER_LABEL, 110, PaneKind::Label, pagelark::LoadText(IDS_COUNTER_LABEL));
        statusBar_.AddPane(ID_PANE_COUNTER, 75, PaneKind::SunkenText, Widen(CounterLabel(0, 1)));
        statusBar_.AddPane(ID_PANE_CREDITS_LABEL, 60, PaneKind::Label, pagelark::LoadText(IDS_CREDITS_LABEL));
        statusBar_.AddPane(ID_PANE_CREDITS, 30, PaneKind::SunkenText, Widen(" " + app_.service().CreditsText()));
        statusBar_.AddPane(ID_PANE_STATUS_LABEL, 35, PaneKind::Label, pagelark::LoadText(IDS_STATUS_LABEL));
        statusBar_.AddPane(ID_PANE_STATUS_ICON, 16, PaneKind::Icon);
        statusBar_.SetMessageText(pagelark::LoadText(IDS_READY));
    }
    // 2. Menu bar and the toolbar "Standard".
    if (menuBar_.Load(module, look_.menu, ResourceLanguage())) menuBar_.AttachTo(hwnd());
    accelerators_.Load(module, IDR_MAINFRAME, ResourceLanguage());
    const int expressIconSize = hostClient_ == HostClient::OutlookExpress ? ReadExpressToolbarIconSize() : 1;
    toolBar_.Create(hwnd(), module, ResourceLanguage(), ChooseToolbar(hostClient_, clientVersion_, expressIconSize));
    // 3. The dialog bar, docked at the top.
    dialogBar_.Create(hwnd(), ID_DIALOG_BAR);
    dialogBar_.SetBackground(look_.gradientDialogBar, hostClient_ == HostClient::OutlookExpress);
    // 4. Picker formats; both stay disabled until "Send on" allows them.
    SendMessageW(dialogBar_.Item(IDC_SEND_DATE), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"ddd dd.MM.yyyy"));
    SendMessageW(dialogBar_.Item(IDC_SEND_TIME), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
    EnableWindow(dialogBar_.Item(IDC_SEND_DATE), FALSE);
    EnableWindow(dialogBar_.Item(IDC_SEND_TIME), FALSE);
    // 5. The recipient fields: Delete and Backspace hold the recipientGuard while down.
    for (int id : {IDC_TO_FIELD, IDC_CC_FIELD}) {
        SetWindowSubclass(dialogBar_.Item(id), &RecipientFieldProc, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

void CMainFrame::CreateEditor() {
    editorFont_ = CreateEditorFont(hwnd());
    editor_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, 0, 0,
                              0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MESSAGE_EDITOR)),
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(editorFont_), FALSE);
    SendMessageW(editor_, EM_SETLIMITTEXT, kMaxSmsCharacters, 0);
    // The lexicon is the language's when the window opens; any failure leaves spelling off.
    spellChecker_.Initialize(CreateWindowsSpellEngine(), app_.programDir(), app_.language().lexiconFile);
}

void CMainFrame::ApplyHostLook() {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(SharedIcon(look_.classIcon, 32)));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SharedIcon(look_.classIcon, 16)));
    if (look_.toolkitRecipientButtons) {
        const Look buttonLook = ChooseButtonLook(hostClient_, clientVersion_);
        for (int id : {IDC_TO_BUTTON, IDC_CC_BUTTON}) {
            HWND button = dialogBar_.Item(id);
            SetWindowTextW(button, Widen(ColonCaption(Narrow(WindowText(button)))).c_str());
            HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(look_.recipientButtonIcon), IMAGE_ICON, 16,
                                                       16, 0));
            MakeToolkitButton(button, icon, buttonLook);
        }
        if (look_.toolkitPurchaseButton) MakeToolkitButton(dialogBar_.Item(IDC_PURCHASE_CREDITS), nullptr, buttonLook);
    }
    if (look_.classicThemeControls) {
        std::vector<HWND> controls{editor_};
        for (int id : {IDC_TO_FIELD, IDC_TO_BUTTON, IDC_CC_FIELD, IDC_CC_BUTTON, IDC_PURCHASE_CREDITS, IDC_SEND_ON,
                       IDC_SEND_DATE, IDC_SEND_TIME, IDC_FLASH_SMS, IDC_REPLY_TO_INBOX, IDC_REPLY_TO_MOBILE}) {
            controls.push_back(dialogBar_.Item(id));
        }
        EnumChildWindows(dialogBar_.Item(IDC_SEND_TIME), &CollectChild, reinterpret_cast<LPARAM>(&controls));
        UseClassicTheme(controls);
    }
}

void CMainFrame::OnSize() {
    statusBar_.Resize();
    const int toolbarHeight = toolBar_.hwnd() ? toolBar_.Resize() : 0;
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (!dialogBar_.hwnd()) return;
    SetWindowPos(dialogBar_.hwnd(), nullptr, 0, toolbarHeight, client.right, dialogBar_.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (hiddenMain_) return;

    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&outer), 2);
    FrameLayoutInput in;
    in.clientWidth = client.right;
    in.outerRight = outer.right;
    in.outerBottom = outer.bottom;
    in.dialogBarBottom = toolbarHeight + dialogBar_.Height();
    in.flushEditor = look_.flushEditor;
    const FrameLayout layout = ComputeFrameLayout(in);

    for (int id : {IDC_TO_FIELD, IDC_CC_FIELD}) {
        HWND field = dialogBar_.Item(id);
        RECT rect{};
        GetWindowRect(field, &rect);
        SetWindowPos(field, nullptr, 0, 0, layout.recipientFieldWidth, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND purchase = dialogBar_.Item(IDC_PURCHASE_CREDITS);
    RECT button{};
    GetWindowRect(purchase, &button);
    MapWindowPoints(nullptr, dialogBar_.hwnd(), reinterpret_cast<POINT*>(&button), 2);
    SetWindowPos(purchase, nullptr, layout.purchaseButtonX, button.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The status bar covers the editor's bottom rows otherwise.
    const int statusTop = client.bottom - statusBar_.Height();
    const int editorBottom = std::min(layout.editor.bottom, statusTop);
    SetWindowPos(editor_, nullptr, layout.editor.left, layout.editor.top, std::max(0, layout.editor.Width()),
                 std::max(0, editorBottom - layout.editor.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        UpdateMenuEnabling(reinterpret_cast<HMENU>(wParam), SnapshotState());
        return 0;
    case WM_TIMER:
        if (wParam == kCommandUiTimer && !hiddenMain_) {
            UpdateCommandUi();
            return 0;
        }
        if (hiddenMain_ && wParam == kReloadTimerId) app_.ReloadAddressBooks();
        break;
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
    case WM_COPYDATA:
        if (hiddenMain_) return OnCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        break;
    case kTrayCallbackMessage:
        if (hiddenMain_) app_.trayIcon().OnCallback(wParam, lParam);
        return 0;
    case kOpenRequestMessage:
        if (hiddenMain_) app_.OnOpenRequest(static_cast<int>(wParam));
        return 0;
    case kOpenItemMessage:
        // wParam would be an address inside this process; any program can post this message,
        // so the entry id is taken from our own member and wParam is never dereferenced.
        if (hiddenMain_) app_.OnOpenItem(mainEntryId_);
        return 0;
    case kStartMessageId:
        if (!hiddenMain_) OnStart();
        return 0;
    case kStatusDoneMessage:
        if (!hiddenMain_) OnStatusDone();
        return 0;
    case WM_DESTROY:
        if (hiddenMain_) KillTimer(hwnd(), kReloadTimerId);
        else KillTimer(hwnd(), kCommandUiTimer);
        return 0;
    default:
        if (hiddenMain_ && message == TrayIcon::TaskbarCreatedMessage() && message != 0) {
            app_.trayIcon().OnTaskbarCreated();
            return 0;
        }
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

bool CMainFrame::PreTranslate(MSG& message) {
    if (!message.hwnd) return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    wchar_t className[32] = {};
    if (!root || !GetClassNameW(root, className, 32) || wcscmp(className, kFrameClass) != 0) return false;
    auto* frame = dynamic_cast<CMainFrame*>(reinterpret_cast<Window*>(GetWindowLongPtrW(root, GWLP_USERDATA)));
    if (!frame || frame->hiddenMain_) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && frame->HandleTabKey(message)) return true;
    if (frame->accelerators_.Translate(root, message)) return true;
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
    if (!hiddenMain_ && FindCommand(id) && !IsCommandEnabled(id, SnapshotState())) return;
    switch (id) {
    case command::kNew: app_.OnNewMessage(); break;
    case command::kSetup:
        if (hiddenMain_) app_.OnSetupCommand(hwnd());
        break;
    case command::kAbout: app_.ShowAbout(hwnd()); break;
    case command::kHelp: app_.ShowHelp(); break;
    case command::kOptions: app_.OnOptions(hwnd()); break;
    case command::kHideIcon: app_.HideIcon(); break;
    case command::kExit:
        if (HWND main = app_.mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
        break;
    case command::kClose: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    default: break;
    }
    if (hiddenMain_) return;
    switch (id) {
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
    state.accountType = hiddenMain_ ? 0 : AccountType();
    state.clipboardHasText = IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
    state.spellCheckAvailable = spellChecker_.IsAvailable();
    HWND focus = GetFocus();
    if (focus && focus == editor_) state.focus = FocusKind::MessageEditor;
    else if (focus && focus == dialogBar_.Item(IDC_TO_FIELD)) state.focus = FocusKind::ToField;
    else if (focus && focus == dialogBar_.Item(IDC_CC_FIELD)) state.focus = FocusKind::CcField;
    if (state.focus != FocusKind::Other) {
        DWORD start = 0, end = 0;
        SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        state.selection = start != end;
        state.canUndo = SendMessageW(focus, EM_CANUNDO, 0, 0) != 0;
        state.focusReadOnly = (GetWindowLongW(focus, GWL_STYLE) & ES_READONLY) != 0;
    }
    return state;
}

void CMainFrame::UpdateCommandUi() {
    const CommandState state = SnapshotState();
    if (HMENU menu = GetMenu(hwnd())) UpdateMenuEnabling(menu, state);
    if (toolBar_.hwnd()) toolBar_.UpdateEnabling(state);
    EnableWindow(dialogBar_.Item(IDC_CC_BUTTON), IsCommandEnabled(command::kCcButton, state));
    // The credits pane follows the service client's text, as after every request.
    const std::wstring credits = Widen(" " + app_.service().CreditsText());
    if (statusBar_.PaneText(ID_PANE_CREDITS) != credits) statusBar_.SetPaneText(ID_PANE_CREDITS, credits);
    ShowWindow(dialogBar_.Item(IDC_PURCHASE_CREDITS),
               ShowsPurchaseCredits(app_.service().Credits(), app_.settings().MinSMSCredits) ? SW_SHOWNA : SW_HIDE);
}

// ---------------------------------------------------------------------------------------------
// The message

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

}  // namespace

std::string CMainFrame::ToText() const { return Narrow(WindowText(dialogBar_.Item(IDC_TO_FIELD))); }
std::string CMainFrame::CcText() const { return Narrow(WindowText(dialogBar_.Item(IDC_CC_FIELD))); }

void CMainFrame::SetToText(const std::string& text) { SetFieldText(RecipientMode::Number, text); }
void CMainFrame::SetCcText(const std::string& text) { SetFieldText(RecipientMode::EMail, text); }

std::string CMainFrame::BodyText() const { return editor_ ? Narrow(WindowText(editor_)) : std::string(); }

void CMainFrame::SetBodyText(const std::string& text) {
    if (!editor_) return;
    SetWindowTextW(editor_, Widen(text).c_str());
    RefreshCounter(false);
}

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

void CMainFrame::AutoComplete(int fieldId) {
    if (recipientGuard_) return;
    HWND field = dialogBar_.Item(fieldId);
    const RecipientMode mode = fieldId == IDC_TO_FIELD ? RecipientMode::Number : RecipientMode::EMail;
    const std::wstring wide = WindowText(field);
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));

    recipientGuard_ = true;
    HCURSOR previous = mode == RecipientMode::EMail ? SetCursor(LoadCursorW(nullptr, IDC_WAIT)) : nullptr;
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
    if (previous) SetCursor(previous);
    recipientGuard_ = false;
}

// ---------------------------------------------------------------------------------------------
// Account display, start and status

void CMainFrame::RefreshAccountDisplay() {
    if (hiddenMain_) return;
    ServiceClient& service = app_.service();
    AccountState account;
    account.credits = service.Credits();
    account.creditsText = service.CreditsText();
    account.accountType = service.AccountType();
    account.minSmsCredits = app_.settings().MinSMSCredits;
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

void CMainFrame::OnStart() {
    if (!app_.mainWindow() || app_.mainWindow() == hwnd()) return;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    // To the front without staying topmost.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RefreshAccountDisplay();
    statusBar_.SetMessageText(pagelark::LoadText(IDS_UPDATE_CREDITS));

    // The worker runs on copies and hands its result over through the slot; it never touches
    // this object, which may be gone by the time it is done.
    auto slot = std::make_shared<StatusSlot>();
    statusSlot_ = slot;
    StatusJob job = app_.service().PrepareStatus();
    const LCID locale = app_.language().locale;
    HWND window = hwnd();
    std::thread([job = std::move(job), slot, locale, window] {
        SetThreadLocale(locale);
        StatusResult result = job.Run();
        {
            std::lock_guard lock(slot->mutex);
            slot->result = std::move(result);
        }
        PostMessageW(window, kStatusDoneMessage, 0, 0);
    }).detach();

    SetForegroundWindow(hwnd());
    SetActiveWindow(hwnd());
    SetFocus(dialogBar_.Item(IDC_TO_FIELD));
    SetCursor(previous);
}

void CMainFrame::OnStatusDone() {
    // Only the result of this window's own worker counts; a stray message changes nothing.
    if (!statusSlot_) return;
    std::optional<StatusResult> result;
    {
        std::lock_guard lock(statusSlot_->mutex);
        result = std::move(statusSlot_->result);
        statusSlot_->result.reset();
    }
    if (!result) return;
    const int code = app_.service().ApplyStatus(*result);
    RefreshAccountDisplay();
    if (code == -1) {
        ShowMessage(hwnd(), Widen(app_.service().LastError()), MB_OK | MB_ICONERROR);
    } else {
        OfferUpdateAfterStatus(app_, hwnd());
    }
}

void CMainFrame::ShowSendResultIcon(bool success) {
    statusBar_.SetPaneIcon(ID_PANE_STATUS_ICON, SharedIcon(success ? IDI_SEND_SUCCEEDED : IDI_SEND_FAILED, 16));
    UpdateWindow(statusBar_.hwnd());
}

void CMainFrame::SetMessagePaneText(const std::string& text) { statusBar_.SetMessageText(Widen(text)); }

// ---------------------------------------------------------------------------------------------
// Save, close, delete, folders

void CMainFrame::OnSave() {
    if (hostClient_ != HostClient::Outlook) return;
    FramePrompts prompts(hwnd());
    document_.SaveToMailClient(GatherMessage(), mailBridge(), prompts);
}

void CMainFrame::OnClose() {
    if (hiddenMain_) {
        // The program keeps running when a message window refused to close.
        if (!app_.CloseMessageWindows()) return;
        DestroyWindow(hwnd());
        return;
    }
    FramePrompts prompts(hwnd());
    if (!document_.ConfirmClose(app_.exitingForUpdate(), [this] { return GatherMessage(); }, mailBridge(), prompts))
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

namespace {

struct OutlookWindowSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindOutlookWindow(HWND window, LPARAM data) {
    const std::wstring title = WindowText(window);
    if (title.find(L"Microsoft Outlook") == std::wstring::npos) return TRUE;
    reinterpret_cast<OutlookWindowSearch*>(data)->found = window;
    return FALSE;
}

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

void CMainFrame::OnMoveOrCopy(bool move) {
    if (hostClient_ != HostClient::Outlook) return;
    if (!document_.EntryId().empty()) {
        // Outlook shows its own folder dialog for its selected item.
        OutlookWindowSearch search;
        EnumWindows(&FindOutlookWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            SetForegroundWindow(search.found);
            SetActiveWindow(search.found);
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

// ---------------------------------------------------------------------------------------------
// Recipients

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

void CMainFrame::OnPurchaseCredits() {
    ServiceClient& service = app_.service();
    const std::wstring url = Widen(service.WebSiteLink(WebLink::Credits));
    ShellExecuteW(hwnd(), L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CMainFrame::CheckNames() {
    RecipientChecker checker(*this, app_.settings(), app_.checkList());
    return checker.CheckNames();
}

void CMainFrame::NormalizeToField() {
    RecipientChecker checker(*this, app_.settings(), app_.checkList());
    checker.NormalizeToField();
}

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

std::shared_ptr<const ContactList> CMainFrame::Contacts() { return mailBridge().Contacts(hostClient_); }

void CMainFrame::WriteBackContacts(ContactList updated) {
    // Until the address books are written, the rewritten numbers live in the bridge's list.
    app_.mailBridge().SetContacts(hostClient_, std::move(updated));
}

// ---------------------------------------------------------------------------------------------
// The hidden main window's item copy message

LRESULT CMainFrame::OnCopyData(WPARAM wParam, const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kItemCopyKind)
        return Window::HandleMessage(WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(data));
    if (!app_.settings().IntegrateOutlook) return 0;
    // The text up to the first zero inside the block, never beyond the data actually sent.
    const DWORD size = std::min(data->cbData, kItemCopyBlockBytes);
    const char* bytes = static_cast<const char*>(data->lpData);
    if (!bytes) return 0;
    const char* end = std::find(bytes, bytes + size, '\0');
    mainEntryId_.assign(bytes, end);
    PostMessageW(hwnd(), kOpenItemMessage, 0, 0);
    return 1;
}

}  // namespace pagelark
