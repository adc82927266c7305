// Outlook Express through the mail-connector stand-in, driven through the real Pagelark.exe: the
// "New SMS" button and its click, the sent copy filed as a message source, identity changes, the
// options switching the integration, and a machine without a connector.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../win/service_standin_admin.h"
#include "address_book_double.h"
#include "connector_double.h"
#include "driver.h"

namespace {

namespace bb = pagelark::blackbox;
using namespace std::chrono_literals;
using bb::ConnectorDouble;
using pagelark::testing::AdminCall;
using pagelark::testing::StandinAddresses;

constexpr UINT kOpenRequest = WM_USER + 1;
constexpr int kExit = 57665, kOptions = 32807, kSend = 32801, kSave = 57603;
constexpr int kToolbar = 59392, kDialogBar = 59500, kEditor = 1090, kTo = 1001, kMessageText = 0xFFFF;
constexpr int kEMailPage = 3, kIntegrateOE = 1021;
constexpr char kOeStartLines[] =
    "============= OEAPI initialization ================\n"
    "OEAPIInit initialized successfully\n"
    "OEFolderManager initialized successfully\n";

bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return wcscmp(name, L"#32770") == 0 && IsWindowVisible(window);
}

class MailConnectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (bb::EnvVar("PAGELARK_EXE").empty()) GTEST_SKIP() << "PAGELARK_EXE is not set";
        bb::KillLeftovers();
        bb::DeleteKey(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark");
        bb::SetSettingDword(L"Language", 9);
        bb::SetSettingDword(L"IntegrateOE", 1);
        bb::SetSettingDword(L"SaveSentMessages", 1);
        bb::SetSettingDword(L"SendConfirmation", 1);
    }
    void TearDown() override { bb::KillLeftovers(); }

    // An account set up here and at the stand-in service.
    void SetUpAccount() {
        if (!standin_.Available()) GTEST_SKIP() << "the stand-in service is not running";
        AdminCall(standin_, "POST", "/admin/reset", "{}");
        AdminCall(standin_, "POST", "/admin/accounts",
                  R"({"user":"sender","password":"secret","mobile":"+491701234567","email":"sender@example.com",)"
                  R"("credits":50,"acctyp":"01111","active":true})");
        bb::SetSettingString(L"UserName", L"sender");
        bb::SetSettingString(L"UserLandCode", L"+49");
        bb::SetSettingString(L"UserMobile", L"1701234567");
        // The stored password: byte i is p[i+1] + p[0], the last one p[0] + 2 ("secret").
        const std::string clear = "secret";
        std::string stored(clear.size(), '\0');
        for (size_t i = 0; i + 1 < clear.size(); ++i) stored[i] = static_cast<char>(clear[i + 1] + clear[0]);
        stored.back() = static_cast<char>(clear[0] + 2);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, bb::kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0) {
            RegSetValueExA(key, "UserPassword", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                           static_cast<DWORD>(stored.size() + 1));
            RegCloseKey(key);
        }
    }

    void Launch() {
        program_ = bb::Program::Launch();
        ASSERT_TRUE(program_.Started());
        main_ = bb::WaitForWindow(bb::kMainTitle, nullptr, 20s, program_.Pid());
        ASSERT_NE(main_, nullptr);
    }
    std::vector<HWND> Dialogs() {
        std::vector<HWND> dialogs;
        for (HWND window : bb::FindTopWindows(nullptr, L"#32770", program_.Pid()))
            if (IsDialog(window)) dialogs.push_back(window);
        return dialogs;
    }
    std::vector<HWND> Frames() {
        std::vector<HWND> frames;
        for (HWND frame : bb::FindTopWindows(nullptr, bb::kFrameClass, program_.Pid()))
            if (IsWindowVisible(frame)) frames.push_back(frame);
        return frames;
    }
    // The message window that a click on our button in the client opens.
    HWND ClickForFrame(ConnectorDouble& connector) {
        const size_t before = Frames().size();
        EXPECT_EQ(connector.Click(), 1);
        HWND frame = nullptr;
        bb::WaitUntil([&] {
            const auto frames = Frames();
            if (frames.size() > before) frame = frames.back();
            return frame != nullptr;
        }, 15s);
        return frame;
    }
    // Waits for a box and answers it; its text.
    std::wstring Answer(int button = IDOK) {
        HWND box = nullptr;
        bb::WaitUntil([&] {
            for (HWND dialog : Dialogs())
                if ((GetDlgItem(dialog, kMessageText) || GetDlgItem(dialog, 1066)) &&
                    bb::Send(dialog, PSM_GETCURRENTPAGEHWND) == 0)
                    box = dialog;
            return box != nullptr;
        }, 15s);
        if (!box) return L"<no box>";
        HWND text = GetDlgItem(box, 1066) ? GetDlgItem(box, 1066) : GetDlgItem(box, kMessageText);
        const std::wstring said = bb::GetText(text);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        bb::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        return said;
    }
    // Writes and sends one SMS from `frame`; true when the program said it was sent.
    bool SendFrom(HWND frame, const std::wstring& to, const std::wstring& text) {
        HWND bar = GetDlgItem(frame, kDialogBar);
        bb::SetText(GetDlgItem(bar, kTo), to);
        bb::SetText(GetDlgItem(frame, kEditor), text);
        PostMessageW(frame, WM_COMMAND, kSend, 0);
        const std::wstring question = Answer(IDOK);
        EXPECT_EQ(question.rfind(L"Send the message?", 0), 0u) << std::string(question.begin(), question.end());
        return Answer(IDOK) == L"Message(s) successfully sent.";
    }
    // The options sheet's e-mail page with Outlook Express set to `on`, applied with OK.
    // `answerBox`: a box expected while the sheet applies, answered with OK; its text.
    void ApplyOutlookExpressOption(bool on, std::wstring* answerBox = nullptr) {
        PostMessageW(main_, WM_COMMAND, kOptions, 0);
        HWND sheet = nullptr;
        ASSERT_TRUE(bb::WaitUntil([&] {
            for (HWND dialog : Dialogs())
                if (bb::Send(dialog, PSM_GETCURRENTPAGEHWND) != 0) sheet = dialog;
            return sheet != nullptr;
        }));
        PostMessageW(sheet, PSM_SETCURSEL, kEMailPage, 0);
        HWND check = nullptr;
        ASSERT_TRUE(bb::WaitUntil([&] { return (check = bb::Control(sheet, kIntegrateOE)) != nullptr; }));
        bb::Send(check, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        if (answerBox) *answerBox = Answer(IDOK);
        ASSERT_TRUE(bb::WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }));
    }
    void Exit() {
        bb::PostCommand(main_, kExit);
        EXPECT_TRUE(program_.WaitForExit(15s));
    }

    StandinAddresses standin_;
    bb::Program program_;
    HWND main_ = nullptr;
};

TEST_F(MailConnectorTest, ButtonOpensAnOutlookExpressWindowAndComesWithEveryClientStart) {
    ASSERT_NO_FATAL_FAILURE(SetUpAccount());
    ConnectorDouble connector;
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(connector.WaitForControl());
    EXPECT_TRUE(bb::WaitUntil([] { return bb::ReadMapiLog().find(kOeStartLines) != std::string::npos; }))
        << bb::ReadMapiLog();
    EXPECT_EQ(bb::ReadMapiLog().find("oehook.dll"), std::string::npos);   // no hook library here

    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());
    auto buttons = connector.Buttons();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].caption, "New SMS");
    EXPECT_EQ(buttons[0].tooltip, "New SMS message");
    const std::string image = "\\Data\\button.bmp";
    ASSERT_GE(buttons[0].image.size(), image.size());
    EXPECT_EQ(buttons[0].image.substr(buttons[0].image.size() - image.size()), image);
    EXPECT_EQ(buttons[0].highlighted, buttons[0].image);
    EXPECT_NE(GetFileAttributesA(buttons[0].image.c_str()), INVALID_FILE_ATTRIBUTES) << buttons[0].image;

    HWND frame = ClickForFrame(connector);
    ASSERT_NE(frame, nullptr);
    DWORD_PTR saveIndex = 0;
    SendMessageTimeoutW(GetDlgItem(frame, kToolbar), TB_COMMANDTOINDEX, kSave, 0, SMTO_ABORTIFHUNG, 3000, &saveIndex);
    EXPECT_EQ(static_cast<LRESULT>(saveIndex), -1);   // an Outlook Express window: no Save
    EXPECT_EQ(bb::GetText(GetDlgItem(GetDlgItem(frame, kDialogBar), 1000)), L"T&o:");

    // The client closes and starts again: the button goes with it and comes back once.
    EXPECT_EQ(connector.CloseClient(), 1);
    EXPECT_TRUE(connector.Buttons().empty());
    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());
    EXPECT_EQ(connector.Buttons().size(), 1u);
    EXPECT_TRUE(Dialogs().empty());

    PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(bb::WaitUntil([&] { return !IsWindow(frame); }));
    Exit();
    EXPECT_EQ(connector.Leaks(), "");
}

// The mail client was started before the program: the connector greets the new receiver and the
// button comes all the same.
TEST_F(MailConnectorTest, ClientRunningBeforeTheProgramGetsTheButton) {
    ConnectorDouble connector("Main Identity", true, true);
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(connector.WaitForButton());
    EXPECT_EQ(connector.Buttons().size(), 1u);
    Exit();
    EXPECT_TRUE(connector.Buttons().empty());   // the program's stop took its button away
    EXPECT_EQ(connector.Leaks(), "");
}

TEST_F(MailConnectorTest, ClickWithoutAnAccountOpensTheSetupWizard) {
    ConnectorDouble connector;
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());
    EXPECT_EQ(connector.Click(), 1);
    EXPECT_TRUE(bb::WaitUntil([&] {
        for (HWND dialog : Dialogs())
            if (bb::Send(dialog, PSM_GETCURRENTPAGEHWND) != 0) return true;
        return false;
    }, 15s));
    EXPECT_TRUE(Frames().empty());
}

TEST_F(MailConnectorTest, SentCopiesAreFiledInSentItemsOfTheCurrentIdentity) {
    ASSERT_NO_FATAL_FAILURE(SetUpAccount());
    ConnectorDouble connector("Main Identity");
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());
    HWND frame = ClickForFrame(connector);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(SendFrom(frame, L"+491711234567", L"First line\r\nsecond"));
    ASSERT_TRUE(bb::WaitUntil([&] { return connector.Messages().size() == 1; }));
    auto messages = connector.Messages();
    EXPECT_EQ(messages[0].identity, "Main Identity");
    EXPECT_EQ(messages[0].folder, 3);
    EXPECT_EQ(messages[0].source,
              "From: sender (+491701234567)\n"
              "To: +491711234567\n"
              "CC: \n"
              "Subject: SMS-Message\n"
              "\n"
              "First line\r\nsecond");

    // Another identity logs on: the next start of the client brings its folders.
    EXPECT_EQ(connector.CloseClient(), 1);
    EXPECT_EQ(connector.SwitchIdentity("Work"), 1);
    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());
    frame = ClickForFrame(connector);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(SendFrom(frame, L"+491711234567", L"Again"));
    ASSERT_TRUE(bb::WaitUntil([&] { return connector.Messages().size() == 2; }));
    messages = connector.Messages();
    EXPECT_EQ(messages[1].identity, "Work");
    EXPECT_EQ(messages[1].folder, 3);
}

TEST_F(MailConnectorTest, OptionsStopAndStartTheIntegration) {
    ASSERT_NO_FATAL_FAILURE(SetUpAccount());
    ConnectorDouble connector;
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());

    ASSERT_NO_FATAL_FAILURE(ApplyOutlookExpressOption(false));
    EXPECT_EQ(bb::GetSettingDword(L"IntegrateOE"), 0u);
    EXPECT_TRUE(connector.Buttons().empty());   // the stop closed the client's side
    EXPECT_EQ(connector.CloseClient(), 0);       // nobody listens any more
    EXPECT_EQ(connector.StartClient(), 0);
    EXPECT_TRUE(connector.Buttons().empty());
    EXPECT_TRUE(Dialogs().empty());

    ASSERT_NO_FATAL_FAILURE(ApplyOutlookExpressOption(true));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(connector.CloseClient(), 1);
    EXPECT_EQ(connector.StartClient(), 1);
    ASSERT_TRUE(connector.WaitForButton());
    // The log went on after the restart.
    const std::string log = bb::ReadMapiLog();
    const size_t first = log.find(kOeStartLines);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_NE(log.find(kOeStartLines, first + 1), std::string::npos) << log;
    Exit();
    EXPECT_EQ(connector.Leaks(), "");
}

TEST_F(MailConnectorTest, WithoutAConnectorTheProgramStartsSilentlyAndReadsOutlookContacts) {
    ConnectorDouble connector("Main Identity", false);
    bb::MapiDoubleBook book("container\tid=AB-MAIN\tname=Contacts\n"
                            "entry\tid=P2\tin=AB-MAIN\tkind=person\tdisplay=Anna Meier\tmobile=+491711234567\n");
    bb::SetSettingDword(L"IntegrateOE", 0);
    ASSERT_NO_FATAL_FAILURE(SetUpAccount());
    bb::SetSettingDword(L"IntegrateOE", 1);
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(book.WaitForReading());
    const std::string log = bb::ReadMapiLog();
    EXPECT_NE(log.find("============= OEAPI initialization ================\nERROR: OEAPI initialization failed: "),
              std::string::npos) << log;
    EXPECT_TRUE(Dialogs().empty());

    PostMessageW(main_, kOpenRequest, 1, 0);
    HWND frame = nullptr;
    ASSERT_TRUE(bb::WaitUntil([&] { return !Frames().empty() && (frame = Frames().front()); }, 15s));
    HWND to = GetDlgItem(GetDlgItem(frame, kDialogBar), kTo);
    for (wchar_t ch : std::wstring(L"an")) bb::Send(to, WM_CHAR, ch, 1);
    EXPECT_TRUE(bb::WaitUntil([&] { return bb::GetText(to) == L"anna Meier (+491711234567)"; })) << bb::GetText(to);
}

TEST_F(MailConnectorTest, SwitchingOnWithoutAConnectorTellsTheUser) {
    ConnectorDouble connector("Main Identity", false);
    ASSERT_NO_FATAL_FAILURE(SetUpAccount());
    bb::SetSettingDword(L"IntegrateOE", 0);
    ASSERT_NO_FATAL_FAILURE(Launch());
    std::wstring said;
    ASSERT_NO_FATAL_FAILURE(ApplyOutlookExpressOption(true, &said));
    EXPECT_EQ(said, L"The connection to Outlook Express / Windows Mail could not be started.\n"
                    L"No connector for Outlook Express / Windows Mail is installed on this computer.");
    // Applying again while it is on (nothing switched) only logs.
    ASSERT_NO_FATAL_FAILURE(ApplyOutlookExpressOption(true));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(Dialogs().empty());
}

}  // namespace
