// The message window's Outlook side through the real Pagelark.exe under Wine, against the Outlook
// double and the local stand-in: the sent copy, drafts, stored items, Delete, Move and Copy through
// the folder chooser, failures, and the integration switched off. What Outlook holds afterwards is
// read from the double's store.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../win/outlook_double_client.h"
#include "../win/service_standin_admin.h"
#include "driver.h"
#include "resource_ids.h"

namespace {

namespace bb = pagelark::blackbox;
using namespace std::chrono_literals;
using pagelark::testing::AdminCall;
using pagelark::testing::JsonStrings;
using pagelark::testing::OutlookDouble;
using pagelark::testing::StandinAddresses;

constexpr wchar_t kProductKey[] = L"Software\\Orvane\\Pagelark";
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
constexpr int kSend = ID_SEND, kSave = ID_SAVE, kDelete = ID_DELETE, kMoveToFolder = ID_MOVE_TO_FOLDER,
              kCopyToFolder = ID_COPY_TO_FOLDER;
constexpr int kDialogBar = ID_DIALOG_BAR, kEditor = IDC_MESSAGE_EDITOR, kTo = IDC_TO_FIELD, kCc = IDC_CC_FIELD,
              kFolderTree = IDC_FOLDER_TREE;
constexpr char kDrafts[] = "Personal Folders/Drafts";
constexpr char kSentItems[] = "Personal Folders/Sent Items";
constexpr char kArchive[] = "Personal Folders/Projects/SMS archive/2026";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
std::string IdOf(const std::string& listLine) { return listLine.substr(0, listLine.find('\t')); }

std::wstring MapiLogPath() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"Mapi.log";
}
class OutlookBlackBox : public ::testing::Test {
protected:
    static void TearDownTestSuite() { OutlookDouble::Stop(); }

    void SetUp() override {
        if (bb::EnvVar("PAGELARK_EXE").empty() || !standin_.Available() || !OutlookDouble::Available())
            GTEST_SKIP() << "PAGELARK_EXE, the stand-in or the Outlook double is missing";
        bb::KillLeftovers();
        AdminCall(standin_, "POST", "/admin/reset", "{}");
        AdminCall(standin_, "POST", "/admin/accounts",
                  R"({"user":"sender","password":"secret","mobile":"+491701234567","email":"sender@example.com",)"
                  R"("credits":50,"acctyp":"11111","active":true})");
        bb::DeleteKey(HKEY_CURRENT_USER, kProductKey);
        bb::SetSettingDword(L"Language", 9);
        bb::SetSettingString(L"UserName", L"sender");
        bb::StorePassword("secret");
        bb::SetSettingString(L"UserLandCode", L"+49");
        bb::SetSettingString(L"UserMobile", L"1701234567");
        bb::SetSettingDword(L"SendConfirmation", 0);
        bb::SetSettingDword(L"SaveSentMessages", 1);
        SetIntegration(true);
        DeleteFileW(MapiLogPath().c_str());
        ASSERT_TRUE(OutlookDouble::Prepare(12));
        registered_ = true;
    }
    void TearDown() override {
        if (program_.Started()) EXPECT_TRUE(OutlookDouble::NoObjectsAlive()) << OutlookDouble::Counter(L"LiveObjects");
        program_.Kill();
        bb::KillLeftovers();
        if (registered_) OutlookDouble::Unregister();
        bb::DeleteKey(HKEY_CURRENT_USER, kAddinKey);
    }

    static void SetIntegration(bool on) { bb::SetDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", on ? 3 : 2); }

    HWND Start() {
        program_ = bb::Program::Launch();
        main_ = bb::WaitForWindow(bb::kMainTitle, nullptr, 20s, program_.Pid());
        return main_;
    }
    // A new Outlook message window, or the window of a stored item.
    HWND OpenNew() {
        return frame_ = bb::WaitForNewMessageWindow(program_.Pid(), [&] { bb::Post(main_, bb::kOpenRequestMessage, 1); });
    }
    // The window's account status has arrived (its credits show): CC is gathered from then on.
    bool AccountShown() const {
        return bb::WaitUntil([&] { return bb::GetText(GetDlgItem(GetDlgItem(frame_, ID_STATUS_BAR), ID_PANE_CREDITS)) == L" 50"; });
    }
    HWND OpenItem(const std::string& entryId) {
        return frame_ = bb::WaitForNewMessageWindow(program_.Pid(), [&] { EXPECT_EQ(bb::SendItemCopy(main_, entryId), 1); });
    }

    HWND Field(int id) const { return id == kEditor ? GetDlgItem(frame_, kEditor) : GetDlgItem(GetDlgItem(frame_, kDialogBar), id); }
    void Write(const std::wstring& to, const std::wstring& cc, const std::wstring& body) {
        bb::SetText(Field(kTo), to);
        bb::SetText(Field(kCc), cc);
        bb::SetText(Field(kEditor), body);
    }
    bool ReadOnly(int id) const { return (GetWindowLongW(Field(id), GWL_STYLE) & ES_READONLY) != 0; }
    bool FrameGone() const { return bb::WaitUntil([&] { return !IsWindow(frame_); }, 15s); }

    // The folder chooser that `command` opens: chooses `path` and presses OK.
    bool FileInto(int command, const wchar_t* caption, const std::wstring& path) {
        bb::PostCommand(frame_, command);
        HWND dialog = bb::WaitForDialog(program_.Pid(), caption);
        if (!dialog) return false;
        HWND tree = GetDlgItem(dialog, kFolderTree);
        HTREEITEM item = bb::FindTreeItem(tree, path);
        if (!item || !bb::SelectTreeItem(tree, item)) return false;
        bb::PressButton(dialog, IDOK);
        return bb::WaitUntil([&] { return !IsWindow(dialog); });
    }

    std::vector<std::string> Folder(const char* path) const { return OutlookDouble::Items(path); }
    size_t SmsCount() { return JsonStrings(AdminCall(standin_, "GET", "/admin/messages?user=sender"), "raw_query").size(); }

    StandinAddresses standin_;
    bb::Program program_;
    HWND main_ = nullptr;
    HWND frame_ = nullptr;
    bool registered_ = false;
};

TEST_F(OutlookBlackBox, SentMessageLeavesOneCopyInSentItemsAndTheSmsAtTheService) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenNew(), nullptr);
    ASSERT_TRUE(AccountShown());
    Write(L"+491711234567", L"anna@example.com", L"Hello from Pagelark");   // CC: e-mail copies
    bb::PostCommand(frame_, kSend);
    ASSERT_TRUE(FrameGone());
    EXPECT_EQ(SmsCount(), 1u);
    const auto sent = Folder(kSentItems);
    ASSERT_EQ(sent.size(), 1u);
    const std::string shown = OutlookDouble::Show(IdOf(sent[0]));
    EXPECT_TRUE(Contains(shown, "MessageClass: IPM.Note.Pagelark")) << shown;
    EXPECT_TRUE(Contains(shown, "To: +491711234567\n")) << shown;
    EXPECT_TRUE(Contains(shown, "CC: anna@example.com\n")) << shown;
    EXPECT_TRUE(Contains(shown, "Subject: SMS-Message\n")) << shown;
    EXPECT_TRUE(Contains(shown, "Body: Hello from Pagelark\n")) << shown;
    EXPECT_TRUE(Contains(shown, "SenderName: sender (+491701234567)\n")) << shown;
    EXPECT_TRUE(Folder(kDrafts).empty());
}

TEST_F(OutlookBlackBox, FailedFirstStepOfTheSentCopyIsLoggedAndTheSendStillSucceeds) {
    ASSERT_TRUE(OutlookDouble::Fault("Items.Add"));
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenNew(), nullptr);
    Write(L"+491711234567", L"", L"Hello");
    bb::PostCommand(frame_, kSend);
    ASSERT_TRUE(FrameGone());
    EXPECT_EQ(SmsCount(), 1u);
    EXPECT_TRUE(Folder(kSentItems).empty());
    EXPECT_TRUE(bb::WaitUntil([] { return Contains(bb::ReadFileText(MapiLogPath()), "Error on CreateSentMessage: "); }))
        << bb::ReadFileText(MapiLogPath());
    EXPECT_TRUE(bb::FindDialogs(program_.Pid()).empty());   // nothing shown
}

TEST_F(OutlookBlackBox, SaveTwiceKeepsOneDraftWithTheLatestText) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenNew(), nullptr);
    Write(L"+491711234567", L"", L"first text");
    bb::PostCommand(frame_, kSave);
    ASSERT_TRUE(bb::WaitUntil([&] { return Folder(kDrafts).size() == 1; }));
    const std::string id = IdOf(Folder(kDrafts)[0]);
    bb::SetText(Field(kEditor), L"second text");
    bb::PostCommand(frame_, kSave);
    EXPECT_TRUE(bb::WaitUntil([&] { return Contains(OutlookDouble::Show(id), "Body: second text\n"); }))
        << OutlookDouble::Show(id);
    EXPECT_EQ(Folder(kDrafts).size(), 1u);
    EXPECT_TRUE(Contains(OutlookDouble::Show(id), "MessageClass: IPM.Note.Pagelark")) << OutlookDouble::Show(id);
    EXPECT_TRUE(bb::FindDialogs(program_.Pid()).empty());
}

TEST_F(OutlookBlackBox, StoredItemsOpenFilledAndASentOneReadOnly) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "draft text", false);
    const std::string sent = OutlookDouble::AddItem(kSentItems, "+491722222222", "sent text", true);
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenItem(draft), nullptr);
    EXPECT_EQ(bb::GetText(Field(kTo)), L"+491711111111");
    EXPECT_EQ(bb::GetText(Field(kEditor)), L"draft text");
    EXPECT_FALSE(ReadOnly(kEditor));
    EXPECT_FALSE(ReadOnly(kTo));
    ASSERT_NE(OpenItem(sent), nullptr);
    EXPECT_EQ(bb::GetText(Field(kEditor)), L"sent text");
    EXPECT_TRUE(ReadOnly(kEditor));
    EXPECT_TRUE(ReadOnly(kTo));
    EXPECT_TRUE(ReadOnly(kCc));
}

TEST_F(OutlookBlackBox, DeleteRemovesTheItemAndClosesTheWindow) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "to be deleted", false);
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenItem(draft), nullptr);
    bb::PostCommand(frame_, kDelete);
    ASSERT_TRUE(FrameGone());
    EXPECT_TRUE(Folder(kDrafts).empty());
    EXPECT_EQ(Folder("Personal Folders/Deleted Items").size(), 1u);
}

TEST_F(OutlookBlackBox, CopyAndMoveFileTheWindowsTextIntoANestedFolder) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "stored text", false);
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenItem(draft), nullptr);
    bb::SetText(Field(kEditor), L"window text");

    ASSERT_TRUE(FileInto(kCopyToFolder, L"Copy to folder", L"Personal Folders/Projects/SMS archive/2026"));
    ASSERT_TRUE(bb::WaitUntil([&] { return Folder(kArchive).size() == 1; }));
    EXPECT_TRUE(Contains(OutlookDouble::Show(IdOf(Folder(kArchive)[0])), "Body: window text\n"));
    EXPECT_TRUE(Contains(OutlookDouble::Show(draft), "Body: stored text\n"));   // the original as it was
    EXPECT_TRUE(IsWindow(frame_));                                               // a copy keeps the window

    ASSERT_TRUE(FileInto(kMoveToFolder, L"Move to folder", L"Personal Folders/Projects/SMS archive/2026"));
    ASSERT_TRUE(FrameGone());
    EXPECT_TRUE(Folder(kDrafts).empty());
    ASSERT_EQ(Folder(kArchive).size(), 2u);
    EXPECT_TRUE(Contains(OutlookDouble::Show(draft), "Body: window text\n")) << OutlookDouble::Show(draft);
}

TEST_F(OutlookBlackBox, OutlookNineGetsTheSmallPictureStripAndNoJunkEmailLookup) {
    ASSERT_TRUE(OutlookDouble::Prepare(9));
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenNew(), nullptr);
    Write(L"+491711234567", L"", L"text");
    bb::PostCommand(frame_, kMoveToFolder);
    HWND dialog = bb::WaitForDialog(program_.Pid(), L"Move to folder");
    ASSERT_NE(dialog, nullptr);
    HWND tree = GetDlgItem(dialog, kFolderTree);
    HTREEITEM inbox = bb::FindTreeItem(tree, L"Personal Folders/Inbox");
    ASSERT_NE(inbox, nullptr);
    const int image = bb::TreeItemImage(tree, inbox);
    EXPECT_GE(image, 0);
    EXPECT_LT(image, 5);   // a picture of the five-picture strip
    EXPECT_FALSE(Contains(OutlookDouble::Calls(), "NameSpace.GetDefaultFolder 23")) << OutlookDouble::Calls();
    bb::PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(bb::WaitUntil([&] { return !IsWindow(dialog); }));
}

TEST_F(OutlookBlackBox, FailingReadIsReportedOnceAndTheProgramCarriesOn) {
    const std::string draft = OutlookDouble::AddItem(kDrafts, "+491711111111", "text", false);
    ASSERT_TRUE(OutlookDouble::Fault("NameSpace.GetItemFromID"));
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(bb::SendItemCopy(main_, draft), 1);
    HWND box = bb::WaitForDialog(program_.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(bb::DialogMessage(box).find(L"The message could not be opened from Outlook."), std::wstring::npos)
        << std::string(bb::DialogMessage(box).begin(), bb::DialogMessage(box).end());
    bb::PressButton(box, IDOK);
    EXPECT_TRUE(bb::WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(program_.IsRunning());
    EXPECT_TRUE(bb::FindDialogs(program_.Pid()).empty());   // one box, not one per step
}

TEST_F(OutlookBlackBox, IntegrationOffSendsWithoutTouchingOutlook) {
    SetIntegration(false);
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(OpenNew(), nullptr);
    Write(L"+491711234567", L"", L"Hello");
    bb::PostCommand(frame_, kSend);
    ASSERT_TRUE(FrameGone());
    EXPECT_EQ(SmsCount(), 1u);
    EXPECT_TRUE(Folder(kSentItems).empty());
    EXPECT_EQ(OutlookDouble::Calls(), "");
}

}  // namespace
