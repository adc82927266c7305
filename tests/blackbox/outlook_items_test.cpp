// Outlook automation through the real Pagelark.exe against the Outlook double (out of process, as
// Outlook is) and the local stand-in: the sent copy, drafts, stored items, Delete, Move and Copy
// through the folder chooser, failures. After every test the double holds no COM object.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../win/outlook_double_client.h"
#include "../win/service_standin_admin.h"
#include "driver.h"

namespace {

using namespace std::chrono_literals;
namespace bb = pagelark::blackbox;
using pagelark::testing::AdminCall;
using pagelark::testing::JsonStrings;
using pagelark::testing::OutlookDouble;
using pagelark::testing::StandinAddresses;

constexpr wchar_t kProductKey[] = L"Software\\Orvane\\Pagelark";
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
constexpr UINT kOpenRequest = WM_USER + 1;
constexpr WORD kSend = 32801, kSave = 57603, kDelete = 32802, kMoveToFolder = 32803, kCopyToFolder = 32804;
constexpr int kDialogBar = 59500, kEditor = 1090, kTo = 1001, kBoxText = 0xFFFF, kAskText = 1066;
constexpr int kFolderTree = 1088;
constexpr char kDrafts[] = "Personal Folders/Drafts";
constexpr char kArchive[] = "Personal Folders/Projects/SMS archive/2026";

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                            nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}
bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    return bb::WaitUntil(condition, timeout);
}
bool HasClass(HWND window, const wchar_t* name) {
    wchar_t buffer[64] = {};
    GetClassNameW(window, buffer, 64);
    return wcscmp(buffer, name) == 0;
}
std::string IdOf(const std::string& listLine) { return listLine.substr(0, listLine.find('\t')); }

class OutlookBlackBox : public ::testing::Test {
protected:
    void SetUp() override {
        if (bb::EnvVar("PAGELARK_EXE").empty() || !standin_.Available()) GTEST_SKIP() << "PAGELARK_EXE or the stand-in not set";
        if (!OutlookDouble::Available()) GTEST_SKIP() << "the Outlook double is not in the prefix";
        bb::KillLeftovers();
        AdminCall(standin_, "POST", "/admin/reset", "{}");
        bb::DeleteKey(HKEY_CURRENT_USER, kProductKey);
        bb::SetSettingDword(L"Language", 9);
        bb::SetSettingString(L"UserName", L"sender");
        StorePassword("secret");
        bb::SetSettingString(L"UserLandCode", L"+49");
        bb::SetSettingString(L"UserMobile", L"1701234567");
        bb::SetSettingDword(L"SendConfirmation", 1);
        bb::SetSettingDword(L"SaveSentMessages", 1);
        bb::SetDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", 3);   // Outlook integration on
        AdminCall(standin_, "POST", "/admin/accounts",
                  R"({"user":"sender","password":"secret","mobile":"+491701234567","email":"sender@example.com",)"
                  R"("credits":50,"acctyp":"11111","active":true})");
        ASSERT_TRUE(OutlookDouble::Prepare(16));
    }
    void TearDown() override {
        if (bb::EnvVar("PAGELARK_EXE").empty() || !OutlookDouble::Available()) return;
        program_.Kill();
        bb::KillLeftovers();
        EXPECT_TRUE(OutlookDouble::NoObjectsAlive()) << "COM objects left alive: " << OutlookDouble::Counter(L"LiveObjects");
        OutlookDouble::Run(L"fault clear");
        OutlookDouble::Unregister();
        bb::DeleteKey(HKEY_CURRENT_USER, kAddinKey);
    }

    // The password as the settings store keeps it: byte i is p[i+1] + p[0], the last one p[0] + 2.
    static void StorePassword(const std::string& clear) {
        const auto first = static_cast<unsigned char>(clear[0]);
        std::string stored(clear.size(), '\0');
        for (size_t i = 0; i + 1 < clear.size(); ++i)
            stored[i] = static_cast<char>(static_cast<unsigned char>(clear[i + 1]) + first);
        stored.back() = static_cast<char>(first + 2);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, bb::kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0) {
            RegSetValueExA(key, "UserPassword", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                           static_cast<DWORD>(stored.size() + 1));
            RegCloseKey(key);
        }
    }

    void Start() {
        program_ = bb::Program::Launch();
        ASSERT_TRUE(program_.Started());
        pid_ = program_.Pid();
        main_ = bb::WaitForWindow(bb::kMainTitle, nullptr, 15s, pid_);
        ASSERT_NE(main_, nullptr);
    }
    // A new visible message window after `open`, once its status request was answered.
    HWND OpenWith(const std::function<void()>& open) {
        std::vector<HWND> before = bb::FindTopWindows(nullptr, bb::kFrameClass, pid_);
        open();
        HWND found = nullptr;
        WaitFor([&] {
            for (HWND frame : bb::FindTopWindows(nullptr, bb::kFrameClass, pid_))
                if (IsWindowVisible(frame) && std::find(before.begin(), before.end(), frame) == before.end()) found = frame;
            return found != nullptr;
        });
        std::this_thread::sleep_for(500ms);   // the status answer has been applied
        return found;
    }
    HWND OpenNew() { return OpenWith([&] { PostMessageW(main_, kOpenRequest, 1, 0); }); }
    // Opens a stored item the way the add-in hands it over: WM_COPYDATA 0xAAAA with its EntryID.
    HWND OpenStored(const std::string& entryId) {
        return OpenWith([&] {
            char block[80] = {};
            entryId.copy(block, sizeof block - 1);
            COPYDATASTRUCT data{0xAAAA, sizeof block, block};
            DWORD_PTR result = 0;
            SendMessageTimeoutW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 15000, &result);
        });
    }

    static HWND Bar(HWND frame, int id) { return GetDlgItem(GetDlgItem(frame, kDialogBar), id); }
    static HWND Editor(HWND frame) { return GetDlgItem(frame, kEditor); }
    static void Command(HWND frame, WORD id) { PostMessageW(frame, WM_COMMAND, id, 0); }

    std::vector<HWND> Dialogs() {
        std::vector<HWND> found;
        for (HWND window : bb::FindTopWindows(nullptr, nullptr, pid_))
            if (HasClass(window, L"#32770") && IsWindowVisible(window)) found.push_back(window);
        return found;
    }
    HWND WaitForDialog() {
        HWND dialog = nullptr;
        WaitFor([&] {
            const auto dialogs = Dialogs();
            dialog = dialogs.empty() ? nullptr : dialogs.front();
            return dialog != nullptr;
        });
        return dialog;
    }
    // Answers the next box with `button`; returns its text.
    std::string Answer(int button = IDOK) {
        HWND box = WaitForDialog();
        if (!box) return "<no box>";
        HWND text = GetDlgItem(box, kAskText);
        const std::string said = Utf8(bb::GetText(text ? text : GetDlgItem(box, kBoxText)));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        return said;
    }

    // Selects the tree item reached by taking the `path`-th sibling at each level, then OK.
    void ChooseFolder(HWND dialog, const std::vector<int>& path) {
        HWND tree = GetDlgItem(dialog, kFolderTree);
        ASSERT_NE(tree, nullptr);
        LRESULT item = bb::Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        for (size_t level = 0; level < path.size(); ++level) {
            if (level > 0) item = bb::Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, item);
            for (int i = 0; i < path[level] && item; ++i) item = bb::Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, item);
            ASSERT_NE(item, 0) << "level " << level;
        }
        bb::Send(tree, TVM_SELECTITEM, TVGN_CARET, item);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    // Personal Folders (2nd store) / Projects (10th by name) / SMS archive (2nd) / 2026.
    static std::vector<int> ArchivePath() { return {1, 9, 1, 0}; }

    static std::string MapiLog() {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        std::string text;
        HANDLE file = CreateFileW((std::wstring(folder) + L"Mapi.log").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) text.append(buffer, got);
        CloseHandle(file);
        return text;
    }

    StandinAddresses standin_;
    bb::Program program_;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

TEST_F(OutlookBlackBox, SentSmsLeavesOneItemOfTheProgramsClassInSentItems) {
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenNew();
    ASSERT_NE(frame, nullptr);
    bb::SetText(Bar(frame, kTo), L"+491711234567");
    bb::SetText(Editor(frame), L"Hello from Pagelark");
    Command(frame, kSend);
    EXPECT_TRUE(Contains(Answer(IDOK), "Send the message?"));
    EXPECT_EQ(Answer(IDOK), "Message(s) successfully sent.");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(frame); }));

    EXPECT_EQ(JsonStrings(AdminCall(standin_, "GET", "/admin/messages?user=sender"), "raw_query").size(), 1u);
    std::vector<std::string> sent;
    ASSERT_TRUE(WaitFor([&] { return (sent = OutlookDouble::Items("Personal Folders/Sent Items")).size() == 1; }));
    const std::string shown = OutlookDouble::Show(IdOf(sent[0]));
    EXPECT_TRUE(Contains(shown, "MessageClass: IPM.Note.Pagelark")) << shown;
    EXPECT_TRUE(Contains(shown, "To: +491711234567")) << shown;
    EXPECT_TRUE(Contains(shown, "Subject: SMS-Message")) << shown;
    EXPECT_TRUE(Contains(shown, "Body: Hello from Pagelark")) << shown;
    EXPECT_TRUE(Contains(shown, "SenderName: sender (+491701234567)")) << shown;
}

TEST_F(OutlookBlackBox, FailingFirstStepOfTheSentCopyIsLoggedAndTheSendStillSucceeds) {
    ASSERT_TRUE(OutlookDouble::Fault("Items.Add"));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenNew();
    ASSERT_NE(frame, nullptr);
    bb::SetText(Bar(frame, kTo), L"+491711234567");
    bb::SetText(Editor(frame), L"Hello");
    Command(frame, kSend);
    Answer(IDOK);
    EXPECT_EQ(Answer(IDOK), "Message(s) successfully sent.");
    EXPECT_TRUE(WaitFor([&] { return Contains(MapiLog(), "Error on CreateSentMessage: "); })) << MapiLog();
    EXPECT_TRUE(OutlookDouble::Items("Personal Folders/Sent Items").empty());
}

TEST_F(OutlookBlackBox, SavingTwiceUpdatesTheOneDraft) {
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenNew();
    ASSERT_NE(frame, nullptr);
    bb::SetText(Bar(frame, kTo), L"+491711234567");
    bb::SetText(Editor(frame), L"first text");
    Command(frame, kSave);
    std::vector<std::string> drafts;
    ASSERT_TRUE(WaitFor([&] { return (drafts = OutlookDouble::Items(kDrafts)).size() == 1; }));
    const std::string id = IdOf(drafts[0]);
    bb::SetText(Editor(frame), L"second text");
    Command(frame, kSave);
    EXPECT_TRUE(WaitFor([&] { return Contains(OutlookDouble::Show(id), "Body: second text"); })) << OutlookDouble::Show(id);
    EXPECT_EQ(OutlookDouble::Items(kDrafts).size(), 1u);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(OutlookBlackBox, StoredItemsOpenFilledAndSentOnesReadOnly) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "draft line \\r\\nnext\\r\\n", false);
    const std::string sent = OutlookDouble::AddItem("Personal Folders/Sent Items", "+491722222222", "was sent", true);
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND first = OpenStored(draft);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(bb::GetText(Bar(first, kTo)), L"+491711111111");
    EXPECT_EQ(bb::GetText(Editor(first)), L"draft line\r\nnext");
    EXPECT_EQ(GetWindowLongW(Editor(first), GWL_STYLE) & ES_READONLY, 0);
    HWND second = OpenStored(sent);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(bb::GetText(Editor(second)), L"was sent");
    EXPECT_NE(GetWindowLongW(Editor(second), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(OutlookBlackBox, DeleteRemovesTheItemAndClosesTheWindow) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "to be deleted", false);
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenStored(draft);
    ASSERT_NE(frame, nullptr);
    Command(frame, kDelete);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(frame); }));
    EXPECT_TRUE(OutlookDouble::Items(kDrafts).empty());
    EXPECT_EQ(OutlookDouble::Items("Personal Folders/Deleted Items").size(), 1u);
}

TEST_F(OutlookBlackBox, MoveAndCopyFileTheWindowsTextThroughTheFolderChooser) {
    const std::string moved = OutlookDouble::AddItem(kDrafts, "+491711111111", "stored text", false);
    const std::string copied = OutlookDouble::AddItem(kDrafts, "+491722222222", "kept text", false);
    ASSERT_NO_FATAL_FAILURE(Start());

    HWND frame = OpenStored(copied);
    ASSERT_NE(frame, nullptr);
    bb::SetText(Editor(frame), L"copy with this text");
    Command(frame, kCopyToFolder);
    HWND chooser = WaitForDialog();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(bb::GetText(chooser), L"Copy to folder");
    EXPECT_EQ(bb::GetText(GetDlgItem(chooser, 1104)), L"Folder:");
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);   // nothing selected: stays open
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(IsWindow(chooser));
    ASSERT_NO_FATAL_FAILURE(ChooseFolder(chooser, ArchivePath()));
    std::vector<std::string> filed;
    ASSERT_TRUE(WaitFor([&] { return (filed = OutlookDouble::Items(kArchive)).size() == 1; }));
    EXPECT_TRUE(Contains(OutlookDouble::Show(IdOf(filed[0])), "Body: copy with this text"));
    EXPECT_TRUE(Contains(OutlookDouble::Show(copied), "Body: kept text"));   // the original stays
    EXPECT_TRUE(IsWindow(frame));

    HWND other = OpenStored(moved);
    ASSERT_NE(other, nullptr);
    bb::SetText(Editor(other), L"moved with this text");
    Command(other, kMoveToFolder);
    chooser = WaitForDialog();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(bb::GetText(chooser), L"Move to folder");
    ASSERT_NO_FATAL_FAILURE(ChooseFolder(chooser, ArchivePath()));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(other); }));
    EXPECT_TRUE(Contains(OutlookDouble::Show(moved), "Folder: " + std::string(kArchive))) << OutlookDouble::Show(moved);
    EXPECT_TRUE(Contains(OutlookDouble::Show(moved), "Body: moved with this text"));
    EXPECT_EQ(OutlookDouble::Items(kDrafts).size(), 1u);
}

TEST_F(OutlookBlackBox, OldOutlookGetsNoJunkEmailLookupAndCancelChoosesNothing) {
    ASSERT_TRUE(OutlookDouble::Run(L"curver 9"));
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenNew();
    ASSERT_NE(frame, nullptr);
    bb::SetText(Bar(frame, kTo), L"+491711234567");
    bb::SetText(Editor(frame), L"text");
    Command(frame, kMoveToFolder);
    HWND chooser = WaitForDialog();
    ASSERT_NE(chooser, nullptr);
    const std::string calls = OutlookDouble::Calls();
    EXPECT_TRUE(Contains(calls, "NameSpace.GetDefaultFolder 6")) << calls;
    EXPECT_FALSE(Contains(calls, "NameSpace.GetDefaultFolder 23")) << calls;
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_FALSE(Contains(OutlookDouble::Calls(), "Item.Move"));
}

TEST_F(OutlookBlackBox, FailingReadIsReportedAndTheProgramGoesOn) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "unreadable", false);
    ASSERT_TRUE(OutlookDouble::Fault("NameSpace.GetItemFromID"));
    ASSERT_NO_FATAL_FAILURE(Start());
    char block[80] = {};
    draft.copy(block, sizeof block - 1);
    COPYDATASTRUCT data{0xAAAA, sizeof block, block};
    SendMessageTimeoutW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000, nullptr);
    const std::string said = Answer(IDOK);
    EXPECT_TRUE(Contains(said, "The message could not be opened from Outlook.")) << said;
    EXPECT_TRUE(program_.IsRunning());
    EXPECT_NE(OpenNew(), nullptr);   // still answering
}

TEST_F(OutlookBlackBox, WithTheIntegrationOffSaveNeverTouchesOutlook) {
    bb::SetDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", 2);
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenNew();
    ASSERT_NE(frame, nullptr);
    bb::SetText(Bar(frame, kTo), L"+491711234567");
    bb::SetText(Editor(frame), L"text");
    Command(frame, kSave);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(OutlookDouble::Calls(), "");
    EXPECT_TRUE(OutlookDouble::Items(kDrafts).empty());
}

}  // namespace
