// Typed input on its way through the real Pagelark.exe under Wine, against the local stand-in:
// numbers in brackets in the "To" field, the account number of the setup wizard per country, a
// user name that needs escaping in a web-site link, and a country file download that is no file.
#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "../win/service_standin_admin.h"
#include "driver.h"
#include "resource_ids.h"

namespace pagelark::blackbox {
namespace {

using pagelark::testing::AdminCall;
using pagelark::testing::StandinAddresses;

constexpr int kNew = ID_NEW, kCheckNames = ID_CHECK_NAMES;
constexpr int kDialogBar = ID_DIALOG_BAR, kToField = IDC_TO_FIELD, kPurchaseCredits = IDC_PURCHASE_CREDITS;
// Setup wizard: pages in sheet order, and the controls used here.
enum WizardPage { kTermsPage = 0, kAccountPage = 1, kVerificationPage = 2, kPinPage = 3 };
constexpr int kTermsYes = IDC_TERMS_YES, kUser = IDC_ACCOUNT_USER, kCountry = IDC_ACCOUNT_COUNTRY,
              kMobile = IDC_ACCOUNT_MOBILE, kEMail = IDC_ACCOUNT_EMAIL, kPassword = IDC_ACCOUNT_PASSWORD,
              kConfirm = IDC_ACCOUNT_CONFIRM, kVerifyNumber = IDC_VERIFY_NUMBER;
constexpr wchar_t kLinkKey[] = L"Software\\Orvane\\PagelarkLinkProbe";
constexpr wchar_t kHttpsOpen[] = L"Software\\Classes\\https\\shell\\open\\command";

std::string Narrowed(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

class InputPaths : public ::testing::Test {
protected:
    void SetUp() override {
        if (EnvVar("PAGELARK_EXE").empty() || !standin_.Available()) GTEST_SKIP() << "no program or stand-in";
        KillLeftovers();
        DeleteKey(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark");
        SetSettingDword(L"Language", 9);
        AdminCall(standin_, "POST", "/admin/reset");
    }
    void TearDown() override {
        KillLeftovers();
        DeleteKey(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark");
    }

    // An account known to the stand-in and stored in the settings, so windows open without boxes.
    void WithAccount(const std::string& user, int credits) {
        AdminCall(standin_, "POST", "/admin/accounts",
                  R"({"user":")" + user + R"(","password":"secret","mobile":"+491701234567",)"
                  R"("email":"anna@example.com","credits":)" + std::to_string(credits) +
                      R"(,"acctyp":"01111","active":true})");
        SetSettingString(L"UserName", std::wstring(user.begin(), user.end()));
        SetSettingString(L"UserLandCode", L"+49");
        StorePassword("secret");
    }
    void Start() {
        program_ = Program::Launch();
        ASSERT_TRUE(program_.Started());
        main_ = WaitForWindow(kMainTitle, nullptr, 20s);
        ASSERT_NE(main_, nullptr);
    }
    // A message window for Outlook (the open request of the add-in's button).
    HWND OpenMessageWindow() {
        Post(main_, WM_USER + 1, 1);
        return WaitForWindow(L"Pagelark", kFrameClass, 20s, program_.Pid());
    }
    // A control of the window's dialog bar, once the window has made it.
    static HWND BarItem(HWND frame, int id) {
        HWND item = nullptr;
        WaitUntil([&] { return (item = Control(Control(frame, kDialogBar), id)) != nullptr; });
        return item;
    }

    // --- the setup wizard
    HWND Sheet() {
        for (HWND dialog : FindDialogs(program_.Pid()))
            if (Send(dialog, PSM_GETCURRENTPAGEHWND) != 0) return dialog;
        return nullptr;
    }
    HWND Page() { return reinterpret_cast<HWND>(Send(Sheet(), PSM_GETCURRENTPAGEHWND)); }
    int PageIndex() {
        HWND sheet = Sheet();
        HWND page = sheet ? reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND)) : nullptr;
        return page ? static_cast<int>(Send(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page))) : -1;
    }
    bool WaitForPage(int index) { return WaitUntil([&] { return PageIndex() == index; }, 20s); }
    HWND Item(int id) { return GetDlgItem(Page(), id); }
    void Press(int button) { Post(Sheet(), PSM_PRESSBUTTON, static_cast<WPARAM>(button)); }
    void WizardToAccountPage() {
        PostCommand(main_, kNew);
        ASSERT_TRUE(WaitForPage(kTermsPage));
        Click(Item(kTermsYes));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(Sheet(), 0x3024)) != FALSE; }));
        Press(PSBTN_NEXT);
        ASSERT_TRUE(WaitForPage(kAccountPage));
    }
    bool SelectCountry(const std::wstring& name) {
        HWND combo = Item(kCountry);
        const LRESULT index = Send(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
        if (index == CB_ERR) return false;
        Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
        Post(Page(), WM_COMMAND, MAKEWPARAM(kCountry, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return true;
    }
    // From the account page with `country` and the typed `mobile` to the verification page's number.
    std::wstring VerifiedNumber(const std::wstring& country, const std::wstring& mobile) {
        SetText(Item(kUser), L"nina");
        SetText(Item(kPassword), L"secret");
        SetText(Item(kConfirm), L"secret");
        SetText(Item(kEMail), L"nina@example.org");
        SetText(Item(kMobile), mobile);
        if (!SelectCountry(country)) return L"<no " + country + L">";
        WaitUntil([&] { return IsWindowEnabled(GetDlgItem(Sheet(), 0x3024)) != FALSE; });
        Press(PSBTN_NEXT);
        if (!WaitForPage(kVerificationPage)) return L"<no verification page>";
        return GetText(Item(kVerifyNumber));
    }

    StandinAddresses standin_;
    Program program_;
    HWND main_ = nullptr;
};

TEST_F(InputPaths, NumbersInBracketsWithSlashesAndDotsAreNormalisedWithoutAMessage) {
    WithAccount("anna", 50);
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenMessageWindow();
    ASSERT_NE(frame, nullptr);
    HWND to = BarItem(frame, kToField);
    ASSERT_NE(to, nullptr);
    SetText(to, L"Anna (0171/1234567); Bernd (0171.123.45.67)");
    PostCommand(frame, kCheckNames);
    EXPECT_TRUE(WaitUntil([&] { return GetText(to) == L"Anna (+491711234567); Bernd (+491711234567)"; }))
        << Narrowed(GetText(to));
    Sleep(300);
    EXPECT_TRUE(FindDialogs(program_.Pid()).empty());
}

TEST_F(InputPaths, TheWizardKeepsNationalNumbersThatBeginLikeTheCountryCode) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(WizardToAccountPage());
    const wchar_t prefix[] = L"Your mobile phone number (international format) is: ";
    EXPECT_EQ(VerifiedNumber(L"India", L"9123456789"), prefix + std::wstring(L"+919123456789."));
    Press(PSBTN_BACK);
    ASSERT_TRUE(WaitForPage(kAccountPage));
    EXPECT_EQ(VerifiedNumber(L"Germany", L"49 170 1234567"), prefix + std::wstring(L"+491701234567."));
    Press(PSBTN_BACK);
    ASSERT_TRUE(WaitForPage(kAccountPage));
    EXPECT_EQ(VerifiedNumber(L"Italy", L"393 1234567"), prefix + std::wstring(L"+393931234567."));

    // The registration carries the national number whole.
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kPinPage));
    const std::string requests = AdminCall(standin_, "GET", "/admin/requests?path=/plugin/register.php");
    EXPECT_NE(requests.find("mobile_no=3931234567&"), std::string::npos) << requests;
    EXPECT_NE(requests.find("country_code=+39&"), std::string::npos) << requests;
}

TEST_F(InputPaths, AWebPageInsteadOfTheCountryFileLeavesTheShippedList) {
    const std::string state = pagelark::testing::EnvOr("STANDIN_STATE");
    if (state.empty()) GTEST_SKIP() << "STANDIN_STATE not set";
    // The stand-in answers the country file's address with 200 and a web page.
    const std::wstring served = L"Z:" + std::wstring(state.begin(), state.end()) + L"/updates/land_codes_en.txt";
    std::ofstream(served.c_str(), std::ios::binary) << "<!DOCTYPE html>\r\n<html><body>Moved</body></html>\r\n";
    const std::wstring shipped = EnvVar("PAGELARK_DIR") + L"\\Data\\land_codes_en.txt";
    const std::string before = ReadFileText(shipped);
    ASSERT_FALSE(before.empty());

    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(WizardToAccountPage());
    size_t rows = 0;
    for (char c : before) rows += c == '\n';
    EXPECT_EQ(static_cast<size_t>(Send(Item(kCountry), CB_GETCOUNT)), rows);
    EXPECT_EQ(ReadFileText(shipped), before);
    DeleteFileW(served.c_str());
}

// The link of "Purchase credits" is caught where the browser would get it; fetching it from the
// stand-in's web site shows the page signed in as the user, "&" and blank included.
TEST_F(InputPaths, AUserNameWithAmpersandAndBlankReachesThePurchasePageWhole) {
    wchar_t previous[1024] = {};
    DWORD size = sizeof previous;
    const bool hadCommand = RegGetValueW(HKEY_LOCAL_MACHINE, kHttpsOpen, nullptr, RRF_RT_REG_SZ, nullptr, previous,
                                         &size) == ERROR_SUCCESS;
    const std::wstring probe = L"C:\\windows\\system32\\reg.exe add HKCU\\Software\\Orvane\\PagelarkLinkProbe /v Link /d \"%1\" /f";
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, kHttpsOpen, nullptr, probe));
    DeleteKey(HKEY_CURRENT_USER, kLinkKey);

    WithAccount("a&b c", 3);
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND frame = OpenMessageWindow();
    ASSERT_NE(frame, nullptr);
    HWND purchase = BarItem(frame, kPurchaseCredits);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(purchase) != FALSE; }, 20s));
    Click(purchase);
    std::optional<std::wstring> link;
    WaitUntil([&] { return (link = GetString(HKEY_CURRENT_USER, kLinkKey, L"Link")).has_value(); }, 20s);
    if (hadCommand) SetString(HKEY_LOCAL_MACHINE, kHttpsOpen, nullptr, previous);
    else RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kHttpsOpen, nullptr);
    DeleteKey(HKEY_CURRENT_USER, kLinkKey);
    ASSERT_TRUE(link.has_value());
    EXPECT_NE(link->find(L"&user=a%26b%20c&"), std::wstring::npos) << Narrowed(*link);

    // The stand-in's web site speaks plain HTTP here; the query is what counts.
    const std::string query = Narrowed(link->substr(link->find(L"/login.php")));
    StandinAddresses web = standin_;
    web.admin = "http://" + pagelark::testing::EnvOr("STANDIN_WEB");
    const std::string page = AdminCall(web, "GET", query);
    EXPECT_NE(page.find("Signed in as <b>a&amp;b c</b>"), std::string::npos) << page;
}

}  // namespace
}  // namespace pagelark::blackbox
