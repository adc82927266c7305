// The message window, driven from outside through the real Pagelark.exe under Wine: how it
// opens, its looks per host, the counter, completion, the account display from the stand-in,
// the item copy message and the program's end with unsaved changes.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "resource_ids.h"
#include "../win/outlook_double_client.h"
#include "../win/service_standin_admin.h"
#include "address_book_double.h"
#include "driver.h"

using pagelark::blackbox::MapiDoubleBook;
using pagelark::testing::OutlookDouble;

namespace {

using namespace std::chrono_literals;
using pagelark::testing::AdminCall;
using pagelark::testing::StandinAddresses;

constexpr wchar_t kSettingsKey[] = L"Software\\Orvane\\Pagelark\\Settings";
constexpr wchar_t kSeamKey[] = L"Software\\Orvane\\Pagelark\\TestSeams";
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
constexpr wchar_t kFrameClass[] = L"Pagelark.Frame";
constexpr int kStatusBar = ID_STATUS_BAR, kCounterPane = ID_PANE_COUNTER, kCreditsPane = ID_PANE_CREDITS;
constexpr int kEditor = IDC_MESSAGE_EDITOR, kTo = IDC_TO_FIELD, kCc = IDC_CC_FIELD, kToButton = IDC_TO_BUTTON,
              kCcButton = IDC_CC_BUTTON, kSendOn = IDC_SEND_ON, kDate = IDC_SEND_DATE, kTime = IDC_SEND_TIME,
              kPurchase = IDC_PURCHASE_CREDITS, kFlash = IDC_FLASH_SMS, kInbox = IDC_REPLY_TO_INBOX,
              kMobile = IDC_REPLY_TO_MOBILE;
constexpr int kDialogBar = ID_DIALOG_BAR, kToolbar = ID_TOOLBAR;

std::wstring Env(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return {};
    return std::wstring(value, value + strlen(value));
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[2048] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 3000, &ignored);
    return buffer;
}

// Typed characters go through the control's own WM_CHAR handling, as keys do.
void Type(HWND control, const std::wstring& text) {
    for (wchar_t ch : text) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(control, WM_CHAR, ch, 1, SMTO_ABORTIFHUNG, 3000, &ignored);
    }
}

void SetRegText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
void SetRegDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value) {
    RegSetKeyValueW(root, key, name, REG_DWORD, &value, sizeof(value));
}

BOOL CALLBACK CollectFrame(HWND window, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (wcscmp(name, kFrameClass) == 0 && IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

std::vector<HWND> MessageWindows() {
    std::vector<HWND> frames;
    EnumWindows(&CollectFrame, reinterpret_cast<LPARAM>(&frames));
    return frames;
}

struct BoxSearch {
    DWORD process;
    HWND found = nullptr;
};
BOOL CALLBACK FindBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BoxSearch*>(data);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (wcscmp(name, L"#32770") == 0 && process == search->process && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// One run of the program with its own settings; ends it whatever happens.
class MessageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = Env("PAGELARK_EXE");
        if (exe_.empty()) GTEST_SKIP() << "PAGELARK_EXE is not set";
        KillRunning();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark");
        RegDeleteTreeW(HKEY_CURRENT_USER, kAddinKey);
        SetRegText(HKEY_CURRENT_USER, kSettingsKey, L"UserName", L"anna");
        pagelark::blackbox::StorePassword("secret");
        // The account exists at the stand-in, so a window's status request succeeds and no
        // "Wrong Login/Password." box takes the focus away from the window under test. Without
        // the CC feature (bit 16), Tab in To goes to the editor.
        if (standin_.Available()) {
            AdminCall(standin_, "POST", "/admin/reset");
            AdminCall(standin_, "POST", "/admin/accounts",
                      R"({"user":"anna","password":"secret","mobile":"+491701234567","email":"anna@example.com",)"
                      R"("credits":50,"acctyp":"01111","active":true})");
        }
    }
    void TearDown() override {
        KillRunning();
        if (usesOutlook_) {
            OutlookDouble::Unregister();
            OutlookDouble::Stop();
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kSeamKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kAddinKey);
    }

    static void KillRunning() {
        for (int i = 0; i < 20; ++i) {
            HWND main = FindWindowW(nullptr, L"Orvane.Pagelark");
            if (!main) return;
            DWORD pid = 0;
            GetWindowThreadProcessId(main, &pid);
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
            WaitFor([&] { return !IsWindow(main); }, 2s);
        }
    }

    bool Launch(const std::wstring& arguments = {}) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + exe_ + L"\" " + arguments;
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return WaitFor([&] { return (main_ = FindWindowW(nullptr, L"Orvane.Pagelark")) != nullptr; }, 20s);
    }

    DWORD ProgramProcess() const {
        DWORD pid = 0;
        GetWindowThreadProcessId(main_, &pid);
        return pid;
    }

    // The message window that appears after `open`, once its editor and counter exist.
    HWND Open(const std::function<void()>& open) {
        std::set<HWND> before;
        for (HWND frame : MessageWindows()) before.insert(frame);
        open();
        HWND found = nullptr;
        WaitFor([&] {
            for (HWND frame : MessageWindows()) {
                if (!before.count(frame) && Counter(frame)) {
                    found = frame;
                    return true;
                }
            }
            return false;
        }, 20s);
        return found;
    }
    HWND OpenFor(int host) {
        return Open([&] { PostMessageW(main_, WM_USER + 1, host, 0); });
    }

    static LRESULT ToolbarIndex(HWND frame, int command) {
        DWORD_PTR index = static_cast<DWORD_PTR>(-2);
        SendMessageTimeoutW(GetDlgItem(frame, kToolbar), TB_COMMANDTOINDEX, command, 0, SMTO_ABORTIFHUNG, 3000, &index);
        return static_cast<LRESULT>(index);
    }
    static bool ToolbarEnabled(HWND frame, int command) {
        DWORD_PTR enabled = 0;
        SendMessageTimeoutW(GetDlgItem(frame, kToolbar), TB_ISBUTTONENABLED, command, 0, SMTO_ABORTIFHUNG, 3000,
                            &enabled);
        return enabled != 0;
    }
    static HWND FocusOf(HWND frame) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info) ? info.hwndFocus : nullptr;
    }
    static void ClickInto(HWND control) {
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    static HWND Bar(HWND frame, int id) { return GetDlgItem(GetDlgItem(frame, kDialogBar), id); }
    static HWND Counter(HWND frame) { return GetDlgItem(GetDlgItem(frame, kStatusBar), kCounterPane); }
    static HWND Credits(HWND frame) { return GetDlgItem(GetDlgItem(frame, kStatusBar), kCreditsPane); }

    HWND MessageBoxOfProgram(std::chrono::milliseconds timeout = 10s) {
        BoxSearch search{ProgramProcess()};
        WaitFor([&] {
            search.found = nullptr;
            EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        }, timeout);
        return search.found;
    }

    std::wstring exe_;
    HWND main_ = nullptr;
    StandinAddresses standin_;
    bool usesOutlook_ = false;   // the Outlook double registered: removed and ended afterwards
};

}  // namespace

TEST_F(MessageWindowTest, OpensFromNewFromASecondStartAndFromTheOpenRequest) {
    ASSERT_TRUE(Launch());
    EXPECT_TRUE(MessageWindows().empty());   // nothing opens at start-up

    // The tray icon's New is command ID_NEW on the hidden main window.
    HWND fromNew = Open([&] { PostMessageW(main_, WM_COMMAND, ID_NEW, 0); });
    ASSERT_NE(fromNew, nullptr);
    EXPECT_EQ(TextOf(fromNew), L"Pagelark");
    EXPECT_EQ(TextOf(Counter(fromNew)), L" 0/1520 [1]");
    RECT rect{};
    GetWindowRect(fromNew, &rect);
    EXPECT_EQ(rect.right - rect.left, 680);
    EXPECT_EQ(rect.bottom - rect.top, 500);

    HWND fromSecondStart = Open([&] {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + exe_ + L"\"";
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        WaitForSingleObject(pi.hProcess, 20000);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_NE(code, STILL_ACTIVE);   // the second copy ends
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    });
    EXPECT_NE(fromSecondStart, nullptr);
    EXPECT_NE(OpenFor(1), nullptr);
}

TEST_F(MessageWindowTest, OutlookExpressWindowsHaveTheirLook) {
    ASSERT_TRUE(Launch());
    HWND express = OpenFor(2);
    ASSERT_NE(express, nullptr);
    EXPECT_EQ(TextOf(Bar(express, kToButton)), L"T&o:");
    EXPECT_EQ(TextOf(Bar(express, kCcButton)), L"&CC to e-mail:");
    HWND outlook = OpenFor(1);
    ASSERT_NE(outlook, nullptr);
    EXPECT_EQ(TextOf(Bar(outlook, kToButton)), L"T&o...");
    EXPECT_EQ(TextOf(Bar(outlook, kCcButton)), L"&CC to e-mail...");

    // The toolbar "Standard": Save only in Outlook windows. (Wine keeps a process's menus to
    // itself, so the menus without Save, Move and Copy to Folder are checked by the window layer's
    // own tests.)
    EXPECT_EQ(ToolbarIndex(express, ID_SAVE), -1);
    EXPECT_GE(ToolbarIndex(outlook, ID_SAVE), 0);
    EXPECT_GE(ToolbarIndex(express, ID_SEND), 0);
}

TEST_F(MessageWindowTest, TypingUpdatesTheCounterAndTheLimitTakesTheEditBack) {
    ASSERT_TRUE(Launch());
    HWND frame = OpenFor(2);
    ASSERT_NE(frame, nullptr);
    HWND editor = GetDlgItem(frame, kEditor);
    Type(editor, L"Hello");
    EXPECT_TRUE(WaitFor([&] { return TextOf(Counter(frame)) == L" 5/1520 [1]"; })) << TextOf(Counter(frame));
    Type(editor, L"\x20AC");   // the euro sign counts twice
    EXPECT_TRUE(WaitFor([&] { return TextOf(Counter(frame)) == L" 7/1520 [1]"; })) << TextOf(Counter(frame));

    Type(editor, std::wstring(1512, L'i'));
    EXPECT_TRUE(WaitFor([&] { return TextOf(Counter(frame)) == L" 1519/1520 [10]"; })) << TextOf(Counter(frame));
    Type(editor, L"{");   // would count 1521
    EXPECT_TRUE(WaitFor([&] { return TextOf(editor).size() == 1518; }));   // "Hello€" and 1512 letters
    EXPECT_EQ(TextOf(editor).find(L'{'), std::wstring::npos);
    EXPECT_EQ(TextOf(Counter(frame)), L" 1519/1520 [10]");
    Type(editor, L"i");   // plain characters still fit
    EXPECT_TRUE(WaitFor([&] { return TextOf(Counter(frame)) == L" 1520/1520 [10]"; })) << TextOf(Counter(frame));
}

TEST_F(MessageWindowTest, APasteThatCrossesTheLimitIsTakenBackWhole) {
    ASSERT_TRUE(Launch());
    HWND frame = OpenFor(2);
    ASSERT_NE(frame, nullptr);
    HWND editor = GetDlgItem(frame, kEditor);
    Type(editor, L"xy");
    ASSERT_TRUE(WaitFor([&] { return TextOf(Counter(frame)) == L" 2/1520 [1]"; }));
    const std::wstring big = std::wstring(1519, L'i') + L"~";   // 1520 characters counting 1521
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (big.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), big.c_str(), (big.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(editor, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 3000, &ignored);   // replaced by the paste
    SendMessageTimeoutW(editor, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(TextOf(editor), L"xy");   // what was there before the paste stays
    EXPECT_EQ(TextOf(Counter(frame)), L" 2/1520 [1]");
}

TEST_F(MessageWindowTest, FocusStartsInToAndTabFollowsTheAccount) {
    ASSERT_TRUE(Launch());
    HWND frame = OpenFor(1);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(frame) == Bar(frame, kTo); }));
    // Without the CC feature Tab in To goes to the editor.
    PostMessageW(Bar(frame, kTo), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(frame) == GetDlgItem(frame, kEditor); }));
    EXPECT_EQ(TextOf(GetDlgItem(frame, kEditor)), L"");   // no tab character typed
}

TEST_F(MessageWindowTest, CopyAndCutNeedASelection) {
    ASSERT_TRUE(Launch());
    HWND frame = OpenFor(1);
    ASSERT_NE(frame, nullptr);
    HWND editor = GetDlgItem(frame, kEditor);
    Type(editor, L"some text");
    ClickInto(editor);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(frame) == editor; }));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(editor, EM_SETSEL, 3, 3, SMTO_ABORTIFHUNG, 3000, &ignored);
    EXPECT_TRUE(WaitFor([&] { return !ToolbarEnabled(frame, ID_COPY) && !ToolbarEnabled(frame, ID_CUT); }));
    EXPECT_TRUE(ToolbarEnabled(frame, ID_SEND));
    SendMessageTimeoutW(editor, EM_SETSEL, 0, 4, SMTO_ABORTIFHUNG, 3000, &ignored);
    EXPECT_TRUE(WaitFor([&] { return ToolbarEnabled(frame, ID_COPY) && ToolbarEnabled(frame, ID_CUT); }));
    SendMessageTimeoutW(editor, EM_SETSEL, 3, 3, SMTO_ABORTIFHUNG, 3000, &ignored);
    EXPECT_TRUE(WaitFor([&] { return !ToolbarEnabled(frame, ID_COPY); }));
    SendMessageTimeoutW(frame, WM_COMMAND, ID_SELECT_ALL, 0, SMTO_ABORTIFHUNG, 3000, &ignored);   // Select All
    EXPECT_TRUE(WaitFor([&] { return ToolbarEnabled(frame, ID_COPY); }));
}

TEST_F(MessageWindowTest, CompletionOfTheToField) {
    // Outlook's contacts, read through Extended MAPI from the MAPI double.
    MapiDoubleBook book(
        "container\tid=AB-MAIN\tname=Contacts\n"
        "entry\tid=P1\tin=AB-MAIN\tkind=person\tdisplay=Andreas Ott\temail=andreas@example.com\n"
        "entry\tid=P2\tin=AB-MAIN\tkind=person\tdisplay=Anna Meier\tmobile=+491711234567\temail=anna@example.com\n");

    ASSERT_TRUE(Launch());
    ASSERT_TRUE(book.WaitForReading());
    HWND frame = OpenFor(1);
    ASSERT_NE(frame, nullptr);
    HWND to = Bar(frame, kTo);
    Type(to, L"an");
    EXPECT_TRUE(WaitFor([&] { return TextOf(to) == L"anna Meier (+491711234567)"; })) << TextOf(to);
    DWORD_PTR selection = 0;
    SendMessageTimeoutW(to, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &selection);
    EXPECT_EQ(LOWORD(selection), 2);
    EXPECT_EQ(HIWORD(selection), 26);
    Type(to, L"x");   // replaces the selected completion; nothing matches "anx"
    EXPECT_TRUE(WaitFor([&] { return TextOf(to) == L"anx"; })) << TextOf(to);
}

// A typed national number of a contact is normalised when To loses the focus; with
// SaveChangedNumbers on it is written back into Outlook's contact (the MAPI double's file).
TEST_F(MessageWindowTest, NormalisedNumbersAreWrittenBackOnlyWhenSavingIsOn) {
    for (const DWORD save : {0u, 1u}) {
        SCOPED_TRACE(save);
        KillRunning();
        MapiDoubleBook book("container\tid=AB-MAIN\tname=Contacts\n"
                            "entry\tid=P1\tin=AB-MAIN\tkind=person\tdisplay=Zoe Quell\tmobile=0170 1234567\n");
        SetRegText(HKEY_CURRENT_USER, kSettingsKey, L"UserLandCode", L"+49");
        SetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"SaveChangedNumbers", save);
        ASSERT_TRUE(Launch());
        ASSERT_TRUE(book.WaitForReading());
        HWND frame = OpenFor(1);
        ASSERT_NE(frame, nullptr);
        HWND to = Bar(frame, kTo);
        EXPECT_TRUE(WaitFor([&] { return FocusOf(frame) == to; }));
        SendMessageTimeoutW(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0170 1234567"), SMTO_ABORTIFHUNG, 3000,
                            nullptr);
        PostMessageW(to, WM_KEYDOWN, VK_TAB, 1);   // To loses the focus: the number is normalised
        EXPECT_TRUE(WaitFor([&] { return TextOf(to).find(L"+491701234567") != std::wstring::npos; })) << TextOf(to);
        if (save) {
            EXPECT_TRUE(WaitFor([&] { return book.Data().find("mobile=+491701234567") != std::string::npos; }))
                << book.Data();
        } else {
            std::this_thread::sleep_for(300ms);
            EXPECT_EQ(book.Data().find("+491701234567"), std::string::npos) << book.Data();
        }
    }
}

// An Outlook Express window completes from the Windows Address Book (the wab32.dll double).
TEST_F(MessageWindowTest, OutlookExpressWindowCompletesFromTheAddressBook) {
    MapiDoubleBook book("container\tid=PAB\tname=Main Identity\n"
                        "entry\tid=W1\tin=PAB\tkind=person\tdisplay=Wanda Wabner\tmobile=+491719999999\n",
                        MapiDoubleBook::Source::OutlookExpress);
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(book.WaitForLog("Object found 'Wanda Wabner'"));
    HWND frame = OpenFor(2);
    ASSERT_NE(frame, nullptr);
    HWND to = Bar(frame, kTo);
    Type(to, L"wa");
    EXPECT_TRUE(WaitFor([&] { return TextOf(to) == L"wanda Wabner (+491719999999)"; }))
        << TextOf(to);
}

TEST_F(MessageWindowTest, ItemCopyMessageIsRefusedWithTheIntegrationOff) {
    SetRegDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", 2);
    ASSERT_TRUE(Launch());
    char block[80] = "00000000ABCDEF";
    COPYDATASTRUCT data{0xAAAA, sizeof(block), block};
    DWORD_PTR result = 99;
    ASSERT_NE(SendMessageTimeoutW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                                  &result), 0);
    EXPECT_EQ(result, 0u);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(MessageWindows().empty());
}

TEST_F(MessageWindowTest, ItemCopyMessageOpensAnOutlookWindowWithTheIntegrationOn) {
    // The item the message names is read from Outlook: the double, seeded with it.
    if (!OutlookDouble::Available()) GTEST_SKIP() << "the Outlook double is not in the prefix";
    ASSERT_TRUE(OutlookDouble::Prepare(12));
    usesOutlook_ = true;
    const std::string id = OutlookDouble::AddItem("Personal Folders/Drafts", "+491712345678", "from Outlook", false);
    ASSERT_FALSE(id.empty());
    SetRegDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", 3);
    ASSERT_TRUE(Launch());
    char block[80];
    memset(block, 0, sizeof block);
    memcpy(block, id.data(), std::min(id.size(), sizeof block - 1));
    COPYDATASTRUCT data{0xAAAA, sizeof(block), block};
    HWND frame = Open([&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result);
        EXPECT_EQ(result, 1u);
    });
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(TextOf(Bar(frame, kToButton)), L"T&o...");   // an Outlook window
    EXPECT_EQ(TextOf(Bar(frame, kTo)), L"+491712345678");
    EXPECT_EQ(TextOf(GetDlgItem(frame, kEditor)), L"from Outlook");
    EXPECT_TRUE(OutlookDouble::NoObjectsAlive());
}

TEST_F(MessageWindowTest, ExitWithAModifiedOutlookMessageAnsweredCancelKeepsRunning) {
    ASSERT_TRUE(Launch());
    HWND first = OpenFor(2);   // Outlook Express: closes without a question
    HWND outlook = OpenFor(1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(outlook, nullptr);
    Type(GetDlgItem(outlook, kEditor), L"unsaved");
    PostMessageW(main_, WM_COMMAND, ID_EXIT, 0);   // Exit
    HWND box = MessageBoxOfProgram();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(TextOf(GetDlgItem(box, 0xFFFF)).find(L"Do you want to save the changes?"), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_TRUE(IsWindow(outlook));
    EXPECT_FALSE(IsWindow(first));   // closed before the question came
}

// The account's features and credits come from the stand-in's status reply.
class AccountDisplayTest : public MessageWindowTest {
protected:
    void SetUp() override {
        MessageWindowTest::SetUp();
        if (IsSkipped()) return;
        if (!standin_.Available()) GTEST_SKIP() << "the stand-in is not running";
        SetAccount("11111", 50);
    }
    void SetAccount(const std::string& acctyp, int credits) {
        AdminCall(standin_, "POST", "/admin/accounts/anna",
                  R"({"acctyp":")" + acctyp + R"(","credits":)" + std::to_string(credits) + "}");
    }
    // A new window once its status request is done (the credits pane shows the stand-in's value).
    HWND OpenWithStatus(int credits) {
        HWND frame = OpenFor(1);
        const std::wstring expected = L" " + std::to_wstring(credits);
        EXPECT_TRUE(WaitFor([&] { return frame && TextOf(Credits(frame)) == expected; }, 20s))
            << (frame ? TextOf(Credits(frame)) : L"no window");
        return frame;
    }
    static bool Visible(HWND frame, int id) { return IsWindowVisible(Bar(frame, id)) != 0; }
    static bool Enabled(HWND frame, int id) { return IsWindowEnabled(Bar(frame, id)) != 0; }
    static POINT Position(HWND frame, int id) {
        RECT rect{};
        GetWindowRect(Bar(frame, id), &rect);
        return {rect.left, rect.top};
    }
};

TEST_F(AccountDisplayTest, OptionsFollowTheAccountType) {
    SetAccount("11111", 50);
    ASSERT_TRUE(Launch());
    HWND all = OpenWithStatus(50);
    ASSERT_NE(all, nullptr);
    EXPECT_TRUE(Visible(all, kInbox) && Visible(all, kMobile) && Visible(all, kFlash));
    EXPECT_TRUE(Enabled(all, kSendOn) && Enabled(all, kCc) && Enabled(all, kCcButton));
    EXPECT_FALSE(Enabled(all, kDate));   // until "Send on" is checked
    const POINT inboxPlace = Position(all, kInbox);

    SetAccount("00000", 51);   // each window's own credits show that its status request is done
    HWND none = OpenWithStatus(51);
    ASSERT_NE(none, nullptr);
    EXPECT_FALSE(Visible(none, kInbox) || Visible(none, kMobile) || Visible(none, kFlash));
    EXPECT_FALSE(Enabled(none, kSendOn) || Enabled(none, kDate) || Enabled(none, kTime));
    EXPECT_FALSE(Enabled(none, kCc) || Enabled(none, kCcButton));

    SetAccount("00100", 52);   // flash only: in the place of "Reply to my inbox"
    HWND flash = OpenWithStatus(52);
    ASSERT_NE(flash, nullptr);
    EXPECT_TRUE(Visible(flash, kFlash));
    EXPECT_FALSE(Visible(flash, kInbox) || Visible(flash, kMobile));
    const POINT flashPlace = Position(flash, kFlash);
    EXPECT_EQ(flashPlace.x - Position(flash, kSendOn).x, inboxPlace.x - Position(all, kSendOn).x);
    EXPECT_EQ(flashPlace.y - Position(flash, kSendOn).y, inboxPlace.y - Position(all, kSendOn).y);
}

TEST_F(AccountDisplayTest, PurchaseCreditsAroundTheThreshold) {
    ASSERT_TRUE(Launch());   // MinSMSCredits is 10 by default
    for (const auto& [credits, shown] : std::vector<std::pair<int, bool>>{{10, true}, {11, false}, {0, true}}) {
        SetAccount("11111", credits);
        HWND frame = OpenWithStatus(credits);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(Visible(frame, kPurchase), shown) << credits;
    }
}
