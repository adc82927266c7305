// The message window's creation and layout: status bar, command bars, dialog bar, editor and
// the host's look.
#include "window/main_frame_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/user_data_folder_win.h"
#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "service/service_client.h"
#include "ui/looks.h"
#include "ui/looks_win.h"
#include "ui/resources_win.h"
#include "ui/toolkit_button_win.h"
#include "window/account_display.h"
#include "window/frame_controls_win.h"
#include "window/frame_layout.h"
#include "window/sms_counter.h"
#include "window/spell_checker_win.h"

namespace pagelark {
namespace {

// Editor font: Arial at 10 points.
HFONT CreateEditorFont(HWND window) {
    HDC dc = GetDC(window);
    const int height = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(window, dc);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
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

}  // namespace

bool CMainFrame::OnCreate() {
    CreateBars();
    CreateEditor();
    ApplyHostLook();
    return true;
}

void CMainFrame::CreateBars() {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    // The status bar with its panes in front of the message pane.
    if (statusBar_.Create(hwnd(), ID_STATUS_BAR)) {
        statusBar_.AddPane(ID_PANE_COUNTER_LABEL, 110, PaneKind::Label, pagelark::LoadText(IDS_COUNTER_LABEL));
        statusBar_.AddPane(ID_PANE_COUNTER, 75, PaneKind::SunkenText, Widen(CounterLabel(0, 1)));
        statusBar_.AddPane(ID_PANE_CREDITS_LABEL, 60, PaneKind::Label, pagelark::LoadText(IDS_CREDITS_LABEL));
        statusBar_.AddPane(ID_PANE_CREDITS, 30, PaneKind::SunkenText,
                           Widen(CreditsPaneText(context_.service().CreditsText())));
        statusBar_.AddPane(ID_PANE_STATUS_LABEL, 35, PaneKind::Label, pagelark::LoadText(IDS_STATUS_LABEL));
        statusBar_.AddPane(ID_PANE_STATUS_ICON, 16, PaneKind::Icon);
        statusBar_.SetMessageText(pagelark::LoadText(IDS_READY));
    }
    // The menu bar, the toolbar "Standard" and the accelerators in the host's look.
    const int expressIconSize =
        hostClient_ == HostClient::OutlookExpress ? ReadExpressToolbarIconSize(WindowsMajorVersion()) : 1;
    bars_.Create(hwnd(), module, ResourceLanguage(), hostClient_, clientVersion_, expressIconSize);
    // The dialog bar, docked at the top.
    dialogBar_.Create(hwnd(), ID_DIALOG_BAR);
    dialogBar_.SetBackground(look_.gradientDialogBar, hostClient_ == HostClient::OutlookExpress);
    // Picker formats; both stay disabled until "Send on" allows them.
    SendMessageW(dialogBar_.Item(IDC_SEND_DATE), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"ddd dd.MM.yyyy"));
    SendMessageW(dialogBar_.Item(IDC_SEND_TIME), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
    EnableWindow(dialogBar_.Item(IDC_SEND_DATE), FALSE);
    EnableWindow(dialogBar_.Item(IDC_SEND_TIME), FALSE);
    // The recipient fields: Delete and Backspace hold the recipientGuard while down.
    for (int id : {IDC_TO_FIELD, IDC_CC_FIELD}) {
        SetWindowSubclass(dialogBar_.Item(id), &RecipientFieldProc, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

void CMainFrame::CreateEditor() {
    editorFont_.reset(CreateEditorFont(hwnd()));
    editor_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_NOHIDESEL, 0, 0,
                              0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MESSAGE_EDITOR)),
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(editorFont_.get()), FALSE);
    SendMessageW(editor_, EM_SETLIMITTEXT, kMaxSmsCharacters, 0);
    // The lexicon is the language's when the window opens; any failure leaves spelling off.
    spellChecker_.Initialize(CreateLexiconEngine(context_.programDir(), context_.language().lexiconFile),
                             context_.programDir(), context_.language().lexiconFile, UserDataFolder());
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
    const int toolbarHeight = bars_.Resize();
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (!dialogBar_.hwnd()) return;
    SetWindowPos(dialogBar_.hwnd(), nullptr, 0, toolbarHeight, client.right, dialogBar_.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);

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

}  // namespace pagelark
