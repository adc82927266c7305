// Our window layer against the real resources of Pagelark.exe: menus, toolbars, accelerators,
// the status bar with control panes and toolkit buttons.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resource_ids.h"
#include "ui/command_bars_win.h"
#include "ui/command_ids.h"
#include "ui/command_state_win.h"
#include "ui/language_resource_win.h"
#include "ui/menu_bar_win.h"
#include "ui/status_bar_win.h"
#include "ui/toolbar_win.h"
#include "ui/toolkit_button_win.h"

using namespace pagelark;
namespace cmd = pagelark::command;

namespace {

constexpr LANGID kEnglish = 1033;
constexpr LANGID kGerman = 1031;

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

// A plain top-level window to host the bars.
class HostWindow {
public:
    HostWindow() {
        static const bool registered = [] {
            WNDCLASSEXW wc{sizeof wc};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = Module();
            wc.lpszClassName = L"PagelarkUiTestHost";
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            return RegisterClassExW(&wc) != 0;
        }();
        EXPECT_TRUE(registered);
        hwnd = CreateWindowExW(0, L"PagelarkUiTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 680, 500, nullptr,
                               nullptr, Module(), nullptr);
    }
    ~HostWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

std::vector<UINT> MenuIds(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            const std::vector<UINT> inner = MenuIds(sub);
            ids.insert(ids.end(), inner.begin(), inner.end());
        } else if (UINT id = GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1)) {
            ids.push_back(id);
        }
    }
    return ids;
}

bool Contains(const std::vector<UINT>& ids, int id) {
    return std::find(ids.begin(), ids.end(), static_cast<UINT>(id)) != ids.end();
}

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

}  // namespace

TEST(UiMenuBar, OutlookMenuHasEveryCommandExpressMenuLacksTheFolderCommands) {
    CMenuBar outlook, express;
    ASSERT_TRUE(outlook.Load(Module(), 128, kEnglish));
    ASSERT_TRUE(express.Load(Module(), 129, kEnglish));
    const std::vector<UINT> all = MenuIds(outlook.handle());
    for (int id : {cmd::kNew, cmd::kSend, cmd::kSave, cmd::kSaveAs, cmd::kDelete, cmd::kMoveToFolder,
                   cmd::kCopyToFolder, cmd::kPrint, cmd::kClose, cmd::kUndo, cmd::kCut, cmd::kCopy, cmd::kPaste,
                   cmd::kSelectAll, cmd::kSpellChecking, cmd::kCheckNames, cmd::kAddressBook, cmd::kOptions,
                   cmd::kHelp, cmd::kAbout})
        EXPECT_TRUE(Contains(all, id)) << id;
    const std::vector<UINT> fewer = MenuIds(express.handle());
    EXPECT_EQ(fewer.size(), all.size() - 3);
    for (int id : {cmd::kSave, cmd::kMoveToFolder, cmd::kCopyToFolder}) EXPECT_FALSE(Contains(fewer, id)) << id;
    EXPECT_EQ(MenuText(outlook.handle(), cmd::kNew), L"&New\tCtrl+N");
    EXPECT_EQ(MenuText(outlook.handle(), cmd::kCopyToFolder), L"Cop&y to Folder");
}

TEST(UiMenuBar, MenusAreLoadedInTheAskedLanguage) {
    CMenuBar german;
    ASSERT_TRUE(german.Load(Module(), 128, kGerman));
    EXPECT_EQ(MenuText(german.handle(), cmd::kNew), L"&Neu\tStrg+N");
    CMenuBar unknown;
    ASSERT_TRUE(unknown.Load(Module(), 128, 0x0419));  // a language we lack falls back to English
    EXPECT_EQ(MenuText(unknown.handle(), cmd::kNew), L"&New\tCtrl+N");
    EXPECT_FALSE(CMenuBar().Load(Module(), 4711, kEnglish));
}

TEST(UiMenuBar, EnablingFollowsTheStateSnapshot) {
    HostWindow host;
    CMenuBar menu;
    ASSERT_TRUE(menu.Load(Module(), 128, kEnglish));
    HMENU handle = menu.handle();
    menu.AttachTo(host.hwnd);
    CommandState state;
    state.host = HostClient::OutlookExpress;
    UpdateMenuEnabling(handle, state);
    auto grayed = [&](int id) { return (GetMenuState(handle, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    EXPECT_TRUE(grayed(cmd::kSave));
    EXPECT_TRUE(grayed(cmd::kCopy));
    EXPECT_FALSE(grayed(cmd::kSend));
    state.host = HostClient::Outlook;
    state.focus = FocusKind::MessageEditor;
    state.selection = true;
    UpdateMenuEnabling(handle, state);
    EXPECT_FALSE(grayed(cmd::kSave));
    EXPECT_FALSE(grayed(cmd::kCopy));
    EXPECT_FALSE(grayed(cmd::kPaste));   // the focus is in an edit field, whatever the clipboard holds
}

TEST(UiAccelerators, TableHasTheEditingAndFileShortcuts) {
    CAccelerators accelerators;
    ASSERT_TRUE(accelerators.Load(Module(), 128, kEnglish));
    ACCEL entries[32];
    const int count = CopyAcceleratorTableW(accelerators.handle(), entries, 32);
    ASSERT_EQ(count, 15);
    auto has = [&](BYTE flags, WORD key, WORD id) {
        return std::any_of(entries, entries + count, [&](const ACCEL& a) {
            return (a.fVirt & ~FNOINVERT) == (flags | FVIRTKEY) && a.key == key && a.cmd == id;
        });
    };
    EXPECT_TRUE(has(FCONTROL, 'Z', cmd::kUndo));
    EXPECT_TRUE(has(FALT, VK_BACK, cmd::kUndo));
    EXPECT_TRUE(has(FSHIFT, VK_DELETE, cmd::kCut));
    EXPECT_TRUE(has(FCONTROL, VK_INSERT, cmd::kCopy));
    EXPECT_TRUE(has(FSHIFT, VK_INSERT, cmd::kPaste));
    EXPECT_TRUE(has(FCONTROL, 'A', cmd::kSelectAll));
    EXPECT_TRUE(has(FCONTROL, 'D', cmd::kDelete));
    EXPECT_TRUE(has(0, VK_F1, cmd::kHelp));
    EXPECT_TRUE(has(0, VK_F7, cmd::kSpellChecking));
}

TEST(UiToolBar, OutlookAndExpressButtonsInResourceOrder) {
    HostWindow host;
    CToolBar outlook;
    ASSERT_TRUE(outlook.Create(host.hwnd, Module(), kEnglish, ChooseToolbar(HostClient::Outlook, 11, 1)));
    const std::vector<int> expected = {cmd::kSend, cmd::kSave, cmd::kPrint, cmd::kCut, cmd::kCopy,
                                       cmd::kPaste, cmd::kSpellChecking, cmd::kAddressBook, cmd::kCheckNames,
                                       cmd::kHelp};
    EXPECT_EQ(outlook.ButtonIds(), expected);
    for (int icon_size : {0, 1}) {
        CToolBar express;
        ASSERT_TRUE(express.Create(host.hwnd, Module(), kEnglish, ChooseToolbar(HostClient::OutlookExpress, 6, icon_size)));
        std::vector<int> withoutSave = expected;
        withoutSave.erase(withoutSave.begin() + 1);
        EXPECT_EQ(express.ButtonIds(), withoutSave);
        EXPECT_FALSE(express.HasButton(cmd::kSave));
    }
}

TEST(UiToolBar, SendShowsItsCaptionAndLargeButtonsAreLarger) {
    HostWindow host;
    CToolBar small, large;
    ASSERT_TRUE(small.Create(host.hwnd, Module(), kGerman, ChooseToolbar(HostClient::OutlookExpress, 6, 0)));
    ASSERT_TRUE(large.Create(host.hwnd, Module(), kGerman, ChooseToolbar(HostClient::OutlookExpress, 6, 1)));
    wchar_t caption[64] = {};
    SendMessageW(small.hwnd(), TB_GETBUTTONTEXTW, cmd::kSend, reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ(caption, L"Senden");
    TBBUTTONINFOW info{sizeof info, TBIF_STYLE};
    SendMessageW(small.hwnd(), TB_GETBUTTONINFOW, cmd::kSend, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(info.fsStyle & BTNS_SHOWTEXT);
    SendMessageW(small.hwnd(), TB_GETBUTTONINFOW, cmd::kPrint, reinterpret_cast<LPARAM>(&info));
    EXPECT_FALSE(info.fsStyle & BTNS_SHOWTEXT);
    EXPECT_GT(large.Height(), small.Height());
    EXPECT_GE(HIWORD(SendMessageW(large.hwnd(), TB_GETBUTTONSIZE, 0, 0)), 30);
}

TEST(UiToolBar, EnablingFollowsTheStateSnapshot) {
    HostWindow host;
    CToolBar bar;
    ASSERT_TRUE(bar.Create(host.hwnd, Module(), kEnglish, ChooseToolbar(HostClient::Outlook, 9, 1)));
    EXPECT_FALSE(bar.Create(host.hwnd, Module(), kEnglish, ChooseToolbar(HostClient::Outlook, 9, 1)));
    CommandState state;
    bar.UpdateEnabling(state);
    EXPECT_FALSE(bar.IsButtonEnabled(cmd::kCut));
    EXPECT_FALSE(bar.IsButtonEnabled(cmd::kCopy));
    EXPECT_TRUE(bar.IsButtonEnabled(cmd::kSend));
    state.sentItem = true;
    state.focus = FocusKind::ToField;
    state.selection = true;
    bar.UpdateEnabling(state);
    EXPECT_FALSE(bar.IsButtonEnabled(cmd::kSend));
    EXPECT_TRUE(bar.IsButtonEnabled(cmd::kCut));
    EXPECT_TRUE(bar.IsButtonEnabled(cmd::kCopy));
    EXPECT_FALSE(bar.IsButtonEnabled(4711));
}

TEST(UiStatusBar, PanesStandLeftToRightBeforeTheMessagePane) {
    HostWindow host;
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(host.hwnd));
    EXPECT_FALSE(bar.Create(host.hwnd));
    bar.SetMessageText(L"Ready");
    ASSERT_TRUE(bar.AddPane(1032, 110, PaneKind::Label, L" Chars / 1520 [SMS]:"));
    ASSERT_TRUE(bar.AddPane(1031, 75, PaneKind::SunkenText, L" 0/1520 [1]"));
    ASSERT_TRUE(bar.AddPane(1027, 16, PaneKind::Icon));
    bar.Resize();
    int edges[8] = {};
    ASSERT_EQ(SendMessageW(bar.hwnd(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(edges[0], 110);
    EXPECT_EQ(edges[1], 185);
    EXPECT_EQ(edges[2], 201);
    EXPECT_EQ(edges[3], -1);
    EXPECT_EQ(bar.MessageText(), L"Ready");
    EXPECT_EQ(bar.PaneText(1031), L" 0/1520 [1]");
    bar.SetPaneText(1031, L" 5/1520 [1]");
    EXPECT_EQ(bar.PaneText(1031), L" 5/1520 [1]");
    EXPECT_TRUE(GetWindowLongPtrW(bar.PaneControl(1031), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_FALSE(GetWindowLongPtrW(bar.PaneControl(1032), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_EQ(SendMessageW(bar.PaneControl(1032), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(bar.Font()));
    // Each control sits inside its pane.
    RECT pane{}, control{};
    SendMessageW(bar.hwnd(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&pane));
    GetWindowRect(bar.PaneControl(1031), &control);
    MapWindowPoints(nullptr, bar.hwnd(), reinterpret_cast<POINT*>(&control), 2);
    EXPECT_EQ(control.left, pane.left);
    EXPECT_EQ(control.right, pane.right);
    HICON icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(IDI_SEND_SUCCEEDED), IMAGE_ICON, 16, 16, LR_SHARED));
    ASSERT_TRUE(icon);
    bar.SetPaneIcon(1027, icon);
    EXPECT_EQ(SendMessageW(bar.PaneControl(1027), STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(bar.MessageText(), L"Ready");
}

TEST(UiToolkitButton, ConvertedButtonKeepsItsIdCaptionAndClicks) {
    HostWindow host;
    HWND button = CreateWindowExW(0, L"BUTTON", L"To:", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5, 80, 24,
                                  host.hwnd, reinterpret_cast<HMENU>(1000), Module(), nullptr);
    HICON icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(IDI_RECIPIENTS), IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(icon);
    EXPECT_FALSE(IsToolkitButton(button));
    ASSERT_TRUE(MakeToolkitButton(button, icon, Look::Office2003));
    EXPECT_TRUE(IsToolkitButton(button));
    EXPECT_FALSE(MakeToolkitButton(button, nullptr, Look::Flat));  // only once
    EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetDlgCtrlID(button), 1000);
    ShowWindow(host.hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(host.hwnd);  // draws through the parent's WM_DRAWITEM
    wchar_t caption[16] = {};
    GetWindowTextW(button, caption, 16);
    EXPECT_STREQ(caption, L"To:");
    DestroyWindow(button);  // frees its icon and state; the parent keeps working
    UpdateWindow(host.hwnd);
}

TEST(UiLanguageResource, StringsComeInTheAskedLanguage) {
    EXPECT_EQ(LoadLanguageString(Module(), cmd::kSend, kEnglish), L"Send the message\nSend");
    EXPECT_EQ(LoadLanguageString(Module(), cmd::kSend, kGerman), L"Die Nachricht senden\nSenden");
    EXPECT_EQ(LoadLanguageString(Module(), 4711, kGerman), L"");
    EXPECT_EQ(LoadLanguageString(Module(), cmd::kCheckNames, kEnglish), L"Verify names\nCheck Names");
}

TEST(UiCommandState, FocusSelectionUndoAndReadOnlyComeFromTheFocusedEditControl) {
    HostWindow host;
    ShowWindow(host.hwnd, SW_SHOW);
    SetForegroundWindow(host.hwnd);
    auto edit = [&](int id, DWORD style) {
        return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | style, 0, 30 * (id - 1000), 200, 24, host.hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Module(), nullptr);
    };
    HWND to = edit(1001, 0), cc = edit(1003, ES_READONLY), editor = edit(1090, ES_MULTILINE);
    HWND button = CreateWindowExW(0, L"BUTTON", L"To...", WS_CHILD | WS_VISIBLE, 250, 0, 80, 24, host.hwnd,
                                  reinterpret_cast<HMENU>(1000), Module(), nullptr);
    CommandState state;
    SetFocus(button);
    ReadFocusState(state, editor, to, cc);
    EXPECT_EQ(state.focus, FocusKind::Other);
    EXPECT_FALSE(IsCommandEnabled(cmd::kCopy, state));

    SetFocus(editor);
    SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"hello"));
    SendMessageW(editor, EM_SETSEL, 5, 5);
    ReadFocusState(state, editor, to, cc);
    EXPECT_EQ(state.focus, FocusKind::MessageEditor);
    EXPECT_FALSE(state.selection);
    EXPECT_TRUE(state.canUndo);
    EXPECT_FALSE(IsCommandEnabled(cmd::kCut, state));
    SendMessageW(editor, EM_SETSEL, 0, 2);
    ReadFocusState(state, editor, to, cc);
    EXPECT_TRUE(state.selection);
    EXPECT_TRUE(IsCommandEnabled(cmd::kCut, state));

    SetFocus(cc);
    SetWindowTextW(cc, L"a@example.org");
    SendMessageW(cc, EM_SETSEL, 0, -1);
    ReadFocusState(state, editor, to, cc);
    EXPECT_EQ(state.focus, FocusKind::CcField);
    EXPECT_TRUE(state.focusReadOnly);
    EXPECT_TRUE(IsCommandEnabled(cmd::kCopy, state));
    EXPECT_FALSE(IsCommandEnabled(cmd::kCut, state));
    EXPECT_FALSE(IsCommandEnabled(cmd::kPaste, state));

    // Paste follows the focus alone, also with nothing on the clipboard.
    if (OpenClipboard(host.hwnd)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SetFocus(to);
    ReadFocusState(state, editor, to, cc);
    EXPECT_EQ(state.focus, FocusKind::ToField);
    EXPECT_TRUE(IsCommandEnabled(cmd::kPaste, state));
}

TEST(UiCommandState, CcButtonFollowsTheAccount) {
    HostWindow host;
    HWND ccButton = CreateWindowExW(0, L"BUTTON", L"CC", WS_CHILD, 0, 0, 80, 24, host.hwnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(cmd::kCcButton)), Module(), nullptr);
    CommandState state;
    UpdateButtonEnabling(host.hwnd, state);
    EXPECT_FALSE(IsWindowEnabled(ccButton));
    state.accountType = 16 | 8;
    UpdateButtonEnabling(host.hwnd, state);
    EXPECT_TRUE(IsWindowEnabled(ccButton));
}

TEST(UiCommandBars, ExpressWindowGetsMenu129LargeToolbarAndAccelerators) {
    HostWindow host;
    CCommandBars bars;
    ASSERT_TRUE(bars.Create(host.hwnd, Module(), kEnglish, HostClient::OutlookExpress, 6, 1));
    EXPECT_EQ(GetMenu(host.hwnd), bars.menu());
    EXPECT_FALSE(Contains(MenuIds(bars.menu()), cmd::kSave));
    EXPECT_EQ(bars.choice().bitmapId, 188);
    EXPECT_FALSE(bars.toolbar().HasButton(cmd::kSave));
    EXPECT_GT(bars.Resize(), 0);

    CommandState state;
    state.host = HostClient::OutlookExpress;
    bars.Update(state);
    EXPECT_FALSE(bars.toolbar().IsButtonEnabled(cmd::kCopy));
    EXPECT_TRUE(GetMenuState(bars.menu(), cmd::kCopy, MF_BYCOMMAND) & MF_GRAYED);

    // Ctrl+C reaches the frame as the Copy command.
    MSG message{host.hwnd, WM_KEYDOWN, 'C', 0};
    const SHORT before = GetKeyState(VK_CONTROL);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(bars.TranslateAccelerator(host.hwnd, message));
    keys[VK_CONTROL] = static_cast<BYTE>(before & 0x80);
    SetKeyboardState(keys);
}

TEST(UiCommandBars, OutlookWindowGetsMenu128AndTheSmallToolbar) {
    HostWindow host;
    CCommandBars bars;
    ASSERT_TRUE(bars.Create(host.hwnd, Module(), kGerman, HostClient::Outlook, 12, 1));
    EXPECT_TRUE(Contains(MenuIds(bars.menu()), cmd::kMoveToFolder));
    EXPECT_EQ(bars.choice().look, Look::Office2003);
    EXPECT_TRUE(bars.toolbar().HasButton(cmd::kSave));
}
