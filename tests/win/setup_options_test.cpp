// The options sheet's pages, shown for real and driven from a second thread, against a fake service.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "resource_ids.h"
#include "setup/config_pages_win.h"
#include "setup_fake_services.h"
#include "setup_sheet_driver.h"
#include "ui/resources_win.h"

using namespace pagelark;
using namespace pagelark::test;

namespace {

enum Page { kUser = 0, kGlobal = 1, kUpdates = 2, kEMail = 3, kLog = 4, kProxy = 5 };

struct Driven {
    int refreshes = 0;
    int updatingShown = 0;
};

Driven RunDriven(FakeEnvironment& fe, const std::function<void(SheetDriver&)>& drive) {
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const DWORD ui = GetCurrentThreadId();
    std::thread driver([&] {
        SheetDriver d(ui);
        if (d.WaitForSheet()) drive(d);
        d.CloseAll();
    });
    Driven seen;
    CreditsDisplay display{[&] { ++seen.updatingShown; }, [&] { ++seen.refreshes; }};
    RunConfigSheet(fe.env, nullptr, display);
    driver.join();
    return seen;
}

std::vector<std::string> ListLines(SheetDriver& d) {
    HWND list = d.Item(IDC_LOG_LIST);
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(Narrow(text));
    }
    return lines;
}

TEST(SetupOptions, TitleAndOkAfterOnlyLookingAtTheEMailPage) {
    FakeEnvironment fe;
    fe.settings.UserName = "anna";
    fe.settings.IntegrateOE = 1;
    fe.settings.ProxyPort = 8080;
    const Driven seen = RunDriven(fe, [&](SheetDriver& d) {
        ASSERT_TRUE(d.WaitForPage(kUser));
        EXPECT_EQ(SheetDriver::TextOf(d.Sheet()), "Options");
        d.SelectPage(kEMail);
        ASSERT_TRUE(d.WaitForPage(kEMail));
        EXPECT_TRUE(d.IsChecked(IDC_EMAIL_OE));
        d.Ok();
        EXPECT_TRUE(d.SheetGone());
    });
    // Shown pages apply (My Telvoro opens first), the others keep their settings untouched.
    EXPECT_EQ(fe.saved, (std::vector<SettingsGroup>{SettingsGroup::UserData, SettingsGroup::MailIntegration}));
    EXPECT_EQ(fe.services.mailStarts, 1);
    EXPECT_EQ(fe.services.mailStops, 0);
    EXPECT_EQ(fe.settings.ProxyPort, 8080);
    // A stored user name: OK always brings the credit update.
    EXPECT_EQ(fe.services.statusCalls, 1);
    EXPECT_EQ(seen.updatingShown, 1);
    EXPECT_EQ(seen.refreshes, 1);
}

TEST(SetupOptions, CancelNeverUpdatesCreditsAndSavesNothing) {
    FakeEnvironment fe;
    fe.settings.UserName = "anna";
    RunDriven(fe, [&](SheetDriver& d) {
        ASSERT_TRUE(d.WaitForPage(kUser));
        d.SetText(IDC_USER_NAME, "bert");
        d.Cancel();
        EXPECT_TRUE(d.SheetGone());
    });
    EXPECT_TRUE(fe.saved.empty());
    EXPECT_EQ(fe.settings.UserName, "anna");
    EXPECT_EQ(fe.services.statusCalls, 0);
}

TEST(SetupOptions, MyTelvoroShowsTheAccountAndAFailedUpdateIsReported) {
    FakeEnvironment fe;
    fe.settings.UserName = "anna";
    fe.settings.UserPassword = "secret";
    fe.settings.UserLandCode = "+49";
    fe.settings.UserMobile = "1701234567";
    fe.settings.UserEMail = "anna@example.org";
    fe.services.statusResult = -1;
    std::string errorText;
    std::thread answer;
    RunDriven(fe, [&](SheetDriver& d) {
        ASSERT_TRUE(d.WaitForPage(kUser));
        EXPECT_EQ(d.Text(IDC_USER_MOBILE), "+491701234567");
        EXPECT_EQ(d.Text(IDC_USER_EMAIL), "anna@example.org");
        EXPECT_EQ(d.Text(IDC_USER_NAME), "anna");
        EXPECT_NE(GetWindowLongPtrW(d.Item(IDC_USER_MOBILE), GWL_STYLE) & ES_READONLY, 0);
        EXPECT_EQ(d.Text(IDC_USER_SITE_LABEL),
                  "Here you can change your personal settings and payment options at www.telvoro.com:");
        d.SetText(IDC_USER_NAME, "bert");
        d.Ok();
        // The error box comes after the sheet closed, from the same thread.
        errorText = d.AnswerMessageBox();
    });
    EXPECT_EQ(fe.settings.UserName, "bert");
    EXPECT_EQ(fe.services.statusCalls, 1);
    EXPECT_EQ(errorText, "Wrong Login/Password.");
}

TEST(SetupOptions, NonIntegerPortIsRefused) {
    FakeEnvironment fe;
    RunDriven(fe, [&](SheetDriver& d) {
        d.SelectPage(kProxy);
        ASSERT_TRUE(d.WaitForPage(kProxy));
        EXPECT_FALSE(d.IsEnabled(IDC_PROXY_PORT));
        d.Click(IDC_PROXY_USE);
        ASSERT_TRUE(SheetDriver::WaitFor([&] { return d.IsEnabled(IDC_PROXY_PORT); }));
        d.SetText(IDC_PROXY_PORT, "eighty");
        d.Ok();
        EXPECT_EQ(d.AnswerMessageBox(), "Please enter an integer.");
        EXPECT_TRUE(d.WaitForPage(kProxy));
        EXPECT_NE(d.Sheet(), nullptr);
        d.SetText(IDC_PROXY_PORT, "3128");
        d.Ok();
        EXPECT_TRUE(d.SheetGone());
    });
    EXPECT_EQ(fe.settings.UseProxy, 1);
    EXPECT_EQ(fe.settings.ProxyPort, 3128);
    EXPECT_EQ(fe.saved.back(), SettingsGroup::Proxy);
}

TEST(SetupOptions, LanguageChangeToItalianAppliesAtOnce) {
    FakeEnvironment fe;
    fe.settings.Language = 9;
    fe.settings.ShowTaskbarIcon = 1;
    RunDriven(fe, [&](SheetDriver& d) {
        d.SelectPage(kGlobal);
        ASSERT_TRUE(d.WaitForPage(kGlobal));
        HWND combo = d.Item(IDC_GLOBAL_LANGUAGE);
        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 6);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);  // English
        SendMessageW(combo, CB_SETCURSEL, 4, 0);               // Italiano
        d.Click(IDC_GLOBAL_TRAY_ICON);
        d.Apply();
        ASSERT_TRUE(SheetDriver::WaitFor([&] { return !fe.languageSwitches.empty(); }));
        d.Cancel();  // applied already: stays applied
    });
    EXPECT_EQ(fe.settings.Language, 16);
    EXPECT_EQ(fe.languageSwitches, std::vector<int>{16});
    EXPECT_EQ(fe.language.countryFile, "land_codes_it.txt");
    EXPECT_EQ(fe.trayStates, std::vector<bool>{false});
    EXPECT_EQ(fe.settings.ShowTaskbarIcon, 0);
}

TEST(SetupOptions, UnknownLanguageLeavesNoSelectionAndKeepsTheValue) {
    FakeEnvironment fe;
    fe.settings.Language = 22;
    RunDriven(fe, [&](SheetDriver& d) {
        d.SelectPage(kGlobal);
        ASSERT_TRUE(d.WaitForPage(kGlobal));
        EXPECT_EQ(SendMessageW(d.Item(IDC_GLOBAL_LANGUAGE), CB_GETCURSEL, 0, 0), CB_ERR);
        d.Ok();
        EXPECT_TRUE(d.SheetGone());
    });
    EXPECT_EQ(fe.settings.Language, 22);
}

TEST(SetupOptions, StatusPageNewestFirstAndClear) {
    FakeEnvironment fe;
    RunDriven(fe, [&](SheetDriver& d) {
        d.SelectPage(kLog);
        ASSERT_TRUE(d.WaitForPage(kLog));
        EXPECT_EQ(ListLines(d), (std::vector<std::string>{"03.12.26 12:00 third", "02.12.26 11:00 second",
                                                          "01.12.26 10:00 first"}));
        EXPECT_EQ(SendMessageW(d.Item(IDC_LOG_LIST), LB_GETHORIZONTALEXTENT, 0, 0), 500);
        d.Click(IDC_LOG_CLEAR);
        EXPECT_EQ(d.AnswerMessageBox(IDCANCEL), "All status information will be deleted.");
        EXPECT_EQ(ListLines(d).size(), 3u);
        d.Click(IDC_LOG_CLEAR);
        EXPECT_EQ(d.AnswerMessageBox(IDOK), "All status information will be deleted.");
        EXPECT_TRUE(SheetDriver::WaitFor([&] { return ListLines(d).empty(); }));
        d.Cancel();
    });
    EXPECT_EQ(fe.services.logClears, 1);
}

TEST(SetupOptions, CheckNowClosesTheSheetWhenTheUpdateWindowOpened) {
    FakeEnvironment fe;
    fe.services.updateWindowOpens = true;
    RunDriven(fe, [&](SheetDriver& d) {
        d.SelectPage(kUpdates);
        ASSERT_TRUE(d.WaitForPage(kUpdates));
        d.Click(IDC_UPDATE_DOWNLOAD);  // not applied: dropped when the sheet closes
        d.Click(IDC_UPDATE_CHECK_NOW);
        EXPECT_TRUE(d.SheetGone());
    });
    EXPECT_EQ(fe.services.statusCalls, 1);
    EXPECT_EQ(fe.services.updateChecks, 1);
    EXPECT_EQ(fe.settings.UpdateAutoDownload, 1);
    EXPECT_TRUE(fe.saved.empty());
}

}  // namespace

namespace {

// Every options page in English and Italian, saved when PAGELARK_SHOTS names a folder.
TEST(SetupOptions, ScreenshotsOfEveryPage) {
    const char* folder = std::getenv("PAGELARK_SHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "PAGELARK_SHOTS not set";
    for (const auto& [language, code] : {std::pair{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), "en"},
                                         std::pair{MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), "it"}}) {
        FakeEnvironment fe;
        fe.settings.UserName = "anna";
        fe.settings.UserPassword = "secret";
        fe.settings.UserLandCode = "+49";
        fe.settings.UserMobile = "1701234567";
        fe.settings.UserEMail = "anna@example.org";
        fe.settings.Language = 16;
        const DWORD ui = GetCurrentThreadId();
        SetResourceLanguage(language);
        int saved = 0;
        std::thread driver([&] {
            SheetDriver d(ui);
            if (!d.WaitForSheet()) return;
            for (int page = 0; page < 6; ++page) {
                d.SelectPage(page);
                d.WaitForPage(page);
                SheetDriver::WaitFor([] { return false; }, 0.3);
                const std::string path =
                    std::string(folder) + "\\options_" + code + "_" + std::to_string(page + 1) + ".bmp";
                if (SheetDriver::SaveShot(d.Sheet(), path)) ++saved;
            }
            d.CloseAll();
        });
        RunConfigSheet(fe.env, nullptr, CreditsDisplay{});
        driver.join();
        EXPECT_EQ(saved, 6) << code;
    }
    SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

}  // namespace
