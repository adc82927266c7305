// Sending, saving as text and printing, driven from outside through the real Pagelark.exe under
// Wine against the local stand-in: what the stand-in receives, which boxes the user sees, what
// stays in the window after a failure, the registry, the request log and the saved file's bytes.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "../win/service_standin_admin.h"
#include "address_book_double.h"
#include "driver.h"
#include "resource_ids.h"

namespace {

using namespace std::chrono_literals;
namespace bb = pagelark::blackbox;
using pagelark::testing::AdminCall;
using pagelark::testing::JsonStrings;
using pagelark::testing::StandinAddresses;

constexpr wchar_t kProductKey[] = L"Software\\Orvane\\Pagelark";
using bb::kSettingsKey;
using pagelark::blackbox::MapiDoubleBook;
constexpr UINT kOpenRequest = WM_USER + 1;
constexpr WORD kSend = ID_SEND, kSaveAs = ID_SAVE_AS, kPrint = ID_PRINT;
constexpr int kDialogBar = ID_DIALOG_BAR, kEditor = IDC_MESSAGE_EDITOR, kTo = IDC_TO_FIELD, kToButton = IDC_TO_BUTTON,
              kSendOn = IDC_SEND_ON,
              kFlash = IDC_FLASH_SMS, kInbox = IDC_REPLY_TO_INBOX;
constexpr int kAddressBook = IDC_SELECT_BOOK, kAddSelected = IDC_SELECT_ADD;   // Select Names
constexpr int kStatusIconPane = ID_PANE_STATUS_ICON;
constexpr int kAskText = IDC_ASK_MESSAGE, kAskDontShow = IDC_ASK_DONT_SHOW, kBoxText = 0xFFFF;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                            nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    return bb::WaitUntil(condition, timeout);
}
std::wstring TextOf(HWND window) { return bb::GetText(window); }
void SetText(HWND window, const std::wstring& text) { bb::SetText(window, text); }
void Click(HWND button) { bb::Click(button); }
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return bb::Send(window, message, wParam, lParam);
}

void SetRegText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    bb::SetString(HKEY_CURRENT_USER, key, name, value);
}
void SetRegDword(const wchar_t* name, DWORD value) { bb::SetSettingDword(name, value); }
DWORD RegDword(const wchar_t* name) { return bb::GetSettingDword(name).value_or(0xFFFFFFFF); }

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t buffer[64] = {};
    GetClassNameW(window, buffer, 64);
    return wcscmp(buffer, name) == 0;
}

class SendBlackBox : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = Env("PAGELARK_EXE");
        if (exe_.empty() || !standin_.Available()) GTEST_SKIP() << "PAGELARK_EXE or the stand-in not set";
        KillRunning();
        AdminCall(standin_, "POST", "/admin/reset", "{}");
        bb::DeleteKey(HKEY_CURRENT_USER, kProductKey);
        SetRegDword(L"Language", 9);
        SetRegText(kSettingsKey, L"UserName", L"sender");
        bb::StorePassword("secret");
        SetRegText(kSettingsKey, L"UserLandCode", L"+49");
        SetRegText(kSettingsKey, L"UserMobile", L"1701234567");
        SetRegText(kSettingsKey, L"UserEMail", L"sender@example.com");
        SetRegDword(L"SendConfirmation", 1);
        SetRegDword(L"SaveSentMessages", 1);
        SetAccount(50, "11111");
    }
    void TearDown() override { KillRunning(); }

    void SetAccount(int credits, const std::string& acctyp) {
        AdminCall(standin_, "POST", "/admin/accounts",
                  R"({"user":"sender","password":"secret","mobile":"+491701234567","email":"sender@example.com",)"
                  R"("credits":)" + std::to_string(credits) + R"(,"acctyp":")" + acctyp + R"(","active":true})");
    }
    std::string Messages() { return AdminCall(standin_, "GET", "/admin/messages?user=sender"); }
    size_t MessageCount() { return JsonStrings(Messages(), "raw_query").size(); }
    // One value of `key` for every request to `path` that carried the credentials (WinInet
    // sends them only after the server's 401, so each request arrives twice).
    std::vector<std::string> Requests(const std::string& path, const std::string& key) {
        const std::string json = AdminCall(standin_, "GET", "/admin/requests?path=" + path);
        std::vector<std::string> values;
        size_t start = json.find('{', 1);
        while (start != std::string::npos) {
            const size_t end = json.find('}', start);
            const std::string request = json.substr(start, end - start + 1);
            const auto found = JsonStrings(request, key);
            if (request.find("\"authorized\":true") != std::string::npos && !found.empty()) values.push_back(found[0]);
            start = json.find('{', end);
        }
        return values;
    }

    void KillRunning() {
        program_.Kill();
        bb::KillLeftovers();
    }

    // Starts the program and opens one message window (Outlook Express, so closing asks nothing);
    // returns once the window's own status request has been answered.
    void OpenMessageWindow() {
        program_ = bb::Program::Launch();
        ASSERT_TRUE(program_.Started());
        pid_ = program_.Pid();
        HWND main = bb::WaitForWindow(bb::kMainTitle, nullptr, 15s, pid_);
        ASSERT_NE(main, nullptr);
        const size_t statusBefore = Requests("/plugin/status.php", "path").size();
        PostMessageW(main, kOpenRequest, 2, 0);
        ASSERT_TRUE(WaitFor([&] {
            for (HWND frame : bb::FindTopWindows(nullptr, bb::kFrameClass, pid_))
                if (IsWindowVisible(frame)) frame_ = frame;
            return frame_ != nullptr;
        }));
        ASSERT_TRUE(WaitFor([&] { return Requests("/plugin/status.php", "path").size() > statusBefore; }));
        std::this_thread::sleep_for(300ms);   // the answer has been applied to the window
        ASSERT_TRUE(Boxes().empty()) << "unexpected box: " << Utf8(BoxText(Boxes().front()));
    }

    std::vector<HWND> Windows(const std::function<bool(HWND)>& match) {
        std::vector<HWND> found;
        for (HWND window : bb::FindTopWindows(nullptr, nullptr, pid_))
            if (match(window)) found.push_back(window);
        return found;
    }
    // Message boxes and the confirmation box: visible dialogs with a text control.
    std::vector<HWND> Boxes() {
        return Windows([](HWND w) {
            return HasClass(w, L"#32770") && IsWindowVisible(w) &&
                   (GetDlgItem(w, kBoxText) != nullptr || GetDlgItem(w, kAskText) != nullptr);
        });
    }
    static std::wstring BoxText(HWND box) {
        HWND text = GetDlgItem(box, kAskText);
        return TextOf(text ? text : GetDlgItem(box, kBoxText));
    }
    HWND WaitForBox() {
        HWND box = nullptr;
        WaitFor([&] {
            const auto boxes = Boxes();
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        });
        return box;
    }
    // Waits for the next box, answers it with `button` and returns its text (UTF-8).
    std::string Answer(int button = IDOK, bool tickDontShowAgain = false) {
        HWND box = WaitForBox();
        if (!box) return "<no box>";
        const std::string text = Utf8(BoxText(box));
        if (tickDontShowAgain) Send(GetDlgItem(box, kAskDontShow), BM_SETCHECK, BST_CHECKED);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        return text;
    }

    HWND Bar(int id) { return GetDlgItem(GetDlgItem(frame_, kDialogBar), id); }
    HWND Editor() { return GetDlgItem(frame_, kEditor); }
    void Write(const std::wstring& to, const std::wstring& text) {
        SetText(Bar(kTo), to);
        SetText(Editor(), text);
    }
    void Command(WORD id) { PostMessageW(frame_, WM_COMMAND, id, 0); }
    bool FrameGone(std::chrono::milliseconds timeout = 15s) {
        return WaitFor([&] { return !IsWindow(frame_); }, timeout);
    }

    StandinAddresses standin_;
    std::string exe_;
    bb::Program program_;
    DWORD pid_ = 0;
    HWND frame_ = nullptr;
};

TEST_F(SendBlackBox, ConfirmedSendReachesTheServiceWithEveryParameterAndCloses) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    Write(L"+491711234567; 0171 7654321", L"Gr\u00FC\u00DFe & 50% {ok}\r\nZeile 2");
    Send(Bar(kInbox), BM_CLICK);
    Send(Bar(kFlash), BM_CLICK);
    Send(Bar(kSendOn), BM_CLICK);
    EXPECT_EQ(Send(Bar(kInbox), BM_GETCHECK), BST_CHECKED) << IsWindowVisible(Bar(kInbox));
    EXPECT_EQ(Send(Bar(kFlash), BM_GETCHECK), BST_CHECKED) << IsWindowVisible(Bar(kFlash));
    Command(kSend);
    const std::string question = Answer(IDOK);
    EXPECT_EQ(question, "Send the message?\n\n2 recipients \xC3\x97 1 SMS = 2 SMS");
    EXPECT_EQ(Answer(IDOK), "Message(s) successfully sent.");
    EXPECT_TRUE(FrameGone());

    const std::string messages = Messages();
    ASSERT_EQ(JsonStrings(messages, "raw_query").size(), 1u) << messages;
    EXPECT_EQ(JsonStrings(messages, "user")[0], "sender");
    EXPECT_EQ(JsonStrings(messages, "recipients")[0], "+491711234567,+491717654321");
    EXPECT_EQ(JsonStrings(messages, "message")[0], "Gr\xC3\xBC\xC3\x9F" "e & 50% {ok}rnZeile 2");
    // The text travels as escaped Windows-1252 bytes.
    const std::string raw = JsonStrings(messages, "message_raw")[0];
    EXPECT_NE(raw.find("%FC%DF"), std::string::npos) << raw;
    EXPECT_NE(raw.find("%26"), std::string::npos) << raw;
    EXPECT_NE(raw.find("%25"), std::string::npos) << raw;
    EXPECT_TRUE(std::regex_match(JsonStrings(messages, "send_time")[0],
                                 std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d)")))
        << JsonStrings(messages, "send_time")[0];
    EXPECT_EQ(JsonStrings(messages, "rply")[0], "1");
    EXPECT_EQ(JsonStrings(messages, "senderid")[0], "0");
    EXPECT_EQ(JsonStrings(messages, "flash")[0], "1");
    ASSERT_EQ(JsonStrings(messages, "gmt").size(), 1u);
    // The time zone as whole hours from the standard bias of the system's zone.
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    EXPECT_EQ(JsonStrings(messages, "gmt")[0], std::to_string(-zone.Bias / 60));
}

TEST_F(SendBlackBox, DontShowAgainSendsWithoutResultBoxAfterAPause) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    Write(L"+491711234567", L"Hello");
    Command(kSend);
    Answer(IDOK, /*tickDontShowAgain=*/true);
    const auto answered = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([&] { return MessageCount() == 1; }));
    EXPECT_TRUE(FrameGone());
    EXPECT_GE(std::chrono::steady_clock::now() - answered, 1000ms);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(RegDword(L"SendConfirmation"), 0u);
}

TEST_F(SendBlackBox, InsufficientCreditsWarnFailAndLeaveTheWindowAsItWas) {
    SetAccount(1, "11111");
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    const std::wstring text(161, L'x');   // two parts, one credit
    Write(L"+491711234567", text);
    Command(kSend);
    EXPECT_EQ(Answer(IDOK), "Send the message?\n\n1 recipient \xC3\x97 2 SMS = 2 SMS");
    EXPECT_EQ(Answer(IDOK), "You dont have sufficient SMS credits.");
    EXPECT_EQ(Answer(IDOK), "Your message(s) could not be send! Please try again.");
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(IsWindow(frame_));
    EXPECT_EQ(TextOf(Bar(kTo)), L"+491711234567");
    EXPECT_EQ(TextOf(Editor()), text);
    EXPECT_EQ(MessageCount(), 0u);
    const std::string dir = Env("PAGELARK_DIR");
    const std::string log = bb::ReadFileText(std::wstring(dir.begin(), dir.end()) + L"\\Pagelark.log");
    EXPECT_NE(log.find("You dont have sufficient SMS credits."), std::string::npos) << log;
}

TEST_F(SendBlackBox, SecondaryServesWhenThePrimaryIsDown) {
    SetRegDword(L"SendConfirmation", 0);
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    AdminCall(standin_, "POST", "/admin/servers", R"({"primary":false,"secondary":true})");
    Write(L"+491711234567", L"Hello");
    Command(kSend);
    EXPECT_TRUE(FrameGone());
    EXPECT_TRUE(Boxes().empty());
    const auto servers = Requests("/plugin/sms.php", "server");
    ASSERT_EQ(servers.size(), 1u) << AdminCall(standin_, "GET", "/admin/requests");
    EXPECT_EQ(servers[0], "secondary");
}

TEST_F(SendBlackBox, BothServersDownReportsTheFailureAndKeepsTheWindow) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    AdminCall(standin_, "POST", "/admin/servers", R"({"primary":false,"secondary":false})");
    Write(L"+491711234567", L"Hello");
    EXPECT_EQ(Send(bb::Control(frame_, kStatusIconPane), STM_GETICON), 0);   // empty before the first send
    Command(kSend);
    Answer(IDOK);
    EXPECT_EQ(Answer(IDOK), "Your message(s) could not be send! Please try again.");
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(IsWindow(frame_));
    EXPECT_EQ(TextOf(Editor()), L"Hello");
    // The failure icon stands in the status bar's icon pane.
    EXPECT_NE(Send(bb::Control(frame_, kStatusIconPane), STM_GETICON), 0);
    AdminCall(standin_, "POST", "/admin/servers", R"({"primary":true,"secondary":true})");
    EXPECT_EQ(MessageCount(), 0u);
}

TEST_F(SendBlackBox, CreditsZeroFetchTheStatusBeforeSending) {
    SetAccount(0, "11111");
    SetRegDword(L"SendConfirmation", 0);
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    SetAccount(5, "11111");
    const size_t statusBefore = Requests("/plugin/status.php", "path").size();
    Write(L"+491711234567", L"Hello");
    Command(kSend);
    EXPECT_TRUE(FrameGone());
    EXPECT_EQ(Requests("/plugin/status.php", "path").size(), statusBefore + 1)
        << AdminCall(standin_, "GET", "/admin/requests");
    EXPECT_EQ(MessageCount(), 1u);
}

TEST_F(SendBlackBox, KnownCreditsSendWithoutAnotherStatusRequest) {
    SetRegDword(L"SendConfirmation", 0);
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    const size_t statusBefore = Requests("/plugin/status.php", "path").size();
    Write(L"+491711234567", L"Hello");
    Command(kSend);
    EXPECT_TRUE(FrameGone());
    EXPECT_EQ(Requests("/plugin/status.php", "path").size(), statusBefore);
}

TEST_F(SendBlackBox, AListWithoutNumbersAsksForRecipients) {
    MapiDoubleBook book(
        "container\tid=AB-MAIN\tname=Contacts\n"
        "entry\tid=P1\tin=AB-MAIN\tkind=person\tdisplay=Eve\temail=eve@example.com\n"
        "entry\tid=P2\tin=AB-MAIN\tkind=person\tdisplay=Fritz\n"
        "entry\tid=L1\tin=AB-MAIN\tkind=list\tdisplay=Silent\tmembers=P1,P2\n",
        MapiDoubleBook::Source::OutlookExpress);   // the window below belongs to Outlook Express
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    ASSERT_TRUE(book.WaitForLog("Object found 'Silent'"));
    Write(L"Silent", L"Hello");
    Command(kSend);
    EXPECT_EQ(Answer(IDOK), "Please enter recipient(s).");
    EXPECT_TRUE(IsWindow(frame_));
    EXPECT_EQ(MessageCount(), 0u);
}

// To… offers the address book's people and lists; a list picked there goes out to its members'
// numbers, and a member without a number is left out.
TEST_F(SendBlackBox, AListPickedInSelectNamesIsSentToItsMembersNumbers) {
    MapiDoubleBook book(
        "container\tid=PAB\tname=Main Identity\n"
        "entry\tid=W1\tin=PAB\tkind=person\tdisplay=Wanda Wabner\tmobile=+491719999999\n"
        "entry\tid=W2\tin=PAB\tkind=person\tdisplay=Ole Otto\tmobile=0171 2223334\n"
        "entry\tid=W3\tin=PAB\tkind=person\tdisplay=Mia Mail\temail=mia@example.com\n"
        "entry\tid=L1\tin=PAB\tkind=list\tdisplay=Choir\tmembers=W1,W2,W3\n",
        MapiDoubleBook::Source::OutlookExpress);
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    ASSERT_TRUE(book.WaitForLog("Object found 'Choir'"));
    SetText(Editor(), L"Rehearsal at eight");
    Click(Bar(kToButton));
    HWND names = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto found = Windows([](HWND w) { return IsWindowVisible(w) && GetDlgItem(w, kAddressBook); });
        names = found.empty() ? nullptr : found.front();
        return names != nullptr;
    }));
    HWND list = GetDlgItem(names, kAddressBook);
    std::vector<std::wstring> entries;
    const auto count = static_cast<int>(Send(list, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        if (Send(list, LB_GETTEXTLEN, i) < 255) Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    int choir = -1;
    for (int i = 0; i < count; ++i)
        if (entries[i].find(L"Choir") != std::wstring::npos) choir = i;
    std::wstring all;
    for (const auto& entry : entries) all += entry + L" | ";
    ASSERT_GE(choir, 0) << Utf8(all);
    EXPECT_NE(all.find(L"Wanda Wabner"), std::wstring::npos) << Utf8(all);
    EXPECT_NE(all.find(L"Ole Otto"), std::wstring::npos) << Utf8(all);
    EXPECT_EQ(all.find(L"Mia Mail"), std::wstring::npos) << "no number, so not offered for To: " << Utf8(all);

    Send(list, LB_SETCURSEL, static_cast<WPARAM>(choir));
    Send(names, WM_COMMAND, MAKEWPARAM(kAddSelected, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(names, kAddSelected)));
    PostMessageW(names, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(names); }));
    EXPECT_NE(TextOf(Bar(kTo)).find(L"Choir"), std::wstring::npos) << Utf8(TextOf(Bar(kTo)));

    Command(kSend);
    EXPECT_EQ(Answer(IDOK), "Send the message?\n\n2 recipients \xC3\x97 1 SMS = 2 SMS");
    EXPECT_EQ(Answer(IDOK), "Message(s) successfully sent.");
    const std::string messages = Messages();
    ASSERT_EQ(JsonStrings(messages, "recipients").size(), 1u) << messages;
    EXPECT_EQ(JsonStrings(messages, "recipients")[0], "+491719999999,+491712223334");
}

TEST_F(SendBlackBox, EmptyTextAsksForText) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    Write(L"+491711234567", L"");
    Command(kSend);
    EXPECT_EQ(Answer(IDOK), "Please enter text.");
    EXPECT_EQ(TextOf(Bar(kTo)), L"+491711234567");
    EXPECT_EQ(MessageCount(), 0u);
}

TEST_F(SendBlackBox, EmojiIsNamedAndNothingIsSent) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    Write(L"+491711234567", L"Party \U0001F389 tonight");
    Command(kSend);
    EXPECT_EQ(Answer(IDOK), "These characters cannot be sent by SMS:\n\n\"\xF0\x9F\x8E\x89\"\n\n"
                            "Please replace or remove them, then send again.");
    EXPECT_EQ(TextOf(Editor()), L"Party \U0001F389 tonight");
    const LRESULT selection = Send(Editor(), EM_GETSEL);   // no pointers across processes
    EXPECT_EQ(LOWORD(selection), 6u);   // the emoji is selected, ready to be replaced
    EXPECT_EQ(HIWORD(selection), 8u);
    EXPECT_EQ(MessageCount(), 0u);
    EXPECT_TRUE(Requests("/plugin/sms.php", "path").empty());
}

TEST_F(SendBlackBox, SaveAsWritesTheLayoutWithCrLfLines) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    const std::wstring path = L"C:\\pagelark_send_saved.txt";
    DeleteFileW(path.c_str());
    Write(L"anna", L"Hello");
    Command(kSaveAs);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto found = Windows([](HWND w) { return HasClass(w, L"#32770") && IsWindowVisible(w); });
        dialog = found.empty() ? nullptr : found.front();
        return dialog != nullptr;
    }));
    // The file name box of the explorer-style dialog (combo 1148 with its edit, or edit 1152).
    HWND name = GetDlgItem(dialog, 1148);
    if (name) name = FindWindowExW(name, nullptr, L"Edit", nullptr);
    if (!name) name = bb::Control(dialog, 1152);
    if (!name) name = bb::Control(dialog, 1148);
    std::string children;
    EnumChildWindows(dialog, [](HWND child, LPARAM out) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        *reinterpret_cast<std::string*>(out) += std::to_string(GetDlgCtrlID(child)) + ":" + Utf8(name) + " ";
        return TRUE;
    }, reinterpret_cast<LPARAM>(&children));
    ASSERT_NE(name, nullptr) << children;
    SetText(name, path);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const std::string saved = "- Telvoro Pagelark -\r\n\r\nTo: anna\r\nCC: \r\n\r\nHello";
    WaitFor([&] { return bb::ReadFileText(path) == saved; });
    EXPECT_EQ(bb::ReadFileText(path), saved);
    EXPECT_TRUE(IsWindow(frame_));
    DeleteFileW(path.c_str());
}

TEST_F(SendBlackBox, PrintShowsThePrintDialogAndCancelsCleanly) {
    ASSERT_NO_FATAL_FAILURE(OpenMessageWindow());
    Write(L"+491711234567", L"Hello");
    Command(kPrint);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto found = Windows([](HWND w) { return HasClass(w, L"#32770") && IsWindowVisible(w); });
        dialog = found.empty() ? nullptr : found.front();
        return dialog != nullptr;
    }));
    EXPECT_FALSE(IsWindowEnabled(frame_));   // modal over the message window
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(frame_) != FALSE; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(TextOf(Editor()), L"Hello");
}

}  // namespace
