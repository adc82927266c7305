// Quillbridge.dll inside Outlook (the Outlook double as add-in host) with the real Pagelark.exe:
// the "New SMS" button and its texts by the user's language, clicks with and without a running
// program, the hand-over of stored items and the items that stay with Outlook.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../win/outlook_double_client.h"
#include "../win/service_standin_admin.h"
#include "driver.h"
#include "outlook_host.h"

namespace {

using namespace pagelark::blackbox;
using pagelark::testing::AdminCall;
using pagelark::testing::OutlookDouble;
using pagelark::testing::StandinAddresses;

constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";
constexpr int kEditor = 1090;
constexpr char kDrafts[] = "Personal Folders/Drafts";

// Button report fields (see the host's "button" command).
enum ButtonField { kCaption, kToolTip, kTag, kStyle, kFace, kBar, kPosition, kBeginGroup, kVisible, kEnabled,
                   kTemporary, kListeners, kFieldCount };

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool PutClipboardText(const std::wstring& text) {
    // The clipboard takes data only from an owner window; the data outlives it.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool put = false;
    if (owner && OpenClipboard(owner)) {
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        if (auto* chars = static_cast<wchar_t*>(memory ? GlobalLock(memory) : nullptr)) {
            memcpy(chars, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(memory);
            put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put && memory) GlobalFree(memory);
        CloseClipboard();
    }
    if (owner) DestroyWindow(owner);
    return put;
}

class QuillbridgeInOutlook : public ::testing::Test {
protected:
    void SetUp() override {
        if (EnvVar("PAGELARK_EXE").empty()) GTEST_SKIP() << "PAGELARK_EXE is not set";
        if (!OutlookDouble::Available()) GTEST_SKIP() << "the Outlook double is not in the prefix";
        KillLeftovers();
        DeleteKey(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark");
        SetAccount(L"anna", "secret");
        // The account exists at the stand-in, so a new window's status request succeeds.
        if (standin_.Available()) {
            AdminCall(standin_, "POST", "/admin/reset");
            AdminCall(standin_, "POST", "/admin/accounts",
                      R"({"user":"anna","password":"secret","mobile":"+491701234567","email":"anna@example.com",)"
                      R"("credits":50,"acctyp":"01111","active":true})");
        }
        ASSERT_TRUE(OutlookHost::PrepareAddin(3));
    }
    void TearDown() override {
        host_.Quit();
        KillLeftovers();
        OutlookHost::RemoveAddin();
    }

    HWND StartProgram() {
        program_ = Program::Launch();
        return WaitForWindow(kMainTitle, kFrameClass, 20s, program_.Pid());
    }
    static std::vector<HWND> MessageWindows() { return FindTopWindows(L"Pagelark", kFrameClass); }
    // The message window, of any program copy, whose editor shows `text`.
    static HWND WindowShowing(const std::wstring& text) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND frame : MessageWindows())
                if (HWND editor = Control(frame, kEditor); editor && GetText(editor) == text) found = frame;
            return found != nullptr;
        }, 20s);
        return found;
    }
    std::vector<std::string> Button() {
        const auto reply = host_.Command("button");
        std::vector<std::string> fields = reply ? SplitTabs(*reply) : std::vector<std::string>{};
        fields.resize(kFieldCount);
        return fields;
    }
    // A stored item of the program's class "IPM.Note.Pagelark" in Drafts; its EntryID.
    static std::string AddProgramItem(const std::string& body, bool sent) {
        return OutlookDouble::AddItem(kDrafts, "+491701234567", body, sent);
    }

    StandinAddresses standin_;
    OutlookHost host_;
    Program program_;
};

TEST_F(QuillbridgeInOutlook, ButtonOnTheStandardBarInTheGermanUsersLanguage) {
    ASSERT_TRUE(PutClipboardText(L"the user's own text"));
    ASSERT_TRUE(host_.Start("de_DE.UTF-8"));
    EXPECT_EQ(host_.Command("addins").value_or(""), "PagelarkAddin.Addin 0x00000000\n");
    const auto button = Button();
    EXPECT_EQ(button[kCaption], "Neue SMS");
    EXPECT_EQ(button[kToolTip], "Neue SMS Nachricht");
    EXPECT_EQ(button[kTag], "SMS Tag");
    EXPECT_EQ(button[kStyle], "3");   // icon and caption
    EXPECT_EQ(button[kFace], "16x16");
    EXPECT_EQ(button[kBar], "Standard");
    EXPECT_EQ(button[kPosition], "2");
    EXPECT_EQ(button[kBeginGroup], "1");
    EXPECT_EQ(button[kVisible], "1");
    EXPECT_EQ(button[kEnabled], "1");
    EXPECT_EQ(button[kTemporary], "1");
    EXPECT_EQ(button[kListeners], "1");
    EXPECT_EQ(ClipboardText(), L"the user's own text");   // given back after the face was pasted
    EXPECT_TRUE(host_.Quit());
    EXPECT_EQ(OutlookDouble::Counter(L"LiveObjects"), 0u);   // the add-in let go of every object
}

TEST_F(QuillbridgeInOutlook, PortugueseUserGetsEnglishTextsAndAFailedFaceFailsTheConnection) {
    // Without a bar named "Standard" the last bar takes the button.
    ASSERT_TRUE(host_.Start("pt_PT.UTF-8", "Menu Bar,Advanced"));
    auto button = Button();
    EXPECT_EQ(button[kCaption], "New SMS");
    EXPECT_EQ(button[kToolTip], "New SMS message");
    EXPECT_EQ(button[kBar], "Advanced");
    EXPECT_EQ(button[kPosition], "2");
    ASSERT_TRUE(host_.Quit());

    ASSERT_TRUE(OutlookDouble::Fault("CommandBarButton.PasteFace", "0x80004005"));
    ASSERT_TRUE(PutClipboardText(L"kept"));
    ASSERT_TRUE(host_.Start());
    EXPECT_EQ(host_.Command("addins").value_or(""), "PagelarkAddin.Addin 0x80004005\n");
    EXPECT_EQ(ClipboardText(), L"kept");
    EXPECT_TRUE(host_.Quit());
    EXPECT_EQ(OutlookDouble::Counter(L"LiveObjects"), 0u);
}

TEST_F(QuillbridgeInOutlook, ClickOpensAMessageWindowInTheRunningProgram) {
    ASSERT_NE(StartProgram(), nullptr);
    ASSERT_TRUE(host_.Start());
    ASSERT_TRUE(host_.Command("click"));
    ASSERT_TRUE(WaitUntil([&] { return MessageWindows().size() == 1; }, 20s));
    EXPECT_EQ(ProcessOf(MessageWindows().front()), program_.Pid());
    ASSERT_TRUE(host_.Command("click"));
    EXPECT_TRUE(WaitUntil([&] { return MessageWindows().size() == 2; }, 20s));
}

TEST_F(QuillbridgeInOutlook, ClickStartsTheProgramFromTheAddinsFolderWhenItDoesNotRun) {
    ASSERT_EQ(FindTopWindow(kMainTitle), nullptr);
    ASSERT_TRUE(host_.Start());
    ASSERT_TRUE(host_.Command("click"));
    HWND main = WaitForWindow(kMainTitle, kFrameClass, 20s);
    ASSERT_NE(main, nullptr);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessOf(main));
    ASSERT_NE(process, nullptr);
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    EXPECT_EQ(_wcsicmp(path, (EnvVar("PAGELARK_DIR") + L"\\Pagelark.exe").c_str()), 0);
    // A click after the start reaches the started program.
    ASSERT_TRUE(host_.Command("click"));
    EXPECT_TRUE(WaitUntil([&] { return !MessageWindows().empty(); }, 20s));
}

TEST_F(QuillbridgeInOutlook, OpeningAnUnsentProgramItemShowsItInPagelarkInsteadOfOutlook) {
    const std::string id = AddProgramItem("Meeting moved to 3pm", false);
    ASSERT_FALSE(id.empty());
    ASSERT_NE(StartProgram(), nullptr);
    ASSERT_TRUE(host_.Start());
    ASSERT_TRUE(host_.Command("select\t" + id));
    EXPECT_EQ(host_.Command("open\t" + id).value_or(""), "cancelled 1");
    EXPECT_NE(WindowShowing(L"Meeting moved to 3pm"), nullptr);
}

TEST_F(QuillbridgeInOutlook, SentItemsOtherClassesAndRefusedItemsStayWithOutlook) {
    const std::string sent = AddProgramItem("Already sent", true);
    const std::string unsent = AddProgramItem("Draft text", false);
    ASSERT_TRUE(host_.Start());
    const std::string note = host_.Command("add-item\t00000000ABCDEF0123456789\t" + std::string(kDrafts) +
                                           "\tIPM.Note\t0\tA plain mail").value_or("");
    ASSERT_FALSE(note.empty());
    // The program does not run: Outlook opens the item.
    ASSERT_TRUE(host_.Command("select\t" + unsent));
    EXPECT_EQ(host_.Command("open\t" + unsent).value_or(""), "opened 1");

    ASSERT_NE(StartProgram(), nullptr);
    ASSERT_TRUE(host_.Command("select\t" + sent));
    EXPECT_EQ(host_.Command("open\t" + sent).value_or(""), "opened 1");
    ASSERT_TRUE(host_.Command("select\t" + note));
    EXPECT_EQ(host_.Command("open\t" + note).value_or(""), "opened 1");
    KillLeftovers();

    // With the Outlook integration off the program refuses every item.
    SetDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", 2);
    ASSERT_NE(StartProgram(), nullptr);
    ASSERT_TRUE(host_.Command("select\t" + unsent));
    EXPECT_EQ(host_.Command("open\t" + unsent).value_or(""), "opened 1");
    Sleep(300);
    EXPECT_TRUE(MessageWindows().empty());
}

TEST_F(QuillbridgeInOutlook, OnlyTheFirstSelectedItemIsWatchedAndAClosedExplorerIgnoresLateEvents) {
    const std::string a = AddProgramItem("a", false);
    const std::string b = AddProgramItem("b", false);
    const std::string c = AddProgramItem("c", false);
    ASSERT_TRUE(host_.Start());
    EXPECT_EQ(host_.Command("listeners").value_or(""), "explorer 1 button 1 items ");
    ASSERT_TRUE(host_.Command("select\t" + a + "\t" + b + "\t" + c));
    EXPECT_EQ(host_.Command("listeners").value_or(""), "explorer 1 button 1 items 1,0,0");
    ASSERT_TRUE(host_.Command("select\t" + c + "\t" + a));
    EXPECT_EQ(host_.Command("listeners").value_or(""), "explorer 1 button 1 items 1,0");
    ASSERT_TRUE(host_.Command("select"));
    EXPECT_EQ(host_.Command("listeners").value_or(""), "explorer 1 button 1 items ");
    ASSERT_TRUE(host_.Command("select\t" + b));

    ASSERT_TRUE(host_.Command("close"));
    EXPECT_EQ(host_.Command("listeners").value_or(""), "explorer 0 button 1 items 0");
    // A selection event after the close (the host fires it anyway) finds no explorer to ask.
    ASSERT_TRUE(host_.Command("select\t" + a));
    EXPECT_EQ(host_.Command("listeners").value_or(""), "explorer 0 button 1 items 0");
    EXPECT_TRUE(host_.Running());
    EXPECT_TRUE(host_.Quit());
    EXPECT_EQ(OutlookDouble::Counter(L"LiveObjects"), 0u);
}

TEST_F(QuillbridgeInOutlook, ALongEntryIdIsHandedOverWholeAndAnOversizedOneStaysWithOutlook) {
    ASSERT_NE(StartProgram(), nullptr);
    ASSERT_TRUE(host_.Start());
    // An Exchange entry id: 70 bytes, 140 hexadecimal characters.
    std::string exchangeId = "00000000DCA740C8C042101AB4B908002B2FE18201000000000000000";
    while (exchangeId.size() < 140) exchangeId += "0123456789ABCDEF";
    exchangeId.resize(140);
    ASSERT_EQ(host_.Command("add-item\t" + exchangeId + "\t" + kDrafts + "\tIPM.Note.Pagelark\t0\tFrom Exchange"),
              exchangeId);
    ASSERT_TRUE(host_.Command("select\t" + exchangeId));
    EXPECT_EQ(host_.Command("open\t" + exchangeId).value_or(""), "cancelled 1");
    EXPECT_NE(WindowShowing(L"From Exchange"), nullptr);

    const std::string oversized(1100, 'E');
    ASSERT_TRUE(host_.Command("add-item\t" + oversized + "\t" + kDrafts + "\tIPM.Note.Pagelark\t0\tToo long"));
    ASSERT_TRUE(host_.Command("select\t" + oversized));
    EXPECT_EQ(host_.Command("open\t" + oversized).value_or(""), "opened 1");
}

}  // namespace
