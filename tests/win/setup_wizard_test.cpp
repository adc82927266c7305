// The setup wizard's pages, shown for real and driven from a second thread, against a fake service.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "resource_ids.h"
#include "setup/register_pages_win.h"
#include "setup_fake_services.h"
#include "setup_sheet_driver.h"
#include "ui/resources_win.h"

using namespace pagelark;
using namespace pagelark::test;

namespace {

enum Page { kTerms = 0, kAccount = 1, kVerification = 2, kPin = 3, kFinish = 4, kProxy = 5 };

// Runs the wizard on this thread while `drive` works it from another; whatever `drive` left
// open is cancelled afterwards so that a failing test never hangs.
bool RunDriven(FakeEnvironment& fe, const std::function<void(SheetDriver&)>& drive) {
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const DWORD ui = GetCurrentThreadId();
    std::thread driver([&] {
        SheetDriver d(ui);
        if (d.WaitForSheet()) drive(d);
        d.CloseAll();
    });
    const bool finished = RunRegisterWizard(fe.env, nullptr);
    driver.join();
    return finished;
}

void AcceptTerms(SheetDriver& d) {
    ASSERT_TRUE(d.WaitForPage(kTerms));
    d.Click(IDC_TERMS_YES);
    ASSERT_TRUE(SheetDriver::WaitFor([&] { return d.NextEnabled(); }));
    d.Next();
    ASSERT_TRUE(d.WaitForPage(kAccount));
}

void FillAccount(SheetDriver& d, const char* mobile = "0170/1234567") {
    d.SetText(IDC_ACCOUNT_USER, "anna");
    d.SetText(IDC_ACCOUNT_PASSWORD, "secret");
    d.SetText(IDC_ACCOUNT_CONFIRM, "secret");
    d.SetText(IDC_ACCOUNT_EMAIL, "anna@example.org");
    d.SetText(IDC_ACCOUNT_MOBILE, mobile);
    ASSERT_TRUE(d.SelectComboEntry(IDC_ACCOUNT_COUNTRY, "Germany"));
    ASSERT_TRUE(SheetDriver::WaitFor([&] { return d.NextEnabled(); }));
}

TEST(SetupWizard, NewRegistrationThroughPinToFinish) {
    FakeEnvironment fe;
    fe.services.activateResults = {false, true};
    const bool finished = RunDriven(fe, [&](SheetDriver& d) {
        ASSERT_TRUE(d.WaitForPage(kTerms));
        EXPECT_NE(d.Text(IDC_TERMS_TEXT).find("TERMS OF USE"), std::string::npos);
        // Neither Yes nor No ticked; the buttons are set as the page becomes active, maybe a moment later.
        EXPECT_TRUE(SheetDriver::WaitFor([&] { return !d.NextEnabled(); }));
        AcceptTerms(d);
        // The page's buttons are set as it becomes active, which may trail the page switch.
        EXPECT_TRUE(SheetDriver::WaitFor([&] { return d.BackEnabled() && !d.NextEnabled(); }))
            << "Back enabled: " << d.BackEnabled() << ", Next enabled (nothing filled in yet): " << d.NextEnabled();
        EXPECT_NE(d.Text(IDC_ACCOUNT_EXISTING).find("(www.telvoro.com)"), std::string::npos);
        FillAccount(d);
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kVerification));
        EXPECT_EQ(d.Text(IDC_VERIFY_COUNTRY), "Your mobile phone is registered in Germany (+49).");
        EXPECT_EQ(d.Text(IDC_VERIFY_NUMBER), "Your mobile phone number (international format) is: +491701234567.");
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kPin));
        EXPECT_FALSE(d.BackEnabled());
        d.SetText(IDC_PIN_EDIT, "111111");
        d.Next();  // refused: stays
        ASSERT_TRUE(SheetDriver::WaitFor([&] { return fe.services.pins.size() == 1; }));
        EXPECT_TRUE(d.WaitForPage(kPin));
        d.SetText(IDC_PIN_EDIT, "123456");
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kFinish));
        EXPECT_NE(d.Text(IDC_FINISH_PROFILE).find("www.telvoro.com"), std::string::npos);
        d.Finish();
        EXPECT_TRUE(d.SheetGone());
    });
    EXPECT_TRUE(finished);
    ASSERT_EQ(fe.services.registrations.size(), 1u);
    const auto& r = fe.services.registrations[0];
    EXPECT_EQ(r.mode, 0);
    EXPECT_EQ(r.user, "anna");
    EXPECT_EQ(r.countryCode, "+49");
    EXPECT_EQ(r.mobile, "1701234567");
    EXPECT_EQ(fe.services.pins, (std::vector<std::string>{"111111", "123456"}));
    EXPECT_EQ(fe.settings.UserName, "anna");
    EXPECT_EQ(fe.settings.UserLandCode, "+49");
    EXPECT_EQ(fe.settings.UserMobile, "1701234567");
    EXPECT_EQ(fe.settings.UserPassword, "secret");
    EXPECT_EQ(fe.settings.UserEMail, "anna@example.org");
    EXPECT_EQ(fe.saved, std::vector<SettingsGroup>{SettingsGroup::UserData});
    EXPECT_EQ(fe.services.downloadCalls, 1);
}

TEST(SetupWizard, AlreadyRegisteredSkipsThePinPage) {
    FakeEnvironment fe;
    fe.services.registerResults = {1};
    const bool finished = RunDriven(fe, [&](SheetDriver& d) {
        AcceptTerms(d);
        d.Click(IDC_ACCOUNT_EXISTING);
        ASSERT_TRUE(SheetDriver::WaitFor([&] { return !d.IsEnabled(IDC_ACCOUNT_CONFIRM); }));
        FillAccount(d, "+49 170 1234567");
        d.SetText(IDC_ACCOUNT_CONFIRM, "");  // not asked for an existing account
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kVerification));
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kFinish));
        d.Finish();
    });
    EXPECT_TRUE(finished);
    ASSERT_EQ(fe.services.registrations.size(), 1u);
    EXPECT_EQ(fe.services.registrations[0].mode, 1);
    EXPECT_EQ(fe.services.registrations[0].mobile, "1701234567");
    EXPECT_TRUE(fe.services.pins.empty());
    EXPECT_EQ(fe.settings.UserName, "anna");
}

TEST(SetupWizard, FailedRegistrationReturnsToTheAccountPage) {
    FakeEnvironment fe;
    fe.services.registerResults = {-1, 1};
    RunDriven(fe, [&](SheetDriver& d) {
        AcceptTerms(d);
        FillAccount(d);
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kVerification));
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kAccount));
        EXPECT_EQ(d.Text(IDC_ACCOUNT_USER), "anna");  // the data stays for correcting
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kVerification));
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kFinish));  // a new registration answered with 1 skips the PIN page
        d.Cancel();
    });
    EXPECT_EQ(fe.services.registrations.size(), 2u);
    EXPECT_TRUE(fe.settings.UserName.empty());  // cancelled on the finish page: nothing stored
    EXPECT_TRUE(fe.saved.empty());
}

TEST(SetupWizard, PasswordsMustMatchForANewRegistration) {
    FakeEnvironment fe;
    RunDriven(fe, [&](SheetDriver& d) {
        AcceptTerms(d);
        FillAccount(d);
        d.SetText(IDC_ACCOUNT_CONFIRM, "other");
        d.Next();
        EXPECT_EQ(d.AnswerMessageBox(), "Passwords do not match.");
        EXPECT_TRUE(d.WaitForPage(kAccount));
        d.Cancel();
    });
    EXPECT_TRUE(fe.services.registrations.empty());
}

TEST(SetupWizard, MobileNumberNormalisedWhenLeavingTheField) {
    FakeEnvironment fe;
    RunDriven(fe, [&](SheetDriver& d) {
        AcceptTerms(d);
        ASSERT_TRUE(d.SelectComboEntry(IDC_ACCOUNT_COUNTRY, "Germany"));
        d.SetText(IDC_ACCOUNT_MOBILE, "0049 170 1234567");
        PostMessageW(d.Page(), WM_COMMAND, MAKEWPARAM(IDC_ACCOUNT_MOBILE, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(d.Item(IDC_ACCOUNT_MOBILE)));
        EXPECT_TRUE(SheetDriver::WaitFor([&] { return d.Text(IDC_ACCOUNT_MOBILE) == "1701234567"; }));
        d.Cancel();
    });
}

TEST(SetupWizard, ProxyPageRefusesANonIntegerPortAndSavesTheProxyGroup) {
    FakeEnvironment fe;
    RunDriven(fe, [&](SheetDriver& d) {
        AcceptTerms(d);
        d.Click(IDC_ACCOUNT_PROXY);
        ASSERT_TRUE(d.WaitForPage(kProxy));
        EXPECT_FALSE(d.IsEnabled(IDC_PROXY_ADDRESS));
        d.Click(IDC_PROXY_USE);
        ASSERT_TRUE(SheetDriver::WaitFor([&] { return d.IsEnabled(IDC_PROXY_ADDRESS); }));
        d.SetText(IDC_PROXY_ADDRESS, "proxy.example.org");
        d.SetText(IDC_PROXY_PORT, "80x");
        d.Next();
        EXPECT_EQ(d.AnswerMessageBox(), "Please enter an integer.");
        EXPECT_TRUE(d.WaitForPage(kProxy));
        d.SetText(IDC_PROXY_PORT, "3128");
        d.Next();
        ASSERT_TRUE(d.WaitForPage(kAccount));
        d.Cancel();
    });
    EXPECT_EQ(fe.saved, std::vector<SettingsGroup>{SettingsGroup::Proxy});
    EXPECT_EQ(fe.settings.UseProxy, 1);
    EXPECT_EQ(fe.settings.ProxyAddress, "proxy.example.org");
    EXPECT_EQ(fe.settings.ProxyPort, 3128);
    EXPECT_TRUE(fe.settings.UserName.empty());
}

TEST(SetupWizard, CountryFileFetchedOncePerRunWhenItSucceeded) {
    for (bool succeeds : {true, false}) {
        FakeEnvironment fe;
        fe.services.downloadResult = succeeds;
        RunDriven(fe, [&](SheetDriver& d) {
            AcceptTerms(d);
            d.Back();
            ASSERT_TRUE(d.WaitForPage(kTerms));
            d.Next();
            ASSERT_TRUE(d.WaitForPage(kAccount));
            d.Cancel();
        });
        EXPECT_EQ(fe.services.downloadCalls, succeeds ? 1 : 2);
        // A fetched file is taken into use by reloading the active language's list.
        EXPECT_EQ(fe.languageSwitches.size(), succeeds ? 1u : 0u);
    }
}

TEST(SetupWizard, MissingTermsFileIsReported) {
    FakeEnvironment fe;
    fe.env.programDir = "C:\\nowhere";
    RunDriven(fe, [&](SheetDriver& d) {
        EXPECT_EQ(d.AnswerMessageBox(), "File not found: C:\\nowhere\\Data\\license_agb_eng.txt");
        EXPECT_TRUE(d.WaitForPage(kTerms));
        EXPECT_EQ(d.Text(IDC_TERMS_TEXT), "");
        d.Cancel();
    });
}

}  // namespace

namespace {

// Every page of the wizard in English and German, saved when PAGELARK_SHOTS names a folder.
TEST(SetupWizard, ScreenshotsOfEveryPage) {
    const char* folder = std::getenv("PAGELARK_SHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "PAGELARK_SHOTS not set";
    for (const auto& [language, code] : {std::pair{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), "en"},
                                         std::pair{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "de"}}) {
        FakeEnvironment fe;
        if (std::string(code) == "de") fe.language = LanguageForKey(7);
        const DWORD ui = GetCurrentThreadId();
        SetResourceLanguage(language);
        std::vector<std::string> saved;
        std::thread driver([&] {
            SheetDriver d(ui);
            auto shot = [&](const char* name) {
                SheetDriver::WaitFor([] { return false; }, 0.3);  // let the page paint
                const std::string path = std::string(folder) + "\\wizard_" + code + "_" + name + ".bmp";
                if (SheetDriver::SaveShot(d.Sheet(), path)) saved.push_back(path);
            };
            if (!d.WaitForSheet() || !d.WaitForPage(kTerms)) return;
            d.Click(IDC_TERMS_YES);
            SheetDriver::WaitFor([&] { return d.NextEnabled(); });
            shot("1_terms");
            d.Next();
            d.WaitForPage(kAccount);
            FillAccount(d);
            shot("2_account");
            d.Click(IDC_ACCOUNT_PROXY);
            d.WaitForPage(kProxy);
            shot("6_proxy");
            d.Back();
            d.WaitForPage(kAccount);
            d.Next();
            d.WaitForPage(kVerification);
            shot("3_verification");
            d.Next();
            d.WaitForPage(kPin);
            d.SetText(IDC_PIN_EDIT, "123456");
            shot("4_pin");
            d.Next();
            d.WaitForPage(kFinish);
            shot("5_finish");
            d.Finish();
            d.CloseAll();
        });
        RunRegisterWizard(fe.env, nullptr);
        driver.join();
        EXPECT_EQ(saved.size(), 6u) << code;
    }
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

}  // namespace
