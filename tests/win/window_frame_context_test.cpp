// A message window built against a fake context: the window takes everything it uses of the
// program (service, contacts, settings, the application's commands, the options sheet) from its
// MessageWindowContext, and a posted message cannot stand in for its status worker.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "../unit/service_fakes.h"
#include "common/wide_string_win.h"
#include "../unit/contacts_file.h"
#include "mailclients/offline_mail_bridge.h"
#include "numbers/dialling_codes.h"
#include "resource_ids.h"
#include "ui/command_ids.h"
#include "ui/resources_win.h"
#include "window/main_frame_win.h"

namespace pagelark {
namespace {

class FakeWindowContext final : public MessageWindowContext {
public:
    FakeWindowContext()
        : service_(ServiceContext{settings_, installation_, language_, version_,
                                  [this](SettingsGroup group) { saved.push_back(group); },
                                  [](std::string_view, Settings&) { return false; }},
                   ServicePlatform{transport, std::make_shared<testing::FakeClock>(),
                                   std::make_shared<testing::FileTexts>(), ui}) {
        settings_.UserName = "anna";
        installation_.primaryServer = "sms.example.org";
    }

    Settings& settings() override { return settings_; }
    void SaveSettings(SettingsGroup group) override { saved.push_back(group); }
    ServiceClient& service() override { return service_; }
    MailBridge& mailBridge() override { return bridge; }
    std::shared_ptr<const ContactList> Contacts(HostClient host) override { return bridge.Contacts(host); }
    void ReplaceContacts(HostClient host, ContactList contacts) override {
        replacedHosts.push_back(host);
        bridge.SetContacts(host, std::move(contacts));
    }
    const LanguageInfo& language() const override { return language_; }
    const CountryList& checkList() const override { return checkList_; }
    const std::string& programDir() const override { return programDir_; }
    bool exitingForUpdate() const override { return false; }
    void OpenOptions(HWND owner, const CreditsDisplayCalls& display) override {
        optionsOwners.push_back(owner);
        optionsDisplay = display;
    }
    void RunApplicationCommand(int id, HWND owner) override { commands.push_back({id, owner}); }
    void OfferUpdate(HWND owner) override { updateOffers.push_back(owner); }

    std::shared_ptr<testing::FakeTransport> transport = std::make_shared<testing::FakeTransport>();
    std::shared_ptr<testing::FakeUserInterface> ui = std::make_shared<testing::FakeUserInterface>();
    OfflineMailBridge bridge{11};
    std::vector<SettingsGroup> saved;
    std::vector<HostClient> replacedHosts;
    std::vector<HWND> optionsOwners;
    CreditsDisplayCalls optionsDisplay;
    std::vector<std::pair<int, HWND>> commands;
    std::vector<HWND> updateOffers;

private:
    Settings settings_;
    InstallationValues installation_;
    LanguageInfo language_;
    std::string version_ = "1.0.0.1";
    CountryList checkList_ = BuiltInCheckList();
    std::string programDir_;
    ServiceClient service_;
};

// Runs this thread's messages until `done` holds or 10 s have passed.
bool PumpUntil(const std::function<bool()>& done) {
    const DWORD deadline = GetTickCount() + 10000;
    while (!done()) {
        if (GetTickCount() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CMainFrame::PreTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    return true;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class MessageWindowContextTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(1033); }
    void TearDown() override {
        for (HWND window : opened)
            if (IsWindow(window)) DestroyWindow(window);
        PumpUntil([] { return true; });
    }
    CMainFrame* Open(HostClient host) {
        CMainFrame* frame = CMainFrame::Create(context, host);
        if (frame) opened.push_back(frame->hwnd());
        return frame;
    }
    HWND CreditsPane(CMainFrame* frame) {
        return GetDlgItem(GetDlgItem(frame->hwnd(), ID_STATUS_BAR), ID_PANE_CREDITS);
    }

    FakeWindowContext context;
    std::vector<HWND> opened;
};

TEST_F(MessageWindowContextTest, BarsFollowTheHostAndTheWindowIsFoundByItsHandle) {
    CMainFrame* express = Open(HostClient::OutlookExpress);
    ASSERT_NE(express, nullptr);
    EXPECT_EQ(TextOf(express->hwnd()), L"Pagelark");
    EXPECT_EQ(express->clientVersion(), 6);
    EXPECT_EQ(CMainFrame::FromHandle(express->hwnd()), express);
    EXPECT_EQ(GetMenuState(GetMenu(express->hwnd()), command::kSave, MF_BYCOMMAND), static_cast<UINT>(-1));

    CMainFrame* outlook = Open(HostClient::Outlook);
    ASSERT_NE(outlook, nullptr);
    EXPECT_EQ(outlook->clientVersion(), 11);   // asked of the context's bridge
    EXPECT_NE(GetMenuState(GetMenu(outlook->hwnd()), command::kSave, MF_BYCOMMAND), static_cast<UINT>(-1));

    const HWND gone = express->hwnd();
    DestroyWindow(gone);
    EXPECT_EQ(CMainFrame::FromHandle(gone), nullptr);
}

TEST_F(MessageWindowContextTest, ApplicationCommandsAndTheOptionsSheetGoToTheContext) {
    CMainFrame* frame = Open(HostClient::Outlook);
    ASSERT_NE(frame, nullptr);
    const HWND window = frame->hwnd();
    for (int id : {command::kAbout, command::kNew, command::kExit})
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    const std::vector<std::pair<int, HWND>> expected{
        {command::kAbout, window}, {command::kNew, window}, {command::kExit, window}};
    EXPECT_EQ(context.commands, expected);

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(command::kOptions, 0), 0);
    ASSERT_EQ(context.optionsOwners, std::vector<HWND>{window});
    ASSERT_TRUE(context.optionsDisplay.showUpdating && context.optionsDisplay.refresh);
    context.optionsDisplay.showUpdating();
    EXPECT_EQ(TextOf(CreditsPane(frame)), LoadText(IDS_UPDATE_CREDITS));
    context.optionsDisplay.refresh();
    EXPECT_EQ(TextOf(CreditsPane(frame)), L" 0");

    // The sheet's calls outlive a window closed meanwhile: they then do nothing.
    DestroyWindow(window);
    context.optionsDisplay.showUpdating();
    context.optionsDisplay.refresh();
}

TEST_F(MessageWindowContextTest, CompletionUsesTheContextsContactsOfTheWindowsHost) {
    context.bridge.SetContacts(HostClient::Outlook,
                               pagelark::testing::ParseContactsFile("Anna Meier;+491711234567;anna@example.com\r\n"));
    CMainFrame* frame = Open(HostClient::Outlook);
    CMainFrame* express = Open(HostClient::OutlookExpress);   // its host has no contacts
    ASSERT_TRUE(frame && express);
    for (CMainFrame* window : {frame, express}) {
        HWND to = GetDlgItem(window->DialogBar(), IDC_TO_FIELD);
        SetFocus(to);
        SendMessageW(to, WM_CHAR, L'a', 1);
        SendMessageW(to, WM_CHAR, L'n', 1);
    }
    EXPECT_EQ(frame->ToText(), "anna Meier (+491711234567)");
    EXPECT_EQ(express->ToText(), "an");
}

TEST_F(MessageWindowContextTest, NumbersRewrittenByNormalisingGoBackToTheWindowsHostOnly) {
    context.settings().UserLandCode = "+49";
    context.settings().SaveChangedNumbers = 1;
    const ContactList book = pagelark::testing::ParseContactsFile("Anna Meier;01711234567;anna@example.com\r\n");
    context.bridge.SetContacts(HostClient::Outlook, book);
    context.bridge.SetContacts(HostClient::OutlookExpress, book);
    CMainFrame* frame = Open(HostClient::Outlook);
    ASSERT_NE(frame, nullptr);
    frame->SetToText("Anna Meier (01711234567)");
    frame->NormalizeToField();
    EXPECT_EQ(frame->ToText(), "Anna Meier (+491711234567)");
    EXPECT_EQ(context.replacedHosts, std::vector<HostClient>{HostClient::Outlook});
    const auto outlook = context.bridge.Contacts(HostClient::Outlook);
    ASSERT_EQ(outlook->size(), 1u);
    EXPECT_EQ((*outlook)[0].mobile, "+491711234567");
    EXPECT_TRUE((*outlook)[0].changed);
    EXPECT_EQ((*context.bridge.Contacts(HostClient::OutlookExpress))[0].mobile, "01711234567");
}

TEST_F(MessageWindowContextTest, OnlyItsOwnStatusWorkerUpdatesTheCredits) {
    context.transport->Reply("status: 0\r\ncredits: 12\r\nacctyp: 10011\r\n");
    CMainFrame* frame = Open(HostClient::Outlook);
    ASSERT_NE(frame, nullptr);
    const HWND window = frame->hwnd();

    // Any program can post "status done"; before the window's own request it changes nothing
    // and its parameters are never read as a result.
    PostMessageW(window, kStatusDoneMessage, 0x1234, static_cast<LPARAM>(0x5678));
    PumpUntil([] { return true; });
    EXPECT_EQ(context.service().Credits(), 0);
    EXPECT_TRUE(context.updateOffers.empty());

    PostMessageW(window, kStartMessage, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !context.updateOffers.empty(); }));
    EXPECT_EQ(context.updateOffers, std::vector<HWND>{window});
    EXPECT_EQ(context.service().Credits(), 12);
    EXPECT_EQ(TextOf(CreditsPane(frame)), L" 12");
    EXPECT_EQ(context.transport->Calls().size(), 1u);

    // A repeated "start" or "status done" makes no second request and applies nothing twice.
    PostMessageW(window, kStartMessage, 0, 0);
    PostMessageW(window, kStatusDoneMessage, 0, 0);
    PumpUntil([] { return true; });
    Sleep(50);
    PumpUntil([] { return true; });
    EXPECT_EQ(context.updateOffers.size(), 1u);
    EXPECT_EQ(context.transport->Calls().size(), 1u);
}

}  // namespace
}  // namespace pagelark
